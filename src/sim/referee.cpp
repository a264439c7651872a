// The eight-ball referee: groups, turns, ball in hand, winning and losing, and the key filter.
#include "sim/referee.h"

Referee::Referee() { reset(); }

BallGroup Referee::groupOf(int ballNumber) {
    if (ballNumber >= 1 && ballNumber <= 7) return BallGroup::Solids;
    if (ballNumber >= 9 && ballNumber <= 15) return BallGroup::Stripes;
    return BallGroup::None;
}

void Referee::reset() {
    currentPlayer = 0;
    firstPocketed = -1;
    tableState = TableState::BreakShot;
    stripesRemaining = 7;
    solidsRemaining = 7;
    eightPocketed = cuePocketed = won = lost = false;
    winner = 0;
    playState = PlayState::Aiming;
    for (PlayerRecord& player : players) player = PlayerRecord();
}

void Referee::startShot() { playState = PlayState::Shooting; }

void Referee::ballPocketed(int ballNumber) {
    if (ballNumber != 0 && firstPocketed == -1) firstPocketed = ballNumber;
    const BallGroup group = groupOf(ballNumber);
    if (group == BallGroup::None) {
        (ballNumber == 0 ? cuePocketed : eightPocketed) = true;
        return;
    }
    int& remaining = group == BallGroup::Solids ? solidsRemaining : stripesRemaining;
    remaining -= 1;
    if (remaining != 0) return;
    // Only a player holding the group at this moment is now on the eight.
    if (players[0].group == group) players[0].onEightBall = true;
    else if (players[1].group == group) players[1].onEightBall = true;
}

ShotOutcome Referee::endShot() {
    ShotOutcome outcome;
    outcome.scratched = cuePocketed;
    // Both groups cleared before either was assigned: the eight is the only ball left to play
    // for, so whoever pots it cleanly wins, as on a table whose groups are assigned.
    if (isOpenTable() && solidsRemaining == 0 && stripesRemaining == 0)
        players[0].onEightBall = players[1].onEightBall = true;
    updateTableState();
    if (!checkLost() && !checkWon()) {
        if (!keepsTurn()) switchPlayer();
        nextTurn();
    }
    outcome.ballInHand = isPlacingCueBall();
    outcome.gameOver = isGameOver();
    outcome.winner = outcome.gameOver ? winner : -1;
    return outcome;
}

void Referee::updateTableState() {
    if (tableState == TableState::BreakShot) {
        tableState = TableState::OpenTable; // the break never assigns groups
    } else if (tableState == TableState::OpenTable && hasPocketedBall()) {
        assignGroups();
        tableState = TableState::GroupsAssigned;
    }
}

void Referee::assignGroups() {
    const BallGroup group = groupOf(firstPocketed);
    BallGroup otherGroup = BallGroup::None;
    if (group == BallGroup::Solids) otherGroup = BallGroup::Stripes;
    if (group == BallGroup::Stripes) otherGroup = BallGroup::Solids;
    currentPlayerRecord().group = group;
    otherPlayerRecord().group = otherGroup;
    // A group cleared while the table was open put nobody on the eight when it emptied.
    for (PlayerRecord& player : players)
        if (remainingInGroup(player.group) == 0) player.onEightBall = true;
}

bool Referee::checkLost() {
    const PlayerRecord& shooter = currentPlayerRecord();
    if (!shooter.onEightBall && eightPocketed) lost = true;
    if (shooter.onEightBall && eightPocketed && cuePocketed) lost = true;
    if (lost) endGame();
    return lost;
}

bool Referee::checkWon() {
    if (currentPlayerRecord().onEightBall && eightPocketed && !cuePocketed) {
        won = true;
        endGame();
    }
    return won;
}

bool Referee::keepsTurn() const {
    if (cuePocketed || firstPocketed == -1) return false;
    if (tableState != TableState::GroupsAssigned) return true;
    return currentPlayerRecord().group == groupOf(firstPocketed);
}

void Referee::nextTurn() {
    if (cuePocketed) giveBallInHand();
    else resumeAiming();
    firstPocketed = -1;
    eightPocketed = false;
    cuePocketed = false;
}

void Referee::endGame() {
    playState = PlayState::GameOver;
    winner = (won ? currentPlayerNumber() : otherPlayerNumber()) - 1;
}

bool Referee::isOpenTable() const {
    return players[0].group == BallGroup::None && players[1].group == BallGroup::None;
}
PlayerRecord& Referee::currentPlayerRecord() { return players[currentPlayer]; }
PlayerRecord& Referee::otherPlayerRecord() { return players[(currentPlayer + 1) % 2]; }
const PlayerRecord& Referee::currentPlayerRecord() const { return players[currentPlayer]; }
const PlayerRecord& Referee::otherPlayerRecord() const { return players[(currentPlayer + 1) % 2]; }
void Referee::switchPlayer() { currentPlayer = (currentPlayer + 1) % 2; }
int Referee::currentPlayerNumber() const { return currentPlayer + 1; }
int Referee::otherPlayerNumber() const { return (currentPlayer + 1) % 2 + 1; }
BallGroup Referee::groupOfPlayer(int playerNumber) const { return players[playerNumber - 1].group; }

int Referee::remainingInGroup(BallGroup group) const {
    if (group == BallGroup::Solids) return solidsRemaining;
    if (group == BallGroup::Stripes) return stripesRemaining;
    return -1;
}

bool Referee::hasPocketedBall() const { return firstPocketed != -1; }
int Referee::winnerNumber() const { return winner + 1; }
bool Referee::isGameOver() const { return playState == PlayState::GameOver; }
bool Referee::isPlacingCueBall() const { return playState == PlayState::PlacingCueBall; }
void Referee::resumeAiming() { playState = PlayState::Aiming; }

void Referee::giveBallInHand() { playState = PlayState::PlacingCueBall; }

bool Referee::operator==(const Referee& o) const {
    return stripesRemaining == o.stripesRemaining && solidsRemaining == o.solidsRemaining &&
           players[0].group == o.players[0].group &&
           players[0].onEightBall == o.players[0].onEightBall &&
           players[1].group == o.players[1].group &&
           players[1].onEightBall == o.players[1].onEightBall && firstPocketed == o.firstPocketed &&
           tableState == o.tableState && cuePocketed == o.cuePocketed &&
           eightPocketed == o.eightPocketed && winner == o.winner &&
           currentPlayer == o.currentPlayer && won == o.won && lost == o.lost &&
           playState == o.playState;
}

// While the balls roll only the view, the fixed-power keys (which strike the cue ball where it
// rolls) and F11 act; once the game is over, only a new game or quitting.
bool Referee::allows(Action action) const {
    switch (playState) {
    case PlayState::Aiming: return action != Action::MoveBall;
    case PlayState::Shooting:
        return action == Action::Zoom || action == Action::Quit || action == Action::Strike ||
               action == Action::ClearTable || action == Action::Aim || action == Action::View ||
               action == Action::Redraw;
    case PlayState::PlacingCueBall: return action != Action::Charge;
    case PlayState::GameOver: return action == Action::Quit || action == Action::NewGame;
    default: return false;
    }
}
