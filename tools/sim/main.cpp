// qm54-sim: the repeater behind its interface cable, served on a pseudo-terminal.
// The protocol lives in SimRepeater; this file is the terminal, the pacing, the log and the files.
#include "link/line_pacer.h"
#include "sim/sim_repeater.h"
#include "model/storage/atomic_file.h"
#include "model/storage/file_read.h"
#include "sim/sim_image.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int)
{
    g_stop = 1;
}

const char* const kUsage =
    "usage: qm54-sim [options]\n"
    "Serves the repeater's clone read and write on a pseudo-terminal and prints its device path.\n"
    "It also answers the alignment commands (acknowledged, logged decoded, the image unchanged)\n"
    "and the status request.\n"
    "\n"
    "  --band vhf|uhf      default image of that band (default vhf)\n"
    "  --image FILE        start from this data file (1986 bytes) instead\n"
    "  --save FILE         write the image to FILE after every completed clone write\n"
    "  --link PATH         also make PATH a symbolic link to the device\n"
    "  --baud N            pace the output at N baud, 11 bits a byte (default: no pacing)\n"
    "  --log FILE          byte transcript: 'rx' from the computer, 'tx' to it, in hex\n"
    "  --fault KIND@AREA:BLOCK   misbehave at that block (repeatable). AREA 1-5, BLOCK as the\n"
    "                      frame numbers it (areas 1 and 2: 0). KIND is one of\n"
    "        checksum, header, block, len0, len255   a read reply with a wrong sum, command\n"
    "                                                code, block number, length byte 0 or 255\n"
    "        ack        a written block acknowledged 0x06 0x06\n"
    "        silence    half the reply, then nothing but the cable's echo\n"
    "        garbage    meaningless bytes instead of the reply\n"
    "        hangup     the line goes dead instead of the reply (the simulator ends)\n"
    "        flood      an endless stream of bytes instead of the reply\n"
    "        keep       a written block acknowledged, its sixth data byte stored changed\n"
    "  --fault KIND@align  misbehave at every alignment command and status request: ack (a\n"
    "                      command acknowledged 0x06 0x06), checksum (a status reply with a wrong\n"
    "                      sum), silence, garbage, hangup, flood\n"
    "  --status VR,NSQ,RSSI  the status reply's values in hex (default 0A,7F,00)\n"
    "  --fault start       answer the start request 0x02 0x02\n"
    "  --fault flood       flood from the start request on\n"
    "\n"
    "Ends on SIGTERM or SIGINT.\n";

struct Options {
    int Band = 0;
    std::string ImageFile, SaveFile, LinkPath, LogFile;
    int Baud = 0;
    std::vector<qm54::SimFault> Faults;
    std::array<uint8_t, 3> Status{0x0A, 0x7F, 0x00};
};

// "VR,NSQ,RSSI" as three hexadecimal bytes.
bool ParseStatus(const std::string& text, std::array<uint8_t, 3>& status)
{
    unsigned vr = 0, nsq = 0, rssi = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%2x,%2x,%2x%c", &vr, &nsq, &rssi, &tail) != 3) return false;
    status = {static_cast<uint8_t>(vr), static_cast<uint8_t>(nsq), static_cast<uint8_t>(rssi)};
    return true;
}

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options o;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            std::exit(0);
        }
        if (i + 1 >= args.size()) {
            std::cerr << "qm54-sim: " << a << (a.rfind("--", 0) == 0 ? " needs a value" : ": unknown argument") << "\n";
            return std::nullopt;
        }
        const std::string& v = args[++i];
        if (a == "--band" && (v == "vhf" || v == "uhf")) {
            o.Band = v == "uhf" ? 1 : 0;
        } else if (a == "--image") {
            o.ImageFile = v;
        } else if (a == "--save") {
            o.SaveFile = v;
        } else if (a == "--link") {
            o.LinkPath = v;
        } else if (a == "--log") {
            o.LogFile = v;
        } else if (a == "--baud") {
            try {
                o.Baud = std::stoi(v);
            } catch (...) {
                o.Baud = 0;
            }
            if (o.Baud <= 0 || o.Baud > qm54::LinePacer::MaxBaud) {
                std::cerr << "qm54-sim: bad baud rate \"" << v << "\"\n";
                return std::nullopt;
            }
        } else if (a == "--status") {
            if (!ParseStatus(v, o.Status)) {
                std::cerr << "qm54-sim: bad status \"" << v << "\" (VR,NSQ,RSSI in hex)\n";
                return std::nullopt;
            }
        } else if (a == "--fault") {
            std::string error;
            std::optional<qm54::SimFault> f = qm54::ParseSimFault(v, error);
            if (!f) {
                std::cerr << "qm54-sim: " << error << "\n";
                return std::nullopt;
            }
            o.Faults.push_back(*f);
        } else {
            std::cerr << "qm54-sim: bad option " << a << " " << v << " (see --help)\n";
            return std::nullopt;
        }
    }
    return o;
}

