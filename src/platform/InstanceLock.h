#pragma once

#include <QString>
#include <memory>

// The single-instance claim: an advisory lock (flock) on a file. The kernel lets go of it when
// the holder ends in any way, so a crashed program never leaves a claim behind, and taking it
// writes nothing that has to reach the disk.
class InstanceLock {
public:
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // The claim at `path`, or null when another holder has it or the file cannot be made. The
    // file, readable and writable by the user alone, names the holder's process for people.
    static std::unique_ptr<InstanceLock> claim(const QString& path);
    // Whether some process holds the claim at `path` now.
    static bool isHeld(const QString& path);

private:
    explicit InstanceLock(int descriptor) : m_descriptor(descriptor) {}

    int m_descriptor;
};
