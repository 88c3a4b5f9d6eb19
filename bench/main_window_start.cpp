// Process start to the first painted main window, against a plain Qt Widgets window of the same
// shape (bench/bare_window), and the memory of the idle window. After one warm-up start of each,
// QM54Win and the plain window are started in turn, 21 times each (the order swapped every
// round), QM54Win with its own program and lock folders; each writes "painted" once it has been
// painted for the first time (QM54WIN_REPORT_PAINT). The ratio of the two medians is the figure
// that counts: on a shared machine the absolute times drift, the ratio of alternated runs much less.
// Usage: bench_main_window_start [path/to/QM54Win [path/to/bare_window]]
//        (QT_QPA_PLATFORM as set, else offscreen)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 21;
// Above this ratio of the medians the start has grown slower than it should: a warning is printed.
constexpr double kRatioLimit = 1.2;

struct Run {
    double startMs = -1;
    long rssKb = -1;
};

long ResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

Run StartOnce(const char* exe, const std::string& folder)
{
    int out[2];
    if (pipe(out) != 0) return {};
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        setenv("QM54WIN_REPORT_PAINT", "1", 1);
        setenv("QM54WIN_HOME", folder.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
        setenv("QT_QPA_PLATFORM", std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "offscreen", 1);
        execl(exe, exe, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    Run run;
    std::string got;
    char buffer[256];
    ssize_t n;
    while (got.find("painted\n") == std::string::npos && (n = read(out[0], buffer, sizeof buffer)) > 0)
        got.append(buffer, static_cast<size_t>(n));
    if (got.find("painted\n") != std::string::npos) {
        run.startMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        usleep(300 * 1000);  // let the window settle into its idle state
        run.rssKb = ResidentKb(pid);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    close(out[0]);
    return run;
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

struct Series {
    const char* name;
    const char* exe;
    std::vector<Run> runs;

    std::vector<double> Times() const
    {
        std::vector<double> times;
        for (const Run& r : runs)
            if (r.startMs >= 0) times.push_back(r.startMs);
        return times;
    }
};

}  // namespace

int main(int argc, char** argv)
{
#if defined(QM54_GUI_EXE) && defined(QM54_BARE_EXE)
    const char* exe = argc > 1 ? argv[1] : QM54_GUI_EXE;
    const char* bare = argc > 2 ? argv[2] : QM54_BARE_EXE;
#else
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s path/to/QM54Win path/to/bare_window\n", argv[0]);
        return 2;
    }
    const char* exe = argv[1];
    const char* bare = argv[2];
#endif
    char pattern[] = "/tmp/qm54-bench-XXXXXX";
    const char* folder = mkdtemp(pattern);
    if (!folder) return 1;
    Series series[2] = {{"QM54Win", exe, {}}, {"plain window", bare, {}}};
    // Warm-up: file cache, default data file, settings file.
    for (Series& s : series) StartOnce(s.exe, folder);
    for (int i = 0; i < kRuns; ++i)
        for (int k = 0; k < 2; ++k) {
            Series& s = series[(i + k) % 2];
            s.runs.push_back(StartOnce(s.exe, folder));
        }
    double medians[2] = {};
    for (int k = 0; k < 2; ++k) {
        const std::vector<double> times = series[k].Times();
        if (times.empty()) {
            std::fprintf(stderr, "%s never reported its first paint\n", series[k].name);
            return 1;
        }
        medians[k] = Median(times);
        std::printf("%-12s start to first paint: median %.1f ms, min %.1f ms, max %.1f ms (%zu runs)\n",
                    series[k].name, medians[k], *std::min_element(times.begin(), times.end()),
                    *std::max_element(times.begin(), times.end()), times.size());
    }
    const double ratio = medians[0] / medians[1];
    std::printf("ratio QM54Win / plain window: %.2f (at most %.1f)\n", ratio, kRatioLimit);
    if (ratio > kRatioLimit)
        std::printf("WARNING: the main window starts %.2f times as slowly as the plain window; "
                    "something new runs before its first paint\n", ratio);
    std::printf("idle window resident memory: %ld KiB\n", series[0].runs.back().rssKb);
    std::string cleanup = std::string("rm -rf ") + folder;
    return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
