#include "model/storage/app_settings.h"
#include "model/storage/ini.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

struct IniFile {
    qm54::test::TempFolder folder{"qm54-ini"};
    std::string path = folder.File("qm54.ini");
    void Write(const std::string& text) const { std::ofstream(path, std::ios::binary) << text; }
    std::string Read() const
    {
        std::ostringstream s;
        s << std::ifstream(path, std::ios::binary).rdbuf();
        return s.str();
    }
};

TEST(ReadAppSettings, JunkAndOutOfRangeValuesGiveTheDefaults)
{
    IniFile file;
    file.Write("COM_PORT=-3\r\nH67WAIT=99999999\r\nFRMW=wide\r\nFRMX=-5\r\nFRMY=7\r\nFRMMAX=2\r\n"
               "ITEM1=x\r\nITEM2=0\r\nITEM3=5\r\nFILE1=\r\nFILE2=/a.q54\r\nFILE3=/a.q54\r\nCURFOLD=/data\r\n");
    qm54::TIniData ini(file.path);
    ini.Load();
    const qm54::AppSettings s = qm54::ReadAppSettings(ini, "/prog/");
    EXPECT_EQ(s.ComPort, 1);
    EXPECT_EQ(s.PortSettleWait, 10);
    EXPECT_EQ(s.Place.Width, -1);
    EXPECT_EQ(s.Place.Left, -5);  // the window applies only values of 0 or more
    EXPECT_EQ(s.Place.Top, 7);
    EXPECT_FALSE(s.StartMaximised);
    EXPECT_TRUE(s.ItemVisible[0]);
    EXPECT_FALSE(s.ItemVisible[1]);
    EXPECT_TRUE(s.ItemVisible[2]);
    EXPECT_EQ(s.Recent.Paths(), std::vector<std::string>{"/a.q54"});
    EXPECT_EQ(s.CurrentFolder, "/data/");

    qm54::TIniData missing(file.path + ".none");
    missing.Load();
    const qm54::AppSettings d = qm54::ReadAppSettings(missing, "/prog/");
    EXPECT_EQ(d.CurrentFolder, "/prog/");
    EXPECT_EQ(d.ComPort, 1);
    EXPECT_TRUE(d.Recent.Paths().empty());

    // No stored folder and no program folder: nothing to add a delimiter to.
    EXPECT_EQ(qm54::ReadAppSettings(missing, "").CurrentFolder, "");
}

TEST(WriteAppSettings, KeysInTheirOrderAndThePlaceOnlyInTheNormalState)
{
    qm54::AppSettings s;
    s.ComPort = 4;
    s.PortDevice = "/dev/ttyUSB1";
    s.CurrentFolder = "/data/";
    s.ItemVisible[22] = false;
    s.Recent.Append("/x.Q54");
    {
        IniFile file;
        qm54::TIniData ini(file.path);
        qm54::WriteAppSettings(ini, s, qm54::WindowPlace{1, 2, 900, 600});
        ini.Save();
        std::string expected = "COM_PORT=4\r\nPORT=/dev/ttyUSB1\r\nCURFOLD=/data/\r\nFRMX=1\r\nFRMY=2\r\n"
                               "FRMW=900\r\nFRMH=600\r\n";
        for (int i = 1; i <= 23; ++i) expected += "ITEM" + std::to_string(i) + (i == 23 ? "=0\r\n" : "=1\r\n");
        expected += "FILE1=/x.Q54\r\nFILE2=\r\nFILE3=\r\nFILE4=\r\n";
        EXPECT_EQ(file.Read(), expected);
    }
    {
        IniFile file;
        file.Write("FRMX=10\r\nFRMMAX=1\r\n");
        qm54::TIniData ini(file.path);
        ini.Load();
        qm54::WriteAppSettings(ini, s, std::nullopt);  // maximised: the stored place survives
        ini.Save();
        EXPECT_EQ(file.Read().rfind("FRMX=10;\r\nFRMMAX=1;\r\n", 0), 0u);
        EXPECT_EQ(file.Read().find("FRMY"), std::string::npos);
    }
}

