#include "model/channels/csv.h"

namespace qm54 {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

class CsvReader {
public:
    explicit CsvReader(std::string_view text) : text_(text) {}

    CsvReadResult Read()
    {
        if (text_.size() > MaxCsvBytes) {
            Fail(CsvStatus::TooLarge);
            return result_;
        }
        if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark) pos_ = kByteOrderMark.size();
        while (pos_ < text_.size() && ReadRecord()) {
        }
        return result_;
    }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return text_[pos_]; }
    static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

    // Steps over CR LF, LF or CR.
    void SkipLineEnd()
    {
        if (Peek() == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++line_;
    }

    // Records the failure; returns false for the caller to stop.
    bool Fail(CsvStatus status)
    {
        result_.Status = status;
        result_.Line = line_;
        result_.Column = static_cast<int>(fields_.size()) + 1;
        result_.Records.clear();
        return false;
    }

    bool ReadRecord()
    {
        const int startLine = line_;
        fields_.clear();
        for (;;) {
            std::string field;
            if (!ReadField(field)) return false;
            if (fields_.size() >= MaxCsvFields) return Fail(CsvStatus::TooManyFields);
            fields_.push_back(std::move(field));
            if (AtEnd()) break;
            if (IsLineEnd(Peek())) {
                SkipLineEnd();
                break;
            }
            ++pos_;  // the comma
            if (AtEnd()) {
                if (fields_.size() >= MaxCsvFields) return Fail(CsvStatus::TooManyFields);
                fields_.emplace_back();
                break;
            }
        }
        if (fields_.size() == 1 && fields_[0].empty()) return true;  // an empty line
        if (result_.Records.size() >= MaxCsvRecords) return Fail(CsvStatus::TooManyRecords);
        result_.Records.push_back({startLine, std::move(fields_)});
        return true;
    }

    // Reads up to the comma or line end after the field (not consumed).
    bool ReadField(std::string& field)
    {
        if (!AtEnd() && Peek() == '"') return ReadQuotedField(field);
        while (!AtEnd() && Peek() != ',' && !IsLineEnd(Peek())) {
            if (Peek() == '"') return Fail(CsvStatus::QuoteInField);
            field += Peek();
            ++pos_;
        }
        return true;
    }

    bool ReadQuotedField(std::string& field)
    {
        ++pos_;  // the opening quote
        const int openedOn = line_;
        for (;;) {
            if (AtEnd()) {
                line_ = openedOn;  // where the quote was opened, not the end of the text
                return Fail(CsvStatus::UnclosedQuote);
            }
            const char c = Peek();
            if (c == '"') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                    field += '"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                if (!AtEnd() && Peek() != ',' && !IsLineEnd(Peek())) return Fail(CsvStatus::TextAfterQuote);
                return true;
            }
            if (IsLineEnd(c)) {
                // A line break inside quotes is kept as LF, whatever the file's line ends.
                SkipLineEnd();
                field += '\n';
                continue;
            }
            field += c;
            ++pos_;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::vector<std::string> fields_;
    CsvReadResult result_;
};

bool NeedsQuotes(std::string_view field)
{
    if (field.empty()) return false;
    if (field.front() == ' ' || field.back() == ' ') return true;
    return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

}  // namespace

CsvReadResult ReadCsv(std::string_view text) { return CsvReader(text).Read(); }

bool IsBlankRecord(const CsvRecord& record)
{
    for (const std::string& field : record.Fields)
        if (field.find_first_not_of(' ') != std::string::npos) return false;
    return true;
}

std::string CsvStatusText(CsvStatus status)
{
    switch (status) {
    case CsvStatus::Ok: return "no error";
    case CsvStatus::UnclosedQuote: return "a quoted field is not closed";
    case CsvStatus::TextAfterQuote: return "text follows a closing quote";
    case CsvStatus::QuoteInField: return "a quote inside an unquoted field";
    case CsvStatus::TooLarge:
        return "the file is larger than " + std::to_string(MaxCsvBytes) + " bytes, more than any channel list";
    case CsvStatus::TooManyRecords: return "more than " + std::to_string(MaxCsvRecords) + " rows";
    case CsvStatus::TooManyFields: return "more than " + std::to_string(MaxCsvFields) + " fields in a row";
    }
    return "unknown error";
}

std::string CsvLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        if (!NeedsQuotes(fields[i])) {
            line += fields[i];
            continue;
        }
        line += '"';
        for (const char c : fields[i]) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    }
    line += "\r\n";
    return line;
}

}  // namespace qm54
