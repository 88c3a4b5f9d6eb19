#include "link/port_discovery.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>

namespace qm54 {

namespace fs = std::filesystem;

namespace {

enum class PortKind { UsbSerial, Acm, Uart };

struct Prefix {
    const char* Text;
    PortKind Kind;
};
// Listed in this order, each kind sorted by number.
constexpr Prefix kPrefixes[] = {{"ttyUSB", PortKind::UsbSerial}, {"ttyACM", PortKind::Acm}, {"ttyS", PortKind::Uart}};

// Serial drivers of mobile-broadband modems, by the names the kernel registers them under (the
// driver link of a port names one of these); their ports carry AT commands, not a cable.
constexpr const char* kModemDrivers[] = {"option1", "qcserial", "sierra"};

constexpr const char* kLabelGap = "   ";

struct Port {
    PortKind Kind;
    unsigned Number;
    std::string Entry;
};

// The number after the prefix: plain decimal digits, no leading zero, no overflow.
std::optional<unsigned> PortNumber(const std::string& name, size_t prefixLength)
{
    const char* first = name.data() + prefixLength;
    const char* last = name.data() + name.size();
    if (first == last || (*first == '0' && last - first > 1)) return std::nullopt;
    unsigned n = 0;
    auto [end, ec] = std::from_chars(first, last, n);
    if (ec != std::errc() || end != last) return std::nullopt;
    return n;
}

// The first line of a small sysfs attribute, empty when it cannot be read.
std::string ReadAttribute(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    return line;
}

bool ContainsNoCase(std::string text, const std::string& lowerWord)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find(lowerWord) != std::string::npos;
}

std::string DriverName(const fs::path& device)
{
    std::error_code ec;
    fs::path target = fs::read_symlink(device / "driver", ec);
    return ec ? std::string() : target.filename().string();
}

// A ttyS port is real when its UART type is a number other than 0 (no UART).
bool HasUart(const fs::path& ttyDir)
{
    std::string type = ReadAttribute(ttyDir / "type");
    int value = 0;
    auto [end, ec] = std::from_chars(type.data(), type.data() + type.size(), value);
    return ec == std::errc() && end == type.data() + type.size() && value != 0;
}

// The label of a USB port, nullopt for a modem or a port whose device cannot be resolved.
// A usb-serial port's device sits below its USB interface; a CDC ACM port's device is the interface.
std::optional<std::string> UsbLabel(const fs::path& ttyDir, PortKind kind)
{
    std::error_code ec;
    fs::path device = fs::canonical(ttyDir / "device", ec);
    if (ec) return std::nullopt;
    std::string driver = DriverName(device);
    if (std::find(std::begin(kModemDrivers), std::end(kModemDrivers), driver) != std::end(kModemDrivers))
        return std::nullopt;

    fs::path interface = kind == PortKind::Acm ? device : device.parent_path();
    std::string interfaceName = ReadAttribute(interface / "interface");
    std::string product = ReadAttribute(interface.parent_path() / "product");
    if (ContainsNoCase(interfaceName, "modem") || ContainsNoCase(product, "modem")) return std::nullopt;

    if (kind == PortKind::Acm) return std::string(kLabelGap) + "(LXC-31)";
    if (driver == "ftdi_sio" && product.find("LXC-33") != std::string::npos)
        return std::string(kLabelGap) + "(LXC-33)";
    return std::string();
}

std::optional<Port> Examine(const fs::path& ttyDir)
{
    const std::string name = ttyDir.filename().string();
    for (const Prefix& prefix : kPrefixes) {
        const std::string text = prefix.Text;
        if (name.compare(0, text.size(), text) != 0) continue;
        std::optional<unsigned> number = PortNumber(name, text.size());
        if (!number) return std::nullopt;
        if (prefix.Kind == PortKind::Uart) {
            if (!HasUart(ttyDir)) return std::nullopt;
            return Port{prefix.Kind, *number, name};
        }
        std::optional<std::string> label = UsbLabel(ttyDir, prefix.Kind);
        if (!label) return std::nullopt;
        return Port{prefix.Kind, *number, name + *label};
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> ListComPorts(const std::string& sysfsRoot)
{
    std::vector<Port> ports;
    std::error_code ec;
    fs::directory_iterator it(fs::path(sysfsRoot) / "class" / "tty", ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (std::optional<Port> port = Examine(it->path())) ports.push_back(std::move(*port));
    }
    std::sort(ports.begin(), ports.end(), [](const Port& a, const Port& b) {
        return a.Kind != b.Kind ? a.Kind < b.Kind : a.Number < b.Number;
    });
    std::vector<std::string> entries;
    for (Port& p : ports) entries.push_back(std::move(p.Entry));
    return entries;
}

std::string PortNameOfEntry(const std::string& entry)
{
    return entry.substr(0, entry.find(kLabelGap));
}

std::string PortDevicePath(const std::string& name)
{
    if (name.empty() || name.find('/') != std::string::npos) return name;
    return "/dev/" + name;
}

}  // namespace qm54
