// The settings file: lines of "KEY=value ; comment". TIniData reads the entries, answers lookups
// (keys in any letter case), takes changes and writes the file back, keeping every line that is
// not an entry and the comment of each entry.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm54 {

// True when value, written as an entry's value, reads back as itself: the format has no way to
// carry ";" (a comment starts there), "=" (the value ends there), a line break, or blanks at
// either end (they are trimmed).
bool IniCanHold(std::string_view value);

class TIniData {
public:
    // Nothing is read until Load.
    explicit TIniData(std::string path);

    // Reads the file; true when at least one entry was found. A missing or unreadable file gives
    // no entries. Lone CR, LF and CR LF all end a line. A UTF-8 byte-order mark at the start is
    // skipped (and not written back). Only the first MaxReadBytes are read.
    bool Load();

    // The value as a decimal integer, or def when the key is missing or the value is not one.
    int GetInt(std::string_view key, int def) const;
    // The value, or def when the key is missing or its value is empty.
    std::string GetText(std::string_view key, const std::string& def) const;
    // Changes the entry, or appends one with the key in upper case. Always true.
    bool SetValue(std::string_view key, std::string_view value);

    // Writes the file with CR LF line ends, through a temporary file. Failures are not reported.
    void Save();

    const std::string& Path() const { return path_; }
    const std::vector<std::string>& Lines() const { return lines_; }

    // A settings file is a few hundred bytes; anything past this is junk and is neither read
    // nor written back.
    static constexpr size_t MaxReadBytes = 1 << 20;

private:
    struct Entry {
        std::string Key;                // as written in the file, or upper case when added
        std::string Value;
        std::optional<size_t> Origin;   // the line that holds the entry
    };

    const Entry* Find(std::string_view key) const;
    Entry* Find(std::string_view key);

    std::string path_;
    std::vector<std::string> lines_;
    std::vector<Entry> entries_;
};

}  // namespace qm54
