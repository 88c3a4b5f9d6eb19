// qm54-sim as a child process of a test: started with the given options, its device path read
// from its first line of output, ended with SIGTERM (and reaped) when the object goes away.
#pragma once

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qm54test {

class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& options)
    {
        int out[2];
        if (pipe(out) != 0) return;
        std::vector<std::string> args = {QM54_SIM};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawn(&pid_, QM54_SIM, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (pid_ > 0) path_ = ReadLine(out[0]);
        close(out[0]);
    }
    ~SimProcess() { Stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The device the simulator serves; empty when it did not start.
    const std::string& Path() const { return path_; }

    // Ends the simulator and returns its exit status (-1 when it did not exit normally).
    int Stop()
    {
        if (pid_ <= 0) return status_;
        kill(pid_, SIGTERM);
        return Wait();
    }
    // Waits for the simulator to end by itself (after a hang-up).
    int Wait()
    {
        if (pid_ <= 0) return status_;
        int raw = 0;
        waitpid(pid_, &raw, 0);
        pid_ = -1;
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return status_;
    }

private:
    static std::string ReadLine(int fd)
    {
        std::string line;
        char c = 0;
        pollfd p{fd, POLLIN, 0};
        while (poll(&p, 1, 10000) > 0 && read(fd, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

    pid_t pid_ = -1;
    int status_ = -1;
    std::string path_;
};

}  // namespace qm54test
