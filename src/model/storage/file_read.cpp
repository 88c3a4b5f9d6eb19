#include "model/storage/file_read.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm54 {

ReadResult ReadFileHead(const std::string& path, size_t maxBytes)
{
    ReadResult result;
    auto fail = [&](int err) {
        result.Ok = false;
        result.Data.clear();
        result.Reason = std::strerror(err);
        return result;
    };
    // O_NONBLOCK: opening a FIFO or a terminal must not wait; such files are refused below.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(errno);
    struct stat st {};
    int statError = 0;
    if (fstat(fd, &st) != 0) statError = errno;
    else if (S_ISDIR(st.st_mode)) statError = EISDIR;
    else if (!S_ISREG(st.st_mode)) statError = EINVAL;
    if (statError != 0) {
        close(fd);
        return fail(statError);
    }
    result.Data.resize(maxBytes);
    size_t got = 0;
    while (got < maxBytes) {
        const ssize_t n = read(fd, result.Data.data() + got, maxBytes - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            close(fd);
            return fail(err);
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    result.Data.resize(got);
    result.Ok = true;
    return result;
}

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace qm54
