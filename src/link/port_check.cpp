#include "link/port_check.h"

#include "link/port_discovery.h"
#include "model/storage/file_read.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm54 {

namespace {

namespace fs = std::filesystem;

// Services known to open USB serial adapters as soon as they appear.
constexpr const char* kGrabbers[] = {"ModemManager", "brltty"};
constexpr size_t kMaxComm = 64;
constexpr int kMaxGroups = 256;

bool IsNumber(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Comm(const fs::path& processFolder)
{
    const ReadResult read = ReadFileHead((processFolder / "comm").string(), kMaxComm);
    std::string name = read.Ok ? read.Data : std::string();
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    return name;
}

// The processes of procRoot that hold device open, and the running grabbers.
void ScanProcesses(const std::string& device, const std::string& procRoot, PortFacts& facts)
{
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(device, ec);
    const int self = static_cast<int>(getpid());
    for (fs::directory_iterator it(procRoot, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string pidText = it->path().filename().string();
        if (!IsNumber(pidText) || pidText.size() > 9) continue;
        const int pid = std::stoi(pidText);
        const std::string name = Comm(it->path());
        for (const char* grabber : kGrabbers)
            if (name == grabber) facts.Grabbers.push_back(name);
        if (pid == self) continue;
        std::error_code fdError;
        for (fs::directory_iterator fd(it->path() / "fd", fdError), fdEnd; !fdError && fd != fdEnd;
             fd.increment(fdError)) {
            std::error_code linkError;
            const fs::path opened = fs::read_symlink(fd->path(), linkError);
            if (!linkError && (opened == target || opened == fs::path(device))) {
                facts.Holders.push_back({pid, name});
                break;
            }
        }
    }
    std::sort(facts.Grabbers.begin(), facts.Grabbers.end());
    facts.Grabbers.erase(std::unique(facts.Grabbers.begin(), facts.Grabbers.end()), facts.Grabbers.end());
}

void ReadGroupFacts(const struct stat& info, PortFacts& facts)
{
    const gid_t gid = info.st_gid;
    std::vector<char> buffer(16384);
    struct group entry {};
    struct group* found = nullptr;
    facts.GroupKnown = true;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
        facts.Group = found->gr_name;
    else
        facts.Group = std::to_string(gid);

    gid_t groups[kMaxGroups];
    const int count = getgroups(kMaxGroups, groups);
    const gid_t* groupsBegin = groups;
    const gid_t* groupsEnd = groups + std::max(count, 0);
    facts.InSessionGroups = getegid() == gid || std::find(groupsBegin, groupsEnd, gid) != groupsEnd;

    std::vector<char> userBuffer(16384);
    struct passwd user {};
    struct passwd* me = nullptr;
    if (getpwuid_r(geteuid(), &user, userBuffer.data(), userBuffer.size(), &me) != 0 || me == nullptr) return;
    facts.User = me->pw_name;
    gid_t listed[kMaxGroups];
    int listedCount = kMaxGroups;
    if (getgrouplist(me->pw_name, me->pw_gid, listed, &listedCount) < 0) listedCount = 0;
    facts.InGroupDatabase = std::find(listed, listed + listedCount, gid) != listed + listedCount;
}

std::string Joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

}  // namespace

PortFacts GatherPortFacts(const std::string& device, int openError, const PortCheckRoots& roots)
{
    PortFacts facts;
    facts.Device = device;
    facts.OpenHere = openError == PortIsOpenHere;
    facts.OpenError = openError == PortIsOpenHere ? 0 : openError;
    if (openError == 0) {
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) facts.OpenError = errno;
        else ::close(fd);
    }
    struct stat info {};
    facts.Exists = ::stat(device.c_str(), &info) == 0;
    for (const std::string& entry : ListComPorts(roots.Sysfs)) facts.Ports.push_back(PortNameOfEntry(entry));
    if (facts.Exists) ReadGroupFacts(info, facts);
    ScanProcesses(device, roots.Proc, facts);
    return facts;
}

std::vector<std::string> DescribePortFacts(const PortFacts& f)
{
    std::vector<std::string> lines;
    if (!f.Exists) {
        lines.push_back(f.Device + " does not exist.");
        lines.push_back(f.Ports.empty() ? "No serial ports were found." : "Serial ports: " + Joined(f.Ports) + ".");
    } else if (f.OpenError == EACCES || f.OpenError == EPERM) {
        std::string line = "Permission denied: " + f.Device + " belongs to the group " + f.Group + ", ";
        if (f.InSessionGroups)
            line += "and you are a member, but the device does not let the group read and write it.";
        else if (f.InGroupDatabase)
            line += "and you were added to it after this session began: log out and in again.";
        else
            line += "and you are not a member: add yourself to it (usermod -aG " + f.Group + " " +
                    (f.User.empty() ? std::string("USER") : f.User) + "), then log in again.";
        lines.push_back(line);
    } else if (f.OpenError == EBUSY && f.Holders.empty()) {
        lines.push_back(f.Device + " is held by another program.");
    } else if (f.OpenError != 0 && f.Holders.empty()) {
        lines.push_back(f.Device + ": " + std::strerror(f.OpenError) + ".");
    }
    for (const PortHolder& h : f.Holders)
        lines.push_back(f.Device + " is held by process " + std::to_string(h.Pid) + " (" + h.Name + ").");
    for (const std::string& g : f.Grabbers)
        lines.push_back(g + " is running; it is known to take such adapters for itself.");
    if (lines.empty() && f.OpenHere)
        lines.push_back("Nothing on this computer holds the port: check the cable and that the repeater is switched on.");
    if (lines.empty()) lines.push_back("The port opens.");
    return lines;
}

std::string PortDiagnosis(const std::string& device, int openError, const PortCheckRoots& roots)
{
    std::string text;
    for (const std::string& line : DescribePortFacts(GatherPortFacts(device, openError, roots)))
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

}  // namespace qm54
