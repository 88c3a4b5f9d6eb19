// qm54 diff A B: every setting in which two data files differ, as the dialogs and the grid show
// it, then the bytes no setting holds; exit 0 when equal, 1 when not, 2 when a file does not load
// or the list cannot be written (as diff(1) does).
#include "cli/verbs.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/document/programming_diff.h"

namespace qm54::cli {

int RunDiff(const Args& args)
{
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(args, {}, parsed, error)) return UsageError("diff", error);
    if (parsed.Positional.size() != 2) return UsageError("diff", "give two data files A and B");
    TCEmem a, b;
    TMap54 mapA, mapB;
    constexpr int kTrouble = 2;
    if (!LoadToolFile(parsed.Positional[0], a, mapA) || !LoadToolFile(parsed.Positional[1], b, mapB)) return kTrouble;
    std::string text;
    const std::vector<Difference> differences = DiffProgrammings(a, mapA, b, mapB);
    for (const Difference& difference : differences) text += DifferenceLine(difference) + "\n";
    if (WriteOutput("diff", text) != ExitOk) return kTrouble;
    return differences.empty() ? ExitOk : ExitFailed;
}

}  // namespace qm54::cli
