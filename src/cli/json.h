// A small JSON value that keeps its members in the order they were added, and its text form.
// Arrays of plain values are written on one line, everything else one member a line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm54::cli {

class Json {
public:
    static Json Object() { return Json(Kind::Object); }
    static Json Array() { return Json(Kind::Array); }
    static Json Text(std::string_view text);
    static Json Int(int64_t value);
    static Json Bool(bool value);
    // A number given as its JSON text, for example "161.5".
    static Json Number(std::string text);

    // Adds a member to an object; returns *this so that calls chain.
    Json& Set(std::string key, Json value);
    Json& Set(std::string key, int64_t value) { return Set(std::move(key), Int(value)); }
    Json& Set(std::string key, std::string_view value) { return Set(std::move(key), Text(value)); }
    Json& Set(std::string key, const char* value) { return Set(std::move(key), Text(value)); }
    // Adds an element to an array.
    Json& Push(Json value);

    // The text, indented by two blanks a level, ending in a line break.
    std::string Dump() const;

private:
    enum class Kind { Object, Array, String, Literal };
    explicit Json(Kind kind) : kind_(kind) {}
    bool IsContainer() const { return kind_ == Kind::Object || kind_ == Kind::Array; }
    void Write(std::string& out, int depth) const;

    Kind kind_;
    std::string scalar_;  // a String's text, or a Literal's JSON text
    std::vector<std::pair<std::string, Json>> members_;
    std::vector<Json> items_;
};

// text as a quoted JSON string. Bytes that are not valid UTF-8 are written as \u00XX.
std::string JsonQuote(std::string_view text);

}  // namespace qm54::cli
