// Writes the seed corpus of the fuzz targets: correct repeater transcripts recorded from the
// simulated repeater (and a few with a fault), one file per seed.
// Usage: make_seeds CORPUS-FOLDER   (writes CORPUS-FOLDER/<target>/<seed>)
#include "scripted_line.h"
#include "link/clone.h"
#include "sim/sim_repeater.h"
#include "new_image.h"
#include "model/channels/channel_csv.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace qm54;
using namespace qm54fuzz;
namespace fs = std::filesystem;

// A line to the simulated repeater that writes down, per send, the repeater's answer as a
// transcript record.
class RecordingLine : public QueuedPort {
public:
    RecordingLine(SimRepeater& repeater, FuzzClock& clock, uint8_t options) : QueuedPort(clock), repeater_(repeater)
    {
        transcript = {options, 0, 0};
    }

    int Send(const uint8_t* data, size_t count) override
    {
        const Bytes out = repeater_.Feed(Bytes(data, data + count));
        const Bytes answer(out.begin() + static_cast<long>(count), out.end());
        transcript.push_back(0);
        transcript.push_back(static_cast<uint8_t>(answer.size()));
        transcript.insert(transcript.end(), answer.begin(), answer.end());
        Queue(out);
        return 0;
    }

    Bytes transcript;

private:
    SimRepeater& repeater_;
};

struct NoCancel : LinkObserver {
    void SetProgress(int, int) override {}
    void PumpEvents() override {}
    bool CancelRequested() const override { return false; }
};

void WriteFile(const fs::path& path, const Bytes& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    std::printf("%s (%zu bytes)\n", path.c_str(), bytes.size());
}

SimRepeater Repeater(int band, const char* fault)
{
    TCEmem emem;
    SimRepeater repeater(NewImage(band, emem).Bytes());
    if (fault != nullptr) {
        std::string error;
        repeater.AddFault(*ParseSimFault(fault, error));
    }
    return repeater;
}

Bytes ReadTranscript(int band, const char* fault)
{
    SimRepeater repeater = Repeater(band, fault);
    FuzzClock clock;
    RecordingLine line(repeater, clock, 0);
    NoCancel user;
    FuzzPrompter prompter(true);
    const LinkTiming timing;
    CloneLink link{line, user, clock, timing};
    TMap54 map;
    TCEmem emem;
    static_cast<void>(UploadFromRadio(link, prompter, map, emem));  // the transcript is what counts
    return line.transcript;
}

// options: bits 0-1 the mode, bit 2 answers the band question Yes (as the clone_write target reads them).
Bytes WriteTranscript(int band, uint8_t options, const char* fault)
{
    SimRepeater repeater = Repeater(band, fault);
    FuzzClock clock;
    RecordingLine line(repeater, clock, options);
    NoCancel user;
    FuzzPrompter prompter((options & 0x04) != 0);
    const LinkTiming timing;
    CloneLink link{line, user, clock, timing};
    // The clone_write target writes the settings of "New" for VHF.
    TCEmem emem;
    TMap54 map = NewImage(BandVhf, emem);
    const OperatingMode mode = (options & 3) == 0 ? OperatingMode::Normal
                               : (options & 3) == 1 ? OperatingMode::Dealer
                                                    : OperatingMode::Manufacture;
    static_cast<void>(DownloadToRadio(link, prompter, mode, emem, map));  // the transcript is what counts
    return line.transcript;
}

