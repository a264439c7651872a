// pool-sim end to end: the golden break, set-up files, and the refusal of bad input and logs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {
// Runs pool-sim; returns its exit status and fills `out` with its lines, error stream included.
int poolSim(const std::string& arguments, std::vector<std::string>& out) {
    FILE* pipe = popen((std::string(POOL_SIM_PATH) + " " + arguments + " 2>&1").c_str(), "r");
    out.clear();
    for (char line[256]; std::fgets(line, sizeof line, pipe);)
        out.emplace_back(line, std::strcspn(line, "\n"));
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string setupFile(const std::string& name, const std::string& text) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}
} // namespace

// The opening break is the game's most played shot: its contact order, its length in frames and
// the referee's verdict show any change to the physics, the tie-breaks, the event loop or the
// rules.
TEST(PoolSim, GoldenBreak) {
    std::vector<std::string> out;
    ASSERT_EQ(poolSim("--angle 0 --power 100 --dt 1/60", out), 0);
    ASSERT_EQ(out.size(),
              81u); // 63 contacts, END, 16 balls, the verdict; nothing on the error stream
    const char* firstContacts[] = {
        "Ball  0 collided with ball    1", "Ball  1 collided with ball   10",
        "Ball 10 collided with ball    3", "Ball 10 collided with ball    9",
        "Ball 10 collided with ball    8", "Ball  9 collided with ball    2",
        "Ball  8 collided with ball    2", "Ball  1 collided with ball    9",
        "Ball  9 collided with ball    8", "Ball  9 collided with ball    2"};
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(out[i], firstContacts[i]) << "line " << i;
    EXPECT_EQ(out[63], "END frames=580");
    EXPECT_EQ(out[64], "0 0 -0.000903800 1.000000000 18.403131860");   // the cue ball
    EXPECT_EQ(out[75], "7 1 22.308032483 -16.000000000 43.693970683"); // the 7, dropped
    EXPECT_EQ(out[80],
              "playState=0 tableState=1 currentPlayer=0 groups=0,0 solids=6 stripes=7 winner=-1");
    std::vector<std::string> fraction, decimal;
    EXPECT_EQ(poolSim("--angle 12.5 --power 40 --dt 1/30 --max-frames 40", fraction), 0);
    EXPECT_EQ(poolSim("--angle 12.5 --power 40 --dt 0.03333333333333333 --max-frames 40", decimal),
              0);
    EXPECT_EQ(fraction, decimal);
    EXPECT_EQ(fraction[fraction.size() - 18], "END frames=40");
}

TEST(PoolSim, SetupMovesBallsAndTheScratchGivesBallInHand) {
    const std::string setup =
        setupFile("setup", "# cue ball level with the left side pocket\n0 -15 1 0\n\n"
                           "5 0 1 0 1   # the eight, already down\n");
    std::vector<std::string> out;
    ASSERT_EQ(poolSim("--angle 90 --power 10 --dt 1/60 --setup " + setup, out), 0);
    ASSERT_EQ(out.size(), 19u);
    EXPECT_EQ(out[0], "Ball  0 collided with pocket 12");
    EXPECT_EQ(out[2], "0 0 0.000000000 3.000000000 0.000000000");
    EXPECT_EQ(out[4], "10 0 -1.000000000 1.000000000 -23.732051849");
    EXPECT_EQ(out[7], "8 1 0.000000000 1.000000000 0.000000000");
    EXPECT_EQ(out[18],
              "playState=2 tableState=1 currentPlayer=1 groups=0,0 solids=7 stripes=7 winner=-1");
}

