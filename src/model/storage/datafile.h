// Data files: the 1986-byte memory image stored as it is, no header. "Q54" is the program's own
// extension; "RPT" files hold the same format but are written only through Save As.
#pragma once

#include "model/storage/prompter.h"

#include <string>

namespace qm54 {

class TCEmem;
class TMap54;

inline constexpr const char* FileFormatMessage = "The file cannot be opened.\r\nThe file format is not correct.";
inline constexpr const char* FileReadErrorFormat = "File read error  File Name = %s";
inline constexpr const char* FileWriteErrorFormat = "File write error  File Name = %s";

// The extension of the last name in path, with its dot ("" when it has none).
std::string FileExtension(const std::string& path);

// Whether path names an RPT file (extension exactly ".RPT" or ".rpt"), which is written only
// through Save As.
bool IsRptFile(const std::string& path);

// The name recorded in the image for path: the file's stem cut to 8 bytes at a UTF-8 character
// boundary, then the extension with its dot.
std::string StoredNameFor(const std::string& path);

// Reads path into a fresh image and TCEmem and, only when that succeeds, copies both into emem
// and map. An extension of exactly ".RPT" or ".rpt" clears saveAllowed, whatever follows.
// Failures are shown through prompter as error boxes; the live data are then unchanged.
bool LoadDataFile(const std::string& path, TCEmem& emem, TMap54& map, Prompter& prompter,
                  bool& saveAllowed);

// Records the file's name in emem, encodes emem into map (refreshing both checksums) and writes
// the image to path through a temporary file. A failure is shown through prompter; the old
// file is then whole, while emem and map hold the encoded data.
bool SaveDataFile(const std::string& path, TCEmem& emem, TMap54& map, Prompter& prompter);

}  // namespace qm54
