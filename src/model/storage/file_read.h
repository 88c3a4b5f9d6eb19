// Reads the start of a file with a bound on the bytes taken, whatever size the file claims.
#pragma once

#include <cstddef>
#include <string>

namespace qm54 {

struct ReadResult {
    bool Ok = false;
    std::string Data;    // the bytes read, at most the requested count
    std::string Reason;  // the system's reason for a failure (strerror), empty on success
};

// Up to maxBytes from the start of the regular file at path. A directory, a device or a pipe is
// refused; a file shorter than maxBytes gives what it holds.
ReadResult ReadFileHead(const std::string& path, size_t maxBytes);

// Whether path names an existing regular file (following links).
bool IsRegularFile(const std::string& path);

}  // namespace qm54
