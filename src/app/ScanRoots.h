#pragma once
// The folders "Scan Entire Computer" walks.

#include <string>
#include <vector>

namespace mirelo {

struct ScanRoots {
    // The home folder, then every mounted extra or external drive: a real
    // block device, ready, mounted below /media, /run/media or /mnt. The
    // root file system and system mounts are reached through the home
    // folder only.
    static std::vector<std::string> entireComputer();
    // Is a volume mounted at `mountPoint` from `device` one a user would call a drive?
    static bool isUserDrive(const std::string& mountPoint, const std::string& device);
};

} // namespace mirelo
