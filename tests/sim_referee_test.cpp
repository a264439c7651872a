// The referee: groups, turns, ball in hand, winning and losing on the eight, and the key filter.
#include <gtest/gtest.h>

#include <initializer_list>

#include "sim/ball.h"
#include "sim/referee.h"

namespace {
int scratchCalls = 0;
void countScratch() { ++scratchCalls; }

class RefereeTest : public testing::Test {
protected:
    Ball cue{0.0f, 1.0f, rack[0].position, rack[0].diffuse, rack[0].specular, &rack[0].shininess};
    Referee ref;

    void SetUp() override {
        ref.setCueBall(&cue);
        scratchCalls = 0;
        ref.gameOverScratchHandler = countScratch;
    }
    // One shot that pockets the given balls in order.
    void shot(std::initializer_list<int> pocketed) {
        ref.startShot();
        EXPECT_EQ(ref.playState, Shooting);
        for (const int n : pocketed) {
            if (n == 0) cue.pocketed = true;
            ref.ballPocketed(n);
        }
        ref.endShot();
    }
    // Opens the table and gives player 1 solids, player 2 stripes, player 1 still at the table.
    void solidsForPlayerOne() {
        shot({3});
        shot({1});
        ASSERT_EQ(ref.groupOfPlayer(1), Solids);
        ASSERT_EQ(ref.currentPlayerNumber(), 1);
    }
    void clearSolidsButOne() {
        for (int n : {2, 4, 5, 6}) ref.ballPocketed(n); // as if pocketed along the way: 7 is left
        ref.firstPocketed = -1;
    }
};
} // namespace

TEST(RefereeGroups, ClassifiesBallNumbers) {
    EXPECT_EQ(Referee::groupOf(0), None);
    EXPECT_EQ(Referee::groupOf(1), Solids);
    EXPECT_EQ(Referee::groupOf(7), Solids);
    EXPECT_EQ(Referee::groupOf(8), None);
    EXPECT_EQ(Referee::groupOf(9), Stripes);
    EXPECT_EQ(Referee::groupOf(15), Stripes);
    EXPECT_EQ(Referee::groupOf(16), None);
    EXPECT_EQ(Referee::groupOf(-1), None);
}

TEST_F(RefereeTest, FreshGameAndPlayerNumbers) {
    EXPECT_EQ(ref.playState, Aiming);
    EXPECT_EQ(ref.tableState, BreakShot);
    EXPECT_TRUE(ref.isOpenTable());
    EXPECT_EQ(ref.remainingInGroup(Solids), 7);
    EXPECT_EQ(ref.remainingInGroup(None), -1);
    EXPECT_EQ(ref.otherPlayerNumber(), 2);
    ref.switchPlayer();
    EXPECT_EQ(ref.currentPlayerNumber(), 2);
    EXPECT_EQ(ref.otherPlayerNumber(), 1);
    ref.reset();
    EXPECT_EQ(ref.currentPlayer, 0);
    EXPECT_EQ(ref.gameOverScratchHandler, &countScratch); // reset keeps the handler
}

TEST_F(RefereeTest, BreakThatPocketsKeepsTheTurnAndLeavesTheTableOpen) {
    shot({3, 12});
    EXPECT_EQ(ref.tableState, OpenTable);
    EXPECT_TRUE(ref.isOpenTable());
    EXPECT_EQ(ref.currentPlayer, 0);
    EXPECT_EQ(ref.playState, Aiming);
    EXPECT_EQ(ref.solidsRemaining, 6);
    EXPECT_EQ(ref.stripesRemaining, 6);
    EXPECT_EQ(ref.firstPocketed, -1);
}

TEST_F(RefereeTest, EmptyShotsPassTheTurnTheBreakIncluded) {
    shot({});
    EXPECT_EQ(ref.tableState, OpenTable);
    EXPECT_EQ(ref.currentPlayer, 1);
    shot({});
    EXPECT_EQ(ref.tableState, OpenTable);
    EXPECT_EQ(ref.currentPlayer, 0);
}

