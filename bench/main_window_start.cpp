// Process start to the first painted main window, and the memory of the idle window.
// Starts QM54Win ten times (after one warm-up start) with its own program and lock folders; the
// window writes "painted" once it has been painted for the first time (QM54WIN_REPORT_PAINT).
// Usage: bench_main_window_start [path/to/QM54Win]   (QT_QPA_PLATFORM as set, else offscreen)
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

}  // namespace

int main(int argc, char** argv)
{
#ifdef QM54_GUI_EXE
    const char* exe = argc > 1 ? argv[1] : QM54_GUI_EXE;
#else
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s path/to/QM54Win\n", argv[0]);
        return 2;
    }
    const char* exe = argv[1];
#endif
    char pattern[] = "/tmp/qm54-bench-XXXXXX";
    const char* folder = mkdtemp(pattern);
    if (!folder) return 1;
    StartOnce(exe, folder);  // warm-up: file cache, default data file, settings file
    std::vector<Run> runs;
    for (int i = 0; i < 10; ++i) runs.push_back(StartOnce(exe, folder));
    std::vector<double> times;
    for (const Run& r : runs)
        if (r.startMs >= 0) times.push_back(r.startMs);
    if (times.empty()) {
        std::fprintf(stderr, "the window never reported its first paint\n");
        return 1;
    }
    std::sort(times.begin(), times.end());
    const double median = times.size() % 2 ? times[times.size() / 2]
                                           : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    std::printf("start to first paint: median %.1f ms, min %.1f ms, max %.1f ms (%zu runs, target 300 ms)\n",
                median, times.front(), times.back(), times.size());
    std::printf("idle window resident memory: %ld KiB\n", runs.back().rssKb);
    std::string cleanup = std::string("rm -rf ") + folder;
    return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
