#include "cli/set_alignment.h"

#include "model/settings/dialog_rows.h"
#include "model/settings/service_fields.h"

#include <algorithm>
#include <charconv>

namespace qm54::cli {

namespace {

// The setting of key when an adjustment dialog edits it.
std::optional<std::string_view> ServiceKey(std::string_view key)
{
    for (std::span<const std::string_view> keys :
         {std::span<const std::string_view>(RxAdjustKeys), std::span<const std::string_view>(TxAdjustKeys),
          std::span<const std::string_view>(TxPowerKeys)}) {
        const auto found = std::find(keys.begin(), keys.end(), key);
        if (found != keys.end()) return *found;
    }
    return std::nullopt;
}

bool IsPointFrequency(std::string_view key) { return key == "RxAdjustFreq" || key == "TxAdjustFreq"; }

std::string IndexedName(std::string_view key, int index)
{
    return std::string(key) + "[" + std::to_string(index) + "]";
}

std::string Shown(const TCEmem& emem, std::string_view key, int index)
{
    return ServiceFieldText(emem, key, index);
}

}  // namespace

std::optional<ServiceAssignment> ReadServiceAssignment(const Assignment& assignment, std::string& error)
{
    const std::string& name = assignment.Key;
    const size_t open = name.find('[');
    const std::optional<std::string_view> key = ServiceKey(std::string_view(name).substr(0, open));
    if (!key) return std::nullopt;
    const SettingRow* row = FindSetting(*key);
    if (row == nullptr) return std::nullopt;
    ServiceAssignment out{*key, 0, name, TypedIntoField(ServiceRule(*key), assignment.Value),
                          name + "=" + assignment.Value, std::nullopt};
    if (!row->IsArray()) {
        if (open != std::string::npos) error = std::string(*key) + " takes no index";
        return error.empty() ? std::optional(out) : std::nullopt;
    }
    const char* first = name.data() + (open == std::string::npos ? name.size() : open + 1);
    const char* last = name.data() + name.size() - 1;
    const auto [end, ec] = std::from_chars(first, last, out.Index);
    if (open == std::string::npos || name.back() != ']' || ec != std::errc() || end != last || out.Index < 0 ||
        out.Index >= row->Count()) {
        error = std::string(*key) + " needs an index 0 to " + std::to_string(row->Count() - 1) + ", as " +
                IndexedName(*key, 0);
        return std::nullopt;
    }
    return out;
}

std::optional<std::string> ServiceRefusal(const std::vector<ServiceAssignment>& assignments, OperatingMode mode)
{
    for (const ServiceAssignment& a : assignments) {
        const bool factory = a.Key == "TxPowerDisplayHigh" || a.Key == "TxPowerDisplayLow";
        if (factory && mode != OperatingMode::Manufacture)
            return a.Name + " can be set in the Manufacture mode only";
        if (mode == OperatingMode::Normal) return a.Name + " can be set in the Dealer and Manufacture modes only";
    }
    return std::nullopt;
}

std::optional<std::string> ApplyServiceAssignments(const std::vector<ServiceAssignment>& assignments, TCEmem& emem,
                                                   std::vector<std::string>& notes)
{
    for (const ServiceAssignment& a : assignments) {
        if (IsPointFrequency(a.Key)) {
            std::array<double, AlignmentPointCount> points{};
            for (int p = 0; p < AlignmentPointCount; ++p) points[size_t(p)] = PointFrequencyOf(Shown(emem, a.Key, p));
            const double value = PointFrequencyOf(a.Typed);
            if (!FitsPointOrder(points, a.Index, value)) {
                std::string why = a.Name + " = " + CommitField(PointFrequencyRule, a.Typed) + " must lie";
                if (a.Index > 0)
                    why += " above " + IndexedName(a.Key, a.Index - 1) + " (" + Shown(emem, a.Key, a.Index - 1) + ")";
                if (a.Index > 0 && a.Index < AlignmentPointCount - 1) why += " and";
                if (a.Index < AlignmentPointCount - 1)
                    why += " below " + IndexedName(a.Key, a.Index + 1) + " (" + Shown(emem, a.Key, a.Index + 1) + ")";
                return why;
            }
        }
        StoreServiceField(emem, a.Key, a.Index, a.Typed);
        if (a.Read)
            if (std::string note = AdjustmentNote(ServiceRule(a.Key), a.Argument, *a.Read, Shown(emem, a.Key, a.Index));
                !note.empty())
                notes.push_back(std::move(note));
    }
    return std::nullopt;
}

}  // namespace qm54::cli
