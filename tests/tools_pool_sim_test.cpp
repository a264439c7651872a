// pool-sim end to end: the golden break, set-up files, and the refusal of bad input.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
struct ToolRun {
    int status = -1;
    std::string out, err;
};

std::string readFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

ToolRun poolSim(const std::string& arguments) {
    char errPath[] = "/tmp/pool_sim_errXXXXXX";
    const int fd = mkstemp(errPath);
    close(fd);
    ToolRun run;
    const std::string command = std::string(POOL_SIM_PATH) + " " + arguments + " 2>" + errPath;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readFile(errPath);
    std::remove(errPath);
    return run;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) result.push_back(line);
    return result;
}

std::string writeSetup(const std::string& text) {
    char path[] = "/tmp/pool_sim_setupXXXXXX";
    const int fd = mkstemp(path);
    close(fd);
    std::ofstream(path) << text;
    return path;
}
} // namespace

// The opening break is the game's most played shot. This pins its contact order, its length in
// frames and the referee's verdict, so that any change to the physics, the tie-breaks, the
// event loop or the rules that alters a real game shows up here first.
TEST(PoolSim, GoldenBreak) {
    const ToolRun run = poolSim("--angle 0 --power 100 --dt 1/60");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> out = lines(run.out);
    ASSERT_EQ(out.size(), 81u); // 63 contacts, END, 16 balls, the verdict
    const char* firstContacts[] = {
        "Ball  0 collided with ball    1", "Ball  1 collided with ball   10",
        "Ball 10 collided with ball    3", "Ball 10 collided with ball    9",
        "Ball 10 collided with ball    8", "Ball  9 collided with ball    2",
        "Ball  8 collided with ball    2", "Ball  1 collided with ball    9",
        "Ball  9 collided with ball    8", "Ball  9 collided with ball    2"};
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(out[i], firstContacts[i]) << "line " << i;
    EXPECT_EQ(out[out.size() - 18], "END frames=580");
    EXPECT_EQ(out[out.size() - 17], "0 0 -0.000903800 1.000000000 18.403131860"); // cue ball
    EXPECT_EQ(out[out.size() - 6], "7 1 22.308032483 -16.000000000 43.693970683"); // the 7 dropped
    EXPECT_EQ(out.back(),
              "playState=0 tableState=1 currentPlayer=0 groups=0,0 solids=6 stripes=7 winner=-1");
}

TEST(PoolSim, FractionAndDecimalFrameTimesAgree) {
    const ToolRun fraction = poolSim("--angle 12.5 --power 40 --dt 1/30 --max-frames 40");
    const ToolRun decimal = poolSim("--angle 12.5 --power 40 --dt 0.03333333333333333 --max-frames 40");
    ASSERT_EQ(fraction.status, 0);
    EXPECT_EQ(fraction.out, decimal.out);
    EXPECT_NE(fraction.out.find("END frames=40\n"), std::string::npos);
}

TEST(PoolSim, SetupMovesBallsAndTheScratchGivesBallInHand) {
    const std::string setup = writeSetup("# cue ball level with the left side pocket\n"
                                         "0 -15 1 0\n"
                                         "\n"
                                         "5 0 1 0 1   # the eight, already down\n");
    const ToolRun run = poolSim("--angle 90 --power 10 --dt 1/60 --setup " + setup);
    std::remove(setup.c_str());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> out = lines(run.out);
    ASSERT_GE(out.size(), 18u);
    EXPECT_EQ(out[0], "Ball  0 collided with pocket 12");
    EXPECT_EQ(out[out.size() - 17], "0 0 0.000000000 3.000000000 0.000000000");
    EXPECT_EQ(out[out.size() - 12], "8 1 0.000000000 1.000000000 0.000000000");
    EXPECT_EQ(out[out.size() - 15], "10 0 -1.000000000 1.000000000 -23.732051849");
    EXPECT_EQ(out.back(),
              "playState=2 tableState=1 currentPlayer=1 groups=0,0 solids=7 stripes=7 winner=-1");
}

TEST(PoolSim, BadInputIsRefusedWithOneLineAndStatusTwo) {
    const std::string badIndex = writeSetup("16 0 1 0\n");
    const std::string badNumber = writeSetup("3 0 one 0\n");
    const std::string badFlag = writeSetup("3 0 1 0 yes\n");
    const struct {
        std::string arguments, message;
    } cases[] = {
        {"--angle 0 --power 1 --dt 1/60 --spin 3", "unknown option '--spin'"},
        {"--angle 0 --power 1 --dt", "--dt needs a value"},
        {"--angle zero --power 1 --dt 1/60", "--angle: 'zero' is not a number"},
        {"--angle 0 --power 1e999 --dt 1/60", "--power: '1e999' is not a number"},
        {"--angle 0 --power 1 --dt 1/0", "--dt: '1/0' is not a number or a fraction"},
        {"--angle 0 --power 1 --dt 0", "--dt: '0' is not positive"},
        {"--angle 0 --power -5 --dt 1", "--power: '-5' is negative"},
        {"--angle 0 --power 1 --dt 1 --max-frames 2.5", "--max-frames: '2.5' is not a whole"},
        {"--angle 0 --dt 1/60", "missing --power"},
        {"--angle 0 --power 1 --dt 1 --setup /nonexistent/setup", "cannot read setup file"},
        {"--angle 0 --power 1 --dt 1 --setup " + badIndex, ":1: index 16 outside 0..15"},
        {"--angle 0 --power 1 --dt 1 --setup " + badNumber, ":1: 'one' is not a number"},
        {"--angle 0 --power 1 --dt 1 --setup " + badFlag, ":1: pocketed must be 0 or 1"},
    };
    for (const auto& c : cases) {
        const ToolRun run = poolSim(c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments; // nothing simulated
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_EQ(lines(run.err).size(), 1u) << run.err;
    }
    for (const std::string& path : {badIndex, badNumber, badFlag}) std::remove(path.c_str());
}
