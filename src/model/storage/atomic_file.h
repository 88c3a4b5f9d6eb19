// Writes a whole file so that a reader never sees it half written: the bytes go to a new
// temporary file in the same folder, are flushed to the disk, and the temporary file is renamed
// over the old one. A save that fails or is interrupted at any point leaves the old file whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace qm54 {

struct WriteResult {
    bool Ok = false;
    std::string Reason;  // the system's reason for a failure (strerror), empty on success
};

// The points between the steps of AtomicWriteFile, in order.
enum class AtomicWriteStep {
    TempCreated,   // the temporary file exists, nothing written yet
    TempWritten,   // all bytes written, not yet flushed
    TempSynced,    // flushed and closed, not yet renamed
    Renamed,       // the new file is in place
};

// Test seam: when set, called at each step (for example to end the process there).
// Pass an empty function to remove it.
void SetAtomicWriteHook(std::function<void(AtomicWriteStep)> hook);

// Replaces the file at path by data. An existing file keeps its permission bits; one that may
// not be written (read-only, a directory) is refused just as opening it for writing would be.
// A symbolic link at path is followed: the file it names is replaced, the link stays.
WriteResult AtomicWriteFile(const std::string& path, const uint8_t* data, size_t size);
WriteResult AtomicWriteFile(const std::string& path, const std::string& data);

}  // namespace qm54
