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
     "shows it (25 W or 50 W); the alpha tags as their grid shows them (AlphaTagCode[0]: ----).\n"
     "Any other setting is given as stored: a number, a decimal or a text; an array gives one line\n"
     "per index, \"Key[0]: value\", \"Key[1]: value\", ...; KEY[i] gives one of them. DTMF and\n"
     "FiveTone give the signalling lists (off, RX Enable, TX Enable, RX/TX Enable).",
     RunGet},
    {"set", "FILE KEY=VALUE... [--mode normal|dealer|manufacture] [--factory-code CODE]",
     "change settings of a data file as their dialogs do",
     "Types each VALUE into the field of the settings dialog that edits KEY, or picks the entry of\n"
     "the dialog's list that VALUE names (in any letter case), and presses OK as the window would.\n"
     "The keys are those of the hardware, radio status, timer, CW ID, marketing, signalling type,\n"
     "ANI, ENI and 5-tone table dialogs, and the alpha tags: DTMF and FiveTone take a signalling\n"
     "list's entry (choosing one turns the other off), DtmfRx, DtmfTx, FiveToneRx and FiveToneTx\n"
     "0 or 1, FiveToneTable[i] a frequency, FiveToneSet a tone set's name (its sixteen values\n"
     "loaded), AlphaTagCode[i] and AlphaTagText[i] what the alpha-tag editor takes (a duplicate\n"
     "number is refused; the table is sorted at the end as the dialog's OK sorts it).\n"
     "A field keeps the characters it takes, up to its length, and its rule reads, clamps and rounds\n"
     "them: BaseTot=61 gives 60.0 Min, IntermediateFreq=1.2.3 gives 0.00 MHz. The assignments to one\n"
     "dialog make one OK; the dialogs follow in the order of their first assignment; their questions\n"
     "are answered Yes. A band change brings the band's default IF (unless IntermediateFreq is\n"
     "given too) and the band's channel frequencies and alignment values; a channel step change\n"
     "moves every channel frequency onto the new raster; CwIdEnable=Disable turns CW-ID channels\n"
     "off. TxPowerType takes \"25 W\" or \"50 W\" (hardware) or Disable or Enable (radio status).\n"
     "The normal mode (the default) may set nothing, --mode dealer the dealer settings, --mode\n"
     "manufacture all of them after the factory code (--factory-code, else asked on stdin).\n"
     "A value that no list holds, a setting the mode may not set, a field the dialog greys out\n"
     "(FiveToneMarkTime while DTMF and 5-Tone are off), or a setting no dialog edits yet\n"
     "is refused and FILE is left as it was. Otherwise FILE is saved when anything changed, and\n"
     "each setting that changed is printed as get prints it (channels are not listed).",
     RunSet},
    {"channels", "FILE --export OUT.csv | --import IN.csv", "export or import the channels as CSV",
     "--export writes the 16 channels of FILE to OUT.csv (\"-\" for stdout): a header row, then one\n"
     "row per channel, columns headed as the grid's (Ch, In Use, Rx Freq, CTCSS, DCS, W/N, Clk Sft,\n"
     "Mode, Lv, ..., Tx Freq, Tx CTCSS, Tx DCS, ..., RPT GT) and holding its cell texts.\n"
     "--import reads IN.csv into FILE: columns by header name in any order (letter case aside), a\n"
     "column left out keeps its values, rows name their channel in Ch (else rows 1, 2, ... are\n"
     "channels 1, 2, ...); every cell is checked as the grid takes it and written through the\n"
     "grid's rules (a new Rx Freq brings Tx Freq and Clk Sft along unless they are given too; \"Tx Inh\"\n"
     "inhibits the transmit). Quoted fields, a UTF-8 byte-order mark and CR LF or LF are read alike.\n"
     "Any error is printed with its line, column and text, and FILE is left as it was.\n"
     "A channel file of the common open-source programming tool (header with Location, Frequency,\n"
     "Duplex, Offset, Tone, rToneFreq, cToneFreq, DtcsCode, Mode, ...) is read too: its first 16\n"
     "rows become channels 1 to 16 (frequency, duplex and offset give Rx and Tx Freq, the tone mode\n"
     "the CTCSS or DCS of both sides, FM wide and NFM narrow); what has no place here is listed.",
     RunChannels},
    {"hexdump", "FILE", "print a data file's memory image in hexadecimal",
     "Prints the 1986 bytes of FILE as the program's file data view shows them: a header of column\n"
     "numbers, then rows of the address (00000h, 00010h, ...) and sixteen lower-case bytes.",
     RunHexdump},
    {"ports", "", "list the serial ports a repeater's cable may be on",
     "One port a line, as the configuration dialog lists them: ttyUSB, then ttyACM, then ttyS ports,\n"
     "each in numeric order, the two programming cables labelled \"(LXC-31)\" and \"(LXC-33)\".",
     RunPorts},
    {"upload", "--port DEV -o FILE", "read the repeater's programming into a data file",
     "Reads the whole programming over the cable on DEV (a device path, or a name such as ttyUSB0)\n"
     "and writes it to FILE only when the read is complete. Ctrl+C cancels; FILE is then untouched.",
     RunUpload},
    {"download", "FILE --port DEV [--mode normal|dealer|manufacture] [--yes] [--date YYYYMMDD]\n"
                 "          [--factory-code CODE]",
     "write a data file into the repeater",
     "Writes FILE into the repeater on DEV: the channels in the normal mode (the default), all areas\n"
     "in the dealer and manufacture modes. The narrow-banding check of the date (today, or --date)\n"
     "runs first; --yes answers its question, and the band question of the manufacture mode, Yes.\n"
     "The manufacture mode asks for the factory code on stdin unless --factory-code gives it.\n"
     "Ctrl+C cancels. FILE is never changed.",
     RunDownload},
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