TEST_F(RefereeTest, EightOnTheBreakLosesForTheBreaker) {
    shot({8});
    EXPECT_TRUE(ref.isGameOver());
    EXPECT_TRUE(ref.lost);
    EXPECT_EQ(ref.winner, 1);
    EXPECT_EQ(ref.winnerNumber(), 2);
    EXPECT_TRUE(ref.eightPocketed); // the deciding shot's flags stay
    EXPECT_EQ(scratchCalls, 0);
}

TEST_F(RefereeTest, OpenTableFirstBallPocketedDecidesTheGroups) {
    shot({});
    ref.switchPlayer(); // player 1 again
    shot({11, 4});
    EXPECT_EQ(ref.tableState, GroupsAssigned);
    EXPECT_EQ(ref.groupOfPlayer(1), Stripes);
    EXPECT_EQ(ref.groupOfPlayer(2), Solids);
    EXPECT_EQ(ref.currentPlayerNumber(), 1);
}

TEST_F(RefereeTest, OpenTableScratchStillAssignsButGivesBallInHand) {
    shot({});
    shot({5, 0}); // player 2 shoots
    EXPECT_EQ(ref.groupOfPlayer(2), Solids);
    EXPECT_EQ(ref.groupOfPlayer(1), Stripes);
    EXPECT_EQ(ref.currentPlayerNumber(), 1);
    EXPECT_TRUE(ref.isPlacingCueBall());
    EXPECT_FALSE(cue.pocketed);
    EXPECT_EQ(cue.position.x, 0.0);
    EXPECT_EQ(cue.position.y, 3.0);
    EXPECT_EQ(cue.position.z, 0.0);
    EXPECT_FALSE(ref.cuePocketed);
    ref.resumeAiming();
    EXPECT_EQ(ref.playState, Aiming);
}

TEST_F(RefereeTest, OnlyTheFirstBallPocketedDecidesTheTurn) {
    solidsForPlayerOne();
    shot({13, 2});
    EXPECT_EQ(ref.currentPlayerNumber(), 2);
    shot({2, 13}); // player 2 (stripes) pocketing a solid first also loses the table
    EXPECT_EQ(ref.currentPlayerNumber(), 1);
    shot({6});
    EXPECT_EQ(ref.currentPlayerNumber(), 1);
}

TEST_F(RefereeTest, ClearingTheGroupPutsItsPlayerOnTheEight) {
    solidsForPlayerOne();
    clearSolidsButOne();
    EXPECT_FALSE(ref.players[0].onEightBall);
    shot({7}); // the last solid
    EXPECT_EQ(ref.solidsRemaining, 0);
    EXPECT_TRUE(ref.players[0].onEightBall);
    EXPECT_FALSE(ref.players[1].onEightBall);
}

TEST_F(RefereeTest, EightWithoutTheCueBallWinsForThePlayerOnIt) {
    solidsForPlayerOne();
    clearSolidsButOne();
    shot({7});
    shot({8});
    EXPECT_TRUE(ref.isGameOver());
    EXPECT_TRUE(ref.won);
    EXPECT_EQ(ref.winnerNumber(), 1);
    EXPECT_EQ(scratchCalls, 0);
}

TEST_F(RefereeTest, EightWithTheCueBallLosesAndPointsTheCameraAway) {
    solidsForPlayerOne();
    clearSolidsButOne();
    shot({7});
    shot({0, 8});
    EXPECT_TRUE(ref.isGameOver());
    EXPECT_TRUE(ref.lost);
    EXPECT_EQ(ref.winnerNumber(), 2);
    EXPECT_EQ(scratchCalls, 1);
    EXPECT_TRUE(cue.pocketed); // no ball in hand once the game is over
}

TEST_F(RefereeTest, LastSolidAndEightInOneShotWinInEitherOrder) {
    for (const bool eightFirst : {false, true}) {
        ref.reset();
        solidsForPlayerOne();
        clearSolidsButOne();
        if (eightFirst)
            shot({8, 7});
        else
            shot({7, 8});
        EXPECT_TRUE(ref.won) << "eight first: " << eightFirst;
        EXPECT_EQ(ref.winnerNumber(), 1);
    }
}

