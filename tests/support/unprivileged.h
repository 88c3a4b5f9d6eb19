// Runs part of a GoogleTest test as a user without privileges, so that what the system refuses an
// ordinary user (a folder without write permission, a device without access) is refused in the
// test too when the suite runs as root. The part runs in a forked child, which first takes the ids
// of "nobody" when this process is root; its checks report as they fail, and how the child ends
// tells the test whether any did.
#pragma once

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace qm54::test {

struct UnprivilegedUser {
    uid_t Uid;
    gid_t Gid;
};

inline UnprivilegedUser Nobody()
{
    const passwd* entry = getpwnam("nobody");
    return entry != nullptr ? UnprivilegedUser{entry->pw_uid, entry->pw_gid} : UnprivilegedUser{65534, 65534};
}

namespace detail {

inline int FailedParts()
{
    const testing::TestResult* result = testing::UnitTest::GetInstance()->current_test_info()->result();
    int failed = 0;
    for (int i = 0; i < result->total_part_count(); ++i) failed += result->GetTestPartResult(i).failed() ? 1 : 0;
    return failed;
}

// Gives path, and everything in it when it is a folder, to user; modes stay as they are.
inline bool HandOver(const std::string& path, const UnprivilegedUser& user)
{
    namespace fs = std::filesystem;
    bool ok = lchown(path.c_str(), user.Uid, user.Gid) == 0;
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(path, ec)))
        for (const auto& entry : fs::recursive_directory_iterator(path, ec))
            ok = lchown(entry.path().c_str(), user.Uid, user.Gid) == 0 && ok;
    return ok && !ec;
}

inline testing::AssertionResult RunInChild(const std::vector<std::string>& ownedPaths, const std::function<void()>& body)
{
    const bool root = geteuid() == 0;
    const UnprivilegedUser user = Nobody();
    if (root)
        for (const std::string& path : ownedPaths)
            if (!HandOver(path, user)) return testing::AssertionFailure() << "cannot give " << path << " to nobody";
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) return testing::AssertionFailure() << "fork: " << std::strerror(errno);
    if (child == 0) {
        if (root && (setgroups(0, nullptr) != 0 || setresgid(user.Gid, user.Gid, user.Gid) != 0 ||
                     setresuid(user.Uid, user.Uid, user.Uid) != 0 || geteuid() == 0))
            _exit(3);
        const int before = FailedParts();
        body();
        const bool failed = FailedParts() != before;
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(failed ? 1 : 0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) return testing::AssertionFailure() << "it died of signal " << WTERMSIG(status);
    switch (WEXITSTATUS(status)) {
    case 0: return testing::AssertionSuccess();
    case 3: return testing::AssertionFailure() << "it could not take the ids of nobody";
    default: return testing::AssertionFailure() << "a check failed (above)";
    }
}

}  // namespace detail

// Runs body in a child process as an unprivileged user: as "nobody" when this process is root
// (ownedPaths, files or folders, are first given to it so that it can use them), else as the user
// this process is. The test fails when a check of the body failed or the child could not run it.
inline void RunUnprivileged(const std::vector<std::string>& ownedPaths, const std::function<void()>& body)
{
    const testing::AssertionResult result = detail::RunInChild(ownedPaths, body);
    if (!result) ADD_FAILURE() << "The part run as an unprivileged user: " << result.message();
}

}  // namespace qm54::test
