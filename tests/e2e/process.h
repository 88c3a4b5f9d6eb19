// Child processes for the end-to-end tests: the simulator on its pseudo-terminal and runs of the
// tool, with their output captured and nothing left running.
#pragma once

#include "../support/temp_folder.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace qm54e2e {

namespace fs = std::filesystem;

using qm54::test::TempFolder;

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A started child with pipes on its stdout and stderr. Killed and reaped when it goes away.
class Child {
public:
    // fastWaits sets the tool's test hook QM54_FAST_WAITS=1; otherwise it is removed.
    Child(const std::vector<std::string>& argv, bool fastWaits)
    {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0) return;
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e)
            if (std::strncmp(*e, "QM54_FAST_WAITS=", 16) != 0) env.emplace_back(*e);
        if (fastWaits) env.emplace_back("QM54_FAST_WAITS=1");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            dup2(err[1], 2);
            close(out[0]), close(out[1]), close(err[0]), close(err[1]);
            std::vector<char*> args, envp;
            for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
            envp.push_back(nullptr);
            execve(args[0], args.data(), envp.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        outFd_ = out[0];
        errFd_ = err[0];
    }
    ~Child()
    {
        if (pid_ > 0 && status_ < 0) {
            kill(pid_, SIGKILL);
            Wait(10000);
        }
        if (outFd_ >= 0) close(outFd_);
        if (errFd_ >= 0) close(errFd_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    void Signal(int sig) const
    {
        if (pid_ > 0 && status_ < 0) kill(pid_, sig);
    }

    // Reads stdout until a full line came (without its line break); empty after timeoutMs.
    std::string ReadLine(int timeoutMs)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (out_.find('\n') == std::string::npos && std::chrono::steady_clock::now() < until) {
            if (!Pump(50)) break;
        }
        const auto nl = out_.find('\n');
        if (nl == std::string::npos) return {};
        std::string line = out_.substr(0, nl);
        out_.erase(0, nl + 1);
        return line;
    }

    // Collects the output until the child ends; its exit status, or -1 when it was still running
    // after timeoutMs (it is then killed) or died of a signal.
    int Wait(int timeoutMs)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (status_ < 0 && std::chrono::steady_clock::now() < until) {
            Pump(20);
            int st = 0;
            if (waitpid(pid_, &st, WNOHANG) == pid_) status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        }
        if (status_ < 0) {
            kill(pid_, SIGKILL);
            int st = 0;
            waitpid(pid_, &st, 0);
            status_ = 1000;
            return -1;
        }
        while (Pump(0)) {
        }
        return status_;
    }

    const std::string& Err() const { return err_; }
    const std::string& Out() const { return out_; }

private:
    // Moves what is readable into out_ and err_; false when both pipes are at their end.
    bool Pump(int timeoutMs)
    {
        pollfd p[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
        if (poll(p, 2, timeoutMs) <= 0) return outFd_ >= 0 || errFd_ >= 0;
        bool open = false;
        char buf[4096];
        for (int i = 0; i < 2; ++i) {
            int& fd = i == 0 ? outFd_ : errFd_;
            if (fd < 0) continue;
            if (p[i].revents & (POLLIN | POLLHUP)) {
                const ssize_t n = read(fd, buf, sizeof buf);
                if (n > 0) (i == 0 ? out_ : err_).append(buf, static_cast<size_t>(n));
                if (n <= 0) {
                    close(fd);
                    fd = -1;
                    continue;
                }
            }
            open = true;
        }
        return open;
    }

    pid_t pid_ = -1;
    int outFd_ = -1, errFd_ = -1;
    int status_ = -1;
    std::string out_, err_;
};

}  // namespace qm54e2e
