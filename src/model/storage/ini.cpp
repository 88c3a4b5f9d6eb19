#include "model/storage/ini.h"

#include "model/storage/atomic_file.h"
#include "model/image/convert.h"
#include "model/storage/file_read.h"

#include <sys/stat.h>

#include <utility>

namespace qm54 {

namespace {

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

struct ParsedEntry {
    std::string Key;
    std::string Value;
};

// The entry a line holds: everything from the first ";" is a comment; the rest, trimmed, is an
// entry when it is not empty and holds "="; text after a second "=" is dropped.
std::optional<ParsedEntry> ParseLine(std::string_view line)
{
    const std::string_view body = Trim(line.substr(0, line.find(';')));
    const auto eq = body.find('=');
    if (body.empty() || eq == std::string_view::npos) return std::nullopt;
    const std::string_view rest = body.substr(eq + 1);
    return ParsedEntry{std::string(Trim(body.substr(0, eq))), std::string(Trim(rest.substr(0, rest.find('='))))};
}

// The comment of a line: between its first ";" and the next one, trimmed.
std::string_view CommentOf(std::string_view line)
{
    const auto semi = line.find(';');
    if (semi == std::string_view::npos) return {};
    const std::string_view rest = line.substr(semi + 1);
    return Trim(rest.substr(0, rest.find(';')));
}

bool SameKey(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && ToUpperAscii(a) == ToUpperAscii(b);
}

// A value set by the program may hold line breaks (a file name can); written as they are, they
// would split the line and plant new entries in the file.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

// Editors on some systems start a UTF-8 text with this mark; it is no part of the first line.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view WithoutUtf8Mark(std::string_view text)
{
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
    return text;
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

bool IniCanHold(std::string_view value)
{
    return Trim(value).size() == value.size() && value.find_first_of(";=\r\n") == std::string_view::npos;
}

TIniData::TIniData(std::string path) : path_(std::move(path)) {}

bool TIniData::Load()
{
    lines_.clear();
    entries_.clear();
    const ReadResult read = ReadFileHead(path_, MaxReadBytes);
    if (!read.Ok) return false;
    lines_ = SplitLines(WithoutUtf8Mark(read.Data));
    for (size_t n = 0; n < lines_.size(); ++n) {
        if (auto entry = ParseLine(lines_[n]))
            entries_.push_back({std::move(entry->Key), std::move(entry->Value), n});
    }
    return !entries_.empty();
}

const TIniData::Entry* TIniData::Find(std::string_view key) const
{
    for (const Entry& e : entries_)
        if (SameKey(e.Key, key)) return &e;
    return nullptr;
}

TIniData::Entry* TIniData::Find(std::string_view key)
{
    return const_cast<Entry*>(std::as_const(*this).Find(key));
}

int TIniData::GetInt(std::string_view key, int def) const
{
    const Entry* e = Find(key);
    return e ? ToIntOr(e->Value, def) : def;
}

std::string TIniData::GetText(std::string_view key, const std::string& def) const
{
    const Entry* e = Find(key);
    return (e && !e->Value.empty()) ? e->Value : def;
}

bool TIniData::SetValue(std::string_view key, std::string_view value)
{
    if (Entry* e = Find(key)) e->Value = std::string(value);
    else entries_.push_back({ToUpperAscii(key), std::string(value), std::nullopt});
    return true;
}

void TIniData::Save()
{
    if (FileExists(path_)) {
        for (Entry& e : entries_) {
            const std::string text = OneLine(e.Key + "=" + e.Value);
            if (e.Origin && *e.Origin < lines_.size()) {
                lines_[*e.Origin] = text + ";" + std::string(CommentOf(lines_[*e.Origin]));
            } else {
                // The new line becomes the entry's own, so that a second save in the same run
                // rewrites it instead of appending it again.
                lines_.push_back(text);
                e.Origin = lines_.size() - 1;
            }
        }
    } else {
        lines_.clear();
        for (Entry& e : entries_) {
            lines_.push_back(OneLine(e.Key + "=" + e.Value));
            e.Origin = lines_.size() - 1;
        }
    }
    std::string text;
    for (const std::string& line : lines_) text += line + "\r\n";
    AtomicWriteFile(path_, text);  // a settings file that cannot be written is not reported
}

}  // namespace qm54
