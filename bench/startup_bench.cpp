// Start-up to a mapped window: quillon's analysis window against a bare Qt Widgets window of the
// same size, on the X server of DISPLAY (an Xvfb without a window manager gives the steadiest
// figures), and against the same bare window holding one label, whose fonts are loaded before it
// is shown as any window with text has them loaded. The three are started in turn, fifteen times
// each after one start of each to warm the caches; the medians and the ratios are the counters.
//   xvfb-run -a build/release/bench/startup_bench

#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <optional>
#include <vector>

namespace {

constexpr int kRuns = 15;
constexpr int kTimeoutMs = 10000;

void Drain(Display* display) {
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

// Milliseconds from the start of the program to the mapping of its first top-level window, or
// nothing when it ends or takes longer than the timeout.
std::optional<double> TimeToMappedWindow(Display* display, const char* program, const char* argument = nullptr) {
    Drain(display);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program, program, argument, static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child < 0) return std::nullopt;
    std::optional<double> elapsed;
    const Window root = DefaultRootWindow(display);
    while (!elapsed) {
        while (!elapsed && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect) {
                elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            }
        }
        if (elapsed) break;
        const double waited =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (waited > kTimeoutMs || waitpid(child, nullptr, WNOHANG) == child) break;
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, 20);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    Drain(display);
    return elapsed;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_StartupToMappedWindow(benchmark::State& state) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        state.SkipWithError("no X display: run under xvfb-run");
        return;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    std::vector<double> quillon, bare, labelled;
    for (auto _ : state) {
        for (int run = -1; run < kRuns; ++run) {
            const auto ours = TimeToMappedWindow(display, QUILLON_PROGRAM);
            const auto yardstick = TimeToMappedWindow(display, BARE_WINDOW_PROGRAM);
            const auto withText = TimeToMappedWindow(display, BARE_WINDOW_PROGRAM, "--label");
            if (!ours || !yardstick || !withText) {
                state.SkipWithError("a window did not appear");
                break;
            }
            if (run < 0) continue;
            quillon.push_back(*ours);
            bare.push_back(*yardstick);
            labelled.push_back(*withText);
        }
    }
    XCloseDisplay(display);
    if (quillon.empty()) return;
    state.counters["quillon_ms"] = Median(quillon);
    state.counters["bare_window_ms"] = Median(bare);
    state.counters["labelled_window_ms"] = Median(labelled);
    state.counters["ratio"] = Median(quillon) / Median(bare);
    state.counters["ratio_to_labelled"] = Median(quillon) / Median(labelled);
}
BENCHMARK(BM_StartupToMappedWindow)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
