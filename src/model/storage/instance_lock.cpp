#include "model/storage/instance_lock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qm54 {

InstanceLock::~InstanceLock()
{
    if (fd_ >= 0) close(fd_);  // closing releases the flock
}

bool InstanceLock::Acquire(const std::string& folder)
{
    if (fd_ >= 0) return true;
    const std::string path = folder + "/QM54Win.lock";
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return !held;
    }
    fd_ = fd;
    return true;
}

std::string InstanceLockFolder()
{
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return "/tmp";
}

}  // namespace qm54
