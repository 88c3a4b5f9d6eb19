// JSON in show's form applied to a programming, whatever the text. Properties: the outcome is
// Applied or the programming is exactly as it was; an applied programming holds only values its
// settings accept (every setting reads back and stores again as itself), and the split flags
// follow the frequencies of every channel.
//
// Input: the JSON text.
#include "fuzz_check.h"
#include "model/channels/channel_rules.h"
#include "model/document/json_apply.h"
#include "model/settings/settings_table.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace qm54;
    TCEmem emem;
    SetDefaults(emem);
    const TCEmem before = emem;
    const JsonApplyResult result = ApplyJson(std::string_view(reinterpret_cast<const char*>(data), size), emem);
    if (result.Outcome != JsonApplyOutcome::Applied) {
        FUZZ_CHECK(emem == before);
        FUZZ_CHECK(!result.Error.empty());
        return 0;
    }
    for (const SettingRow& row : SettingsTable()) {
        if (row.ReadOnly || row.Kind == SettingKind::ToneSetName) continue;
        for (int i = 0; i < row.Count(); ++i) {
            TCEmem copy = emem;
            FUZZ_CHECK(SetSetting(copy, row, i, GetSetting(emem, row, i)) == SetOutcome::Stored);
        }
    }
    for (int c = 0; c < TChannels::Count(); ++c) {
        TChannel ch = emem.Channels.Items(c);
        DeriveSplitFlags(ch);
        FUZZ_CHECK(ch == emem.Channels.Items(c));
    }
    return 0;
}
