#include "model/storage/ini.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace qm54 {
namespace {

using test::ReadAll;
using test::TempFolder;
using test::WriteAll;

TEST(TIniData, ParsesEntriesCommentsAndOtherLines)
{
    TempFolder dir;
    const std::string path = dir.File("QM54Win.ini");
    WriteAll(path,
             "[Main]\r\n"
             "COM_PORT = 3 ; port of the repeater\r\n"
             "; FRMX=100 a commented-out entry\r\n"
             "A=1=2\r\n"
             "  empty =  \r\n"
             "just text\r\n"
             "frmy=-20\r\n"
             "NUM=12x\r\n");
    TIniData ini(path);
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.GetInt("COM_PORT", 1), 3);
    EXPECT_EQ(ini.GetInt("com_port", 1), 3);
    EXPECT_EQ(ini.GetInt("FRMX", -1), -1);
    EXPECT_EQ(ini.GetText("A", "x"), "1");
    EXPECT_EQ(ini.GetText("EMPTY", "dflt"), "dflt");
    EXPECT_EQ(ini.GetInt("FRMY", 0), -20);
    EXPECT_EQ(ini.GetInt("NUM", 7), 7);
    EXPECT_EQ(ini.GetText("MAIN", "none"), "none");
    EXPECT_EQ(ini.GetText("missing", "none"), "none");
}

TEST(TIniData, LoadOfAFileWithoutEntriesOrOfNoFileIsFalse)
{
    TempFolder dir;
    TIniData missing(dir.File("none.ini"));
    EXPECT_FALSE(missing.Load());
    EXPECT_EQ(missing.GetInt("COM_PORT", 1), 1);

    WriteAll(dir.File("comments.ini"), "; only a comment\r\n[section]\r\n");
    TIniData comments(dir.File("comments.ini"));
    EXPECT_FALSE(comments.Load());

    TIniData folder(dir.Path().string());  // a folder given as the settings file
    EXPECT_FALSE(folder.Load());
    folder.SetValue("COM_PORT", "2");
    folder.Save();  // silently not written
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path()));
}

TEST(TIniData, SaveKeepsOtherLinesAndEachEntrysCommentAndAppendsNewKeys)
{
    TempFolder dir;
    const std::string path = dir.File("QM54Win.ini");
    WriteAll(path,
             "[Main]\r\n"
             "COM_PORT = 3 ; port of the repeater ; second part\r\n"
             "; FRMX=100\r\n"
             "\r\n"
             "curfold=/home/a\r\n");
    TIniData ini(path);
    ASSERT_TRUE(ini.Load());
    ini.SetValue("COM_PORT", "5");
    ini.SetValue("CURFOLD", "/home/b");
    ini.SetValue("file1", "/tmp/x.q54");
    ini.SetValue("FILE2", "");
    ini.Save();
    EXPECT_EQ(ReadAll(path),
              "[Main]\r\n"
              "COM_PORT=5;port of the repeater\r\n"
              "; FRMX=100\r\n"
              "\r\n"
              "curfold=/home/b;\r\n"
              "FILE1=/tmp/x.q54\r\n"
              "FILE2=\r\n");

    // A second save in the same run rewrites the appended lines instead of adding them again.
    ini.SetValue("FILE1", "/tmp/y.q54");
    ini.Save();
    TIniData again(path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.Lines().size(), 7u);
    EXPECT_EQ(again.GetText("FILE1", ""), "/tmp/y.q54");
    EXPECT_EQ(again.GetText("FILE2", "d"), "d");
}

TEST(TIniData, SaveOfANewFileWritesOnlyTheEntriesThenTreatsThemAsLines)
{
    TempFolder dir;
    const std::string path = dir.File("QM54Win.ini");
    TIniData ini(path);
    EXPECT_FALSE(ini.Load());
    ini.SetValue("com_port", "2");
    ini.SetValue("CURFOLD", "/tmp");
    ini.Save();
    EXPECT_EQ(ReadAll(path), "COM_PORT=2\r\nCURFOLD=/tmp\r\n");
    ini.SetValue("COM_PORT", "4");
    ini.SetValue("ITEM1", "0");
    ini.Save();
    EXPECT_EQ(ReadAll(path), "COM_PORT=4;\r\nCURFOLD=/tmp;\r\nITEM1=0\r\n");
}