TEST_F(RefereeTest, EightBeforeTheGroupIsClearedLoses) {
    solidsForPlayerOne();
    shot({8});
    EXPECT_TRUE(ref.lost);
    EXPECT_EQ(ref.winnerNumber(), 2);
}

TEST_F(RefereeTest, ClearingTheOpponentsGroupDoesNotPutTheShooterOnTheEight) {
    solidsForPlayerOne();
    for (int n : {9, 10, 11, 12, 13, 14, 15}) ref.ballPocketed(n);
    EXPECT_EQ(ref.stripesRemaining, 0);
    EXPECT_TRUE(ref.players[1].onEightBall);
    EXPECT_FALSE(ref.players[0].onEightBall);
}

TEST_F(RefereeTest, WithoutAHandlerAGameOverScratchJustEnds) {
    ref.gameOverScratchHandler = nullptr;
    shot({0, 8});
    EXPECT_TRUE(ref.isGameOver());
    EXPECT_EQ(ref.winnerNumber(), 2);
}

TEST_F(RefereeTest, EachPlayStateAdmitsItsKeys) {
    const unsigned char esc = 27, enter = 13;
    ref.playState = Aiming;
    EXPECT_TRUE(ref.keyAllowed(' ') && ref.keyAllowed('q') && ref.specialKeyAllowed(10));
    ref.playState = Shooting;
    EXPECT_TRUE(ref.keyAllowed('z') && ref.keyAllowed('x') && ref.keyAllowed(esc));
    EXPECT_FALSE(ref.keyAllowed(' ') || ref.keyAllowed('Z') || ref.keyAllowed(enter));
    EXPECT_TRUE(ref.specialKeyAllowed(8) && ref.specialKeyAllowed(100));
    EXPECT_FALSE(ref.specialKeyAllowed(9) || ref.specialKeyAllowed(10));
    ref.playState = PlacingCueBall;
    EXPECT_TRUE(ref.keyAllowed(enter) && ref.keyAllowed(esc) && ref.keyAllowed('x'));
    EXPECT_FALSE(ref.keyAllowed(' '));
    EXPECT_TRUE(ref.specialKeyAllowed(9) && ref.specialKeyAllowed(10));
    ref.playState = GameOver;
    EXPECT_TRUE(ref.keyAllowed(esc) && ref.specialKeyAllowed(10));
    EXPECT_FALSE(ref.keyAllowed('z') || ref.keyAllowed(enter) || ref.specialKeyAllowed(1) ||
                 ref.specialKeyAllowed(9));
    ref.playState = 7;
    EXPECT_FALSE(ref.keyAllowed(esc) || ref.specialKeyAllowed(10));
}

TEST(GlobalReferee, StartsANewGameWithoutAHandler) {
    Referee fresh;
    EXPECT_EQ(fresh.gameOverScratchHandler, nullptr);
    EXPECT_EQ(fresh.playState, Aiming);
    EXPECT_EQ(fresh.solidsRemaining, 7);
}

// Mended: a group cleared on an open table (F11, or a whole group dropping) put nobody on the
// eight, so its player lost on a clean pot of the eight once the groups were assigned.
TEST_F(RefereeTest, AGroupClearedOnAnOpenTablePutsItsPlayerOnTheEightWhenAssigned) {
    for (const bool scratch : {false, true}) {
        ref.reset();
        shot({3}); // the break, the table stays open
        for (int n : {1, 2, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15}) ref.ballPocketed(n); // F11
        shot({}); // assigns the groups: solids (ball 1 first) to player 1
        ASSERT_EQ(ref.groupOfPlayer(1), Solids);
        EXPECT_TRUE(ref.players[0].onEightBall && ref.players[1].onEightBall);
        ASSERT_EQ(ref.currentPlayerNumber(), 1);
        if (scratch)
            shot({0, 8});
        else
            shot({8});
        EXPECT_EQ(ref.won, !scratch) << "scratch " << scratch;
        EXPECT_EQ(ref.winnerNumber(), scratch ? 2 : 1) << "scratch " << scratch;
    }
}
