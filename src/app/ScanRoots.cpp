#include "ScanRoots.h"

#include "files/FileUrl.h"
#include "files/UserFolders.h"

#include <QFile>

#include <algorithm>

#include <QStorageInfo>

namespace mirelo {

bool ScanRoots::isUserDrive(const std::string& mountPoint, const std::string& device)
{
    if (device.rfind("/dev/", 0) != 0 || device.rfind("/dev/loop", 0) == 0) return false;
    for (std::string_view prefix : {"/media/", "/run/media/", "/mnt/"})
        if (mountPoint.rfind(prefix, 0) == 0 && mountPoint.size() > prefix.size()) return true;
    return mountPoint == "/mnt";
}

std::vector<std::string> ScanRoots::entireComputer()
{
    std::vector<std::string> roots;
    if (const std::string home = homeFolder(); !home.empty()) roots.push_back(home);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isRoot()) continue;
        std::string mountPoint = standardisedPath(QFile::encodeName(volume.rootPath()).toStdString());
        if (!isUserDrive(mountPoint, volume.device().toStdString())) continue;
        if (std::find(roots.begin(), roots.end(), mountPoint) == roots.end()) roots.push_back(mountPoint);
    }
    return roots;
}

} // namespace mirelo
