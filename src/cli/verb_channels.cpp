// qm54 channels: the 16 channels of a data file to and from CSV, as File > Export Channels and
// Import Channels do in the window.
#include "cli/cli_prompter.h"
#include "cli/verbs.h"
#include "model/storage/atomic_file.h"
#include "model/channels/channel_csv.h"
#include "model/channels/csv.h"
#include "model/storage/datafile.h"
#include "model/image/emem.h"
#include "model/storage/file_read.h"
#include "model/image/map54.h"

#include <cstdio>

namespace qm54::cli {

namespace {

int Failed(const std::string& why)
{
    std::fprintf(stderr, "qm54 channels: %s\n", why.c_str());
    return ExitFailed;
}

int Export(const TCEmem& emem, const std::string& out)
{
    const std::string csv = ExportChannelsCsv(emem.Channels, emem);
    if (out == "-") return WriteOutput("channels", csv);
    const WriteResult written = AtomicWriteFile(FullPath(out), csv);
    if (!written.Ok) return Failed(out + ": " + written.Reason);
    return ExitOk;
}

std::string ImportSummary(const ChannelImport& result, const std::string& in)
{
    std::string text = in + ": " + std::to_string(result.RowsImported) + " channel row(s) imported" +
                       (result.Kind == ChannelCsvKind::Foreign ? " from a foreign channel file" : "") + "\n";
    for (const CsvNote& note : result.Report) text += "  note: " + NoteText(note) + "\n";
    return text;
}

// target: where the result is stored (FILE, or --output's file, which is written in any case).
int Import(const std::string& file, const std::string& target, TCEmem& emem, TMap54& map, const std::string& in)
{
    const ReadResult read = ReadFileHead(FullPath(in), MaxCsvBytes + 1);
    if (!read.Ok) return Failed(in + ": " + read.Reason + "; nothing was imported");
    const ChannelImport result = ImportChannelsCsv(read.Data, emem.Channels, emem);
    if (result.Outcome == ImportOutcome::Refused) {
        for (const CsvNote& error : result.Errors) std::fprintf(stderr, "qm54 channels: %s: %s\n", in.c_str(), NoteText(error).c_str());
        return Failed("nothing was imported");
    }
    if (!(result.Channels == emem.Channels) || target != file) {
        emem.Channels = result.Channels;
        CliPrompter prompter;
        if (!SaveDataFile(FullPath(target), emem, map, prompter)) return ExitFailed;
    }
    return WriteOutput("channels", ImportSummary(result, in));
}

}  // namespace

int RunChannels(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {{"--export", true}, {"--import", true}, {"--output", true}}, parsed, error))
        return UsageError("channels", error);
    if (parsed.Positional.size() != 1) return UsageError("channels", "give exactly one FILE");
    const std::string out = parsed.Value("--export", "");
    const std::string in = parsed.Value("--import", "");
    if (out.empty() == in.empty()) return UsageError("channels", "give either --export OUT.csv or --import IN.csv");
    if (!out.empty() && parsed.Values.count("--output")) return UsageError("channels", "--output goes with --import");

    TCEmem emem;
    TMap54 map;
    const std::string& file = parsed.Positional[0];
    const std::optional<std::string> target = out.empty() ? ResultFile("channels", file, parsed) : file;
    if (!target) return ExitFailed;
    if (!LoadToolFile(file, emem, map)) return ExitFailed;
    return out.empty() ? Import(file, *target, emem, map, in) : Export(emem, out);
}

}  // namespace qm54::cli
