#pragma once
// Reproducible benchmark data: a library in memory and a folder tree on disk.

#include "library/MediaItem.h"

#include <QImage>

#include <string>

namespace mirelo::bench {

// `count` items under /home/user/Pictures/<year>/<event>/, mostly JPG and
// HEIC with some PNG, MOV and MP4; seeded, so every run gets the same library.
MediaItems syntheticLibrary(int count);

// Writes syntheticLibrary(count) as the library file at `path`.
void writeSyntheticLibrary(const std::string& path, int count);

// A 480 × 360 preview of colours that differ from item to item.
QImage syntheticPreview(int index);

// A tree of `files` files, about 30% media, in folders three and four deep,
// made once at `root` (kept when a complete one is already there).
void makeTree(const std::string& root, int files);
// A tree of `files` media files of 1 to 48 KB, `percent` of them copies of
// others in other folders; some of the rest share a size with a copy, or
// differ from one only in their middle or last byte.
void makeDuplicateTree(const std::string& root, int files, int percent);

// The folder holding benchmark files (TMPDIR or /tmp).
std::string scratchFolder();

} // namespace mirelo::bench
