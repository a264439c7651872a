// The pool executable as a player starts it: the window and its title, and no display at all.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {
// Output and exit status of a shell command.
std::pair<std::string, int> run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {"", -1};
    std::array<char, 256> buffer;
    while (fgets(buffer.data(), int(buffer.size()), pipe)) output += buffer.data();
    const int status = pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(PoolWindow, WithoutADisplayItSaysHowToRunItAndExitsWithOne) {
    const auto [output, status] = run("env -u DISPLAY " POOL_PATH " 2>&1");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(output, std::string(POOL_PATH) +
                          ": cannot open the X display \"\"; run it on a desktop, or under a "
                          "virtual display: xvfb-run -a -s \"-screen 0 1920x1080x24\" " POOL_PATH
                          "\n");
}

TEST(PoolWindow, StartedWithAnEmptyArgumentListItCallsItselfPool) {
    int output[2];
    ASSERT_EQ(pipe(output), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(output[1], STDERR_FILENO);
        char* const noArguments[] = {nullptr};
        char* const noDisplay[] = {nullptr};
        execve(POOL_PATH, noArguments, noDisplay);
        _exit(127);
    }
    close(output[1]);
    std::string message;
    char buffer[256];
    for (ssize_t n; (n = read(output[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
    close(output[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(message.rfind("pool: cannot open the X display \"\";", 0), 0u) << message;
}

TEST(PoolWindow, OpensOneFullScreenWindowTitledWithItsPath) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (the tests run under Xvfb)";
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        execl(POOL_PATH, POOL_PATH, static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string window;
    for (int i = 0; i < 100 && window.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        window = run("xdotool search --name '^" POOL_PATH "$' 2>/dev/null").first;
    }
    ASSERT_FALSE(window.empty()) << "no window titled " POOL_PATH;
    window.pop_back(); // the newline
    std::string geometry, screen;
    for (int i = 0; i < 50; ++i) { // full screen is asked for once the window shows
        geometry = run("xdotool getwindowgeometry --shell " + window + " | grep -E 'WIDTH|HEIGHT'").first;
        screen = run("xdotool getdisplaygeometry").first;
        const std::string wanted = "WIDTH=" + screen.substr(0, screen.find(' ')) + "\n";
        if (geometry.rfind(wanted, 0) == 0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    const std::string width = screen.substr(0, screen.find(' '));
    const std::string height = screen.substr(screen.find(' ') + 1, screen.find('\n') - screen.find(' ') - 1);
    EXPECT_EQ(geometry, "WIDTH=" + width + "\nHEIGHT=" + height + "\n");
}
} // namespace
