// nookery-xprobe: times what a user sees on an X display, from inside its event stream.
//   launch --class C -- command...   start-up until the application's tray icon is mapped; the
//                                    application keeps running and its pid is printed
//   press --class C [--chord alt+space] [--presses N] [--settle-ms M]
//                                    N times: press the chord, time the map of the
//                                    application's panel window and the first drawing into it,
//                                    then press the chord again and wait until it is unmapped
//   wheel --class C --pid P [--chord alt+space] [--steps N] [--interval-ms M]
//                                    opens the panel with the chord, rests the pointer on its
//                                    middle and turns the wheel N notches, five down then five
//                                    up, each time waiting for the panel to draw; with an
//                                    interval, one notch every M ms without waiting, then until
//                                    the process is quiet (its hover easing done); prints the
//                                    process's CPU time per notch, summed over its threads
//   hover --class C --pid P [--chord alt+space] [--steps N]
//                                    opens the panel, rests the pointer on its middle and moves
//                                    it N times 40 px down or back up, each time until the
//                                    process is quiet: CPU time and drawings per move
// Figures are printed as key=value lines, times in milliseconds.

#include "XWindowWatcher.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

struct Options {
    std::string mode;
    std::string windowClass;
    std::string chord = "alt+space";
    int presses = 21;
    int settleMs = 150;
    int steps = 200;
    int pid = 0;
    int intervalMs = 0;
    std::vector<char *> command;
};

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// CPU time of every thread of a process so far, from the scheduler's own accounting.
double cpuMilliseconds(int pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *directory = opendir(tasks.c_str());
    if (!directory)
        return -1;
    double nanoseconds = 0;
    while (const dirent *entry = readdir(directory)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
        double running = 0;
        if (schedstat >> running)
            nanoseconds += running;
    }
    closedir(directory);
    return nanoseconds / 1e6;
}

// The next map of the application's panel (not its tray icon) until `deadline`.
std::optional<std::pair<XWindowWatcher::Window, Clock::time_point>>
nextPanelMap(XWindowWatcher &watcher, Clock::time_point deadline) {
    std::optional<std::pair<XWindowWatcher::Window, Clock::time_point>> mapped;
    do
        mapped = watcher.waitForMap(deadline);
    while (mapped && mapped->first.small);
    return mapped;
}

int launch(const Options &options) {
    XWindowWatcher watcher(options.windowClass);
    if (!watcher.connected()) {
        std::fprintf(stderr, "nookery-xprobe: no X display with the Damage extension\n");
        return 1;
    }
    std::vector<char *> argv = options.command;
    argv.push_back(nullptr);
    const Clock::time_point started = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        // Whoever reads our output must not wait for the application's end.
        if (const int devNull = open("/dev/null", O_WRONLY); devNull >= 0)
            dup2(devNull, STDOUT_FILENO);
        execvp(argv[0], argv.data());
        std::perror("nookery-xprobe: exec");
        _exit(127);
    }
    const Clock::time_point deadline = started + 30s;
    while (const auto mapped = watcher.waitForMap(deadline)) {
        if (mapped->first.small) {
            std::printf("startup_ms=%.1f\npid=%d\n", milliseconds(mapped->second - started),
                        int(pid));
            return 0;
        }
    }
    std::fprintf(stderr, "nookery-xprobe: no tray icon of class %s within 30 s\n",
                 options.windowClass.c_str());
    std::printf("pid=%d\n", int(pid));
    return 1;
}

int press(const Options &options) {
    XWindowWatcher watcher(options.windowClass);
    if (!watcher.connected()) {
        std::fprintf(stderr, "nookery-xprobe: no X display with the Damage extension\n");
        return 1;
    }
    std::vector<double> maps, drawings;
    int failures = 0;
    for (int i = 0; i < options.presses; ++i) {
        const auto pressed = watcher.pressChord(options.chord);
        if (!pressed) {
            std::fprintf(stderr, "nookery-xprobe: no keys for %s\n", options.chord.c_str());
            return 1;
        }
        const auto mapped = nextPanelMap(watcher, *pressed + 3s);
        if (!mapped) {
            ++failures;
            std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));
            continue;
        }
        const auto drawn = watcher.waitForDrawing(mapped->first.id, *pressed, *pressed + 3s);
        maps.push_back(milliseconds(mapped->second - *pressed));
        if (drawn)
            drawings.push_back(milliseconds(*drawn - *pressed));
        else
            ++failures;
        std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));
        watcher.pressChord(options.chord);
        if (!watcher.waitForUnmap(mapped->first.id, Clock::now() + 3s))
            ++failures;
        std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));
    }
    std::printf("presses=%d\nfailures=%d\n", options.presses, failures);
    if (!maps.empty())
        std::printf("first_map_ms=%.2f\nmap_median_ms=%.2f\n", maps.front(), median(maps));
    if (!drawings.empty())
        std::printf("first_paint_ms=%.2f\npaint_median_ms=%.2f\n", drawings.front(),
                    median(drawings));
    return failures == 0 ? 0 : 1;
}

// Opens the panel with the chord and rests the pointer on its middle; the panel's window.
std::optional<xcb_window_t> openPanelUnderPointer(XWindowWatcher &watcher, const Options &options) {
    if (!watcher.connected()) {
        std::fprintf(stderr, "nookery-xprobe: no X display with the Damage extension\n");
        return std::nullopt;
    }
    const auto pressed = watcher.pressChord(options.chord);
    const auto mapped = pressed ? nextPanelMap(watcher, *pressed + 3s) : std::nullopt;
    if (!mapped || !watcher.waitForDrawing(mapped->first.id, *pressed, *pressed + 3s)) {
        std::fprintf(stderr, "nookery-xprobe: the panel did not show\n");
        return std::nullopt;
    }
    // A pointer already resting there would send no motion, and the list would not know it.
    watcher.pointAtCentre(mapped->first.id);
    watcher.movePointerBy(1, 1);
    // Hover and the first layout settle before any count starts.
    watcher.watchUntil(Clock::now() + 500ms);
    return mapped->first.id;
}

