// The single-instance guard: an exclusive flock on QM54Win.lock in $XDG_RUNTIME_DIR (else the
// temporary folder), held for the life of the object. A second holder is refused at once.
#pragma once

#include <string>

namespace qm54 {

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this process now holds the lock on folder + "/QM54Win.lock". A lock file that
    // cannot be created at all does not stop the program (no guard is better than no program).
    bool Acquire(const std::string& folder);
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// $XDG_RUNTIME_DIR when set, else $TMPDIR, else /tmp.
std::string InstanceLockFolder();

}  // namespace qm54
