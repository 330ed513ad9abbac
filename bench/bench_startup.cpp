// Start-up: the time from process start to the first painted frame, and the
// peak resident memory, of Lumasio against a bare Qt window, run alternately
// on the offscreen platform. Prints the medians and their ratios.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
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

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// Starts the program, reads the first-frame time it prints, waits for it.
bool run(const std::string &program, Sample &sample)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);

    std::vector<char *> argv{const_cast<char *>(program.c_str()), nullptr};
    pid_t pid = 0;
    const long long start = monotonicNanoseconds();
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return false;
    }

    std::string output;
    char buffer[64];
    ssize_t n = 0;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        output.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);

    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0
        || output.empty()) {
        return false;
    }
    const long long frame = std::atoll(output.c_str());
    sample.milliseconds = static_cast<double>(frame - start) / 1e6;
    sample.peakKilobytes = usage.ru_maxrss;
    return true;
}

template<typename T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

namespace {

int measure(const std::string &lumasio, const std::string &bare, int runs)
{
    // One run of each first, so both start with warm caches.
    Sample warmUp;
    if (!run(lumasio, warmUp) || !run(bare, warmUp)) {
        std::fprintf(stderr, "start-up benchmark: a program failed to start\n");
        return 1;
    }

    std::vector<double> lumasioTimes, bareTimes;
    std::vector<long> lumasioMemory, bareMemory;
    for (int i = 0; i < runs; ++i) {
        Sample a, b;
        if (!run(lumasio, a) || !run(bare, b)) {
            std::fprintf(stderr, "start-up benchmark: a run failed\n");
            return 1;
        }
        lumasioTimes.push_back(a.milliseconds);
        lumasioMemory.push_back(a.peakKilobytes);
        bareTimes.push_back(b.milliseconds);
        bareMemory.push_back(b.peakKilobytes);
    }

    const double lt = median(lumasioTimes), bt = median(bareTimes);
    const long lm = median(lumasioMemory), bm = median(bareMemory);
    std::printf("start-up, median of %d alternating runs each (offscreen platform)\n", runs);
    if (std::getenv("BENCH_VERBOSE") != nullptr) {
        for (int i = 0; i < runs; ++i) {
            std::printf("  run %2d: %6.1f ms  %6.1f ms\n", i,
                        lumasioTimes[static_cast<std::size_t>(i)],
                        bareTimes[static_cast<std::size_t>(i)]);
        }
    }
    std::printf("  lumasio      %8.1f ms to first frame  %8ld KiB peak RSS\n", lt, lm);
    std::printf("  bare window  %8.1f ms to first frame  %8ld KiB peak RSS\n", bt, bm);
    std::printf("  ratio        %8.2fx (goal: at most 1.2x)   %6.2fx (goal: at most 1.15x)\n",
                lt / bt, static_cast<double>(lm) / static_cast<double>(bm));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s LUMASIO_PROBE BARE_WINDOW [RUNS]\n", argv[0]);
        return 2;
    }
    const std::string lumasio = argv[1];
    const std::string bare = argv[2];
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 20;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt warns on every start without a runtime folder; give the runs one.
    char runtimeDir[] = "/tmp/lumasio-bench-XXXXXX";
    const bool ownRuntimeDir =
        getenv("XDG_RUNTIME_DIR") == nullptr && mkdtemp(runtimeDir) != nullptr;
    if (ownRuntimeDir) {
        setenv("XDG_RUNTIME_DIR", runtimeDir, 1);
    }
    const int status = measure(lumasio, bare, runs);
    if (ownRuntimeDir) {
        rmdir(runtimeDir);
    }
    return status;
}
