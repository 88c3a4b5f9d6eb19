#include "link/port_check.h"

#include "pty_pair.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace qm54;
using qm54::test::TempFolder;

// A sysfs root with one UART port, ttyS3, and an empty process table.
struct Roots {
    TempFolder dir;
    PortCheckRoots roots;
    Roots()
    {
        roots.Sysfs = dir.File("sys");
        roots.Proc = dir.File("proc");
        fs::create_directories(dir.Path() / "sys" / "class" / "tty" / "ttyS3");
        qm54::test::WriteAll(dir.File("sys/class/tty/ttyS3/type"), "4\n");
        fs::create_directories(roots.Proc);
    }
    void Process(int pid, const std::string& name)
    {
        fs::create_directories(dir.Path() / "proc" / std::to_string(pid) / "fd");
        qm54::test::WriteAll(dir.File("proc/" + std::to_string(pid) + "/comm"), name + "\n");
    }
};

TEST(PortDiagnosis, AMissingDeviceNamesThePortsThatExist)
{
    Roots r;
    EXPECT_EQ(PortDiagnosis("/dev/ttyUSB7", ENOENT, r.roots),
              "/dev/ttyUSB7 does not exist.\nSerial ports: ttyS3.");
    fs::remove_all(r.dir.Path() / "sys" / "class" / "tty" / "ttyS3");
    EXPECT_EQ(PortDiagnosis("/dev/ttyUSB7", 0, r.roots), "/dev/ttyUSB7 does not exist.\nNo serial ports were found.");
}

TEST(PortDiagnosis, ServicesKnownToTakeAdaptersAreNamedWhateverElseIsFound)
{
    Roots r;
    r.Process(4242, "ModemManager");
    r.Process(4243, "brltty");
    r.Process(4244, "bash");
    qm54test::PtyPair pty;
    ASSERT_FALSE(pty.slavePath.empty());
    EXPECT_EQ(PortDiagnosis(pty.slavePath, 0, r.roots),
              "ModemManager is running; it is known to take such adapters for itself.\n"
              "brltty is running; it is known to take such adapters for itself.");
    r.Process(4242, "bash");
    r.Process(4243, "bash");
    EXPECT_EQ(PortDiagnosis(pty.slavePath, 0, r.roots), "The port opens.");
}

TEST(PortDiagnosis, AnotherProcessHoldingThePortIsNamedByNumberAndName)
{
    qm54test::PtyPair pty;
    ASSERT_FALSE(pty.slavePath.empty());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(pty.slavePath.c_str(), O_RDWR | O_NOCTTY);
        const char byte = fd >= 0 ? 'y' : 'n';
        if (write(ready[1], &byte, 1) != 1) _exit(1);
        pause();
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    PortCheckRoots roots;
    roots.Sysfs = "/nonexistent";
    const PortFacts facts = GatherPortFacts(pty.slavePath, EBUSY, roots);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    ASSERT_EQ(facts.Holders.size(), 1u);
    EXPECT_EQ(facts.Holders[0].Pid, child);
    const std::vector<std::string> lines = DescribePortFacts(facts);
    EXPECT_EQ(lines.at(0), pty.slavePath + " is held by process " + std::to_string(child) + " (" +
                               facts.Holders[0].Name + ").");
    EXPECT_FALSE(facts.Holders[0].Name.empty());
}

TEST(PortDiagnosis, PermissionDeniedSaysWhetherTheUserIsInTheDevicesGroup)
{
    PortFacts f;
    f.Device = "/dev/ttyUSB0";
    f.Exists = true;
    f.OpenError = EACCES;
    f.Group = "dialout";
    f.User = "ann";
    struct Case {
        bool inSession, inDatabase;
        const char* line;
    };
    const Case cases[] = {
        {false, false,
         "Permission denied: /dev/ttyUSB0 belongs to the group dialout, and you are not a member: add yourself "
         "to it (usermod -aG dialout ann), then log in again."},
        {false, true,
         "Permission denied: /dev/ttyUSB0 belongs to the group dialout, and you were added to it after this "
         "session began: log out and in again."},
        {true, true,
         "Permission denied: /dev/ttyUSB0 belongs to the group dialout, and you are a member, but the device "
         "does not let the group read and write it."},
    };
    for (const Case& c : cases) {
        f.InSessionGroups = c.inSession;
        f.InGroupDatabase = c.inDatabase;
        EXPECT_EQ(DescribePortFacts(f), std::vector<std::string>{c.line});
    }
}

TEST(PortDiagnosis, TheDevicesGroupIsReadFromTheNode)
{
    if (geteuid() != 0) GTEST_SKIP() << "giving a node another group needs root";
    TempFolder dir;
    const std::string node = dir.File("ttyFAKE");
    qm54::test::WriteAll(node, "");
    const gid_t other = 4711;  // a group this process does not run with
    ASSERT_EQ(chown(node.c_str(), 0, other), 0);
    const PortFacts facts = GatherPortFacts(node, EACCES, {"/nonexistent", "/nonexistent"});
    EXPECT_TRUE(facts.GroupKnown);
    const group* named = getgrgid(other);
    EXPECT_EQ(facts.Group, named != nullptr ? std::string(named->gr_name) : std::string("4711"));
    EXPECT_FALSE(facts.InSessionGroups);
    EXPECT_EQ(DescribePortFacts(facts).at(0).rfind("Permission denied: " + node + " belongs to the group ", 0), 0u);
}

}  // namespace