// A refused command line says why and where to look, as GNU programs do; a set-up file that
// cannot be played says why in one line; either way nothing is simulated and the status is 2.
TEST(PoolSim, BadInputIsRefusedWithStatusTwo) {
    const std::string setup = " --angle 0 --power 1 --dt 1 --setup ";
    const std::string TRY = "Try 'pool-sim --help' for more information.";
    const struct {
        std::string arguments, message;
        bool commandLine;
    } cases[] = {
        {"--angle 0 --power 1 --dt 1/60 --spin 3", "unknown option '--spin'", true},
        {"--angle zero --power 1 --dt 1/60", "--angle: 'zero' is not a number", true},
        {"--angle 0 --power 1e999 --dt 1/60", "--power: '1e999' is not a number", true},
        {"--angle 0 --power 1 --dt 1/0", "--dt: '1/0' is not a number or a fraction", true},
        {"--angle 0 --power -5 --dt 1", "--power: '-5' is negative", true},
        {"--angle 0 --power 1 --dt 1 --max-frames 2.5", "--max-frames: '2.5' is not a whole", true},
        {"--angle 0 --p 1 --dt 1", "option '--p' is ambiguous: --power, --players", true},
        {"--angle 0 --power 1 --dt", "--dt needs a value", true},
        {"-a0 -p1 -t1 extra", "unexpected argument 'extra'", true},
        {"--games 1 --seed 1 --angle 3", "--angle belongs to a shot, not to a match", true},
        {setup + "/nonexistent/setup", "cannot read setup file", false},
        {"-a0 -p1 -t1 --setup=", "cannot read setup file ''", false},
        {"-g1 -S1 --log=", "cannot write the log ''", false},
        {setup + setupFile("index", "16 0 1 0\n"), ":1: index 16 outside 0..15", false},
        {setup + setupFile("number", "\n3 0 one 0\n"), ":2: 'one' is not a number", false},
        {setup + setupFile("flag", "3 0 1 0 yes\n"), ":1: pocketed must be 0 or 1", false},
    };
    for (const auto& c : cases) {
        std::vector<std::string> out;
        EXPECT_EQ(poolSim(c.arguments, out), 2) << c.arguments;
        ASSERT_EQ(out.size(), c.commandLine ? 2u : 1u) << c.arguments; // nothing simulated
        EXPECT_NE(out[0].find(c.message), std::string::npos) << c.arguments << ": " << out[0];
        if (c.commandLine) {
            EXPECT_EQ(out[1], TRY);
        }
    }
}

// GNU's forms of the options play the same shot as the long ones; the help lists each option
// with its short form, and the version names the licence.
TEST(PoolSim, GnuFormsHelpAndVersion) {
    std::vector<std::string> longForm, gnuForms, help, version;
    ASSERT_EQ(poolSim("--angle 12.5 --power 40 --dt 1/30 --max-frames 40", longForm), 0);
    ASSERT_EQ(poolSim("-a12.5 --pow=40 -t 1/30 --max 40", gnuForms), 0);
    EXPECT_EQ(gnuForms, longForm);
    ASSERT_EQ(poolSim("-h", help), 0);
    for (const char* option : {"-a, --angle=DEG", "-r, --replay=FILE", "-V, --version"}) {
        bool listed = false;
        for (const std::string& line : help) listed = listed || line.find(option) != line.npos;
        EXPECT_TRUE(listed) << option;
    }
    ASSERT_EQ(poolSim("--version -x", version), 0);
    ASSERT_GE(version.size(), 3u);
    EXPECT_EQ(version[2], "License: MIT <https://opensource.org/licenses/MIT>");
}

