#include "link/trace.h"

#include "model/storage/atomic_file.h"
#include "model/storage/program_folder.h"

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace qm54 {

namespace {

namespace fs = std::filesystem;

constexpr char kHex[] = "0123456789ABCDEF";
constexpr const char* kTracePrefix = "trace-";
constexpr const char* kTraceSuffix = ".txt";

std::string HexBytes(std::span<const uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size() * 3);
    for (uint8_t b : bytes) {
        if (!text.empty()) text += ' ';
        text += kHex[b >> 4];
        text += kHex[b & 0x0F];
    }
    return text;
}

const char* MarkName(TraceMark mark)
{
    switch (mark) {
    case TraceMark::Timeout: return "timeout";
    case TraceMark::Nak: return "NAK";
    case TraceMark::Cancel: return "cancel";
    }
    return "?";
}

bool IsTraceName(const std::string& name)
{
    return name.size() > 10 && name.rfind(kTracePrefix, 0) == 0 &&
           name.compare(name.size() - 4, 4, kTraceSuffix) == 0;
}

// The trace files of folder, oldest first (their names sort as their times).
std::vector<std::string> TraceNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsTraceName(name) && it->is_regular_file(ec)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TraceRecorder::TraceRecorder(Clock& clock, const std::string& heading)
    : clock_(clock), start_(clock.NowMs()), text_("# " + heading + "\n")
{
}

int64_t TraceRecorder::Elapsed() const { return clock_.NowMs() - start_; }

void TraceRecorder::Line(int64_t at, const char* tag, const std::string& rest)
{
    char head[32];
    std::snprintf(head, sizeof head, "%8" PRId64 " %s ", at, tag);
    text_ += head;
    text_ += rest;
    text_ += '\n';
}

void TraceRecorder::FlushReceived()
{
    if (pendingRx_.empty()) return;
    Line(pendingRxAt_, "rx", HexBytes(pendingRx_));
    pendingRx_.clear();
}

void TraceRecorder::Sent(std::span<const uint8_t> bytes)
{
    FlushReceived();
    Line(Elapsed(), "tx", HexBytes(bytes));
}

void TraceRecorder::Received(std::span<const uint8_t> bytes)
{
    if (bytes.empty()) return;
    if (pendingRx_.empty()) pendingRxAt_ = Elapsed();
    pendingRx_.insert(pendingRx_.end(), bytes.begin(), bytes.end());
}

void TraceRecorder::Mark(TraceMark mark)
{
    FlushReceived();
    Line(Elapsed(), "--", MarkName(mark));
}

void TraceRecorder::Result(const std::string& result)
{
    FlushReceived();
    Line(Elapsed(), "==", "result: " + result);
}

std::string TraceRecorder::Text() const
{
    if (pendingRx_.empty()) return text_;
    TraceRecorder copy = *this;
    copy.FlushReceived();
    return copy.text_;
}

int TracingPort::Send(const uint8_t* data, size_t count)
{
    trace_.Sent(std::span<const uint8_t>(data, count));
    return port_.Send(data, count);
}

int TracingPort::ReadAvail(size_t max, uint8_t* buffer, size_t& got)
{
    const int result = port_.ReadAvail(max, buffer, got);
    if (result == 0 && got > 0) trace_.Received(std::span<const uint8_t>(buffer, std::min(got, max)));
    return result;
}

const char* ResultName(CloneResult result)
{
    switch (result) {
    case CloneResult::Ok: return "Ok";
    case CloneResult::Failed: return "Failed";
    case CloneResult::Timeout: return "Timeout";
    case CloneResult::BadChecksum: return "BadChecksum";
    case CloneResult::BadData: return "BadData";
    case CloneResult::BadHeader: return "BadHeader";
    case CloneResult::BandRefused: return "BandRefused";
    case CloneResult::Cancelled: return "Cancelled";
    }
    return "?";
}

std::string StoreTrace(const std::string& folder, const std::string& stamp, const std::string& kind,
                       const std::string& text, std::string& reason, size_t keep)
{
    std::string cleanKind;
    for (char c : kind.substr(0, 32))
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-') cleanKind += c;
    std::string cleanStamp;
    for (char c : stamp.substr(0, 32))
        if ((c >= '0' && c <= '9') || c == '-') cleanStamp += c;
    if (!MakeFolders(folder)) {
        reason = "cannot create " + folder;
        return {};
    }
    const std::string base = folder + (folder.empty() || folder.back() == '/' ? "" : "/");
    // Several traces in one second are told apart, in order, by a sequence number.
    const std::string sameSecond = kTracePrefix + cleanStamp + "-";
    std::vector<std::string> names = TraceNames(base);
    int last = 0;  // the highest sequence number of the second so far
    for (const std::string& n : names) {
        if (n.rfind(sameSecond, 0) != 0) continue;
        int seq = 0;
        const char* first = n.data() + sameSecond.size();
        std::from_chars(first, n.data() + n.size(), seq);
        last = std::max(last, seq);
    }
    char number[16];
    std::snprintf(number, sizeof number, "%03d", last + 1);
    const std::string path = base + sameSecond + number + "-" + cleanKind + kTraceSuffix;
    const WriteResult written = AtomicWriteFile(path, text);
    if (!written.Ok) {
        reason = written.Reason;
        return {};
    }
    names = TraceNames(base);
    // The oldest go; the one just written stays whatever its name.
    const std::string newName = sameSecond + number + "-" + cleanKind + kTraceSuffix;
    size_t excess = names.size() > keep ? names.size() - keep : 0;
    for (size_t i = 0; i < names.size() && excess > 0; ++i) {
        if (names[i] == newName) continue;
        std::error_code ec;
        fs::remove(base + names[i], ec);
        --excess;
    }
    return path;
}

std::string NewestTrace(const std::string& folder)
{
    const std::vector<std::string> names = TraceNames(folder);
    if (names.empty()) return {};
    return folder + (folder.back() == '/' ? "" : "/") + names.back();
}

}  // namespace qm54
