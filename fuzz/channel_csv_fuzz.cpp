// The channel CSV import. Properties: whatever the text, the channels are either imported whole
// with every value in range (frequencies of the channels that changed within the band, choices
// within their lists, tones within their tables, the level within 0..255, channel 1 in use) or
// left exactly as they were; an imported result exports and imports again unchanged.
//
// Input: an options byte (bit 0 the UHF band, bit 1 the second channel step), then the CSV text.
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "new_image.h"

#include "model/channels/channel_csv.h"
#include "model/channels/grid_columns.h"
#include "model/image/tables.h"

#include <string>

namespace {

using namespace qm54;

int OptionCount(int list)
{
    int count = 0;
    while (!OptionName(list, count).empty()) ++count;
    return count;
}

bool ToneInRange(int32_t dcs, int32_t tone)
{
    return (dcs == 0 || dcs == 1) && tone >= 0 && tone < (dcs != 0 ? DcsCount : CtcssCount);
}

bool Within(const TDecimal& f, const TDecimal& low, const TDecimal& high)
{
    return f.Value() >= low.Value() - 1e-6 && f.Value() <= high.Value() + 1e-6;
}

void CheckInRange(const TChannel& ch, const TChannel& before, int index, const TCEmem& emem)
{
    for (int c = GridCol::RxFreq; c < GridColumnCount; ++c)
        if (const ChannelField field = ColumnAt(c).Field)
            FUZZ_CHECK(ch.*field >= 0 && ch.*field < OptionCount(ColumnAt(c).Parameter));
    FUZZ_CHECK(ToneInRange(ch.GetDecodeDcs(0), ch.GetDecodeTone(0)));
    FUZZ_CHECK(ToneInRange(ch.GetEncodeDcs(0), ch.GetEncodeTone(0)));
    FUZZ_CHECK(ch.NsqLevel >= 0 && ch.NsqLevel <= 255);
    FUZZ_CHECK(ch.InUse == 0 || ch.InUse == 1);
    if (index == 0) FUZZ_CHECK(ch.InUse == 1);
    if (!(ch.RxFreq == before.RxFreq))
        FUZZ_CHECK(Within(ch.RxFreq, emem.GetRxAdjustFreq(0), emem.GetRxAdjustFreq(3)));
    if (!(ch.TxFreq == before.TxFreq) && !(ch.TxFreq == ch.RxFreq))
        FUZZ_CHECK(Within(ch.TxFreq, emem.GetTxAdjustFreq(0), emem.GetTxAdjustFreq(3)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qm54fuzz::FuzzInput input(data, size);
    const uint8_t options = input.Byte();
    TCEmem emem;
    (void)qm54fuzz::NewImage((options & 1) != 0 ? BandUhf : BandVhf, emem);
    emem.ChannelStep = (options & 2) != 0 ? 1 : 0;
    const auto rest = input.Take(size);
    const std::string text(rest.begin(), rest.end());

    const ChannelImport result = ImportChannelsCsv(text, emem.Channels, emem);
    if (result.Outcome == ImportOutcome::Refused) {
        FUZZ_CHECK(!result.Errors.empty());
        FUZZ_CHECK(result.Channels == emem.Channels);
        return 0;
    }
    FUZZ_CHECK(result.Errors.empty());
    for (int i = 0; i < ChannelCount; ++i)
        CheckInRange(result.Channels.Items(i), emem.Channels.Items(i), i, emem);

    const ChannelImport again = ImportChannelsCsv(ExportChannelsCsv(result.Channels, emem), result.Channels, emem);
    FUZZ_CHECK(again.Outcome == ImportOutcome::Imported);
    FUZZ_CHECK(again.Channels == result.Channels);
    return 0;
}
