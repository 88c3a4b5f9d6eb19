#include "model/document/document.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "model/storage/datafile.h"
#include "model/document/startup.h"
#include "test_support.h"

namespace {

using namespace qm54;
using qm54::test::ReadAll;
using qm54::test::TempFolder;

struct QuietPrompter final : Prompter {
    std::vector<std::string> texts;
    MsgResult Show(const std::string& text, MsgKind, MsgButtons buttons, const std::string&) override
    {
        texts.push_back(text);
        return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
    }
};

void WriteProgramming(const std::string& path, int nsqThreshold)
{
    TCEmem emem;
    TMap54 map;
    SetDefaults(emem);
    emem.NsqThreshold = nsqThreshold;
    QuietPrompter quiet;
    ASSERT_TRUE(SaveDataFile(path, emem, map, quiet));
}

TEST(Document, FirstStartCreatesTheDefaultFileReadOnlyAndAnUnreadableOneIsKept)
{
    TempFolder dir;
    QuietPrompter prompter;
    const std::string defaultFile = dir.File("defaultv.Q54");
    {
        Document doc(prompter, defaultFile);
        doc.Start("");
        EXPECT_EQ(doc.CurrentFile(), NoFileName);
        EXPECT_FALSE(doc.Modified());
        struct stat st {};
        ASSERT_EQ(stat(defaultFile.c_str(), &st), 0);
        EXPECT_EQ(st.st_size, 1986);
        EXPECT_EQ(st.st_mode & 0222, 0u);
    }
    {
        Document doc(prompter, defaultFile);
        doc.Start("");
        EXPECT_EQ(doc.CurrentFile(), defaultFile);
        EXPECT_TRUE(doc.NeedsSavePath());  // the default file is never saved over in place
    }
    chmod(defaultFile.c_str(), 0644);
    qm54::test::WriteAll(defaultFile, "short");
    Document doc(prompter, defaultFile);
    doc.Start("");
    EXPECT_EQ(doc.CurrentFile(), NoFileName);
    EXPECT_EQ(ReadAll(defaultFile), "short");

    Document named(prompter, defaultFile);
    named.Start(dir.File("missing.Q54"));
    EXPECT_EQ(named.CurrentFile(), NoFileName);
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.Q54")));
}

TEST(Document, PreparationMarksModifiedOnlyWhenTheWorkingListDiffers)
{
    TempFolder dir;
    QuietPrompter prompter;
    Document doc(prompter, dir.File("defaultv.Q54"));
    doc.CommitWorkingList();
    EXPECT_FALSE(doc.Modified());

    doc.Working().Items(4).InUse = 1;
    EXPECT_TRUE(doc.WorkingListDiffers());
    EXPECT_EQ(doc.Emem().Channels.Items(4).InUse, 0);
    doc.CommitWorkingList();
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.Emem().Channels.Items(4).InUse, 1);

    doc.New();
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.Working().Items(4).InUse, 0);
    EXPECT_EQ(doc.CurrentFile(), NoFileName);
}

TEST(Document, OpenReplacesEverythingOnlyWhenTheFileLoads)
{
    TempFolder dir;
    QuietPrompter prompter;
    WriteProgramming(dir.File("site.Q54"), 77);
    qm54::test::WriteAll(dir.File("broken.Q54"), std::string(100, '\0'));
    Document doc(prompter, dir.File("defaultv.Q54"));
    doc.Working().Items(2).InUse = 1;
    doc.CommitWorkingList();

    EXPECT_FALSE(doc.Open(dir.File("broken.Q54")));
    EXPECT_EQ(doc.CurrentFile(), NoFileName);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.Working().Items(2).InUse, 1);

    ASSERT_TRUE(doc.Open(dir.File("site.Q54")));
    EXPECT_EQ(doc.CurrentFile(), dir.File("site.Q54"));
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.Emem().NsqThreshold, 77);
    EXPECT_EQ(doc.Working().Items(2).InUse, 0);
}