// The settings file cannot carry ";" (a comment), "=" (the end of the value), a line break or
// blanks at either end: such a path must not come back as another one. A recent file is left out
// of the stored list, the current folder and the port keep what the file held.
TEST(WriteAppSettings, APathTheFileCannotCarryIsNeverStoredAsAnotherOne)
{
    for (const std::string bad : {"/data/site;2", "/data/a=b", "/data/a\nFILE2=/b", " /data/lead"}) {
        SCOPED_TRACE(bad);
        IniFile file;
        file.Write("PORT=/dev/ttyUSB0\r\nCURFOLD=/old/\r\nFILE1=/old/a.Q54\r\n");
        qm54::TIniData ini(file.path);
        ini.Load();
        qm54::AppSettings s = qm54::ReadAppSettings(ini, "/prog/");
        s.Recent = qm54::RecentFiles();
        s.Recent.Append(bad + "/a.Q54");
        s.Recent.Append("/x.Q54");
        s.CurrentFolder = bad + "/";
        s.PortDevice = bad;
        qm54::WriteAppSettings(ini, s, std::nullopt);
        ini.Save();

        qm54::TIniData back(file.path);
        back.Load();
        const qm54::AppSettings read = qm54::ReadAppSettings(back, "/prog/");
        EXPECT_EQ(read.Recent.Paths(), std::vector<std::string>{"/x.Q54"});
        EXPECT_EQ(read.CurrentFolder, "/old/");
        EXPECT_EQ(read.PortDevice, "/dev/ttyUSB0");
    }
}

}  // namespace

TEST(AppSettings, TheSafeguardKeysReadWithTheirRangesAndAreWrittenOnlyOnceTheyMatter)
{
    struct Case {
        const char* file;
        bool verify;
        int days, keep;
    };
    const Case cases[] = {
        {"", true, 365, 20},
        {"VERIFY=0\r\nBACKUPDAYS=30\r\nBACKUPKEEP=5\r\n", false, 30, 5},
        {"VERIFY=yes\r\nBACKUPDAYS=-1\r\nBACKUPKEEP=x\r\n", true, 365, 20},  // not numbers, out of range
        {"VERIFY=2\r\nBACKUPDAYS=0\r\nBACKUPKEEP=0\r\n", true, 0, 0},
    };
    for (const Case& c : cases) {
        IniFile file;
        file.Write(c.file);
        qm54::TIniData ini(file.path);
        ini.Load();
        const qm54::AppSettings s = qm54::ReadAppSettings(ini, "/");
        EXPECT_EQ(s.VerifyAfterDownload, c.verify) << c.file;
        EXPECT_EQ(s.Backups.Days, c.days) << c.file;
        EXPECT_EQ(s.Backups.Keep, c.keep) << c.file;
    }
    // Defaults are not written into a file that never held the keys; a change is, and so is a key
    // the file holds, even when it is back at its default.
    IniFile file;
    qm54::AppSettings s;
    {
        qm54::TIniData ini(file.path);
        qm54::WriteAppSettings(ini, s, std::nullopt);
        ini.Save();
        EXPECT_EQ(file.Read().find("VERIFY"), std::string::npos);
    }
    s.VerifyAfterDownload = false;
    s.Backups.Keep = 3;
    {
        qm54::TIniData ini(file.path);
        ini.Load();
        qm54::WriteAppSettings(ini, s, std::nullopt);
        ini.Save();
        EXPECT_NE(file.Read().find("VERIFY=0\r\n"), std::string::npos);
        EXPECT_NE(file.Read().find("BACKUPKEEP=3\r\n"), std::string::npos);
        EXPECT_EQ(file.Read().find("BACKUPDAYS"), std::string::npos);
    }
    s.VerifyAfterDownload = true;
    {
        qm54::TIniData ini(file.path);
        ini.Load();
        qm54::WriteAppSettings(ini, s, std::nullopt);
        ini.Save();
        EXPECT_NE(file.Read().find("VERIFY=1;"), std::string::npos) << file.Read();
    }
}
