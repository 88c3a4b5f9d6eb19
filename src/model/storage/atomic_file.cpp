#include "model/storage/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm54 {

namespace {

std::function<void(AtomicWriteStep)>& Hook()
{
    static std::function<void(AtomicWriteStep)> hook;
    return hook;
}

void Step(AtomicWriteStep step)
{
    if (Hook()) Hook()(step);
}

WriteResult Failure(int err) { return {false, std::strerror(err)}; }

// The file a save replaces: the target of a symbolic link, else path itself.
std::string ResolveTarget(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) return resolved;
    return path;  // a dangling link: the rename replaces the link itself
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Opens a new temporary file beside target; the name is hidden and unique to this process.
int CreateTemp(const std::string& target, mode_t mode, std::string& tempPath)
{
    static unsigned counter = 0;
    const std::string folder = FolderOf(target);
    const auto slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/." + base + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

void SetAtomicWriteHook(std::function<void(AtomicWriteStep)> hook) { Hook() = std::move(hook); }

WriteResult AtomicWriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    if (path.empty()) return Failure(ENOENT);
    const std::string target = ResolveTarget(path);

    // An existing file must be writable by us, as when it is opened for writing in place; a
    // read-only file is refused rather than silently replaced. O_NONBLOCK keeps a FIFO from
    // blocking the probe.
    mode_t mode = 0666;  // narrowed by the umask for a new file
    bool existed = false;
    struct stat st {};
    if (stat(target.c_str(), &st) == 0) {
        existed = true;
        if (S_ISDIR(st.st_mode)) return Failure(EISDIR);
        // A file with no write permission at all is read-only for everyone, root included (the
        // default data file is made so on purpose).
        if ((st.st_mode & 0222) == 0) return Failure(EACCES);
        const int probe = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (probe < 0) return Failure(errno);
        close(probe);
        if (!S_ISREG(st.st_mode)) return Failure(EINVAL);
        mode = st.st_mode & 07777;
    }

    std::string tempPath;
    const int fd = CreateTemp(target, mode, tempPath);
    if (fd < 0) return Failure(errno);
    Step(AtomicWriteStep::TempCreated);

    auto abandon = [&](int err) {
        close(fd);
        unlink(tempPath.c_str());
        return Failure(err);
    };
    if (!WriteAll(fd, data, size)) return abandon(errno);
    Step(AtomicWriteStep::TempWritten);
    if (existed && fchmod(fd, mode) != 0) return abandon(errno);  // undo the umask's narrowing
    if (fsync(fd) != 0) return abandon(errno);
    if (close(fd) != 0) {
        const int err = errno;
        unlink(tempPath.c_str());
        return Failure(err);
    }
    Step(AtomicWriteStep::TempSynced);

    if (rename(tempPath.c_str(), target.c_str()) != 0) {
        const int err = errno;
        unlink(tempPath.c_str());
        return Failure(err);
    }
    // Make the rename itself durable; a folder that cannot be synced does not undo the save.
    const int dir = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    Step(AtomicWriteStep::Renamed);
    return {true, std::string()};
}

WriteResult AtomicWriteFile(const std::string& path, const std::string& data)
{
    return AtomicWriteFile(path, reinterpret_cast<const uint8_t*>(data.data()), data.size());
}

}  // namespace qm54
