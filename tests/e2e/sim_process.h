// qm54-sim as a child process of a test: started with the given options, its device path read
// from its first line of output, ended with SIGTERM (and reaped) when the object goes away.
#pragma once

#include "process.h"

#include <csignal>
#include <memory>
#include <string>
#include <vector>

namespace qm54test {

class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& options)
    {
        std::vector<std::string> argv = {QM54_SIM};
        argv.insert(argv.end(), options.begin(), options.end());
        child_ = std::make_unique<qm54e2e::Child>(argv, false);
        if (child_->Started()) path_ = child_->ReadLine(10000);
    }
    ~SimProcess() { Stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The device the simulator serves; empty when it did not start.
    const std::string& Path() const { return path_; }

    // Ends the simulator and returns its exit status (-1 when it did not exit normally).
    int Stop()
    {
        if (child_ != nullptr) child_->Signal(SIGTERM);
        return Wait();
    }
    // Waits for the simulator to end by itself (after a hang-up).
    int Wait()
    {
        if (child_ == nullptr || !child_->Started()) return status_;
        const int status = child_->Wait(30000);
        status_ = status >= 0 && status < 128 ? status : -1;
        child_.reset();
        return status_;
    }

private:
    std::unique_ptr<qm54e2e::Child> child_;
    int status_ = -1;
    std::string path_;
};

}  // namespace qm54test
