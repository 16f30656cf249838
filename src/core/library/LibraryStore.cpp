#include "library/LibraryStore.h"

#include "library/LibraryFile.h"

#include "files/UserFolders.h"

#include <sys/stat.h>

#include <cerrno>

namespace mirelo {

LibraryStore::LibraryStore(std::string path) : path_(std::move(path)), queue_(kQueueLabel) {}

std::string LibraryStore::defaultPath()
{
    const std::string base = dataHome();
    // Without any home folder there is nowhere of the user's own: keep the
    // path absolute all the same, so the working folder never matters.
    return (base.empty() ? std::string("/tmp") : base) + "/com.tessel.local.viewer/library.json";
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
