// Test helper. "loop PATH N" saves two alternating snapshots of N items
// forever; "once PATH N" saves one and exits 0, or prints the error and exits 3.

#include "files/LibraryError.h"
#include "library/LibraryFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace mirelo;

static LibrarySnapshot snapshotWith(int count, const std::string& tag)
{
    LibrarySnapshot snapshot;
    snapshot.search = tag;
    for (int i = 0; i < count; ++i)
        snapshot.items.append(
            MediaItem("/photos/" + tag + "/IMG_" + std::to_string(i) + ".JPG", 1000 + i, 700000000.25 + i, i % 7 == 0));
    return snapshot;
}

int main(int argc, char** argv)
{
    if (argc != 4) return 64;
    std::string mode = argv[1], path = argv[2];
    int count = std::atoi(argv[3]);
    try {
        if (mode == "once") {
            LibraryFile::write(path, snapshotWith(count, "once"));
            return 0;
        }
        LibrarySnapshot a = snapshotWith(count, "a"), b = snapshotWith(count + 1, "b");
        for (unsigned long i = 0;; ++i) LibraryFile::write(path, i % 2 ? b : a);
    } catch (const LibraryError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 3;
    }
}