// Until the process has used no CPU for 100 ms: what it started has finished, easing included.
void waitUntilQuiet(XWindowWatcher &watcher, int pid) {
    const Clock::time_point deadline = Clock::now() + 5s;
    for (double before = cpuMilliseconds(pid); Clock::now() < deadline;) {
        watcher.watchUntil(Clock::now() + 100ms);
        const double now = cpuMilliseconds(pid);
        if (now == before)
            return;
        before = now;
    }
}

struct Spent {
    double cpuMs = 0;
    int drawings = 0;
};

// Opens the panel under the pointer, runs `steps` on it until the process is quiet, and closes
// it again: the process's CPU time and the drawings into the panel meanwhile.
template <typename Steps> std::optional<Spent> spentOnPanel(const Options &options, Steps steps) {
    XWindowWatcher watcher(options.windowClass);
    const std::optional<xcb_window_t> panel = openPanelUnderPointer(watcher, options);
    if (!panel)
        return std::nullopt;
    const int drawingsBefore = watcher.drawings(*panel);
    const double cpuBefore = cpuMilliseconds(options.pid);
    steps(watcher, *panel);
    waitUntilQuiet(watcher, options.pid);
    const Spent spent{cpuMilliseconds(options.pid) - cpuBefore,
                      watcher.drawings(*panel) - drawingsBefore};
    watcher.pressChord(options.chord);
    watcher.waitForUnmap(*panel, Clock::now() + 3s);
    return spent;
}

int wheel(const Options &options) {
    std::vector<double> drawings;
    int undrawn = 0;
    const auto spent = spentOnPanel(options, [&](XWindowWatcher &watcher, xcb_window_t panel) {
        for (int step = 0; step < options.steps; ++step) {
            const Clock::time_point turned = watcher.turnWheel(step / 5 % 2 == 0);
            if (options.intervalMs > 0)
                watcher.watchUntil(turned + std::chrono::milliseconds(options.intervalMs));
            else if (const auto drawn = watcher.waitForDrawing(panel, turned, turned + 250ms))
                drawings.push_back(milliseconds(*drawn - turned));
            else
                ++undrawn;
        }
    });
    if (!spent)
        return 1;
    std::printf("steps=%d\nundrawn=%d\ncpu_per_step_ms=%.2f\ndrawings_per_step=%.1f\n",
                options.steps, undrawn, spent->cpuMs / options.steps,
                double(spent->drawings) / options.steps);
    if (!drawings.empty())
        std::printf("drawn_median_ms=%.2f\n", median(drawings));
    return 0;
}

int hover(const Options &options) {
    const auto spent = spentOnPanel(options, [&](XWindowWatcher &watcher, xcb_window_t) {
        for (int step = 0; step < options.steps; ++step) {
            watcher.movePointerBy(0, step % 2 == 0 ? 40 : -40);
            waitUntilQuiet(watcher, options.pid);
        }
    });
    if (!spent)
        return 1;
    std::printf("moves=%d\ncpu_per_move_ms=%.2f\ndrawings_per_move=%.1f\ncpu_per_drawing_ms=%.2f\n",
                options.steps, spent->cpuMs / options.steps,
                double(spent->drawings) / options.steps,
                spent->drawings > 0 ? spent->cpuMs / spent->drawings : -1.0);
    return 0;
}

bool parse(int argc, char **argv, Options &options) {
    if (argc < 2)
        return false;
    options.mode = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--") {
            options.command.assign(argv + i + 1, argv + argc);
            break;
        } else if (argument == "--class" && hasValue) {
            options.windowClass = argv[++i];
        } else if (argument == "--chord" && hasValue) {
            options.chord = argv[++i];
        } else if (argument == "--presses" && hasValue) {
            options.presses = std::max(1, std::atoi(argv[++i]));
        } else if (argument == "--steps" && hasValue) {
            options.steps = std::max(1, std::atoi(argv[++i]));
        } else if (argument == "--pid" && hasValue) {
            options.pid = std::atoi(argv[++i]);
        } else if (argument == "--interval-ms" && hasValue) {
            options.intervalMs = std::max(0, std::atoi(argv[++i]));
        } else if (argument == "--settle-ms" && hasValue) {
            options.settleMs = std::max(0, std::atoi(argv[++i]));
        } else {
            return false;
        }
    }
    if (options.windowClass.empty())
        return false;
    return options.mode == "press" ||
           ((options.mode == "wheel" || options.mode == "hover") && options.pid > 0) ||
           (options.mode == "launch" && !options.command.empty());
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fputs("usage: nookery-xprobe launch --class <class> -- <command> [args...]\n"
                   "       nookery-xprobe press --class <class> [--chord alt+space] "
                   "[--presses N] [--settle-ms M]\n"
                   "       nookery-xprobe wheel --class <class> --pid <pid> [--chord alt+space] "
                   "[--steps N] [--interval-ms M]\n"
                   "       nookery-xprobe hover --class <class> --pid <pid> [--chord alt+space] "
                   "[--steps N]\n",
                   stderr);
        return 2;
    }
    if (options.mode == "launch")
        return launch(options);
    if (options.mode == "hover")
        return hover(options);
    return options.mode == "wheel" ? wheel(options) : press(options);
}
