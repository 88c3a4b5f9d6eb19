#include "model/storage/instance_lock.h"
#include "model/storage/program_folder.h"
#include "model/storage/recent_files.h"
#include "model/document/startup.h"
#include "temp_folder.h"
#include "unprivileged.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using qm54::test::TempFolder;

TEST(ParseFirstArgument, SwitchesAndDataFiles)
{
    struct Case {
        const char* argument;
        bool dealer, manufacture;
        const char* file;
    } cases[] = {
        {"-D", true, false, ""},        {"/d", true, false, ""},
        {"-m", false, true, ""},        {"/M", false, true, ""},
        {"-DX", false, false, ""},      {"D", false, false, ""},
        {"/home/a/ch.q54", false, false, "/home/a/ch.q54"},
        {"/data/Q54set/missing.bin", false, false, "/data/Q54set/missing.bin"},
        {"-q54", false, false, "-q54"}, {"", false, false, ""},
        {"file.rpt", false, false, ""},
    };
    for (const Case& c : cases) {
        const auto parsed = qm54::ParseFirstArgument(c.argument);
        EXPECT_EQ(parsed.Dealer, c.dealer) << c.argument;
        EXPECT_EQ(parsed.Manufacture, c.manufacture) << c.argument;
        EXPECT_EQ(parsed.DataFile, c.file) << c.argument;
    }
}

TEST(MainCaption, ManufactureModeIsAppendedDirectly)
{
    EXPECT_EQ(qm54::MainCaption("<none>", qm54::OperatingMode::Dealer),
              "<none> - QM54Win for KTD-4150 Series");
    EXPECT_EQ(qm54::MainCaption("/a/b.Q54", qm54::OperatingMode::Manufacture),
              "/a/b.Q54 - QM54Win for KTD-4150 Series(Manufacture mode)");
}

TEST(RecentFiles, MostRecentFirstAtMostFour)
{
    qm54::RecentFiles recent;
    for (const char* p : {"/a", "", "/b", "/a", "/c", "/d", "/e"}) recent.Append(p);
    EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/a", "/b", "/c", "/d"}));
    recent.Touch("/c");
    EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/c", "/a", "/b", "/d"}));
    recent.Touch("/new");
    EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/new", "/c", "/a", "/b"}));
    recent.Remove("/a");
    EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/new", "/c", "/b"}));
}

TEST(RecentDisplayName, FileNameOnlyInTheCurrentFolder)
{
    EXPECT_EQ(qm54::RecentDisplayName("/work/x/a.q54", "/work/x"), "a.q54");
    EXPECT_EQ(qm54::RecentDisplayName("/work/x/a.q54", "/work/x/"), "a.q54");
    EXPECT_EQ(qm54::RecentDisplayName("/work/x/y/a.q54", "/work/x"), "/work/x/y/a.q54");
    EXPECT_EQ(qm54::RecentDisplayName("/work/xy/a.q54", "/work/x"), "/work/xy/a.q54");
    EXPECT_EQ(qm54::RecentDisplayName("/a.q54", "/"), "a.q54");
}

TEST(ResolveProgramFolder, ExecutableFolderOverrideAndPerUserFallback)
{
    TempFolder tmp;
    const std::string exe = (tmp.Path() / "bin").string();
    fs::create_directories(exe);

    qm54::ProgramFolderInputs in;
    in.ExecutableFolder = exe;
    in.Home = (tmp.Path() / "home").string();
    EXPECT_EQ(qm54::ResolveProgramFolder(in), exe + "/");

    in.HomeOverride = (tmp.Path() / "over/ride").string();
    EXPECT_EQ(qm54::ResolveProgramFolder(in), in.HomeOverride + "/");
    EXPECT_TRUE(fs::is_directory(in.HomeOverride));
    in.HomeOverride.clear();

    // A program folder the user cannot write: the settings go to the per-user folder.
    qm54::test::RunUnprivileged({tmp.Path().string()}, [in, &tmp]() mutable {
        fs::permissions(in.ExecutableFolder, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_EQ(qm54::ResolveProgramFolder(in), in.Home + "/.config/qm54win/");
        in.XdgConfigHome = (tmp.Path() / "xdg").string();
        EXPECT_EQ(qm54::ResolveProgramFolder(in), in.XdgConfigHome + "/qm54win/");
        EXPECT_TRUE(fs::is_directory(in.XdgConfigHome + "/qm54win"));
    });
    in.ExecutableFolder = (tmp.Path() / "gone").string();
    in.XdgConfigHome = (tmp.Path() / "xdg2").string();
    EXPECT_EQ(qm54::ResolveProgramFolder(in), in.XdgConfigHome + "/qm54win/");

    // An installed program keeps its settings per user even where it could write its own folder.
    in.ExecutableFolder = exe;
    fs::permissions(exe, fs::perms::owner_write, fs::perm_options::add);
    fs::create_directories(tmp.Path() / "share/qm54win/help");
    EXPECT_EQ(qm54::ResolveProgramFolder(in), in.XdgConfigHome + "/qm54win/");
}

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstEnds)
{
    TempFolder tmp;
    {
        qm54::InstanceLock first;
        ASSERT_TRUE(first.Acquire(tmp.Path().string()));
        EXPECT_TRUE(first.Held());
        // flock is per open file description: a second open in this process conflicts too, and
        // so does another process.
        qm54::InstanceLock second;
        EXPECT_FALSE(second.Acquire(tmp.Path().string()));
        const pid_t child = fork();
        if (child == 0) {
            qm54::InstanceLock other;
            _exit(other.Acquire(tmp.Path().string()) ? 0 : 3);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_EQ(WEXITSTATUS(status), 3);
    }
    qm54::InstanceLock again;
    EXPECT_TRUE(again.Acquire(tmp.Path().string()));
    EXPECT_TRUE(again.Held());
}

}  // namespace
