// An upload and a Dealer-mode download over rfc2217:// through ser2net on loopback, against the
// same exchange over the simulator's pseudo-terminal, both against `qm54-sim --baud 9600` with
// the real waits, three runs each; the ratio of the medians is the cost of the network port.
// With --delays MS,MS,... it then uploads through a relay that holds every byte for each delay in
// both directions, and prints whether the upload worked and how long it took (the latency sweep).
//
//   bench_net_port_bench [--delays 150,500,1000] [path/to/qm54 path/to/qm54-sim]
#include "../tests/e2e/process.h"
#include "../tests/e2e/ser2net_process.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

using namespace qm54e2e;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 3;
constexpr int kRunLimitMs = 600000;

struct Paths {
    std::string tool, sim;
};

// One run of the tool against a fresh paced simulator, through ser2net when viaServer, and
// through a delay relay in front of it when delayMs >= 0. The seconds it took, or -1 on failure.
double Run(const Paths& p, const TempFolder& dir, const std::vector<std::string>& simArgs,
           const std::vector<std::string>& toolArgs, bool viaServer, int delayMs)
{
    std::vector<std::string> simArgv{p.sim, "--baud", "9600"};
    simArgv.insert(simArgv.end(), simArgs.begin(), simArgs.end());
    Child simulator(simArgv, false);
    const std::string device = simulator.ReadLine(10000);
    if (device.empty()) return -1;
    std::string port = device;
    std::unique_ptr<qm54test::Ser2netProcess> server;
    std::unique_ptr<qm54test::DelayRelay> relay;
    if (viaServer) {
        server = std::make_unique<qm54test::Ser2netProcess>(dir, device);
        if (!server->Ready()) return -1;
        port = server->Url();
        if (delayMs >= 0) {
            relay = std::make_unique<qm54test::DelayRelay>(server->Port(), delayMs);
            port = "rfc2217://127.0.0.1:" + std::to_string(relay->Port());
        }
    }
    std::vector<std::string> argv{p.tool};
    for (const std::string& a : toolArgs) argv.push_back(a == "DEV" ? port : a);
    const auto start = Clock::now();
    Child run(argv, false);
    const int status = run.Wait(kRunLimitMs);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    simulator.Signal(SIGTERM);
    simulator.Wait(10000);
    if (status != 0) {
        std::fprintf(stderr, "run over %s failed (%d): %s\n", port.c_str(), status, run.Err().c_str());
        return -1;
    }
    return seconds;
}

double Median(const Paths& p, const TempFolder& dir, const std::vector<std::string>& simArgs,
              const std::vector<std::string>& toolArgs, bool viaServer)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const double s = Run(p, dir, simArgs, toolArgs, viaServer, -1);
        if (s < 0) return -1;
        times.push_back(s);
    }
    std::sort(times.begin(), times.end());
    return times[kRuns / 2];
}

std::vector<int> Delays(const std::string& list)
{
    std::vector<int> delays;
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ',');) delays.push_back(std::atoi(item.c_str()));
    return delays;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<int> delays;
    if (args.size() >= 2 && args[0] == "--delays") {
        delays = Delays(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    const fs::path here = fs::canonical("/proc/self/exe").parent_path();
    const Paths p{args.size() >= 2 ? args[0] : (here / "../src/cli/qm54").string(),
                  args.size() >= 2 ? args[1] : (here / "../tools/sim/qm54-sim").string()};
    if (qm54test::Ser2netProgram().empty()) {
        std::fprintf(stderr, "ser2net is not installed (scripts/install-deps)\n");
        return 1;
    }
    TempFolder dir;
    setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
    setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);

    const std::string image = dir.File("image.q54");
    {
        Child simulator({p.sim}, false);
        const std::string device = simulator.ReadLine(10000);
        Child run({p.tool, "upload", "--port", device, "-o", image}, true);
        if (run.Wait(60000) != 0) {
            std::fprintf(stderr, "cannot prepare the data file: %s\n", run.Err().c_str());
            return 1;
        }
        simulator.Signal(SIGTERM);
        simulator.Wait(10000);
    }
    const std::vector<std::string> upload{"upload", "--port", "DEV", "-o", dir.File("up.q54")};
    const std::vector<std::string> download{"download", image, "--port", "DEV", "--mode", "dealer", "--date", "20100101"};
    const std::vector<std::string> withImage{"--image", image};
    const struct {
        const char* name;
        const std::vector<std::string>& simArgs;
        const std::vector<std::string>& toolArgs;
    } exchanges[] = {{"upload", {}, upload}, {"download dealer", withImage, download}};
    for (const auto& e : exchanges) {
        const double direct = Median(p, dir, e.simArgs, e.toolArgs, false);
        const double network = Median(p, dir, e.simArgs, e.toolArgs, true);
        if (direct < 0 || network < 0) return 1;
        std::printf("%-16s pseudo-terminal %.3f s   rfc2217 via ser2net %.3f s   ratio %.4f (medians of %d)\n",
                    e.name, direct, network, network / direct, kRuns);
    }
    for (int delay : delays) {
        const double s = Run(p, dir, {}, upload, true, delay);
        if (s < 0) std::printf("upload, %5d ms each way: failed\n", delay);
        else std::printf("upload, %5d ms each way: %.3f s\n", delay, s);
        std::fflush(stdout);
    }
    return 0;
}