// A data file is the bare image; anything shorter or longer is not one.
std::optional<qm54::CloneImage> LoadImage(const std::string& path, std::string& reason)
{
    qm54::ReadResult read = qm54::ReadFileHead(path, qm54::CloneImageSize + 1);
    if (!read.Ok || read.Data.size() != qm54::CloneImageSize) {
        reason = read.Ok ? "not a 1986-byte data file" : read.Reason;
        return std::nullopt;
    }
    qm54::CloneImage image;
    std::copy(read.Data.begin(), read.Data.end(), image.begin());
    return image;
}

class Transcript {
public:
    explicit Transcript(const std::string& path)
    {
        if (!path.empty()) out_.open(path, std::ios::trunc);
    }
    bool Failed(const std::string& path) const { return !path.empty() && !out_; }
    void Bytes(const char* direction, const uint8_t* data, size_t count)
    {
        if (!out_ || count == 0) return;
        out_ << direction;
        char hex[4];
        for (size_t i = 0; i < count; ++i) {
            std::snprintf(hex, sizeof hex, " %02X", data[i]);
            out_ << hex;
        }
        out_ << "\n" << std::flush;
    }
    void Note(const std::string& text)
    {
        if (out_) out_ << "# " << text << "\n" << std::flush;
    }

private:
    std::ofstream out_;
};

// The master side of the pseudo-terminal, with its slave set to a raw line once.
int OpenTerminal(std::string& slavePath)
{
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return -1;
    const char* name = ptsname(master);
    if (!name) return -1;
    slavePath = name;
    int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0) {
        termios tio{};
        if (tcgetattr(slave, &tio) == 0) {
            cfmakeraw(&tio);
            tcsetattr(slave, TCSANOW, &tio);
        }
        ::close(slave);
    }
    return master;
}

// Bytes waiting to go to the computer, released at the line rate when pacing is on.
class Output {
public:
    explicit Output(int baud) : pacer_(baud) {}
    void Add(const std::vector<uint8_t>& bytes)
    {
        pacer_.Queued(bytes.size(), Now());
        queue_.insert(queue_.end(), bytes.begin(), bytes.end());
    }
    bool Empty() const { return queue_.empty(); }
    size_t Size() const { return queue_.size(); }
    void Clear()
    {
        queue_.clear();
        pacer_.Clear();
    }
    // The time until the next byte is due (zero: now), or nothing when no byte waits.
    std::optional<std::chrono::nanoseconds> UntilDue() const
    {
        if (queue_.empty()) return std::nullopt;
        if (!pacer_.Paced()) return std::chrono::nanoseconds(0);
        return std::max(pacer_.NextDue() - Now(), std::chrono::nanoseconds(0));
    }
    // Writes what is due; false when the terminal failed.
    bool Write(int fd, Transcript& log)
    {
        const size_t due = pacer_.Due(Now());
        if (due == 0) return true;
        std::vector<uint8_t> chunk(queue_.begin(), queue_.begin() + static_cast<long>(due));
        ssize_t n = ::write(fd, chunk.data(), chunk.size());
        if (n < 0) return errno == EAGAIN || errno == EINTR;
        // Taken after the write, so that a burst counts from no earlier than its first byte left.
        pacer_.Sent(static_cast<size_t>(n), Now());
        log.Bytes("tx", chunk.data(), static_cast<size_t>(n));
        queue_.erase(queue_.begin(), queue_.begin() + n);
        return true;
    }

private:
    static std::chrono::nanoseconds Now() { return Steady::now().time_since_epoch(); }

    qm54::LinePacer pacer_;
    std::deque<uint8_t> queue_;
};

}  // namespace

