// qm54: the command-line tool. One line of the table per verb; each verb lives in its own file.
#include "cli/verbs.h"

#include <cstdio>
#include <vector>

namespace qm54::cli {

namespace {

const std::vector<Verb> kVerbs = {
    // name, usage, summary, help, run
    {"new", "FILE [--band vhf|uhf]", "write the default programming to a data file",
     "Writes the programming of the window's New command to FILE (replacing it): only channel 1\n"
     "in use, the band's default frequencies and alignment values, serial number 12345678.\n"
     "  --band vhf   the VHF defaults (the default)\n"
     "  --band uhf   the UHF defaults",
     RunNew},
    {"show", "FILE", "print a data file's decoded programming as JSON",
     "Prints every setting, channel and alpha tag of FILE as JSON, keys named after the fields of\n"
     "the program's settings and channel records, in a fixed order. Each channel frequency is given\n"
     "as the grid shows it (MHz, snapped to the channel raster) and as stored (whole kHz); the two\n"
     "checksums are given as stored and as computed, with whether they match.",
     RunShow},
    {"get", "FILE [KEY...]", "print settings of a data file as their dialogs show them",
     "Prints one line per setting, \"Key: value\": every setting in the order of show when no KEY\n"
     "is given, else the KEYs given, in their order (keys as show names them). A setting that a\n"
     "settings dialog shows is given as the dialog shows it (BaseTot: 3.0 Min, Band: VHF,\n"
     "IntermediateFreq: 21.40 MHz, SerialNumber: 00000000); TxPowerType as the hardware dialog\n"
     "shows it (25 W or 50 W). Any other setting is given as stored: a number, a decimal or a\n"
     "text; an array gives one line per index, \"Key[0]: value\", \"Key[1]: value\", ...",
     RunGet},
    {"set", "FILE KEY=VALUE... [--mode normal|dealer|manufacture] [--factory-code CODE]",
     "change settings of a data file as their dialogs do",
     "Types each VALUE into the field of the settings dialog that edits KEY, or picks the entry of\n"
     "the dialog's list that VALUE names (in any letter case), and presses OK as the window would.\n"
     "The keys are those of the hardware, radio status, timer, CW ID and marketing dialogs.\n"
     "A field keeps the characters it takes, up to its length, and its rule reads, clamps and rounds\n"
     "them: BaseTot=61 gives 60.0 Min, IntermediateFreq=1.2.3 gives 0.00 MHz. The assignments to one\n"
     "dialog make one OK; the dialogs follow in the order of their first assignment; their questions\n"
     "are answered Yes. A band change brings the band's default IF (unless IntermediateFreq is\n"
     "given too) and the band's channel frequencies and alignment values; a channel step change\n"
     "moves every channel frequency onto the new raster; CwIdEnable=Disable turns CW-ID channels\n"
     "off. TxPowerType takes \"25 W\" or \"50 W\" (hardware) or Disable or Enable (radio status).\n"
     "The normal mode (the default) may set nothing, --mode dealer the dealer settings, --mode\n"
     "manufacture all of them after the factory code (--factory-code, else asked on stdin).\n"
     "A value that no list holds, a setting the mode may not set, or one that no dialog edits yet\n"
     "is refused and FILE is left as it was. Otherwise FILE is saved when anything changed, and\n"
     "each setting that changed is printed as get prints it (channels are not listed).",
     RunSet},
    {"hexdump", "FILE", "print a data file's memory image in hexadecimal",
     "Prints the 1986 bytes of FILE as the program's file data view shows them: a header of column\n"
     "numbers, then rows of the address (00000h, 00010h, ...) and sixteen lower-case bytes.",
     RunHexdump},
    {"ports", "[--check [DEV]]", "list the serial ports a repeater's cable may be on",
     "One port a line, as the configuration dialog lists them: ttyUSB, then ttyACM, then ttyS ports,\n"
     "each in numeric order, the two programming cables labelled \"(LXC-31)\" and \"(LXC-33)\".\n"
     "  --check [DEV]  why DEV (else each port listed) does or does not open: a missing device and\n"
     "                 the ports there are, the device's group and your membership, the process\n"
     "                 holding it, services known to take such adapters. Exit 1 when one does not.",
     RunPorts},
    {"upload", "--port DEV -o FILE [--trace TRACE]", "read the repeater's programming into a data file",
     "Reads the whole programming over the cable on DEV (a device path, or a name such as ttyUSB0)\n"
     "and writes it to FILE only when the read is complete. Ctrl+C cancels; FILE is then untouched.\n"
     "What was read is also kept as an automatic backup (see backups). --trace TRACE writes the\n"
     "exchange's serial trace to TRACE.",
     RunUpload},
    {"download", "FILE --port DEV [--mode normal|dealer|manufacture] [--yes] [--date YYYYMMDD]\n"
                 "          [--factory-code CODE] [--verify] [--trace TRACE]",
     "write a data file into the repeater",
     "Writes FILE into the repeater on DEV: the channels in the normal mode (the default), all areas\n"
     "in the dealer and manufacture modes. The narrow-banding check of the date (today, or --date)\n"
     "runs first; --yes answers its question, and the band question of the manufacture mode, Yes.\n"
     "The manufacture mode asks for the factory code on stdin unless --factory-code gives it.\n"
     "Ctrl+C cancels. FILE is never changed. The image as sent is kept as an automatic backup.\n"
     "  --verify       read the repeater back and compare; exit 1 when it differs or cannot be read\n"
     "  --trace TRACE  write the serial traces to TRACE: the download's, then the verify's",
     RunDownload},
    {"verify", "FILE --port DEV [--mode normal|dealer|manufacture] [--trace TRACE]",
     "compare the repeater with a data file",
     "Reads the repeater on DEV and compares it with what a download of FILE in the mode would leave\n"
     "there (the channels in the normal mode, every area in the others), naming each setting and\n"
     "channel that differs. Nothing is written to the repeater. Exit 1 when anything differs or\n"
     "the repeater cannot be read.",
     RunVerify},
    {"backups", "[--serial S]", "list the automatic backups",
     "One backup a line, newest first: serial number, date and time, direction (upload, download,\n"
     "verify), band, firmware version and the file, which opens as a data file. --serial lists only\n"
     "one repeater's. Kept in $XDG_DATA_HOME/qm54win/backups/ (default ~/.local/share/...).",
     RunBackups},
};

void PrintOverview(std::FILE* out)
{
    std::fprintf(out, "usage: qm54 VERB [ARGUMENTS]   (qm54 VERB --help for one verb)\n\nverbs:\n");
    for (const Verb& v : Verbs()) std::fprintf(out, "  %-10s %s\n", v.Name, v.Summary);
    std::fprintf(out, "\nexit status: 0 done, 1 the operation failed (message on stderr), 2 usage error\n");
}

bool AsksForHelp(const Args& args)
{
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

}  // namespace

std::span<const Verb> Verbs() { return kVerbs; }

const Verb* FindVerb(const std::string& name)
{
    for (const Verb& v : Verbs())
        if (name == v.Name) return &v;
    return nullptr;
}

}  // namespace qm54::cli

int main(int argc, char** argv)
{
    using namespace qm54::cli;
    if (argc < 2) {
        PrintOverview(stderr);
        return ExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintOverview(stdout);
        return ExitOk;
    }
    const Verb* verb = FindVerb(name);
    if (verb == nullptr) {
        std::fprintf(stderr, "qm54: unknown verb \"%s\"\n\n", name.c_str());
        PrintOverview(stderr);
        return ExitUsage;
    }
    const Args args(argv + 2, argv + argc);
    if (AsksForHelp(args)) {
        std::printf("usage: qm54 %s %s\n\n%s\n\n%s\n", verb->Name, verb->Usage, verb->Summary, verb->Help);
        return ExitOk;
    }
    return verb->Run(args);
}
