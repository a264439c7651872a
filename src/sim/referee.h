// Referee: the state of one game of eight-ball, the end-of-shot decision and the key filter.
#pragma once

class Ball;

enum class BallGroup : int { None = 0, Solids = 1, Stripes = 2 };
enum class PlayState : int { Aiming = 0, Shooting = 1, PlacingCueBall = 2, GameOver = 3 };
enum class TableState : int { BreakShot = 0, OpenTable = 1, GroupsAssigned = 2 };

// Keys the referee admits or refuses: ASCII codes, and GLUT's special-key codes.
constexpr unsigned char KEY_ENTER = 13;
constexpr unsigned char KEY_ESCAPE = 27;
constexpr unsigned char KEY_SPACE = ' ';
constexpr int SPECIAL_KEY_F1 = 1;
constexpr int SPECIAL_KEY_F8 = 8;
constexpr int SPECIAL_KEY_F9 = 9;
constexpr int SPECIAL_KEY_F10 = 10;
constexpr int SPECIAL_KEY_F11 = 11;

// World units: the cue ball in hand hovers at this height, clear of the balls at rest.
constexpr double PLACING_HEIGHT = 3.0;

struct PlayerRecord {
    BallGroup group = BallGroup::None;
    bool onEightBall = false; // the player's group is cleared: the eight is theirs
};

class Referee {
public:
    // Set by cue-ball placement when a spot is refused; the overlay shows and clears it.
    bool placementRejected = false;
    // Called when the game ends with the cue ball in a pocket (the cue ball is then off the table).
    void (*gameOverScratchHandler)() = nullptr;
    int stripesRemaining = 7;
    int solidsRemaining = 7;
    PlayerRecord players[2];  // player 1 at index 0
    int firstPocketed = -1;   // first object ball pocketed this shot, -1 when none
    TableState tableState = TableState::BreakShot;
    bool cuePocketed = false;
    bool eightPocketed = false;
    int winner = 0;           // index of the winner, valid once the game is over
    int currentPlayer = 0;    // index of the player at the table
    bool won = false;
    bool lost = false;
    PlayState playState = PlayState::Aiming;
    Ball* cueBall = nullptr;

    Referee();

    static BallGroup groupOf(int ballNumber);

    // New game; keeps placementRejected, the handler, winner and cueBall.
    void reset();
    void setCueBall(Ball* ball);

    void startShot();
    void ballPocketed(int ballNumber);
    // Decides the shot once every ball has stopped and sets the next play state.
    void endShot();

    bool isOpenTable() const;
    PlayerRecord& currentPlayerRecord();
    PlayerRecord& otherPlayerRecord();
    const PlayerRecord& currentPlayerRecord() const;
    const PlayerRecord& otherPlayerRecord() const;
    void switchPlayer();
    int currentPlayerNumber() const;
    int otherPlayerNumber() const;
    BallGroup groupOfPlayer(int playerNumber) const; // playerNumber 1 or 2
    int remainingInGroup(BallGroup group) const; // -1 unless Solids or Stripes
    bool hasPocketedBall() const;
    int winnerNumber() const;
    bool isGameOver() const;
    bool isPlacingCueBall() const;
    void resumeAiming();
    // Lifts the cue ball above the table centre, out of the pockets, for the next player to place.
    void giveBallInHand();

    bool keyAllowed(unsigned char key) const;
    bool specialKeyAllowed(int key) const; // GLUT special-key code

private:
    void updateTableState();
    void assignGroups();
    bool checkLost();
    bool checkWon();
    bool keepsTurn() const;
    void nextTurn();
    void endGame();
};

