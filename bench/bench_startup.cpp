// Start-up: the time from launch to the first frame of Lumasio and of each
// yardstick, started in turn, round after round, so that a machine growing
// busier or quieter weighs on all alike. The time is taken here, so a
// launcher in front of the programs (Wine) counts as the user waits for it,
// and each program is ended once its frame is seen. Prints each program's
// median and, against each yardstick, the median and the spread (the middle
// half) of Lumasio's ratio per round.
//
//   bench_startup RUNS LUMASIO YARDSTICK...
//   BENCH_LAUNCHER=wine bench_startup ...   each program started by wine
//   BENCH_FRAME=x11 bench_startup ...       the frame seen on the X display
//
// By default a program says when its first frame is painted, with a line on
// its output (bench/first_frame.h), and runs on Qt's offscreen platform unless
// QT_QPA_PLATFORM says otherwise. With BENCH_FRAME=x11 the frame is the
// window's settled first frame as the X display shows it (settled_frame.h),
// so any program can be measured, Lumasio's own as it ships among them.
#include "settled_frame.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Sample {
    double milliseconds = 0;
    long peakKilobytes = 0;
};

// Starts the program, takes the time of its first frame, ends it. With no
// display to watch, the frame is the program's first output.
bool run(const std::string &launcher, const std::string &program, SettledFrame *display,
         Sample &sample)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (display == nullptr) {
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);

    std::vector<char *> argv;
    if (!launcher.empty()) {
        argv.push_back(const_cast<char *>(launcher.c_str()));
    }
    argv.push_back(const_cast<char *>(program.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const long long start = monotonicNanoseconds();
    const int spawned = posix_spawnp(&pid, argv.front(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return false;
    }

    long long frame = 0;
    if (display != nullptr) {
        frame = display->waitFor(pid);
    } else {
        char buffer[64];
        if (read(pipeFds[0], buffer, sizeof buffer) > 0) {
            frame = monotonicNanoseconds();
        }
    }
    close(pipeFds[0]);
    kill(pid, SIGKILL);

    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || frame == 0) {
        return false;
    }
    // The next start finds the machine as a person's would: done with this
    // program, its windows and its memory.
    usleep(100'000);
    sample.milliseconds = static_cast<double>(frame - start) / 1e6;
    sample.peakKilobytes = usage.ru_maxrss;
    return true;
}

// The value a fraction of the way up the sorted values.
template<typename T>
T quantile(std::vector<T> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const double at = std::round(fraction * static_cast<double>(values.size() - 1));
    return values[static_cast<std::size_t>(at)];
}

std::string name(const std::string &program)
{
    return program.substr(program.find_last_of('/') + 1);
}

int measure(const std::string &launcher, SettledFrame *display,
            const std::vector<std::string> &programs, int runs)
{
    // One run of each first, so all start with warm caches.
    Sample warmUp;
    for (const std::string &program : programs) {
        if (!run(launcher, program, display, warmUp)) {
            std::fprintf(stderr, "start-up benchmark: %s failed to start\n", program.c_str());
            return 1;
        }
    }
    std::vector<std::vector<Sample>> samples(programs.size());
    for (int i = 0; i < runs; ++i) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            Sample sample;
            if (!run(launcher, programs[p], display, sample)) {
                std::fprintf(stderr, "start-up benchmark: a run of %s failed\n",
                             programs[p].c_str());
                return 1;
            }
            samples[p].push_back(sample);
        }
    }

    std::printf("start-up, %d alternating runs each%s%s, %s\n", runs,
                launcher.empty() ? "" : ", started by ", launcher.c_str(),
                display != nullptr ? "the settled frame seen on the X display"
                                   : "the first frame as the program says it");
    for (std::size_t p = 0; p < programs.size(); ++p) {
        std::vector<double> times;
        std::vector<long> memory;
        for (const Sample &sample : samples[p]) {
            times.push_back(sample.milliseconds);
            memory.push_back(sample.peakKilobytes);
        }
        std::printf("  %-24s %8.1f ms to first frame (median)", name(programs[p]).c_str(),
                    quantile(times, 0.5));
        if (launcher.empty()) {
            std::printf("  %8ld KiB peak RSS", quantile(memory, 0.5));
        }
        std::printf("\n");
    }
    for (std::size_t p = 1; p < programs.size(); ++p) {
        std::vector<double> ratios;
        for (int i = 0; i < runs; ++i) {
            const auto round = static_cast<std::size_t>(i);
            ratios.push_back(samples[0][round].milliseconds / samples[p][round].milliseconds);
        }
        std::printf("  %s against %s: %.2fx (middle half %.2f-%.2fx)\n", name(programs[0]).c_str(),
                    name(programs[p]).c_str(), quantile(ratios, 0.5), quantile(ratios, 0.25),
                    quantile(ratios, 0.75));
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RUNS LUMASIO YARDSTICK...\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const std::vector<std::string> programs(argv + 2, argv + argc);
    const char *launcher = std::getenv("BENCH_LAUNCHER");
    const char *frame = std::getenv("BENCH_FRAME");
    std::unique_ptr<SettledFrame> display;
    if (frame != nullptr && std::strcmp(frame, "x11") == 0) {
        display = std::make_unique<SettledFrame>();
        if (!display->isOpen()) {
            std::fprintf(stderr, "start-up benchmark: no X display with DAMAGE to watch\n");
            return 2;
        }
    } else if (launcher == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    // Qt warns on every start without a runtime folder; give the runs one.
    char runtimeDir[] = "/tmp/lumasio-bench-XXXXXX";
    const bool ownRuntimeDir =
        getenv("XDG_RUNTIME_DIR") == nullptr && mkdtemp(runtimeDir) != nullptr;
    if (ownRuntimeDir) {
        setenv("XDG_RUNTIME_DIR", runtimeDir, 1);
    }
    const int status =
        measure(launcher == nullptr ? std::string() : launcher, display.get(), programs, runs);
    if (ownRuntimeDir) {
        rmdir(runtimeDir);
    }
    return status;
}
