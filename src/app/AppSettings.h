#pragma once
// The user defaults: a handful of keys, nothing else.

#include <QSettings>

#include <memory>

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

    // $XDG_CONFIG_HOME/Mirelo/Mirelo.conf
    static std::unique_ptr<QSettings> open()
    {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Mirelo"),
                                           QStringLiteral("Mirelo"));
    }
};

} // namespace mirelo
