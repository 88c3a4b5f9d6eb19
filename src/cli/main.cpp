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
     "shows it (25 W or 50 W); the alpha tags as their grid shows them (AlphaTagCode[0]: ----);\n"
     "the alignment values as their adjustment dialogs show them (RxAdjustFreq[0]: 150.0).\n"
     "Any other setting is given as stored: a number, a decimal or a text; an array gives one line\n"
     "per index, \"Key[0]: value\", \"Key[1]: value\", ...; KEY[i] gives one of them. DTMF and\n"
     "FiveTone give the signalling lists (off, RX Enable, TX Enable, RX/TX Enable).",
     RunGet},
    {"set", "FILE KEY=VALUE... [--mode normal|dealer|manufacture] [--factory-code CODE] [--as-typed]\n"
            "          [--output NEW.Q54]",
     "change settings of a data file as their dialogs do",
     "Types each VALUE into the field of the settings dialog that edits KEY, or picks the entry of\n"
     "the dialog's list that VALUE names (in any letter case), and presses OK as the window would.\n"
     "The keys are those of the hardware, radio status, timer, CW ID, marketing, signalling type,\n"
     "ANI, ENI and 5-tone table dialogs, and the alpha tags: DTMF and FiveTone take a signalling\n"
     "list's entry (choosing one turns the other off), DtmfRx, DtmfTx, FiveToneRx and FiveToneTx\n"
     "0 or 1, FiveToneTable[i] a frequency, FiveToneSet a tone set's name (its sixteen values\n"
     "loaded), AlphaTagCode[i] and AlphaTagText[i] what the alpha-tag editor takes (a duplicate\n"
     "number is refused; the table is sorted at the end as the dialog's OK sorts it).\n"
     "A value must read as a value of its field: BaseTot=abc, BaseTot=1e1, IntermediateFreq=1.2.3, an\n"
     "empty number or a serial number that is not valid is refused, naming what the field takes. The\n"
     "field's unit may follow the number (BaseTot=2.5 Min). A value that the field then clamps or\n"
     "rounds is stored and named on stderr (\"BaseTot=61: stored as 60.0 Min, the largest\").\n"
     "  --as-typed   each VALUE is typed exactly as into the dialog: the field keeps the characters\n"
     "               it takes, up to its length, and its rule reads them (unreadable text gives 0 or\n"
     "               the field's fallback): BaseTot=abc gives 0.0 Min, IntermediateFreq=1.2.3 0.00 MHz\n"
     "The assignments to one dialog make one OK; the dialogs follow in the order of their first\n"
     "assignment; their questions are answered Yes (the band question at each pick of another band).\n"
     "A band change brings the band's default IF (unless IntermediateFreq is given too) and the\n"
     "band's channel frequencies and alignment values; a channel step change\n"
     "moves every channel frequency onto the new raster; CwIdEnable=Disable turns CW-ID channels\n"
     "off. TxPowerType takes \"25 W\" or \"50 W\" (hardware) or Disable or Enable (radio status).\n"
     "The alignment values of the Rx, Tx and Tx power adjustment dialogs are set with their index\n"
     "(RxAdjustFreq[1]=150.5, TxPowerAdjust[15]=-3; SqlHysteresis without one), in the order given;\n"
     "a frequency that is not strictly between its neighbouring points is refused, naming them.\n"
     "The normal mode (the default) may set nothing, --mode dealer the dealer settings, --mode\n"
     "manufacture all of them after the factory code (--factory-code, else asked on stdin).\n"
     "A value that no list holds, a setting the mode may not set, a field the dialog greys out\n"
     "(FiveToneMarkTime while DTMF and 5-Tone are off), or a setting no dialog edits yet\n"
     "is refused and FILE is left as it was. Otherwise FILE is saved when anything changed, and\n"
     "each stored value that changed is printed as get prints it, with both stored values when it\n"
     "shows alike (\"MarketCode: EXP (stored 0, was 7)\"; channels are not listed).\n"
     "  --output NEW.Q54  the result is written to NEW.Q54 and FILE is left as it was; an RPT file\n"
     "                    is never rewritten in place (the window stores RPT data only with Save As)",
     RunSet},
    {"apply", "FILE JSON [--output NEW.Q54]", "write the values of a JSON text in show's form into a data file",
     "Reads JSON (a file, or - for standard input) in the form show prints, any subset of its keys,\n"
     "and writes those values into FILE. Each value is checked against its setting's kind and\n"
     "stored range (get and the dialogs show the same ranges); an error names the JSON path, the\n"
     "value and what is allowed, and nothing is written. A key given twice is refused. Band, when\n"
     "it changes the band, is applied first as the hardware dialog's OK applies it (the band's IF,\n"
     "alignment and channel frequencies), then every other key over it. Channels are given as\n"
     "show lists them (\"Number\" picks the channel, else its place in the list); a frequency takes\n"
     "\"kHz\" or \"MHz\" (both only when they name one frequency) and must lie within the band,\n"
     "unless the channel already holds it; CloseSplit and TxAboveRx are worked out again from the\n"
     "frequencies. Read-only keys (ModelName, FirmwareVersion, the checksums) are ignored with a\n"
     "note on stderr. FiveToneSet loads a tone set, unless FiveToneTable is given too, whose set it\n"
     "must then name.\n"
     "  --output NEW.Q54  the result is written to NEW.Q54, FILE is left as it was (an RPT file is\n"
     "                    never rewritten in place)\n"
     "  qm54 show a.q54 > a.json && qm54 new b.q54 && qm54 apply b.q54 a.json",
     RunApply},
    {"diff", "A B", "list the settings in which two data files differ",
     "Lists every setting that differs between data files A and B, named as show names it, with\n"
     "both values as the dialogs and the channel grid show them: the common settings, then channel\n"
     "by channel, then the alpha tags, then any differing bytes that no setting holds, by offset\n"
     "(differing bytes with only such bytes between them make one line with their count).\n"
     "Exit status 0 when the two are equal, 1 when they differ, 2 when a file does not load.",
     RunDiff},
    {"channels", "FILE --export OUT.csv | --import IN.csv [--output NEW.Q54]", "export or import the channels as CSV",
     "--export writes the 16 channels of FILE to OUT.csv (\"-\" for stdout): a header row, then one\n"
     "row per channel, columns headed as the grid's (Ch, In Use, Rx Freq, CTCSS, DCS, W/N, Clk Sft,\n"
     "Mode, Lv, ..., Tx Freq, Tx CTCSS, Tx DCS, ..., RPT GT) and holding its cell texts.\n"
     "--import reads IN.csv into FILE: columns by header name in any order (letter case aside), a\n"
     "column left out keeps its values, rows name their channel in Ch (else rows 1, 2, ... are\n"
     "channels 1, 2, ...); every cell is checked as the grid takes it (a frequency within the band\n"
     "and on the channel raster; a cell as the channel already holds it is no change) and written\n"
     "through the grid's rules (a new Rx Freq brings Tx Freq and Clk Sft along unless they are given\n"
     "too; \"Tx Inh\" inhibits the transmit). Quoted fields, a UTF-8 byte-order mark and CR LF or LF\n"
     "are read alike.\n"
     "Any error is printed with its line, column and text, and FILE is left as it was.\n"
     "A channel file of the common open-source programming tool (header with Location, Frequency,\n"
     "Duplex, Offset, Tone, rToneFreq, cToneFreq, DtcsCode, Mode, ...) is read too: its first 16\n"
     "rows become channels 1 to 16 (frequency, duplex and offset give Rx and Tx Freq, the tone mode\n"
     "the CTCSS or DCS of both sides, FM wide and NFM narrow); what has no place here is listed,\n"
     "and a row whose receive or transmit frequency does not fit leaves its channel as it was.\n"
     "  --output NEW.Q54  the import is written to NEW.Q54, FILE is left as it was (an RPT file is\n"
     "                    never rewritten in place)",
     RunChannels},
    {"hexdump", "FILE", "print a data file's memory image in hexadecimal",
     "Prints the 1986 bytes of FILE as the program's file data view shows them: a header of column\n"
     "numbers, then rows of the address (00000h, 00010h, ...) and sixteen lower-case bytes.",
     RunHexdump},
    {"ports", "[--check [DEV|URL]]", "list the serial ports a repeater's cable may be on",
     "One port a line, as the configuration dialog lists them: ttyUSB, then ttyACM, then ttyS ports,\n"
     "each in numeric order, the two programming cables labelled \"(LXC-31)\" and \"(LXC-33)\".\n"
     "  --check [DEV]  why DEV (else each port listed) does or does not open: a missing device and\n"
     "                 the ports there are, the device's group and your membership, the process\n"
     "                 holding it, services known to take such adapters. Exit 1 when one does not.\n"
     "  --check URL    connects to a network port (rfc2217://HOST:PORT or tcp://HOST:PORT) as an\n"
     "                 exchange would and says what stands in the way: a name that does not\n"
     "                 resolve, nothing listening, no answer within 5 s, a server that does not\n"
     "                 speak RFC 2217, or one that closes the connection.",
     RunPorts},
    {"upload", "--port DEV -o FILE [--trace TRACE]", "read the repeater's programming into a data file",
     "Reads the whole programming over the cable on DEV (a device path, or a name such as ttyUSB0,\n"
     "or a network port at the repeater's site: rfc2217://HOST:PORT or tcp://HOST:PORT)\n"
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
    {"align", "FILE --point lowest|low|high|highest --port DEV --mode manufacture [--factory-code CODE]\n"
              "          [--station base|repeater] [--power high|low] [--width wide|narrow]\n"
              "          [--encoder off|ctcss:TONE|dcs:CODE] [--save [--output NEW.Q54]] STEP...",
     "run a scripted alignment session against the repeater",
     "Enters the alignment mode of one frequency point with FILE's values, runs the steps in order and\n"
     "leaves the alignment mode (also after a failure or Ctrl+C). The point, the mode and the\n"
     "conditions' words are taken in any letter case. Steps:\n"
     "  rx-on rx-off tx-on tx-off     the switch commands of the base station (--station base)\n"
     "  trx-on trx-off                the switch commands of the repeater (--station repeater)\n"
     "  status                        reads VR, NSQ and RSSI (\"VR 0A NSQ 7F RSSI 00\")\n"
     "  wait:MS                       waits MS milliseconds\n"
     "  FIELD=VALUE                   a field of the alignment window, typed as there and sent with\n"
     "                                the next switch command: RxAdjustFreq, SqlThreshold, RxTuning,\n"
     "                                TxAdjustFreq, TxPowerHigh, TxPowerLow, MaxDevWide, MaxDevNarrow,\n"
     "                                CtcssDevWide, CtcssDevNarrow, DcsDevWide, DcsDevNarrow,\n"
     "                                SqlNarrowOffset, SqlHysteresis; a field the window greys out\n"
     "                                under the conditions is refused with the reason (TxPowerLow\n"
     "                                with --power high, DcsDevWide with the encoder off)\n"
     "Each step prints one line. --save writes the committed values to FILE at the end (with\n"
     "--output NEW.Q54 to NEW.Q54 instead; an RPT file is never rewritten in place); without it\n"
     "FILE is left as it was. The factory code is read from stdin unless --factory-code gives it.\n"
     "Exit 1 when the exchange breaks (with the program's message), when interrupted, or when FILE\n"
     "cannot be written.",
     RunAlign},
    {"report", "FILE [--pdf OUT | --text] [--paper a4|letter] [--date YYYY-MM-DD]",
     "write a data file's printed report as a PDF, or print it as text",
     "Lays FILE out as the window prints it: three pages of common data, tables and channel data,\n"
     "the first headed by FILE's name and every page by the date (today, or --date), and writes\n"
     "them as a PDF with searchable text beside FILE (its name with the extension .pdf), replacing it.\n"
     "  --pdf OUT     the PDF is written to OUT instead\n"
     "  --text        each page's lines from line 0 to its last line on stdout, a line holding\n"
     "                exactly what is drawn there (an empty line where nothing is), a line of a\n"
     "                form feed between pages\n"
     "  --paper a4|letter   the paper of the PDF (a4 unless given)",
     RunReport},
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
    std::fprintf(out, "\nDEV, the repeater's line: a serial device (ttyUSB0, /dev/ttyUSB0), or a network port at the\n"
                      "repeater's site: rfc2217://HOST:PORT (telnet with RFC 2217; the line is set from here) or\n"
                      "tcp://HOST:PORT (raw bytes; the line is set at the server). HOST is a name, an IPv4\n"
                      "address or a bracketed IPv6 address.\n");
    std::fprintf(out, "\nexit status: 0 done, 1 the operation failed (message on stderr), 2 usage error\n"
                      "(diff: 0 equal, 1 different, 2 a file could not be read)\n");
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
