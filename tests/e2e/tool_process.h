// Runs the built qm54 tool as a child process and collects its exit status, stdout and stderr.
#pragma once

#include <string>
#include <vector>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qm54test {

struct ToolRun {
    int status = -1;  // the exit status, -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

inline ToolRun RunTool(const std::vector<std::string>& arguments)
{
    ToolRun run;
    int out[2];
    int err[2];
    if (pipe(out) != 0) return run;
    if (pipe(err) != 0) {
        close(out[0]);
        close(out[1]);
        return run;
    }
    std::vector<std::string> args = {QM54_TOOL};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    pid_t pid = -1;
    const bool started = posix_spawn(&pid, QM54_TOOL, &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);

    // Both pipes are drained together, so that a full stderr never blocks the tool.
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = started ? 2 : 0;
    while (open > 0 && poll(fds, 2, -1) > 0) {
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(n));
            } else {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    close(out[0]);
    close(err[0]);
    if (started) {
        int raw = 0;
        waitpid(pid, &raw, 0);
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    return run;
}

}  // namespace qm54test
