// qm54 hexdump FILE: the image of a data file in the rows of the program's file data view.
#include "cli/verbs.h"
#include "model/image/hex_cells.h"
#include "model/image/map54.h"

#include <string>

namespace qm54::cli {

std::string HexdumpText(const uint8_t* image, size_t size)
{
    std::string out = "      ";
    for (int column = 0; column < HexBytesPerRow; ++column) out += ' ' + HexByteText(static_cast<uint8_t>(column));
    out += '\n';
    for (size_t row = 0; row * HexBytesPerRow < size; ++row) {
        out += HexRowAddressText(row);
        for (size_t i = row * HexBytesPerRow; i < size && i < (row + 1) * HexBytesPerRow; ++i)
            out += ' ' + HexByteText(image[i]);
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
