#include "model/document/startup.h"

#include "model/image/convert.h"

#include <algorithm>
#include <cctype>

namespace qm54 {

FirstArgument ParseFirstArgument(const std::string& argument)
{
    std::string upper = argument;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    FirstArgument result;
    if (upper == "-D" || upper == "/D")
        result.Dealer = true;
    else if (upper == "-M" || upper == "/M")
        result.Manufacture = true;
    else if (upper.find("Q54") != std::string::npos)
        result.DataFile = argument;
    return result;
}

std::string MainCaption(const std::string& currentFile, OperatingMode mode)
{
    std::string caption = currentFile + " - QM54Win for KTD-4150 Series";
    if (mode == OperatingMode::Manufacture) caption += "(Manufacture mode)";
    return caption;
}

std::string AboutVersionLine(const std::string& fileVersion)
{
    const std::string prefix = "QM54 Ver. ";
    if (fileVersion.empty()) return prefix;
    const size_t firstDot = fileVersion.find('.');
    const std::string first = fileVersion.substr(0, firstDot);
    std::string second;
    if (firstDot != std::string::npos) second = fileVersion.substr(firstDot + 1, fileVersion.find('.', firstDot + 1) - firstDot - 1);
    const int number = IsNonNegativeInt(second) ? ToIntOr(second, 0) : 0;
    std::string digits = std::to_string(number);
    if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
    return prefix + first + "." + digits;
}

}  // namespace qm54
