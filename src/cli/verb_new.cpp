// qm54 new FILE [--band vhf|uhf]: the "New" command's programming written to a data file.
#include "cli/cli.h"
#include "cli/cli_prompter.h"
#include "cli/verbs.h"
#include "model/storage/datafile.h"
#include "model/settings/dialog_behaviour.h"
#include "model/image/emem.h"
#include "model/image/map54.h"

namespace qm54::cli {

int RunNew(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {{"--band", true}}, parsed, error)) return UsageError("new", error);
    if (parsed.Positional.size() != 1) return UsageError("new", "give exactly one FILE");
    const std::string band = parsed.Value("--band", "vhf");
    if (band != "vhf" && band != "uhf") return UsageError("new", "--band is vhf or uhf, not \"" + band + "\"");

    // As the window's "New": a reset image decoded, so that every field the defaults do not
    // name is zero or empty, then the defaults.
    TMap54 map;
    TCEmem emem;
    map.Reset();
    map.Decode(emem);
    SetDefaults(emem);
    if (band == "uhf") {
        // As the hardware settings change the band: the band bit and the band's IF go with the
        // band's frequencies, so that the file does not claim VHF for a UHF programming.
        emem.Band = BandUhf;
        emem.IntermediateFreq = BandDefaultIf(BandUhf);
        ApplyBandDefaults(emem, BandUhf);
    }

    CliPrompter prompter;
    return SaveDataFile(FullPath(parsed.Positional[0]), emem, map, prompter) ? ExitOk : ExitFailed;
}

}  // namespace qm54::cli
