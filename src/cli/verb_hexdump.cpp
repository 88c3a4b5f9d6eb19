// qm54 hexdump FILE: the image of a data file in the rows of the program's file data view.
#include "cli/verbs.h"
#include "model/map54.h"

#include <cstdio>
#include <string>

namespace qm54::cli {

std::string HexdumpText(const uint8_t* image, size_t size)
{
    static const char hex[] = "0123456789abcdef";
    std::string out = "      ";
    for (int column = 0; column < 16; ++column) {
        out += ' ';
        out += hex[column / 16];
        out += hex[column % 16];
    }
    out += '\n';
    for (size_t row = 0; row * 16 < size; ++row) {
        char address[16];
        std::snprintf(address, sizeof address, "%.4zx0h", row);
        out += address;
        for (size_t i = row * 16; i < size && i < row * 16 + 16; ++i) {
            out += ' ';
            out += hex[image[i] >> 4];
            out += hex[image[i] & 15];
        }
        out += '\n';
    }
    return out;
}

int RunHexdump(const Args& args)
{
    return PrintLoadedFile("hexdump", args, [](const TCEmem&, const TMap54& map) {
        return HexdumpText(map.Bytes().data(), map.Bytes().size());
    });
}

}  // namespace qm54::cli
