#include "model/storage/datafile.h"

#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/image/map54_layout.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace qm54 {
namespace {

using test::ReadAll;
using test::RecordingPrompter;
using test::TempFolder;
using test::WriteAll;

constexpr const char* kFormatMessage = "The file cannot be opened.\r\nThe file format is not correct.";

std::string Bytes(const TMap54& map)
{
    return std::string(reinterpret_cast<const char*>(map.Bytes().data()), ImageSize);
}

// The live pair as the window holds it: the defaults, encoded.
struct LivePair {
    LivePair()
    {
        SetDefaults(emem);
        emem.SerialNumber = "5B010001";
        map.Encode(emem);
    }
    TCEmem emem;
    TMap54 map;
};

// A valid image of the given bytes, with a digit in both Tx power display bytes.
std::string Image(char fill)
{
    std::string image(ImageSize, fill);
    image[0x014] = '\x80';
    image[0x015] = 0x16;
    return image;
}

TEST(LoadDataFile, BadFilesAreReportedAndLeaveTheLiveDataAlone)
{
    TempFolder dir;
    WriteAll(dir.File("short.q54"), std::string(ImageSize - 1, '\0'));
    WriteAll(dir.File("empty.q54"), "");
    std::string noDigit = Image('\0');
    noDigit[0x015] = static_cast<char>(0xAF);  // both nibbles are not digits
    WriteAll(dir.File("nodigit.q54"), noDigit);
    std::string highNoDigit = Image('\0');
    highNoDigit[0x014] = static_cast<char>(0xFF);
    WriteAll(dir.File("highnodigit.q54"), highNoDigit);

    struct Case { std::string path; std::string message; std::string detail; };
    const Case cases[] = {
        {dir.File("short.q54"), kFormatMessage, ""},
        {dir.File("empty.q54"), kFormatMessage, ""},
        {dir.File("missing.q54"), "File read error  File Name = " + dir.File("missing.q54"), "No such file or directory"},
        {dir.Path().string(), "File read error  File Name = " + dir.Path().string(), "Is a directory"},
        {dir.File("nodigit.q54"), "File read error  File Name = " + dir.File("nodigit.q54"), ""},
        {dir.File("highnodigit.q54"), "File read error  File Name = " + dir.File("highnodigit.q54"), ""},
    };
    for (const Case& c : cases) {
        LivePair live;
        const TCEmem emem = live.emem;
        const std::string image = Bytes(live.map);
        RecordingPrompter prompter;
        bool saveAllowed = true;
        EXPECT_FALSE(LoadDataFile(c.path, live.emem, live.map, prompter, saveAllowed)) << c.path;
        ASSERT_EQ(prompter.messages.size(), 1u) << c.path;
        EXPECT_EQ(prompter.messages[0].text, c.message);
        EXPECT_EQ(prompter.messages[0].kind, MsgKind::Error);
        EXPECT_EQ(prompter.messages[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(prompter.messages[0].detail, c.detail);
        EXPECT_TRUE(live.emem == emem) << c.path;
        EXPECT_EQ(Bytes(live.map), image) << c.path;
        EXPECT_TRUE(saveAllowed);
    }
}

TEST(LoadDataFile, TakesTheFirst1986BytesOfAnyLongerFile)
{
    TempFolder dir;
    const std::string zeros = dir.File("zeros.q54");
    WriteAll(zeros, std::string(ImageSize, '\0'));
    const std::string longer = dir.File("longer.q54");
    std::string image = Image('\x11');
    WriteAll(longer, image + std::string(3000 - ImageSize, '\x22'));
    // A 10 MB file, sparse past its image: only the image is read.
    const std::string huge = dir.File("huge.q54");
    WriteAll(huge, image);
    ASSERT_EQ(truncate(huge.c_str(), 10 * 1000 * 1000), 0);

    RecordingPrompter prompter;
    bool saveAllowed = true;
    LivePair live;
    ASSERT_TRUE(LoadDataFile(zeros, live.emem, live.map, prompter, saveAllowed));
    for (int i = 0; i < TChannels::Count(); ++i) {
        EXPECT_EQ(live.emem.Channels.Items(i).InUse, 1);
        EXPECT_EQ(live.emem.Channels.Items(i).RxFreq.Value(), 0.0);
    }
    EXPECT_EQ(live.emem.SerialNumber, "");  // decoded, not the defaults of the fresh object
    EXPECT_EQ(Bytes(live.map), std::string(ImageSize, '\0'));

    for (const std::string& path : {longer, huge}) {
        ASSERT_TRUE(LoadDataFile(path, live.emem, live.map, prompter, saveAllowed)) << path;
        EXPECT_EQ(Bytes(live.map), image) << path;
        EXPECT_EQ(live.emem.TxPowerDisplayHigh, 80);
        EXPECT_EQ(live.emem.TxPowerDisplayLow, 16);
    }
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(saveAllowed);
}

TEST(LoadDataFile, OnlyAnRptExtensionInOneCaseClearsSaveAllowed)
{
    TempFolder dir;
    struct Case { const char* name; bool cleared; bool present; };
    const Case cases[] = {
        {"a.RPT", true, true},   {"a.rpt", true, true},    {"a.Rpt", false, true},
        {"a.rPT", false, true},  {"a.q54", false, true},   {"a.rpt.q54", false, true},
        {"rpt", false, true},    {"gone.rpt", true, false},
    };
    for (const Case& c : cases) {
        if (c.present) WriteAll(dir.File(c.name), Image('\0'));
        LivePair live;
        RecordingPrompter prompter;
        bool saveAllowed = true;
        EXPECT_EQ(LoadDataFile(dir.File(c.name), live.emem, live.map, prompter, saveAllowed), c.present) << c.name;
        EXPECT_EQ(saveAllowed, !c.cleared) << c.name;
    }
    // The flag is only ever cleared, never set.
    WriteAll(dir.File("b.q54"), Image('\0'));
    LivePair live;
    RecordingPrompter prompter;
    bool saveAllowed = false;
    EXPECT_TRUE(LoadDataFile(dir.File("b.q54"), live.emem, live.map, prompter, saveAllowed));
    EXPECT_FALSE(saveAllowed);
}

TEST(StoredNameFor, CutsTheStemToEightBytesAtACharacterBoundary)
{
    struct Case { const char* path; const char* stored; };
    const Case cases[] = {
        {"/d/ABCDEFGHIJK.Q54", "ABCDEFGH.Q54"},
        {"/d/x.RPT", "x.RPT"},
        {"/d/ABCDEFGH.q54", "ABCDEFGH.q54"},
        {"noext", "noext"},
        {"/d.dir/file", "file"},
        {"/d/a.b.c.q54", "a.b.c.q54"},
        {"/d/\xc3\xa4" "bcdefgh.q54", "\xc3\xa4" "bcdefg.q54"},            // 2-byte letter first
        {"/d/abcdefg\xc3\xa4.q54", "abcdefg.q54"},                          // would be halved
        {"/d/abcdef\xe2\x82\xac" "x.q54", "abcdef.q54"},                    // 3-byte sign at 7-9
        {"/d/abcde\xe2\x82\xac" "xy.q54", "abcde\xe2\x82\xac.q54"},         // ends exactly at 8
    };
    for (const Case& c : cases) EXPECT_EQ(StoredNameFor(c.path), c.stored) << c.path;
}

TEST(SaveDataFile, RecordsTheNameEncodesAndWritesTheImage)
{
    TempFolder dir;
    struct Case { const char* name; std::string stem; };
    const Case cases[] = {
        {"ABCDEFGHIJK.Q54", "ABCDEFGH"},
        {"x.RPT", std::string("x\0\0\0\0\0\0\0", 8)},
    };
    for (const Case& c : cases) {
        LivePair live;
        live.emem.NsqThreshold = 77;
        RecordingPrompter prompter;
        ASSERT_TRUE(SaveDataFile(dir.File(c.name), live.emem, live.map, prompter)) << c.name;
        EXPECT_TRUE(prompter.messages.empty());
        const std::string file = ReadAll(dir.File(c.name));
        ASSERT_EQ(file.size(), ImageSize);
        EXPECT_EQ(file, Bytes(live.map));
        EXPECT_EQ(file.substr(0x070, 8), c.stem) << c.name;
        EXPECT_EQ(file.substr(0x078, 3), "rpt") << c.name;
        EXPECT_EQ(static_cast<uint8_t>(file[0x001]), 77);
        uint8_t sumA = 0;
        for (size_t i = 0x050; i <= 0x0CD; ++i) sumA = static_cast<uint8_t>(sumA + file[i]);
        EXPECT_EQ(static_cast<uint8_t>(file[0x0CF]), sumA);
        uint8_t sumB = 0;
        for (size_t i = 0x000; i <= 0x5AF; ++i) sumB = static_cast<uint8_t>(sumB + file[i]);
        EXPECT_EQ(static_cast<uint8_t>(file[0x5B0]), sumB);
    }
}

TEST(SaveDataFile, AFailedWriteIsReportedAndKeepsTheOldFile)
{
    TempFolder dir;
    const std::string readOnly = dir.File("defaultv.Q54");
    WriteAll(readOnly, "old contents");
    chmod(readOnly.c_str(), 0444);
    struct Case { std::string path; std::string detail; };
    const Case cases[] = {
        {readOnly, "Permission denied"},
        {dir.Path().string(), "Is a directory"},
        {dir.File("none/x.q54"), "No such file or directory"},
    };
    for (const Case& c : cases) {
        LivePair live;
        live.emem.NsqThreshold = 99;
        RecordingPrompter prompter;
        EXPECT_FALSE(SaveDataFile(c.path, live.emem, live.map, prompter)) << c.path;
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, "File write error  File Name = " + c.path);
        EXPECT_EQ(prompter.messages[0].kind, MsgKind::Error);
        EXPECT_EQ(prompter.messages[0].detail, c.detail);
        // The live pair holds the encoded data and the new name all the same.
        EXPECT_EQ(live.map.Bytes()[0x001], 99);
        EXPECT_EQ(live.emem.StoredFileName, StoredNameFor(c.path));
    }
    EXPECT_EQ(ReadAll(readOnly), "old contents");
}

// Every byte and bit that the layout does not map keeps what the file held through a load and a
// save.
TEST(DataFileRoundTrip, UnmappedBytesAndBitsSurviveLoadAndSave)
{
    const std::array<uint8_t, ImageSize> unmapped = layout::KeptBitMask();  // per offset, the bits no item maps
    std::string image(ImageSize, '\0');
    uint32_t state = 12345;
    for (char& b : image) {
        state = state * 1103515245u + 12345u;
        b = static_cast<char>(state >> 16);
    }
    image[0x014] = '\x80';
    image[0x015] = 0x16;

    TempFolder dir;
    WriteAll(dir.File("in.q54"), image);
    LivePair live;
    RecordingPrompter prompter;
    bool saveAllowed = true;
    ASSERT_TRUE(LoadDataFile(dir.File("in.q54"), live.emem, live.map, prompter, saveAllowed));
    ASSERT_TRUE(SaveDataFile(dir.File("out.q54"), live.emem, live.map, prompter));
    const std::string saved = ReadAll(dir.File("out.q54"));
    ASSERT_EQ(saved.size(), ImageSize);
    for (size_t offset = 0; offset < ImageSize; ++offset) {
        const uint8_t mask = unmapped[offset];
        EXPECT_EQ(static_cast<uint8_t>(saved[offset]) & mask, static_cast<uint8_t>(image[offset]) & mask)
            << "offset 0x" << std::hex << offset;
    }
    // And a second load and save changes nothing more: the mapped bytes are canonical now.
    ASSERT_TRUE(LoadDataFile(dir.File("out.q54"), live.emem, live.map, prompter, saveAllowed));
    ASSERT_TRUE(SaveDataFile(dir.File("out.q54"), live.emem, live.map, prompter));
    EXPECT_EQ(ReadAll(dir.File("out.q54")), saved);
}

}  // namespace
}  // namespace qm54
