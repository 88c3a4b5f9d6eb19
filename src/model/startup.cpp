#include "model/startup.h"

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
        result.dealer = true;
    else if (upper == "-M" || upper == "/M")
        result.manufacture = true;
    else if (upper.find("Q54") != std::string::npos)
        result.dataFile = argument;
    return result;
}

std::string MainCaption(const std::string& currentFile, OperatingMode mode)
{
    std::string caption = currentFile + " - QM54Win for KTD-4150 Series";
    if (mode == OperatingMode::Manufacture) caption += "(Manufacture mode)";
    return caption;
}

}  // namespace qm54
