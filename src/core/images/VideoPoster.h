#pragma once
// The first frame of a video, upright (the stream's display matrix applied)
// and scaled to fit inside a square, through FFmpeg's libraries.

#include <QImage>

#include <atomic>
#include <string>

namespace mirelo {

class VideoPoster {
public:
    // A null image when no frame can be decoded, or when `cancelled` becomes
    // true (checked between packets).
    static QImage frame(const std::string& path, int maxSize, const std::atomic<bool>* cancelled = nullptr);
    // Is it a video in a self-contained local container, with a picture
    // stream? Playlists, manifests and anything that names another file or
    // an address are not. Reads the file; call it off the main thread.
    static bool playable(const std::string& path);
};

} // namespace mirelo