// Tables the shot loop cannot play from, and logs edited beyond what the game can play, are
// refused at the line at fault before a ball moves; balls exactly a diameter apart are played.
TEST(PoolSim, ImpossibleInputIsRefusedAtItsLine) {
    const std::string shot = "--angle 0 --power 10 --dt 1/60 --setup ";
    const std::string area = ": a ball in play rests at y = 1 within |x| <= 21 and |z| <= 43";
    struct Case {
        std::string arguments, message;
    };
    std::vector<Case> cases = {
        {shot + setupFile("stacked", "3 0 1 -20\n\n2 0 1 -18.5\n"),
         "stacked:3: the balls at index 2 and 3 overlap"},
        {shot + setupFile("onRack", "# inside the apex ball\n0 0.5 1 -22\n"),
         "onRack:2: the balls at index 0 and 1 overlap"},
        {shot + setupFile("wide", "4 21.5 1 0\n"), "wide:1" + area},
        {shot + setupFile("long", "4 0 1 -43.25\n"), "long:1" + area},
        {shot + setupFile("above", "4 0 1.5 0\n"), "above:1" + area},
        {shot + setupFile("scratched", "0 0 1 0 1\n"), "scratched:1: the cue ball cannot start"},
        {shot + setupFile("huge", "5 1e300 1 0 1\n"), "huge:1: '1e300' is too large"},
    };
    // A game with a ball in hand, its lines edited one at a time: each damage is refused at its
    // line with nothing played.
    const std::string played = testing::TempDir() + "played.log";
    std::vector<std::string> out, log;
    ASSERT_EQ(poolSim("--games 1 --seed 5 --players straight,straight --log " + played, out), 0);
    std::ifstream file(played);
    for (std::string line; std::getline(file, line);) log.push_back(line);
    const auto lineOf = [&](const std::string& kind) {
        size_t at = 0;
        while (at < log.size() && log[at].compare(0, kind.size() + 1, kind + " ") != 0) ++at;
        return at;
    };
    ASSERT_LT(lineOf("place"), log.size()) << "the game must have a ball in hand";
    const struct {
        std::string kind, line, message;
    } edits[] = {
        {"aim", "aim nan", "the angle 'nan' is not finite"},
        {"aim", "aim inf", "the angle 'inf' is not finite"},
        {"strike", "strike 1 1000", "the power '1000' is outside (0, 100]"},
        {"strike", "strike 1 1e300", "the power '1e300' is outside (0, 100]"},
        {"strike", "strike 1", "strike takes 2 values, not 1"},
        {"strike", "strike 2 100", "player 2 is not at the table"},
        {"play", "play 10", "the frame time '10' is outside (0, 0.25] s"},
        {"think", "think -5", "the decision time '-5' is not a whole number"},
        {"think", "think 99999999999999999999999",
         "the decision time '99999999999999999999999' is not a whole"},
        {"place", "place nan nan", "the spot 'nan nan' is not on the free area"},
        {"end", "end 0123456789abcdef", "the shot ends in a state that differs from the log's"},
        {"play", "play 0.016", "the line is cut short"}, // the log ends on it, without a newline
    };
    for (const auto& e : edits) {
        const size_t at = lineOf(e.kind);
        std::string text;
        for (size_t i = 0; i < log.size(); ++i) text += (i == at ? e.line : log[i]) + "\n";
        if (e.message == "the line is cut short") text.resize(text.find(e.line) + e.line.size());
        cases.push_back({"--replay " + setupFile(e.kind + std::to_string(cases.size()), text),
                         ":" + std::to_string(at + 1) + ": " + e.message});
    }
    for (const auto& c : cases) {
        EXPECT_EQ(poolSim(c.arguments, out), 2) << c.arguments;
        EXPECT_EQ(out.size(), 1u) << c.arguments; // the message, and nothing played
        const std::string first = out.empty() ? "" : out[0];
        EXPECT_NE(first.find(c.message), std::string::npos) << c.arguments << ": " << first;
    }
    EXPECT_EQ(poolSim(shot + setupFile("touching", "1 0 1 0\n2 0 1 2\n"), out), 0);
}

// A match option out of place is named: --seed without --games, and a replay given a log to
// write or players of its own, which it would ignore.
TEST(PoolSim, MatchOptionsOutOfPlaceAreNamed) {
    const std::string noGames = "pool-record 1\nmatch players=3,straight seed=1 games=0\n";
    const std::string replay = "--replay " + setupFile("noGames.log", noGames);
    const struct {
        std::string arguments, message;
    } cases[] = {
        {"--seed 1", "pool-sim: a match needs --games"},
        {replay + " --log " + testing::TempDir() + "again.log", "--replay writes no log"},
        {replay + " --players 1,2", "--replay takes its games, seed and players from the log"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> out;
        EXPECT_EQ(poolSim(c.arguments, out), 2) << c.arguments;
        const std::string first = out.empty() ? "" : out[0];
        EXPECT_NE(first.find(c.message), std::string::npos) << c.arguments << ": " << first;
        EXPECT_EQ(out.size(), 2u) << "the message and the pointer to --help";
    }
}
