// qm54 show FILE: the decoded programming of a data file as JSON: the rows of the settings table
// and of the channel field table, keys named after the fields of TCEmem and TChannel, in their
// declaration order, then both checksums.
#include "cli/verbs.h"
#include "model/channels/channel_fields.h"
#include "model/image/convert.h"
#include "model/image/emem.h"
#include "model/image/map54.h"
#include "model/settings/settings_table.h"


namespace qm54::cli {

namespace {

// A channel frequency as the grid shows it (snapped to the channel raster, five decimals) and
// as the image stores it (whole kHz).
Json FrequencyJson(const TDecimal& f, int channelStep)
{
    return Json::Object()
        .Set("MHz", SnappedFrequencyText(channelStep, f.Value()))
        .Set("kHz", f.ScaledTrunc(3));
}

// One value of a setting, as its kind is written in JSON.
Json SettingJson(const SettingValue& value)
{
    if (const auto* number = std::get_if<int32_t>(&value)) return Json::Int(*number);
    if (const auto* decimal = std::get_if<TDecimal>(&value)) return Json::Number(DecimalText(*decimal));
    return Json::Text(std::get<std::string>(value));
}

Json SettingRowJson(const TCEmem& e, const SettingRow& row)
{
    if (!row.IsArray()) return SettingJson(GetSetting(e, row));
    Json values = Json::Array();
    for (int i = 0; i < row.Count(); ++i) values.Push(SettingJson(GetSetting(e, row, i)));
    return values;
}

Json ChannelFieldJson(const TChannel& c, const ChannelFieldRow& row, int channelStep)
{
    if (const auto* number = std::get_if<ChannelIntMember>(&row.Member)) return Json::Int(c.**number);
    if (const auto* slots = std::get_if<ChannelSlotsMember>(&row.Member)) {
        Json values = Json::Array();
        for (const int32_t v : c.**slots) values.Push(Json::Int(v));
        return values;
    }
    return FrequencyJson(c.*std::get<ChannelFreqMember>(row.Member), channelStep);
}

Json ChannelJson(const TChannel& c, int channelStep)
{
    Json channel = Json::Object();
    for (const ChannelFieldRow& row : ChannelFieldTable())
        channel.Set(std::string(row.Key), ChannelFieldJson(c, row, channelStep));
    return channel;
}

Json ChecksumJson(int stored, int computed)
{
    return Json::Object().Set("Stored", stored).Set("Computed", computed).Set("Match", Json::Bool(stored == computed));
}

}  // namespace

Json ShowJson(const TCEmem& e, const TMap54& map)
{
    Json doc = Json::Object();
    for (const SettingRow& row : SettingsTable()) {
        // TCEmem holds its channels between the signalling settings and the alpha tags.
        if (row.Key == "AlphaTagCode") {
            Json channels = Json::Array();
            for (int i = 0; i < TChannels::Count(); ++i)
                channels.Push(ChannelJson(e.Channels.Items(i), e.ChannelStep));
            doc.Set("Channels", std::move(channels));
        }
        doc.Set(std::string(row.Key), SettingRowJson(e, row));
    }
    doc.Set("ChecksumA", ChecksumJson(map.Bytes()[image::ChecksumA],
                                      map.ByteSum(image::ChecksumAFirst, image::ChecksumACount)))
        .Set("ChecksumB", ChecksumJson(map.Bytes()[image::ChecksumB], map.ByteSum(0, image::ChecksumBCount)));
    return doc;
}

int RunShow(const Args& args)
{
    return PrintLoadedFile("show", args, [](const TCEmem& emem, const TMap54& map) {
        return ShowJson(emem, map).Dump();
    });
}

}  // namespace qm54::cli
