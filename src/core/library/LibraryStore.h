#pragma once
// Owns the library file. Every read and write runs on one serial worker
// thread, so writes never interleave and a read never sees half a file.

#include "files/LibraryError.h"
#include "library/LibrarySnapshot.h"
#include "work/SerialQueue.h"

#include <functional>
#include <optional>
#include <string>

namespace mirelo {

class LibraryStore {
public:
    static constexpr const char* kQueueLabel = "Driftglass.library-store";

    // Touches no file.
    explicit LibraryStore(std::string path);
    const std::string& path() const { return path_; }

    // "<data folder>/com.tessel.local.viewer/library.json".
    static std::string defaultPath();

    // Blocks until read; nothing when no file exists. Throws LibraryError.
    std::optional<LibrarySnapshot> load();
    // Returns at once; the completion runs on the store's thread, with the
    // error when the write failed.
    void save(LibrarySnapshot snapshot, std::function<void(const LibraryError*)> completion = {});
    // Writes after every queued save and waits; throws LibraryError.
    void flush(const LibrarySnapshot& snapshot);

private:
    std::string path_;
    SerialQueue queue_;
};

} // namespace mirelo
