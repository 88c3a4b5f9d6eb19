#include "model/document/narrowband.h"

#include <ctime>

namespace qm54 {

namespace {

const char* const kCautionQuestion =
    "FCC Rule Caution!\r\n"
    "Your Data includes some Wide Bandwidth CHs in 150 - 174 or 421 - 470 MHz band.\r\n"
    "After Jan.1,2013, you must change their CHs to Narrow Bandwidth.\r\n"
    "Do you change their CHs to Narrow bandwidth automatically, and start Do you start downloading them?\r\n"
    "Yes : It will be change the bandwidth into Narrow and start downloading.\r\n"
    "No : It will start downloading (w/o changing the bandwidth)\r\n";

const char* const kEnforcedQuestion =
    "FCC Rule Caution!\r\n"
    "Your Data includes some Wide Bandwidth CHs in 150 - 174 or 421 - 470 MHz band.\r\n"
    "After Jan.1,2013, you must change their CHs to Narrow Bandwidth.\r\n"
    "So, the Wide bandwidth CHs in your data was changed to Narrow bandwidth automatically.\r\n"
    "Do you start downloading them?\r\n";

// Frequencies compared exactly, in units of 10^-9 MHz (the finest a TDecimal holds).
constexpr int kNanoDigits = 9;
constexpr int64_t kMHz = 1'000'000'000;

bool InNarrowbandBands(const TDecimal& freq)
{
    const int64_t f = freq.ScaledTrunc(kNanoDigits);
    return (f >= 150 * kMHz && f <= 174 * kMHz) || (f >= 421 * kMHz && f <= 470 * kMHz);
}

bool MakeAffectedNarrow(TCEmem& emem)
{
    bool changed = false;
    for (int i = 0; i < TChannels::Count(); ++i) {
        TChannel& ch = emem.Channels.Items(i);
        if (!IsNarrowbandAffected(ch)) continue;
        ch.Wide = 0;
        changed = true;
    }
    return changed;
}

}  // namespace

NarrowbandPolicy NarrowbandPolicyForDate(const std::string& yyyymmdd)
{
    if (yyyymmdd >= "20130101") return NarrowbandPolicy::Enforced;
    if (yyyymmdd >= "20110101") return NarrowbandPolicy::Caution;
    return NarrowbandPolicy::None;
}

std::string TodayDateText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16] = {};
    std::strftime(text, sizeof text, "%Y%m%d", &local);
    return text;
}

bool IsNarrowbandAffected(const TChannel& channel)
{
    return channel.Wide != 0 && (InNarrowbandBands(channel.RxFreq) || InNarrowbandBands(channel.TxFreq));
}

NarrowbandOutcome NarrowbandCheck(NarrowbandPolicy policy, TCEmem& emem, Prompter& prompter)
{
    NarrowbandOutcome outcome;
    if (policy == NarrowbandPolicy::None || emem.MarketCode != MarketUsa) return outcome;
    bool anyAffected = false;
    for (int i = 0; i < TChannels::Count(); ++i) anyAffected = anyAffected || IsNarrowbandAffected(emem.Channels.Items(i));
    if (!anyAffected) return outcome;

    const bool enforced = policy == NarrowbandPolicy::Enforced;
    const MsgResult answer = ShowMessageBox(prompter, enforced ? kEnforcedQuestion : kCautionQuestion, MsgKind::Warning,
                                            MsgButtons::YesNo);
    if (answer != MsgResult::Yes && answer != MsgResult::No) {
        // A closed box answers neither: the Download is cancelled and no channel changes.
        outcome.Download = false;
        return outcome;
    }
    const bool yes = answer == MsgResult::Yes;
    if (yes || enforced) outcome.Changed = MakeAffectedNarrow(emem);
    outcome.Download = yes || !enforced;
    return outcome;
}

}  // namespace qm54
