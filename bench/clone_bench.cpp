// An upload and a Dealer-mode download against `qm54-sim --baud 9600`, five runs each, measured
// from starting the tool to its exit, against the floor: the bytes the repeater's side puts on
// the line (the cable's echo included) at 11 bits a byte, plus the fixed waits during which the
// line is quiet.
//
//   bench_clone_bench [path/to/qm54 path/to/qm54-sim]   (default: beside this build's bench/)
#include "../tests/e2e/process.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

using namespace qm54e2e;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 5;
constexpr double kBaud = 9600.0;
// The same in both directions: the settle wait when the tool opens the port, the start pause, the
// resync pause, the pause after 0x28 and the one before the completion message. The pause after
// the area 1 request is not among them: the echo and the reply that follow the request (90 bytes,
// 103 ms at 9600 baud) are on the line meanwhile, so the line time counts it already.
constexpr double kFixedWaitsS = (10 + 100 + 100 + 700 + 2000) / 1000.0;
// The echo of 0x28 comes back during the pause after it: its line time is not added.
constexpr size_t kBytesDuringWaits = 1;

size_t RepeaterBytes(const std::string& logPath)
{
    size_t count = 0;
    std::istringstream in(ReadText(logPath));
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("tx", 0) == 0) count += std::count(line.begin(), line.end(), ' ');
    }
    return count;
}

struct Figures {
    double floorS = 0;
    double medianS = 0;
};

// Runs the tool kRuns times against a fresh paced simulator; false when a run fails.
bool Measure(const std::string& tool, const std::string& sim, const TempFolder& dir, std::vector<std::string> simArgs,
             const std::vector<std::string>& toolArgs, Figures& figures)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const std::string log = dir.File("run" + std::to_string(i) + ".log");
        std::vector<std::string> simArgv{sim, "--baud", "9600", "--log", log};
        simArgv.insert(simArgv.end(), simArgs.begin(), simArgs.end());
        Child simulator(simArgv, false);
        const std::string device = simulator.ReadLine(10000);
        if (device.empty()) return false;
        std::vector<std::string> argv{tool};
        for (const std::string& a : toolArgs) argv.push_back(a == "DEV" ? device : a);
        const auto start = Clock::now();
        Child run(argv, false);
        const int status = run.Wait(120000);
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        simulator.Signal(SIGTERM);
        simulator.Wait(10000);
        if (status != 0) {
            std::fprintf(stderr, "run failed (%d): %s\n", status, run.Err().c_str());
            return false;
        }
        figures.floorS = static_cast<double>(RepeaterBytes(log) - kBytesDuringWaits) * 11.0 / kBaud + kFixedWaitsS;
    }
    std::sort(times.begin(), times.end());
    figures.medianS = times[kRuns / 2];
    return true;
}

void Print(const char* name, const Figures& f)
{
    std::printf("%-16s floor %.3f s   median of %d %.3f s   ratio %.4f\n", name, f.floorS, kRuns, f.medianS,
                f.medianS / f.floorS);
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path here = fs::canonical("/proc/self/exe").parent_path();
    const std::string tool = argc > 2 ? argv[1] : (here / "../src/cli/qm54").string();
    const std::string sim = argc > 2 ? argv[2] : (here / "../tools/sim/qm54-sim").string();
    TempFolder dir;
    // Every exchange keeps a backup and a trace; here they go to the benchmark's own folder.
    setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
    setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);

    // A data file to download, read once from an unpaced simulator.
    const std::string image = dir.File("image.q54");
    {
        Child simulator({sim}, false);
        const std::string device = simulator.ReadLine(10000);
        Child run({tool, "upload", "--port", device, "-o", image}, true);
        if (run.Wait(60000) != 0) {
            std::fprintf(stderr, "cannot prepare the data file: %s\n", run.Err().c_str());
            return 1;
        }
        simulator.Signal(SIGTERM);
        simulator.Wait(10000);
    }

    Figures upload, download, uploadTraced, downloadTraced;
    const std::vector<std::string> downloadArgs{"download", image, "--port", "DEV", "--mode", "dealer", "--date",
                                                "20100101"};
    std::vector<std::string> downloadTracedArgs = downloadArgs;
    downloadTracedArgs.insert(downloadTracedArgs.end(), {"--trace", dir.File("download.trace")});
    if (!Measure(tool, sim, dir, {}, {"upload", "--port", "DEV", "-o", dir.File("up.q54")}, upload)) return 1;
    if (!Measure(tool, sim, dir, {"--image", image}, downloadArgs, download)) return 1;
    // --trace writes the trace a second time, to the file named, besides the rolling store.
    if (!Measure(tool, sim, dir, {}, {"upload", "--port", "DEV", "-o", dir.File("up.q54"), "--trace", dir.File("up.trace")},
                 uploadTraced))
        return 1;
    if (!Measure(tool, sim, dir, {"--image", image}, downloadTracedArgs, downloadTraced)) return 1;
    Print("upload", upload);
    Print("download dealer", download);
    Print("upload --trace", uploadTraced);
    Print("download --trace", downloadTraced);
    return 0;
}
