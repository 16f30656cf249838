#pragma once
// The user defaults: a handful of keys, nothing else.

#include <QSettings>

#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace mirelo {

struct AppSettings {
    static constexpr const char* kRecentFolders = "recentFolders";
    static constexpr const char* kBackgroundBlur = "backgroundBlur";
    static constexpr const char* kFirstLaunchDone = "mireloDefaults1";
    static constexpr const char* kAppearance = "appearance";
    static constexpr const char* kCollectionFolders = "collectionFolders";
    // A folder rename done on disk whose library rewrite is not yet saved:
    // [from, to]. Finished at the next launch if the process died meanwhile.
    static constexpr const char* kPendingFolderRename = "pendingFolderRename";

    // Each default once.
    static constexpr double kDefaultBlur = 0.1;                    // the viewer backdrop's softness, 0…1
    static constexpr int kWindowWidth = 1180, kWindowHeight = 780; // a new window's size

    // $XDG_CONFIG_HOME/Mirelo/Mirelo.conf
    static std::unique_ptr<QSettings> open()
    {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Mirelo"),
                                           QStringLiteral("Mirelo"));
    }

    // A list of folder paths under `key` (empty when missing).
    static std::vector<std::string> folders(const char* key)
    {
        std::vector<std::string> paths;
        for (const QString& entry : open()->value(key).toStringList()) paths.push_back(entry.toStdString());
        return paths;
    }
    static void setFolders(const char* key, const std::vector<std::string>& paths)
    {
        QStringList list;
        for (const std::string& path : paths) list << QString::fromStdString(path);
        open()->setValue(key, list);
    }
};

} // namespace mirelo