Bytes NewImageBytes(int band)
{
    TCEmem emem;
    const TMap54 map = NewImage(band, emem);
    return Bytes(map.Bytes().begin(), map.Bytes().end());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds CORPUS-FOLDER\n");
        return 2;
    }
    const fs::path root(argv[1]);

    WriteFile(root / "clone_read" / "vhf", ReadTranscript(BandVhf, nullptr));
    WriteFile(root / "clone_read" / "uhf", ReadTranscript(BandUhf, nullptr));
    WriteFile(root / "clone_read" / "checksum-area3", ReadTranscript(BandVhf, "checksum@3:5"));
    WriteFile(root / "clone_read" / "silence-area4", ReadTranscript(BandVhf, "silence@4:20"));

    WriteFile(root / "clone_write" / "normal", WriteTranscript(BandVhf, 0, nullptr));
    WriteFile(root / "clone_write" / "dealer", WriteTranscript(BandVhf, 1, nullptr));
    WriteFile(root / "clone_write" / "manufacture", WriteTranscript(BandVhf, 2, nullptr));
    WriteFile(root / "clone_write" / "uhf-band-yes", WriteTranscript(BandUhf, 2 | 4, nullptr));
    WriteFile(root / "clone_write" / "uhf-band-refused", WriteTranscript(BandUhf, 1, nullptr));
    WriteFile(root / "clone_write" / "ack-area4", WriteTranscript(BandVhf, 1, "ack@4:7"));

    // Settings seeds: options byte (key index, bit 3 no file), value length, value, file bytes.
    auto settings = [](uint8_t options, const std::string& value, const std::string& file) {
        Bytes seed{options, static_cast<uint8_t>(value.size())};
        seed.insert(seed.end(), value.begin(), value.end());
        seed.insert(seed.end(), file.begin(), file.end());
        return seed;
    };
    const std::string typical =
        "; QM54Win settings\r\n[Main]\r\nCOM_PORT = 3 ; port of the repeater\r\nPORT=/dev/ttyUSB0\r\n"
        "H67WAIT=10\r\nFILE1=/home/dealer/site a.dat;recent\r\nCURFOLD=/home/dealer\r\nFRMX=100\r\n"
        "ITEM23=1\r\n";
    WriteFile(root / "ini" / "typical", settings(0, "5", typical));
    WriteFile(root / "ini" / "new-key", settings(2, "/dev/ttyACM0", "COM_PORT=1\r\n"));
    WriteFile(root / "ini" / "no-file", settings(8 | 4, "/tmp/x.dat", ""));
    WriteFile(root / "ini" / "lone-cr-nul", settings(1, "7", std::string("A=1\rcom_port=2\n\0junk\r\n=\r;x=y", 24)));
    WriteFile(root / "ini" / "line-break-value", settings(4, "a\r\nCOM_PORT=9", typical));

    // Typed text seeds: options byte (band limits, step, separator), then the text.
    auto typed = [](uint8_t options, const std::string& text) {
        Bytes seed{options};
        seed.insert(seed.end(), text.begin(), text.end());
        return seed;
    };
    WriteFile(root / "convert" / "vhf-frequency", typed(0, "146.52"));
    WriteFile(root / "convert" / "uhf-comma", typed(1 | 4 | 8, " 450,00625 "));
    WriteFile(root / "convert" / "whole-number", typed(0, "-2147483648"));
    WriteFile(root / "convert" / "serial", typed(0, "1B230001"));
    WriteFile(root / "convert" / "tag-utf8", typed(2, "caf\xc3\xa9 \"1\"~"));
    WriteFile(root / "convert" / "control-characters", typed(0, "165.5\b25\r\n\xc2\x85"));

    // Channel CSV seeds: options byte (band, channel step), then the text.
    const std::string ownCsv = [] {
        TCEmem emem;
        (void)NewImage(BandVhf, emem);
        return ExportChannelsCsv(emem.Channels, emem);
    }();
    WriteFile(root / "channel_csv" / "export-vhf", typed(0, ownCsv));
    WriteFile(root / "channel_csv" / "some-columns",
              typed(2, "\xEF\xBB\xBFw/n,Rx Freq,Ch,Tx CTCSS,Mode,Lv\n\"W\",162.00625,3,88.5,User,17\n5,Tx Inh\n"));
    WriteFile(root / "channel_csv" / "bad-cell", typed(1, "Ch,DCS,CTCSS\r\n1,023,88.5\r\n2,\"x\"\"\",off\r\n"));
    WriteFile(root / "channel_csv" / "foreign",
              typed(0, "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                       "RxDtcsCode,CrossMode,Mode\r\n0,A,162.550000,+,0.600000,Cross,88.5,100.0,023,RN,754,"
                       "DTCS->Tone,NFM\r\n1,B,146.520000,split,163.000000,DTCS,88.5,88.5,23,NN,023,,AM\r\n"));

    // Data file seeds: the images of "New", a short file and a cleared one.
    WriteFile(root / "datafile" / "new-vhf", NewImageBytes(BandVhf));
    WriteFile(root / "datafile" / "new-uhf", NewImageBytes(BandUhf));
    const Bytes vhf = NewImageBytes(BandVhf);
    WriteFile(root / "datafile" / "short", Bytes(vhf.begin(), vhf.begin() + 300));
    WriteFile(root / "datafile" / "reset", [] {
        const TMap54 reset;
        return Bytes(reset.Bytes().begin(), reset.Bytes().end());
    }());
    return 0;
}
