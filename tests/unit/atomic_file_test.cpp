#include "model/storage/atomic_file.h"
#include "model/storage/file_read.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qm54 {
namespace {

using test::ReadAll;
using test::TempFolder;
using test::WriteAll;

size_t FilesIn(const std::filesystem::path& dir)
{
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
    return n;
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(AtomicWriteFile, CreatesAndReplacesLeavingNoTemporaryFile)
{
    TempFolder dir;
    const std::string path = dir.File("a.q54");
    ASSERT_TRUE(AtomicWriteFile(path, "first").Ok);
    EXPECT_EQ(ReadAll(path), "first");
    chmod(path.c_str(), 0640);
    ASSERT_TRUE(AtomicWriteFile(path, std::string("second\0x", 8)).Ok);
    EXPECT_EQ(ReadAll(path), std::string("second\0x", 8));
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(AtomicWriteFile, FollowsASymbolicLinkAndKeepsIt)
{
    TempFolder dir;
    const std::string real = dir.File("real.ini");
    const std::string link = dir.File("link.ini");
    WriteAll(real, "old");
    std::filesystem::create_symlink(real, link);
    ASSERT_TRUE(AtomicWriteFile(link, "new").Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadAll(real), "new");
}

TEST(AtomicWriteFile, RefusalsGiveTheSystemReasonAndKeepTheOldFile)
{
    TempFolder dir;
    EXPECT_EQ(AtomicWriteFile(dir.Path().string(), "x").Reason, "Is a directory");
    EXPECT_EQ(AtomicWriteFile(dir.File("no/such/folder.q54"), "x").Reason, "No such file or directory");
    EXPECT_FALSE(AtomicWriteFile("", "x").Ok);

    const std::string readOnly = dir.File("defaultv.Q54");
    WriteAll(readOnly, "keep");
    chmod(readOnly.c_str(), 0444);
    const WriteResult r = AtomicWriteFile(readOnly, "lost");
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Reason, "Permission denied");
    EXPECT_EQ(ReadAll(readOnly), "keep");
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

// The process ends at each step of the save in turn; the file is then either wholly old or
// wholly new, never a mixture and never missing.
TEST(AtomicWriteFile, AnInterruptedSaveLeavesTheOldOrTheNewFileWhole)
{
    const AtomicWriteStep steps[] = {AtomicWriteStep::TempCreated, AtomicWriteStep::TempWritten,
                                     AtomicWriteStep::TempSynced, AtomicWriteStep::Renamed};
    const std::string oldData(1986, 'o');
    const std::string newData(1986, 'n');
    for (AtomicWriteStep step : steps) {
        TempFolder dir;
        const std::string path = dir.File("a.q54");
        WriteAll(path, oldData);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SetAtomicWriteHook([step](AtomicWriteStep at) {
                if (at == step) _exit(3);
            });
            AtomicWriteFile(path, newData);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 3);
        const std::string now = ReadAll(path);
        if (step == AtomicWriteStep::Renamed) EXPECT_EQ(now, newData);
        else EXPECT_EQ(now, oldData) << static_cast<int>(step);
    }
}

TEST(ReadFileHead, ReadsAtMostTheBoundAndRefusesWhatIsNotAFile)
{
    TempFolder dir;
    const std::string path = dir.File("big.bin");
    WriteAll(path, std::string(5000, 'z'));
    const ReadResult head = ReadFileHead(path, 1986);
    EXPECT_TRUE(head.Ok);
    EXPECT_EQ(head.Data.size(), 1986u);
    EXPECT_EQ(ReadFileHead(path, 10000).Data.size(), 5000u);

    EXPECT_EQ(ReadFileHead(dir.File("missing"), 10).Reason, "No such file or directory");
    EXPECT_EQ(ReadFileHead(dir.Path().string(), 10).Reason, "Is a directory");
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileHead(fifo, 10).Ok);  // and does not wait for a writer
}

}  // namespace
}  // namespace qm54