TEST(Document, SavesInPlaceOnlyANamedFileThatIsNeitherTheDefaultNorRpt)
{
    TempFolder dir;
    QuietPrompter prompter;
    WriteProgramming(dir.File("site.Q54"), 1);
    WriteProgramming(dir.File("old.RPT"), 2);
    Document doc(prompter, dir.File("defaultv.Q54"));
    EXPECT_TRUE(doc.NeedsSavePath());  // unnamed

    doc.AllowSave();
    ASSERT_TRUE(doc.Open(dir.File("site.Q54")));
    EXPECT_FALSE(doc.NeedsSavePath());
    doc.Working().Items(0).NsqLevel = 99;
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(doc.Emem().Channels.Items(0).NsqLevel, 99);  // the working list goes with the save

    ASSERT_TRUE(doc.Open(dir.File("old.RPT")));
    EXPECT_FALSE(doc.SaveAllowed());
    EXPECT_TRUE(doc.NeedsSavePath());
    doc.AllowSave();  // as every file command does before its save prompt
    EXPECT_TRUE(doc.NeedsSavePath());

    doc.SetCurrentFile(dir.File("./defaultv.Q54"));
    EXPECT_TRUE(doc.NeedsSavePath());
}

// A save writes the file's name into the data and encodes the image: no step of its own, and what
// can be redone stays. A change made without a step (a paste) becomes the step the save ends.
TEST(Document, SavingIsNoStepOfItsOwn)
{
    TempFolder dir;
    QuietPrompter prompter;
    WriteProgramming(dir.File("site.Q54"), 1);
    Document doc(prompter, dir.File("defaultv.Q54"));
    ASSERT_TRUE(doc.Open(dir.File("site.Q54")));
    doc.AllowSave();
    doc.Emem().BaseTot = 9;
    ASSERT_TRUE(doc.Remember("Timer"));
    ASSERT_TRUE(doc.Undo());
    doc.SetCurrentFile(dir.File("renamed.Q54"));  // as Save As does
    ASSERT_TRUE(doc.Save());
    doc.ClearModified();
    EXPECT_FALSE(doc.Remember("Edit"));  // what the save wrote is no change
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.RedoLabel(), "Timer");
    // Neither is an image encoded again, nor a working list copied into the settings.
    doc.Map().Encode(doc.Emem());
    doc.CommitWorkingList();
    EXPECT_FALSE(doc.Remember("Download"));

    const int32_t lockout = doc.Working().Items(0).Lockout;
    doc.Working().Items(0).Lockout = lockout == 2 ? 0 : 2;
    ASSERT_TRUE(doc.Save());  // as the save prompt saves: Modified is left as it was
    EXPECT_EQ(doc.UndoLabel(), "Edit");
    EXPECT_FALSE(doc.CanRedo());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.Working().Items(0).Lockout, lockout);
    EXPECT_TRUE(doc.Modified());  // the file holds the new Lockout
    ASSERT_TRUE(doc.Redo());
    EXPECT_FALSE(doc.Modified());
}

TEST(Document, UploadAndNarrowbanding)
{
    TempFolder dir;
    QuietPrompter prompter;
    WriteProgramming(dir.File("site.Q54"), 1);
    Document doc(prompter, dir.File("defaultv.Q54"));
    ASSERT_TRUE(doc.Open(dir.File("site.Q54")));
    doc.Emem().Channels.Items(0).Wide = 1;
    doc.Emem().Channels.Items(0).RxFreq = TDecimal(1, 160, 0, 0);
    doc.Emem().MarketCode = MarketUsa;
    doc.TakeUpload();
    EXPECT_EQ(doc.CurrentFile(), NoFileName);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.Working().Items(0).Wide, 1);

    doc.ClearModified();
    const NarrowbandOutcome outcome = doc.CheckNarrowband(NarrowbandPolicy::Enforced);  // answered No
    EXPECT_FALSE(outcome.Download);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.Working().Items(0).Wide, 0);
}

}  // namespace
