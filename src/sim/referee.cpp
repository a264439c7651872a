// The eight-ball referee: groups, turns, ball in hand, winning and losing, and the key filter.
#include "sim/referee.h"

#include "sim/ball.h"

Referee referee;

namespace {
constexpr unsigned char KEY_ENTER = 13;
constexpr unsigned char KEY_ESCAPE = 27;
constexpr int SPECIAL_KEY_F9 = 9;  // GLUT_KEY_F9
constexpr int SPECIAL_KEY_F10 = 10; // GLUT_KEY_F10
} // namespace

Referee::Referee() {
    reset();
    gameOverScratchHandler = nullptr;
}

BallGroup Referee::groupOf(int ballNumber) {
    if (ballNumber >= 1 && ballNumber <= 7) return Solids;
    if (ballNumber >= 9 && ballNumber <= 15) return Stripes;
    return None;
}

void Referee::reset() {
    currentPlayer = 0;
    firstPocketed = -1;
    tableState = BreakShot;
    stripesRemaining = 7;
    solidsRemaining = 7;
    eightPocketed = cuePocketed = won = lost = false;
    playState = Aiming;
    for (PlayerRecord& player : players) player = PlayerRecord();
}

void Referee::setCueBall(Ball* ball) { cueBall = ball; }

void Referee::startShot() { playState = Shooting; }

void Referee::ballPocketed(int ballNumber) {
    if (ballNumber != 0 && firstPocketed == -1) firstPocketed = ballNumber;
    const BallGroup group = groupOf(ballNumber);
    if (group == None) {
        (ballNumber == 0 ? cuePocketed : eightPocketed) = true;
        return;
    }
    int& remaining = group == Solids ? solidsRemaining : stripesRemaining;
    remaining -= 1;
    if (remaining != 0) return;
    // Only a player holding the group at this moment is now on the eight.
    if (players[0].group == group)
        players[0].onEightBall = true;
    else if (players[1].group == group)
        players[1].onEightBall = true;
}

void Referee::endShot() {
    updateTableState();
    if (checkLost() || checkWon()) return;
    if (!keepsTurn()) switchPlayer();
    nextTurn();
}

void Referee::updateTableState() {
    if (tableState == BreakShot) {
        tableState = OpenTable; // the break never assigns groups
    } else if (tableState == OpenTable && hasPocketedBall()) {
        assignGroups();
        tableState = GroupsAssigned;
    }
}

void Referee::assignGroups() {
    const BallGroup group = groupOf(firstPocketed);
    const BallGroup otherGroup = group == Solids ? Stripes : group == Stripes ? Solids : None;
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
    if (tableState != GroupsAssigned) return true;
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
    playState = GameOver;
    winner = (won ? currentPlayerNumber() : otherPlayerNumber()) - 1;
    if (cuePocketed && gameOverScratchHandler) gameOverScratchHandler();
}

bool Referee::isOpenTable() const { return players[0].group == None && players[1].group == None; }
PlayerRecord& Referee::currentPlayerRecord() { return players[currentPlayer]; }
PlayerRecord& Referee::otherPlayerRecord() { return players[(currentPlayer + 1) % 2]; }
const PlayerRecord& Referee::currentPlayerRecord() const { return players[currentPlayer]; }
const PlayerRecord& Referee::otherPlayerRecord() const { return players[(currentPlayer + 1) % 2]; }
void Referee::switchPlayer() { currentPlayer = (currentPlayer + 1) % 2; }
int Referee::currentPlayerNumber() const { return currentPlayer + 1; }
int Referee::otherPlayerNumber() const { return (currentPlayer + 1) % 2 + 1; }
int Referee::groupOfPlayer(int playerNumber) const { return players[playerNumber - 1].group; }

int Referee::remainingInGroup(int group) const {
    if (group == Solids) return solidsRemaining;
    if (group == Stripes) return stripesRemaining;
    return -1;
}

bool Referee::hasPocketedBall() const { return firstPocketed != -1; }
int Referee::winnerNumber() const { return winner + 1; }
bool Referee::isGameOver() const { return playState == GameOver; }
bool Referee::isPlacingCueBall() const { return playState == PlacingCueBall; }
void Referee::resumeAiming() { playState = Aiming; }

void Referee::giveBallInHand() {
    playState = PlacingCueBall;
    if (!cueBall) return;
    cueBall->position = Vec3(0.0, 3.0, 0.0); // above the table centre, for placement to move
    cueBall->pocketed = false;
}

bool Referee::keyAllowed(unsigned char key) const {
    const bool zoom = key == 'z' || key == 'x';
    switch (playState) {
    case Aiming:
        return true;
    case Shooting:
        return zoom || key == KEY_ESCAPE;
    case PlacingCueBall:
        return zoom || key == KEY_ESCAPE || key == KEY_ENTER;
    case GameOver:
        return key == KEY_ESCAPE;
    default:
        return false;
    }
}

bool Referee::specialKeyAllowed(int key) const {
    switch (playState) {
    case Aiming:
    case PlacingCueBall:
        return true;
    case Shooting:
        return key != SPECIAL_KEY_F9 && key != SPECIAL_KEY_F10;
    case GameOver:
        return key == SPECIAL_KEY_F10;
    default:
        return false;
    }
}
