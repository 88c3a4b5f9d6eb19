#include "model/storage/backup_store.h"

#include "model/storage/user_folders.h"
#include "sim_port.h"
#include "test_support.h"
#include "unprivileged.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using namespace qm54;
using qm54::test::TempFolder;

TEST(ParseBackupName, TakesOnlyTheBackupsOwnForm)
{
    struct Case {
        const char* name;
        bool ok;
        BackupDirection direction;
        int sequence;
    };
    const Case cases[] = {
        {"20261210-141502-upload.Q54", true, BackupDirection::Upload, 1},
        {"20261210-141502-download-2.Q54", true, BackupDirection::Download, 2},
        {"20261210-141502-verify-17.Q54", true, BackupDirection::Verify, 17},
        {"20261210-141502-verify-1.Q54", false, {}, 0},   // the first one has no number
        {"20261210-141502-verify-02.Q54", false, {}, 0},
        {"20261210-141502-verify-.Q54", false, {}, 0},
        {"20261210-141502-verify-2x.Q54", false, {}, 0},
        {"20261210-141502-uploads.Q54", false, {}, 0},
        {"20261210-141502-upload.q54", false, {}, 0},
        {"20261210-141502-upload.Q54.tmp", false, {}, 0},
        {"2026121-0141502-upload.Q54", false, {}, 0},
        {"20261210_141502-upload.Q54", false, {}, 0},
        {"-upload.Q54", false, {}, 0},
        {"", false, {}, 0},
    };
    for (const Case& c : cases) {
        const std::optional<BackupName> name = ParseBackupName(c.name);
        EXPECT_EQ(name.has_value(), c.ok) << c.name;
        if (!name || !c.ok) continue;
        EXPECT_EQ(name->Stamp, "20261210-141502");
        EXPECT_EQ(name->Direction, c.direction) << c.name;
        EXPECT_EQ(name->Sequence, c.sequence) << c.name;
    }
}

TEST(WriteBackup, NamesByTimeAndDirectionInTheSerialsFolderAndListsNewestFirst)
{
    TempFolder dir;
    const std::string root = dir.File("backups");
    const CloneImage image = qm54test::NewImage();
    const std::time_t t = 1'800'000'000;
    const BackupRule rule;
    const BackupWriteResult first = WriteBackup(root, image, BackupDirection::Upload, t, rule);
    ASSERT_TRUE(first.Ok) << first.Reason;
    EXPECT_EQ(first.Path, root + "/12345678/" + TimeStamp(t) + "-upload.Q54");
    EXPECT_EQ(qm54::test::ReadAll(first.Path), std::string(image.begin(), image.end()));
    // Two more in the same second are numbered in order across directions.
    EXPECT_EQ(WriteBackup(root, image, BackupDirection::Download, t, rule).Path,
              root + "/12345678/" + TimeStamp(t) + "-download-2.Q54");
    ASSERT_TRUE(WriteBackup(root, image, BackupDirection::Verify, t, rule).Ok);
    CloneImage other = image;
    other[image::SerialNumber] = '9';
    ASSERT_TRUE(WriteBackup(root, other, BackupDirection::Upload, t - 60, rule).Ok);
    // Things that are not backups are left out.
    qm54::test::WriteAll(root + "/12345678/notes.txt", "x");
    qm54::test::WriteAll(root + "/12345678/" + TimeStamp(t - 5) + "-upload.Q54", "short");
    std::filesystem::create_directories(root + "/bad name");

    const std::vector<BackupEntry> all = ListBackups(root);
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[0].Name.Direction, BackupDirection::Verify);
    EXPECT_EQ(all[1].Name.Direction, BackupDirection::Download);
    EXPECT_EQ(all[2].Name.Direction, BackupDirection::Upload);
    EXPECT_EQ(all[2].Band, "VHF");
    EXPECT_EQ(all[3].Band, "?");  // the short file
    EXPECT_EQ(all[4].Serial, "92345678");
    EXPECT_EQ(ListBackups(root, "92345678").size(), 1u);
    EXPECT_TRUE(ListBackups(root, "00000000").empty());
    EXPECT_TRUE(ListBackups(dir.File("missing")).empty());
}

TEST(PruneBackups, KeepsTheRecentOnesAndAtLeastTheNewestFew)
{
    TempFolder dir;
    const std::string root = dir.File("b");
    const CloneImage image = qm54test::NewImage();
    const std::time_t now = 1'800'000'000;
    const std::time_t day = 86400;
    const BackupRule keepAll{100000, 100000};
    // Ten backups, one every 100 days back from now.
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(WriteBackup(root, image, BackupDirection::Upload, now - i * 100 * day, keepAll).Ok);
    struct Case {
        BackupRule rule;
        size_t left;
    };
    // 365 days keep four (0, 100, 200, 300 days old); a Keep above that keeps more, whatever their age.
    const Case cases[] = {{{365, 2}, 4}, {{365, 6}, 6}, {{0, 0}, 0}, {{0, 1}, 1}, {{100000, 0}, 10}};
    for (const Case& c : cases) {
        TempFolder copy;
        std::filesystem::copy(root, copy.File("b"), std::filesystem::copy_options::recursive);
        PruneBackups(copy.File("b"), "12345678", c.rule, now);
        const std::vector<BackupEntry> left = ListBackups(copy.File("b"));
        EXPECT_EQ(left.size(), c.left) << c.rule.Days << "/" << c.rule.Keep;
        if (!left.empty()) {
            EXPECT_EQ(left.front().Name.Stamp, TimeStamp(now));  // the newest stays
        }
    }
    // A write prunes its own serial by the rule it is given.
    ASSERT_TRUE(WriteBackup(root, image, BackupDirection::Upload, now + 1, BackupRule{365, 2}).Ok);
    EXPECT_EQ(ListBackups(root).size(), 5u);
}

TEST(WriteBackup, AFolderThatCannotBeWrittenIsAFailureWithItsReason)
{
    TempFolder dir;
    const std::string root = dir.File("ro");
    std::filesystem::create_directories(root + "/12345678");
    chmod((root + "/12345678").c_str(), 0500);
    qm54::test::RunUnprivileged({dir.Path().string()}, [&] {
        const BackupWriteResult result =
            WriteBackup(root, qm54test::NewImage(), BackupDirection::Upload, 1'800'000'000, BackupRule{});
        EXPECT_FALSE(result.Ok);
        EXPECT_FALSE(result.Reason.empty());
    });
    chmod((root + "/12345678").c_str(), 0700);
}

TEST(SerialFolder, TheSerialsLettersAndDigitsOrUnknown)
{
    CloneImage image{};
    EXPECT_EQ(SerialFolder(image), "unknown");
    const char serial[] = "12/..\\AB";
    std::copy(serial, serial + 8, image.begin() + image::SerialNumber);
    EXPECT_EQ(SerialFolder(image), "12AB");
}

}  // namespace
