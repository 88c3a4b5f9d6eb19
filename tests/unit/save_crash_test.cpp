// Saves that are cut short. The process doing the save is killed (SIGKILL, so nothing of it runs
// afterwards) between the atomic writer's steps, and at arbitrary moments of a loop of saves; the
// file on disk is then always wholly the old or wholly the new one, never a mix and never empty,
// and whatever else the dead process left in the folder is the writer's hidden temporary file,
// which no load ever opens.
#include "model/storage/atomic_file.h"
#include "model/storage/datafile.h"
#include "model/storage/ini.h"
#include "model/image/map54.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <set>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace qm54 {
namespace {

using test::ReadAll;
using test::TempFolder;
using test::WriteAll;

// Runs save in a child process that the atomic writer's hook kills at step; true when the child
// died of that signal (and not, say, of a failing save that never reached the step).
bool SaveKilledAt(AtomicWriteStep step, const std::function<void()>& save)
{
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        SetAtomicWriteHook([step](AtomicWriteStep at) {
            if (at == step) raise(SIGKILL);
        });
        save();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// Runs save(0), save(1), save(0), ... in a child process and kills it after delayUs microseconds
// counted from the end of its first save. True when the child was killed while still saving.
bool SavesKilledAfter(int delayUs, const std::function<void(int)>& save)
{
    int ready[2];
    if (pipe(ready) != 0) return false;
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        close(ready[0]);
        save(0);
        const char byte = 1;
        if (write(ready[1], &byte, 1) != 1) _exit(1);
        for (int i = 1;; ++i) save(i % 2);
    }
    close(ready[1]);
    char byte = 0;
    const bool started = read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    if (started) usleep(static_cast<useconds_t>(delayUs));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    return started && WIFSIGNALED(status);
}

// The folder holds the file itself and, besides, only hidden temporary files of its saves.
void ExpectOnlyTemporariesBeside(const TempFolder& dir, const std::string& name)
{
    const std::string tempPrefix = "." + name + ".tmp-";
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const std::string file = entry.path().filename().string();
        if (file != name) {
            EXPECT_EQ(file.rfind(tempPrefix, 0), 0u) << file;
        }
    }
}

// The points of a save at which the process dies, and whether the new file is then in place.
struct StepCase {
    AtomicWriteStep step;
    bool newFile;
};
constexpr StepCase kStepCases[] = {{AtomicWriteStep::TempCreated, false},
                                   {AtomicWriteStep::TempWritten, false},
                                   {AtomicWriteStep::TempSynced, false},
                                   {AtomicWriteStep::Renamed, true}};

// In a folder whose file name holds before, runs saves alternating between two contents and kills
// them at 40 moments; after each kill the file must be one of the two saved files, whole.
void KillSavesAtArbitraryMoments(const std::string& name, const std::string& before,
                                 const std::function<void(const std::string&, int)>& save,
                                 const std::set<std::string>& whole)
{
    TempFolder dir;
    const std::string path = dir.File(name);
    WriteAll(path, before);
    int killedWhileSaving = 0;
    for (int round = 0; round < 40; ++round) {
        const int delayUs = (round * 397) % 3000;
        if (SavesKilledAfter(delayUs, [&](int k) { save(path, k); })) ++killedWhileSaving;
        const std::string now = ReadAll(path);
        ASSERT_EQ(whole.count(now), 1u) << "round " << round << ", " << now.size() << " bytes";
    }
    EXPECT_EQ(killedWhileSaving, 40);
    ExpectOnlyTemporariesBeside(dir, name);
}

constexpr const char* kIniName = "QM54Win.ini";
const std::string kIniBefore = "; QM54Win settings\r\n[Main]\r\nCOM_PORT = 3 ; port of the repeater\r\nFRMX=100\r\n";

// The settings file after COM_PORT was set to value and the file saved.
std::string IniAfter(const std::string& value)
{
    return "; QM54Win settings\r\n[Main]\r\nCOM_PORT=" + value + ";port of the repeater\r\nFRMX=100;\r\n";
}

