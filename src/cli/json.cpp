#include "cli/json.h"

namespace qm54::cli {

namespace {

// Length of the valid UTF-8 sequence at the start of s, or 0 when it is not one.
size_t Utf8Length(std::string_view s)
{
    const auto b = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(0);
    size_t len = 0;
    uint32_t min = 0;
    if (c >= 0xC2 && c <= 0xDF) len = 2, min = 0x80;
    else if (c >= 0xE0 && c <= 0xEF) len = 3, min = 0x800;
    else if (c >= 0xF0 && c <= 0xF4) len = 4, min = 0x10000;
    else return 0;
    if (s.size() < len) return 0;
    uint32_t cp = c & (0x7F >> len);
    for (size_t i = 1; i < len; ++i) {
        if ((b(i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

void AppendEscape(std::string& out, unsigned char c)
{
    static const char hex[] = "0123456789abcdef";
    out += "\\u00";
    out += hex[c >> 4];
    out += hex[c & 15];
}

}  // namespace

std::string JsonQuote(std::string_view text)
{
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            AppendEscape(out, c);
        } else if (c >= 0x80) {
            const size_t len = Utf8Length(text.substr(i));
            if (len == 0) {
                AppendEscape(out, c);
            } else {
                out.append(text.substr(i, len));
                i += len;
                continue;
            }
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

Json Json::Text(std::string_view text)
{
    Json j(Kind::String);
    j.scalar_ = text;
    return j;
}

Json Json::Int(int64_t value)
{
    Json j(Kind::Literal);
    j.scalar_ = std::to_string(value);
    return j;
}

Json Json::Bool(bool value)
{
    Json j(Kind::Literal);
    j.scalar_ = value ? "true" : "false";
    return j;
}

Json Json::Number(std::string text)
{
    Json j(Kind::Literal);
    j.scalar_ = std::move(text);
    return j;
}

Json& Json::Set(std::string key, Json value)
{
    members_.emplace_back(std::move(key), std::move(value));
    return *this;
}

Json& Json::Push(Json value)
{
    items_.push_back(std::move(value));
    return *this;
}

std::string Json::Dump() const
{
    std::string out;
    Write(out, 0);
    return out + "\n";
}

void Json::Write(std::string& out, int depth) const
{
    const std::string pad(2 * (depth + 1), ' ');
    const std::string closePad(2 * depth, ' ');
    switch (kind_) {
    case Kind::String:
        out += JsonQuote(scalar_);
        return;
    case Kind::Literal:
        out += scalar_;
        return;
    case Kind::Object:
        if (members_.empty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        for (size_t i = 0; i < members_.size(); ++i) {
            out += pad + JsonQuote(members_[i].first) + ": ";
            members_[i].second.Write(out, depth + 1);
            out += i + 1 < members_.size() ? ",\n" : "\n";
        }
        out += closePad + "}";
        return;
    case Kind::Array: {
        bool flat = true;
        for (const Json& item : items_) flat = flat && !item.IsContainer();
        if (flat) {
            out += "[";
            for (size_t i = 0; i < items_.size(); ++i) {
                if (i > 0) out += ", ";
                items_[i].Write(out, depth + 1);
            }
            out += "]";
            return;
        }
        out += "[\n";
        for (size_t i = 0; i < items_.size(); ++i) {
            out += pad;
            items_[i].Write(out, depth + 1);
            out += i + 1 < items_.size() ? ",\n" : "\n";
        }
        out += closePad + "]";
        return;
    }
    }
}

}  // namespace qm54::cli
