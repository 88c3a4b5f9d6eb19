#include "model/storage/datafile.h"

#include "model/storage/atomic_file.h"
#include "model/image/emem.h"
#include "model/storage/file_read.h"
#include "model/image/map54.h"

#include <algorithm>

namespace qm54 {

namespace {

constexpr size_t kStoredStemBytes = 8;

std::string NamePart(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithName(const char* format, const std::string& path)
{
    std::string text = format;
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, path);
    return text;
}

void ShowError(Prompter& prompter, const std::string& text, const std::string& reason)
{
    prompter.Show(text, MsgKind::Error, MsgButtons::Ok, reason);
}

bool IsRptExtension(const std::string& ext) { return ext == ".RPT" || ext == ".rpt"; }

}  // namespace

std::string FileExtension(const std::string& path)
{
    const std::string name = NamePart(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

bool IsRptFile(const std::string& path) { return IsRptExtension(FileExtension(path)); }

std::string StoredNameFor(const std::string& path)
{
    const std::string name = NamePart(path);
    const std::string ext = FileExtension(path);
    std::string stem = name.substr(0, name.size() - ext.size());
    if (stem.size() > kStoredStemBytes) {
        // Never split a character: back up to the start of the one that the cut would halve.
        size_t cut = kStoredStemBytes;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
        stem.resize(cut);
    }
    return stem + ext;
}

bool LoadDataFile(const std::string& path, TCEmem& emem, TMap54& map, Prompter& prompter,
                  bool& saveAllowed)
{
    if (IsRptFile(path)) saveAllowed = false;

    TMap54 freshMap;
    TCEmem freshEmem;
    SetDefaults(freshEmem);

    // Never more than one image is read, whatever the file's size.
    const ReadResult read = ReadFileHead(path, ImageSize);
    if (!read.Ok) {
        ShowError(prompter, WithName(FileReadErrorFormat, path), read.Reason);
        return false;
    }
    if (read.Data.size() < ImageSize) {
        ShowError(prompter, FileFormatMessage, std::string());
        return false;
    }
    std::copy(read.Data.begin(), read.Data.end(), freshMap.Bytes().begin());
    if (!freshMap.Decode(freshEmem)) {
        ShowError(prompter, WithName(FileReadErrorFormat, path), std::string());
        return false;
    }
    emem = freshEmem;
    map = freshMap;
    return true;
}

bool SaveDataFile(const std::string& path, TCEmem& emem, TMap54& map, Prompter& prompter)
{
    emem.StoredFileName = StoredNameFor(path);
    map.Encode(emem);
    const WriteResult written = AtomicWriteFile(path, map.Bytes().data(), ImageSize);
    if (!written.Ok) {
        ShowError(prompter, WithName(FileWriteErrorFormat, path), written.Reason);
        return false;
    }
    return true;
}

}  // namespace qm54