void SaveComPort(const std::string& path, const std::string& value)
{
    TIniData ini(path);
    ini.Load();
    ini.SetValue("COM_PORT", value);
    ini.Save();
}

TEST(SaveCrash, SettingsSaveKilledBetweenStepsLeavesTheOldOrTheNewFile)
{
    for (const StepCase& c : kStepCases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        TempFolder dir;
        const std::string path = dir.File(kIniName);
        WriteAll(path, kIniBefore);
        ASSERT_TRUE(SaveKilledAt(c.step, [&] { SaveComPort(path, "5"); }));
        EXPECT_EQ(ReadAll(path), c.newFile ? IniAfter("5") : kIniBefore);
        ExpectOnlyTemporariesBeside(dir, kIniName);

        // The next run reads the surviving file and saves over it as usual.
        TIniData next(path);
        ASSERT_TRUE(next.Load());
        EXPECT_EQ(next.GetInt("COM_PORT", 0), c.newFile ? 5 : 3);
        SaveComPort(path, "7");
        EXPECT_EQ(ReadAll(path), IniAfter("7"));
    }
}

TEST(SaveCrash, SettingsSavesKilledAtArbitraryMomentsLeaveOneWholeFile)
{
    // The two values give files of very different lengths, so that a torn file cannot pass.
    const std::string values[] = {"2", std::string(3000, '9')};
    KillSavesAtArbitraryMoments(kIniName, kIniBefore,
                                [&](const std::string& path, int k) { SaveComPort(path, values[k]); },
                                {IniAfter(values[0]), IniAfter(values[1])});
}

// The data file of "New" for a band, as SaveDataFile writes it at path.
struct NewData {
    TCEmem emem;
    TMap54 map;
    explicit NewData(int band)
    {
        map.Decode(emem);
        SetDefaults(emem);
        emem.Band = band;
        ApplyBandDefaults(emem, band);
    }
    bool SaveTo(const std::string& path)
    {
        test::RecordingPrompter prompter;
        return SaveDataFile(path, emem, map, prompter);
    }
};

constexpr const char* kDataName = "site.Q54";

// What SaveDataFile writes for band under the name kDataName, saved in a folder of its own.
std::string SavedDataFile(int band)
{
    TempFolder dir;
    NewData data(band);
    data.SaveTo(dir.File(kDataName));
    return ReadAll(dir.File(kDataName));
}

TEST(SaveCrash, DataFileSaveKilledBetweenStepsLeavesTheOldOrTheNewFile)
{
    const std::string vhf = SavedDataFile(BandVhf);
    const std::string uhf = SavedDataFile(BandUhf);
    ASSERT_EQ(vhf.size(), ImageSize);
    ASSERT_NE(vhf, uhf);
    for (const StepCase& c : kStepCases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        TempFolder dir;
        const std::string path = dir.File(kDataName);
        WriteAll(path, vhf);
        ASSERT_TRUE(SaveKilledAt(c.step, [&] { NewData(BandUhf).SaveTo(path); }));
        EXPECT_EQ(ReadAll(path), c.newFile ? uhf : vhf);
        ExpectOnlyTemporariesBeside(dir, kDataName);

        // The next run loads the surviving file.
        NewData next(BandVhf);
        test::RecordingPrompter prompter;
        bool saveAllowed = true;
        ASSERT_TRUE(LoadDataFile(path, next.emem, next.map, prompter, saveAllowed));
        EXPECT_EQ(next.emem.Band, c.newFile ? BandUhf : BandVhf);
    }
}

TEST(SaveCrash, DataFileSavesKilledAtArbitraryMomentsLeaveOneWholeFile)
{
    // The two bands' images differ in their alignment tables and every channel's frequencies.
    const std::string vhf = SavedDataFile(BandVhf);
    const std::string uhf = SavedDataFile(BandUhf);
    NewData data[] = {NewData(BandVhf), NewData(BandUhf)};
    KillSavesAtArbitraryMoments(kDataName, uhf, [&](const std::string& path, int k) { data[k].SaveTo(path); },
                                {vhf, uhf});
}

}  // namespace
}  // namespace qm54