int main(int argc, char** argv)
{
    std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) return 2;

    qm54::CloneImage image = qm54::sim::DefaultImage(options->Band);
    if (!options->ImageFile.empty()) {
        std::string reason;
        std::optional<qm54::CloneImage> loaded = LoadImage(options->ImageFile, reason);
        if (!loaded) {
            std::cerr << "qm54-sim: " << options->ImageFile << ": " << reason << "\n";
            return 2;
        }
        image = *loaded;
    }
    qm54::SimRepeater repeater(image);
    for (const qm54::SimFault& f : options->Faults) repeater.AddFault(f);
    repeater.SetStatus(options->Status[0], options->Status[1], options->Status[2]);

    Transcript log(options->LogFile);
    if (log.Failed(options->LogFile)) {
        std::cerr << "qm54-sim: cannot write " << options->LogFile << "\n";
        return 2;
    }

    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::string slavePath;
    int master = OpenTerminal(slavePath);
    if (master < 0) {
        std::cerr << "qm54-sim: cannot open a pseudo-terminal: " << std::strerror(errno) << "\n";
        return 1;
    }
    if (!options->LinkPath.empty()) {
        std::error_code ec;
        if (fs::is_symlink(options->LinkPath, ec)) fs::remove(options->LinkPath, ec);
        fs::create_symlink(slavePath, options->LinkPath, ec);
        if (ec) {
            std::cerr << "qm54-sim: cannot link " << options->LinkPath << ": " << ec.message() << "\n";
            ::close(master);
            return 1;
        }
    }
    std::cout << slavePath << std::endl;

    Output output(options->Baud);
    constexpr auto kFrameIdle = std::chrono::milliseconds(500);
    constexpr std::chrono::nanoseconds kIdlePoll = std::chrono::milliseconds(100);
    constexpr std::chrono::nanoseconds kFullTerminalPoll = std::chrono::milliseconds(1);
    auto lastInput = Steady::now();
    int status = 0;
    while (!g_stop) {
        if (repeater.Flooding() && output.Size() < 256) output.Add(repeater.FloodBytes(256));

        // Woken to the nanosecond when the next byte is due, so that pacing adds no delay of its
        // own; a byte already due waits for the terminal to take it, a millisecond at a time.
        pollfd p{master, POLLIN, 0};
        const std::optional<std::chrono::nanoseconds> wait = output.UntilDue();
        const bool due = wait && wait->count() == 0;
        if (due) p.events |= POLLOUT;
        const std::chrono::nanoseconds timeout = !wait ? kIdlePoll : due ? kFullTerminalPoll : *wait;
        const timespec ts{static_cast<time_t>(timeout.count() / 1'000'000'000),
                          static_cast<long>(timeout.count() % 1'000'000'000)};
        if (ppoll(&p, 1, &ts, nullptr) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (p.revents & POLLIN) {
            uint8_t buf[512];
            ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0) {
                lastInput = Steady::now();
                log.Bytes("rx", buf, static_cast<size_t>(n));
                for (ssize_t i = 0; i < n; ++i) output.Add(repeater.Feed(buf[i]));
                for (const std::string& line : repeater.TakeAlignLog()) log.Note("align " + line);
            }
        } else if (p.revents & (POLLHUP | POLLERR)) {
            // no computer on the line: a clone under way is over; look again shortly
            if (repeater.Flooding() || !output.Empty()) log.Note("line closed");
            repeater.LineClosed();
            output.Clear();
            ::usleep(20000);
            continue;
        }
        if (Steady::now() - lastInput > kFrameIdle) repeater.LineIdle();
        if (repeater.TakeCompletedWrite() && !options->SaveFile.empty()) {
            const qm54::CloneImage& image = repeater.Image();
            qm54::WriteResult saved = qm54::AtomicWriteFile(options->SaveFile, image.data(), image.size());
            if (!saved.Ok) {
                std::cerr << "qm54-sim: cannot save " << options->SaveFile << ": " << saved.Reason << "\n";
                status = 1;
            }
        }
        if (!output.Write(master, log)) break;
        if (repeater.HungUp()) {
            for (int i = 0; i < 2000 && !output.Empty() && output.Write(master, log); ++i) ::usleep(1000);
            log.Note("hang-up");
            break;
        }
    }

    ::close(master);
    if (!options->LinkPath.empty()) {
        std::error_code ec;
        if (fs::is_symlink(options->LinkPath, ec) && fs::read_symlink(options->LinkPath, ec) == slavePath)
            fs::remove(options->LinkPath, ec);
    }
    return status;
}
