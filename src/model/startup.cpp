#include "model/startup.h"

#include <algorithm>
#include <cctype>
#include <ctime>

namespace qm54 {

FirstArgument ParseFirstArgument(const std::string& argument)
{
    std::string upper = argument;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    FirstArgument result;
    if (upper == "-D" || upper == "/D")
        result.dealer = true;
    else if (upper == "-M" || upper == "/M")
        result.manufacture = true;
    else if (upper.find("Q54") != std::string::npos)
        result.dataFile = argument;
    return result;
}

NarrowbandPolicy NarrowbandPolicyFor(const std::string& yyyymmdd)
{
    if (yyyymmdd >= "20130101") return NarrowbandPolicy::Enforced;
    if (yyyymmdd >= "20110101") return NarrowbandPolicy::Caution;
    return NarrowbandPolicy::None;
}

std::string TodayYyyymmdd()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char text[16] = {};
    std::strftime(text, sizeof text, "%Y%m%d", &local);
    return text;
}

std::string MainCaption(const std::string& currentFile, OperatingMode mode)
{
    std::string caption = currentFile + " - QM54Win for KTD-4150 Series";
    if (mode == OperatingMode::Manufacture) caption += "(Manufacture mode)";
    return caption;
}

}  // namespace qm54