TEST(TIniData, ReadsLoneCrLfAndCrLfAlikeAndWritesCrLf)
{
    TempFolder dir;
    const std::string path = dir.File("QM54Win.ini");
    WriteAll(path, "A=1\rB=2\nC=3\r\n\r\nD=4");
    TIniData ini(path);
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.Lines().size(), 5u);
    for (const char* key : {"A", "B", "C", "D"}) EXPECT_NE(ini.GetText(key, ""), "") << key;
    EXPECT_EQ(ini.GetInt("D", 0), 4);
    ini.SetValue("B", "9");
    ini.Save();
    EXPECT_EQ(ReadAll(path), "A=1;\r\nB=9;\r\nC=3;\r\n\r\nD=4;\r\n");
}

TEST(TIniData, SurvivesJunkNulBytesAndVeryLongLines)
{
    TempFolder dir;
    const std::string path = dir.File("QM54Win.ini");
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) & 0xFF);
    const std::string longLine(100000, 'x');
    const std::string nulLine = std::string("N\0UL=5", 6);
    WriteAll(path, junk + "\r\n" + longLine + "=long\r\n" + nulLine + "\r\nCOM_PORT=3\r\n");
    TIniData ini(path);
    EXPECT_TRUE(ini.Load());
    EXPECT_EQ(ini.GetInt("COM_PORT", 1), 3);
    EXPECT_EQ(ini.GetText(longLine, ""), "long");
    ini.SetValue("COM_PORT", "4");
    ini.Save();
    const std::string saved = ReadAll(path);
    EXPECT_NE(saved.find(longLine + "=long"), std::string::npos);
    EXPECT_NE(saved.find(nulLine), std::string::npos);
    EXPECT_NE(saved.find("COM_PORT=4;"), std::string::npos);
}

TEST(TIniData, ReadsOnlyTheFirstMebibyteOfAHugeFile)
{
    TempFolder dir;
    const std::string path = dir.File("QM54Win.ini");
    std::string text = "COM_PORT=3\r\n";
    text += std::string(TIniData::MaxReadBytes, ';');
    text += "\r\nLATE=1\r\n";
    WriteAll(path, text);
    TIniData ini(path);
    EXPECT_TRUE(ini.Load());
    EXPECT_EQ(ini.GetInt("COM_PORT", 1), 3);
    EXPECT_EQ(ini.GetInt("LATE", 0), 0);
}

TEST(TIniData, ValuesWithLineBreaksCannotPlantEntries)
{
    TempFolder dir;
    const std::string path = dir.File("QM54Win.ini");
    TIniData ini(path);
    ini.SetValue("FILE1", "/tmp/a\r\nCOM_PORT=9\n.q54");
    ini.Save();
    TIniData back(path);
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.Lines().size(), 1u);
    EXPECT_EQ(back.GetInt("COM_PORT", 1), 1);
}

TEST(TIniData, AByteOrderMarkAtTheStartIsSkippedAndNotWrittenBack)
{
    TempFolder dir;
    const std::string path = dir.File("QM54Win.ini");
    WriteAll(path, "\xEF\xBB\xBF" "COM_PORT=3\r\nFRMX=5\r\n");
    TIniData ini(path);
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.GetInt("COM_PORT", 1), 3);
    ini.SetValue("FRMX", "6");
    ini.Save();
    EXPECT_EQ(ReadAll(path), "COM_PORT=3;\r\nFRMX=6;\r\n");
}

TEST(IniCanHold, OnlyValuesThatReadBackWhole)
{
    for (const char* held : {"", "/data/site 2/a.Q54", "3", "C:\\x"}) EXPECT_TRUE(IniCanHold(held)) << held;
    for (const char* cut : {"/data/site;2/a.Q54", "/data/a=b.Q54", " /x", "/x ", "/a\nB=1", "/a\r"})
        EXPECT_FALSE(IniCanHold(cut)) << cut;
}

TEST(TIniData, AFailedSaveIsSilentAndLeavesTheOldFile)
{
    TempFolder dir;
    const std::string path = dir.File("QM54Win.ini");
    WriteAll(path, "COM_PORT=3\r\n");
    chmod(path.c_str(), 0444);
    TIniData ini(path);
    ASSERT_TRUE(ini.Load());
    ini.SetValue("COM_PORT", "4");
    ini.Save();
    EXPECT_EQ(ReadAll(path), "COM_PORT=3\r\n");
}

}  // namespace
}  // namespace qm54
