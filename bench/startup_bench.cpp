// Start-up of the game: time from exec to the first frame on screen, resident memory after it,
// and the processor time the game takes while it waits for a key (it should take none).
// Usage: pool-startup-bench POOL [RUNS]   (run from the folder holding Data/, under X)
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
constexpr double FRAME_TIMEOUT_SECONDS = 30.0;
constexpr double SETTLE_SECONDS = 1.0; // for the switch to full screen and its redraw
constexpr double IDLE_SECONDS = 3.0;   // of waiting for a key, watched for processor time
constexpr int SAMPLES_ACROSS = 16;     // pixels tested on each of the window's middle lines

struct Run {
    double firstFrameMs = 0.0;
    long residentKb = 0;
    double idleCpuPercent = 0.0;
    int idleRedraws = 0;
};

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The value of one "Name:   value kB" line of /proc/PID/status.
long statusField(pid_t pid, const std::string& name) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, name.size() + 1, name + ":") == 0)
            return std::strtol(line.c_str() + name.size() + 1, nullptr, 10);
    }
    return -1;
}

// User plus system processor time of the process so far, in clock ticks.
long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command name (which may hold spaces) start past its closing parenthesis;
    // utime and stime are the 12th and 13th of them.
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::vector<std::string> fields;
    size_t at = close + 2;
    while (at < text.size() && fields.size() < 13) {
        const size_t end = text.find(' ', at);
        fields.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    if (fields.size() < 13) return -1;
    return std::atol(fields[11].c_str()) + std::atol(fields[12].c_str());
}

// True once the window shows something other than black along its middle lines.
bool showsAFrame(Display* x, Window window) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(x, window, &a) || a.map_state != IsViewable) return false;
    XImage* image = XGetImage(x, window, 0, a.height / 2, a.width, 1, AllPlanes, ZPixmap);
    if (!image) return false;
    bool lit = false;
    for (int i = 0; i < SAMPLES_ACROSS && !lit; ++i)
        lit = (XGetPixel(image, (a.width - 1) * i / (SAMPLES_ACROSS - 1), 0) & 0xffffff) != 0;
    XDestroyImage(image);
    return lit;
}

// Waits for the next damage report (true) or for `seconds` to pass (false). Window creations
// under the root start damage tracking of the new window.
bool nextDamage(Display* x, int damageEvent, double seconds, Window& window) {
    const auto start = Clock::now();
    while (secondsSince(start) < seconds) {
        if (!XPending(x)) {
            pollfd connection = {ConnectionNumber(x), POLLIN, 0};
            poll(&connection, 1, 1); // milliseconds
            continue;
        }
        XEvent event;
        XNextEvent(x, &event);
        if (event.type == CreateNotify && window == 0) {
            window = event.xcreatewindow.window;
            XDamageCreate(x, window, XDamageReportNonEmpty);
        } else if (event.type == damageEvent + XDamageNotify) {
            XDamageSubtract(x, reinterpret_cast<XDamageNotifyEvent*>(&event)->damage, 0, 0);
            return true;
        }
    }
    return false;
}

pid_t startGame(const char* pool) {
    const pid_t pid = fork();
    if (pid == 0) {
        execl(pool, pool, static_cast<char*>(nullptr));
        std::perror(pool);
        _exit(127);
    }
    return pid;
}

bool measure(Display* x, int damageEvent, const char* pool, Run& run) {
    const auto start = Clock::now();
    const pid_t pid = startGame(pool);
    Window window = 0;
    bool shown = false;
    while (!shown && nextDamage(x, damageEvent, FRAME_TIMEOUT_SECONDS, window)) {
        run.firstFrameMs = 1000.0 * secondsSince(start);
        shown = showsAFrame(x, window);
    }
    if (shown) {
        run.residentKb = statusField(pid, "VmRSS");
        // Redraws caused by the switch to full screen end before the watch begins.
        while (nextDamage(x, damageEvent, SETTLE_SECONDS, window)) {
        }
        const long before = cpuTicks(pid);
        while (nextDamage(x, damageEvent, IDLE_SECONDS, window)) ++run.idleRedraws;
        const long ticks = cpuTicks(pid) - before;
        run.idleCpuPercent = 100.0 * double(ticks) / double(sysconf(_SC_CLK_TCK)) / IDLE_SECONDS;
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XSync(x, True); // drop what the closed window left in the queue
    return shown;
}

// The renderer the game gets: a context like the game's on a window that is never shown.
std::string rendererName(Display* x) {
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 1, GLX_STENCIL_SIZE, 1, None};
    XVisualInfo* visual = glXChooseVisual(x, DefaultScreen(x), attributes);
    if (!visual) return "no GLX visual with depth and stencil";
    XSetWindowAttributes wa = {};
    wa.colormap = XCreateColormap(x, DefaultRootWindow(x), visual->visual, AllocNone);
    const Window window = XCreateWindow(x, DefaultRootWindow(x), 0, 0, 1, 1, 0, visual->depth,
                                        InputOutput, visual->visual, CWColormap, &wa);
    GLXContext context = glXCreateContext(x, visual, nullptr, True);
    std::string name = "unknown";
    if (context && glXMakeCurrent(x, window, context)) {
        name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        glXMakeCurrent(x, None, nullptr);
    }
    if (context) glXDestroyContext(x, context);
    XDestroyWindow(x, window);
    XFreeColormap(x, wa.colormap);
    XFree(visual);
    return name;
}

template <typename T, typename Field> T medianOf(const std::vector<Run>& runs, Field field) {
    std::vector<T> values;
    for (const Run& r : runs) values.push_back(r.*field);
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s POOL [RUNS]   (from the folder holding Data/)\n", argv[0]);
        return 2;
    }
    const int runCount = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    Display* x = XOpenDisplay(nullptr);
    int damageEvent = 0, damageError = 0;
    if (!x || !XDamageQueryExtension(x, &damageEvent, &damageError)) {
        std::fprintf(stderr, "%s: needs an X display with the DAMAGE extension\n", argv[0]);
        return 2;
    }
    std::printf("renderer: %s\n", rendererName(x).c_str());
    XSelectInput(x, DefaultRootWindow(x), SubstructureNotifyMask);
    std::vector<Run> runs;
    for (int i = 0; i < runCount; ++i) {
        Run run;
        if (!measure(x, damageEvent, argv[1], run)) {
            std::fprintf(stderr, "%s: no frame within %.0f s\n", argv[1], FRAME_TIMEOUT_SECONDS);
            return 1;
        }
        std::printf("run %d: first frame %.0f ms, resident %.1f MB, waiting for a key: "
                    "%.1f%% CPU, %d redraws in %.0f s\n",
                    i + 1, run.firstFrameMs, run.residentKb / 1024.0, run.idleCpuPercent,
                    run.idleRedraws, IDLE_SECONDS);
        runs.push_back(run);
    }
    std::printf("median of %d: first frame %.0f ms (target 150), resident %.1f MB (target 60), "
                "waiting for a key %.1f%% CPU (target 0)\n",
                runCount, medianOf<double>(runs, &Run::firstFrameMs),
                medianOf<long>(runs, &Run::residentKb) / 1024.0,
                medianOf<double>(runs, &Run::idleCpuPercent));
    XCloseDisplay(x);
    return 0;
}
