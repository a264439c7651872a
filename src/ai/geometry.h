// The table seen by a player choosing a shot: pockets, aim angles, free paths and free spots.
#pragma once

#include "sim/game.h"

constexpr int POCKET_COUNT = 6;
// The spot where an object ball is aimed to drop into pocket k (0 to 5), on the felt.
Vec3 pocketCentre(int pocket);
// The middle of the pocket's mouth, between its two cushion ends, on the felt: a second aim for
// balls that come in along a cushion.
Vec3 pocketMouth(int pocket);

// The cue's angle in degrees (0 shoots towards -z) that sends a ball from `from` towards `to`.
double aimAngle(const Vec3& from, const Vec3& to);

// Whether a ball rolling straight from a to b passes clear of every ball in play but the balls
// at indexes skipA and skipB.
bool pathClear(const Ball balls[BALL_COUNT], const Vec3& a, const Vec3& b, int skipA, int skipB);

// Whether a player would place the cue ball with its centre at (x, z): a spot the game takes,
// with a hair of felt to spare against rounding.
bool spotFree(const Game& game, double x, double z);
// The cue ball's start spot when it is free, otherwise the free spot on the table's centre line
// nearest to it (steps of the placement screen's finest move).
Vec3 startSpotOrNearestFree(const Game& game);
// Rounds a spot to the placement screen's finest move and keeps it on the allowed area.
Vec3 placeableSpot(const Vec3& spot);

// Indexes of the balls the player (0 or 1) may pocket now: their group, any object ball but the
// eight on an open table, or the eight once their group is cleared. Returns the count.
int legalTargets(const Ball balls[BALL_COUNT], const Referee& referee, int player,
                 int targets[BALL_COUNT]);

// The straight pot of an object ball into a pocket from where the cue ball lies.
struct PotLine {
    Vec3 pocket;         // where the object ball is sent
    Vec3 ghost;          // the cue ball's centre at contact: a diameter behind the ball
    double cut;          // degrees between the cue ball's path and the object ball's
    double cueTravel;    // world units from the cue ball to the contact
    double objectTravel; // world units from the object ball to the pocket
};
PotLine potLine(const Vec3& cueBall, const Ball& target, int pocket);
// The same towards any point.
PotLine potLineTo(const Vec3& cueBall, const Ball& target, const Vec3& aim);
// Whether both paths of the pot are free of other balls.
bool potLineClear(const Ball balls[BALL_COUNT], int target, const PotLine& line);

// How easy a pot is, 0 (not on: blocked, or cut beyond EASY_CUT_LIMIT) to 1 (a short straight
// pot).
double potEase(const Ball balls[BALL_COUNT], int target, const PotLine& line);
// The easiest pot the player has with the cue ball where it lies.
double bestEase(const Ball balls[BALL_COUNT], const Referee& referee, int player);

constexpr double EASY_CUT_LIMIT = 70.0; // degrees
