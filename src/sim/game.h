// One game of eight-ball as a plain value: the balls, the table and the referee, and every
// operation that the window, the headless tools and the computer's search play it with.
#pragma once

#include <cstdint>
#include <string>

#include "sim/ball.h"
#include "sim/referee.h"
#include "sim/table.h"

class ContactHook;

// World units: the cue ball in hand hovers at this height, clear of the balls at rest.
constexpr double PLACING_HEIGHT = 3.0;
// The arrows move the ball in hand by their step in degrees times this.
constexpr double PLACEMENT_MOVE_PER_DEGREE = 0.5; // world units per degree
// The plain arrow's move, the least there is: the computer's spots lie on its grid, so that the
// arrows reach them exactly.
constexpr double FINEST_PLACEMENT_STEP = 0.25; // world units

// No headless shot plays longer than this many frames (a struck ball at full power rests within
// 3,000 at the search's frame time).
constexpr long MAX_SHOT_FRAMES = 20000;

// 64-bit FNV-1a of the table's features, the rack and the physics' constants: two builds that
// give it alike play the same shots alike.
std::uint64_t gameConstantsHash();

struct Game {
    Ball balls[BALL_COUNT]; // rack-row order; balls[0] is the cue ball
    Table table;
    Referee referee;

    // Racked for the break, player 1 to break.
    Game();

    // Every ball back on its rack spot at rest, and a new game broken by `breaker` (0 or 1).
    void newGame(int breaker = 0);

    // The one placement rule of the cue ball: its centre inside the free area and `clearance`
    // world units or more of felt between it and every ball in play (touching is refused).
    bool spotFree(double x, double z, double clearance = 0.0) const;
    // Ball in hand: the cue ball at rest on (x, z) and play back to aiming; refused (false,
    // nothing changed) when the spot is not free.
    bool placeCueBall(double x, double z);
    // The cue ball at rest on its start spot and play back to aiming; refused (false) while a
    // ball in play touches the spot.
    bool respotCueBall();
    // The cue ball lifted above the table's centre, out of any pocket, for the player to place.
    void liftCueBall();

    // Every object ball but the eight pocketed where it lies, each reported to the referee once
    // (judged at the end of the next shot).
    void clearTable();

    // Sets the cue ball rolling along the aim (degrees; 0 shoots towards -z) at `power` units/s
    // and starts the shot.
    void strike(double angleDegrees, double power);
    // Plays one frame of `dt` seconds of the shot; `hook` hears each contact. Returns the number
    // of contacts.
    int playFrame(double dt, ContactHook& hook);
    // Every ball exactly at rest: the shot is over.
    bool atRest() const;
    // Judges the shot once the balls rest; with ball in hand the cue ball is lifted to be placed.
    ShotOutcome endShot();
    // Plays a struck shot at a fixed frame time until the balls rest (or maxFrames frames), then
    // judges it. Returns the frames played.
    long playShot(double dt, ContactHook& hook, long maxFrames);

    bool operator==(const Game& other) const;
    bool operator!=(const Game& other) const { return !(*this == other); }

    // 64-bit FNV-1a of every field that decides the rest of the game (the balls' motion and the
    // referee's record; not the turn of the balls' painted faces), over a fixed byte layout.
    std::uint64_t hash() const;
    // The whole state in a fixed little-endian layout, and back. fromBytes refuses (false,
    // `game` unchanged) bytes of another length or version and values out of range.
    std::string toBytes() const;
    static bool fromBytes(const std::string& bytes, Game& game);
};
