#include "LibraryStore.h"

#include "LibraryFile.h"

#include <QDir>
#include <QStandardPaths>

#include <sys/stat.h>

#include <cerrno>

namespace mirelo {

LibraryStore::LibraryStore(std::string path) : path_(std::move(path)), queue_(kQueueLabel) {}

std::string LibraryStore::defaultPath()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    return (base + QStringLiteral("/com.tessel.local.viewer/library.json")).toStdString();
}

std::optional<LibrarySnapshot> LibraryStore::load()
{
    std::optional<LibrarySnapshot> result;
    queue_.sync([&] {
        struct stat attributes {};
        if (::stat(path_.c_str(), &attributes) != 0 && errno == ENOENT) return;
        result = LibraryFile::read(path_);
    });
    return result;
}

void LibraryStore::save(LibrarySnapshot snapshot, std::function<void(const LibraryError*)> completion)
{
    queue_.async([this, snapshot = std::move(snapshot), completion = std::move(completion)] {
        try {
            LibraryFile::write(path_, snapshot);
        } catch (const LibraryError& error) {
            if (completion) completion(&error);
            return;
        }
        if (completion) completion(nullptr);
    });
}

void LibraryStore::flush(const LibrarySnapshot& snapshot)
{
    queue_.sync([&] { LibraryFile::write(path_, snapshot); });
}

} // namespace mirelo
