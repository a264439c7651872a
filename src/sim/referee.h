// Referee: the state of one game of eight-ball, the end-of-shot decision and the key filter.
#pragma once

enum class BallGroup : int { None = 0, Solids = 1, Stripes = 2 };
enum class PlayState : int { Aiming = 0, Shooting = 1, PlacingCueBall = 2, GameOver = 3 };
enum class TableState : int { BreakShot = 0, OpenTable = 1, GroupsAssigned = 2 };

// What a player's key asks of the game. The referee admits each action in some play states only.
enum class Action {
    Charge,    // draw the cue back
    PlaceBall, // put the ball in hand down where it hovers
    Zoom,      // the view nearer or further
    Quit,
    Strike, // a shot at a fixed power
    Respot, // the cue ball back on its start spot
    NewGame,
    ClearTable, // every object ball but the eight pocketed
    Aim,        // turn the cue and the view
    View,       // raise or lower the view
    MoveBall,   // move the ball in hand
    Redraw,     // any other key: the frame is drawn again
};

struct PlayerRecord {
    BallGroup group = BallGroup::None;
    bool onEightBall = false; // the player's group is cleared: the eight is theirs
};

// What a shot decided, for whoever shows the game to act on.
struct ShotOutcome {
    bool ballInHand = false; // the next player places the cue ball
    bool gameOver = false;
    bool scratched = false; // the cue ball dropped in the shot
    int winner = -1;        // index of the winner once the game is over, -1 before
};

// The eight-ball record of one game: a plain value, copied with the balls it judges.
class Referee {
public:
    int stripesRemaining = 7;
    int solidsRemaining = 7;
    PlayerRecord players[2]; // player 1 at index 0
    int firstPocketed = -1;  // first object ball pocketed this shot, -1 when none
    TableState tableState = TableState::BreakShot;
    bool cuePocketed = false;
    bool eightPocketed = false;
    int winner = 0;        // index of the winner, valid once the game is over
    int currentPlayer = 0; // index of the player at the table
    bool won = false;
    bool lost = false;
    PlayState playState = PlayState::Aiming;

    Referee();

    static BallGroup groupOf(int ballNumber);

    // A new game, broken by player 1.
    void reset();

    void startShot();
    void ballPocketed(int ballNumber);
    // Decides the shot once every ball has stopped, sets the next play state and says what the
    // shot decided.
    ShotOutcome endShot();

    bool isOpenTable() const;
    PlayerRecord& currentPlayerRecord();
    PlayerRecord& otherPlayerRecord();
    const PlayerRecord& currentPlayerRecord() const;
    const PlayerRecord& otherPlayerRecord() const;
    void switchPlayer();
    int currentPlayerNumber() const;
    int otherPlayerNumber() const;
    BallGroup groupOfPlayer(int playerNumber) const; // playerNumber 1 or 2
    int remainingInGroup(BallGroup group) const;     // -1 unless Solids or Stripes
    bool hasPocketedBall() const;
    int winnerNumber() const;
    bool isGameOver() const;
    bool isPlacingCueBall() const;
    void resumeAiming();
    void giveBallInHand();

    bool allows(Action action) const;

    bool operator==(const Referee& other) const;

private:
    void updateTableState();
    void assignGroups();
    bool checkLost();
    bool checkWon();
    bool keepsTurn() const;
    void nextTurn();
    void endGame();
};
