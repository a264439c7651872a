// The referee: groups, turns, ball in hand, winning and losing on the eight, and the key filter.
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "sim_test_util.h"

namespace {
class RefereeTest : public testing::Test {
protected:
    Referee ref;
    int scratchEndings = 0; // games ended on a shot in which the cue ball dropped

    // One shot that pockets the given balls in order (0 is the cue ball).
    void shot(const std::vector<int>& pocketed) {
        ref.startShot();
        EXPECT_EQ(ref.playState, PlayState::Shooting);
        for (const int n : pocketed) ref.ballPocketed(n);
        const ShotOutcome outcome = ref.endShot();
        EXPECT_EQ(outcome.ballInHand, ref.isPlacingCueBall());
        EXPECT_EQ(outcome.gameOver, ref.isGameOver());
        EXPECT_EQ(outcome.winner, ref.isGameOver() ? ref.winner : -1);
        if (outcome.gameOver && outcome.scratched) ++scratchEndings;
    }
};
} // namespace

// Whole games shot by shot, and how they stand after. A shot lists the balls it pockets in order
// ("-" none), shots are parted by "/".
TEST_F(RefereeTest, GamesEndAsTheRulesSay) {
    constexpr PlayState AIM = PlayState::Aiming, PLACE = PlayState::PlacingCueBall,
                        OVER = PlayState::GameOver;
    constexpr TableState OPEN = TableState::OpenTable, GROUPS = TableState::GroupsAssigned;
    constexpr BallGroup NONE = BallGroup::None, SOLIDS = BallGroup::Solids,
                        STRIPES = BallGroup::Stripes;
    const std::string CLEARED = "1 2 3 4 5 6 7 9 10 11 12 13 14 15", SIX = "3/1/2/4/5/6";
    const struct {
        std::string what, shots;
        int player;
        PlayState playState;
        TableState tableState;
        BallGroup groupOfPlayerOne;
        int winner, scratches;
    } games[] = {
        {"pockets on the break keep the turn", "3 12", 1, AIM, OPEN, NONE, 0, 0},
        {"an empty break passes the turn", "-", 2, AIM, OPEN, NONE, 0, 0},
        {"the first ball on an open table decides", "-/-/11 4", 1, AIM, GROUPS, STRIPES, 0, 0},
        {"a scratch still assigns, with ball in hand", "-/5 0", 1, PLACE, GROUPS, STRIPES, 0, 0},
        {"a foreign ball first loses it", "3/1/13 2", 2, AIM, GROUPS, SOLIDS, 0, 0},
        {"a scratch with own ball: ball in hand", "3/1/2 0", 2, PLACE, GROUPS, SOLIDS, 0, 0},
        {"the eight on the break loses", "8", 1, OVER, OPEN, NONE, 2, 0},
        {"the eight before the group is cleared", "3/1/8", 1, OVER, GROUPS, SOLIDS, 2, 0},
        {"the eight after the group wins", SIX + "/7/8", 1, OVER, GROUPS, SOLIDS, 1, 0},
        {"the last solid, then the eight", SIX + "/7 8", 1, OVER, GROUPS, SOLIDS, 1, 0},
        {"the eight, then the last solid", SIX + "/8 7", 1, OVER, GROUPS, SOLIDS, 1, 0},
        {"the eight with the cue ball loses", SIX + "/7/0 8", 1, OVER, GROUPS, SOLIDS, 2, 1},
        // Mended: with both groups cleared before either was assigned (F11 before the break) the
        // eight could only lose; both players are on it.
        {"both groups cleared, the eight", CLEARED + "/-/8", 2, OVER, GROUPS, NONE, 2, 0},
        {"both cleared, the eight with a scratch", CLEARED + "/0 8", 1, OVER, GROUPS, NONE, 2, 1},
        // The shooter clears the opponent's group: the opponent, not the shooter, is on the eight.
        {"the other group cleared", "3/1/9 10 11 12 13 14 15/8", 2, OVER, GROUPS, SOLIDS, 2, 0},
    };
    for (const auto& game : games) {
        ref.reset();
        scratchEndings = 0;
        std::istringstream shots(game.shots);
        for (std::string balls; std::getline(shots, balls, '/');) {
            std::istringstream in(balls);
            shot({std::istream_iterator<int>(in), {}});
        }
        EXPECT_EQ(ref.currentPlayerNumber(), game.player) << game.what;
        EXPECT_EQ(ref.playState, game.playState) << game.what;
        EXPECT_EQ(ref.tableState, game.tableState) << game.what;
        EXPECT_EQ(ref.groupOfPlayer(1), game.groupOfPlayerOne) << game.what;
        EXPECT_EQ(ref.isOpenTable(), game.groupOfPlayerOne == BallGroup::None) << game.what;
        EXPECT_EQ(ref.isGameOver() ? ref.winnerNumber() : 0, game.winner) << game.what;
        EXPECT_EQ(scratchEndings, game.scratches) << game.what;
    }
    EXPECT_EQ(ref.remainingInGroup(BallGroup::Solids), 5); // after the last game
    EXPECT_EQ(ref.remainingInGroup(BallGroup::Stripes), 0);
    EXPECT_EQ(ref.remainingInGroup(BallGroup::None), -1);
}

// One letter an action, in the order of Action: 1 admitted.
TEST(RefereeActions, EachPlayStateAdmitsItsActions) {
    const struct {
        PlayState playState;
        const char* admitted;
    } states[] = {
        // Charge, PlaceBall, Zoom, Quit, Strike, Respot, NewGame, ClearTable, Aim, View, MoveBall,
        // Redraw
        {PlayState::Aiming, "111111111101"},
        {PlayState::Shooting, "001110011101"},
        {PlayState::PlacingCueBall, "011111111111"},
        {PlayState::GameOver, "000100100000"},
        {PlayState(7), "000000000000"}};
    Referee ref;
    for (const auto& s : states) {
        ref.playState = s.playState;
        for (int a = 0; a <= int(Action::Redraw); ++a)
            EXPECT_EQ(ref.allows(Action(a)), s.admitted[a] == '1') << int(s.playState) << " " << a;
    }
}

// Mended: a group cleared on an open table (F11, or a whole group dropping) put nobody on the
// eight, so its player lost on a clean pot of the eight once the groups were assigned.
TEST_F(RefereeTest, AGroupClearedOnAnOpenTablePutsItsPlayerOnTheEightWhenAssigned) {
    for (const bool scratch : {false, true}) {
        ref.reset();
        shot({3}); // the break, the table stays open
        for (int n : {1, 2, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15}) ref.ballPocketed(n); // F11
        shot({}); // assigns the groups: solids (ball 1 first) to player 1
        ASSERT_EQ(ref.groupOfPlayer(1), BallGroup::Solids);
        EXPECT_TRUE(ref.players[0].onEightBall && ref.players[1].onEightBall);
        ASSERT_EQ(ref.currentPlayerNumber(), 1);
        shot(scratch ? std::vector<int>{0, 8} : std::vector<int>{8});
        EXPECT_EQ(ref.won, !scratch) << "scratch " << scratch;
        EXPECT_EQ(ref.winnerNumber(), scratch ? 2 : 1) << "scratch " << scratch;
    }
}
