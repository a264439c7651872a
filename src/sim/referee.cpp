// The eight-ball referee: groups, turns, ball in hand, winning and losing, and the key filter.
#include "sim/referee.h"

#include "sim/ball.h"

Referee::Referee() {
    reset();
    gameOverScratchHandler = nullptr;
}

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
    playState = PlayState::Aiming;
    for (PlayerRecord& player : players) player = PlayerRecord();
}

void Referee::setCueBall(Ball* ball) { cueBall = ball; }

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
    if (players[0].group == group)
        players[0].onEightBall = true;
    else if (players[1].group == group)
        players[1].onEightBall = true;
}

void Referee::endShot() {
    // Both groups cleared before either was assigned: the eight is the only ball left to play
    // for, so whoever pots it cleanly wins, as on a table whose groups are assigned.
    if (isOpenTable() && solidsRemaining == 0 && stripesRemaining == 0)
        players[0].onEightBall = players[1].onEightBall = true;
    updateTableState();
    if (checkLost() || checkWon()) return;
    if (!keepsTurn()) switchPlayer();
    nextTurn();
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
    if (cuePocketed)
        giveBallInHand();
    else
        resumeAiming();
    firstPocketed = -1;
    eightPocketed = false;
    cuePocketed = false;
}

void Referee::endGame() {
    playState = PlayState::GameOver;
    winner = (won ? currentPlayerNumber() : otherPlayerNumber()) - 1;
    if (cuePocketed && gameOverScratchHandler) gameOverScratchHandler();
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

void Referee::giveBallInHand() {
    playState = PlayState::PlacingCueBall;
    if (!cueBall) return;
    cueBall->position = Vec3(0.0, PLACING_HEIGHT, 0.0); // above the table centre, for placement to move
    cueBall->pocketed = false;
}

bool Referee::keyAllowed(unsigned char key) const {
    const bool zoom = key == 'z' || key == 'x';
    switch (playState) {
    case PlayState::Aiming:
        return true;
    case PlayState::Shooting:
        return zoom || key == KEY_ESCAPE;
    case PlayState::PlacingCueBall:
        return zoom || key == KEY_ESCAPE || key == KEY_ENTER;
    case PlayState::GameOver:
        return key == KEY_ESCAPE;
    default:
        return false;
    }
}

bool Referee::specialKeyAllowed(int key) const {
    switch (playState) {
    case PlayState::Aiming:
    case PlayState::PlacingCueBall:
        return true;
    case PlayState::Shooting:
        return key != SPECIAL_KEY_F9 && key != SPECIAL_KEY_F10;
    case PlayState::GameOver:
        return key == SPECIAL_KEY_F10;
    default:
        return false;
    }
}
