#pragma once
// Which files are media at all (images or videos), and which are videos.

#include <array>
#include <string_view>

namespace mirelo {

class MediaFormats {
public:
    static constexpr std::array<std::string_view, 29> imageExtensions = {
        "jpg", "jpeg", "png", "heic", "heif", "svg", "gif", "webp", "tif", "tiff", "bmp", "avif", "ico", "icns", "dng",
        "cr2", "cr3",  "nef", "arw",  "orf",  "raf", "rw2", "pef",  "psd", "exr",  "hdr", "jp2",  "jxl", "pdf"};
    static constexpr std::array<std::string_view, 8> videoExtensions = {"mov", "mp4",  "m4v",  "avi",
                                                                        "mkv", "webm", "mpeg", "mpg"};

    // Is the file at this path an image or a video? Only files with the
    // extension "ts" are opened (to tell a transport stream from source code).
    static bool accepts(std::string_view path);
    static bool isVideo(std::string_view path);

    // Both answers at once for an entry of an open folder (dirfd), opening a
    // "ts" file at most once. `name` is the entry's name inside that folder.
    struct Verdict {
        bool accepted = false;
        bool video = false;
    };
    static Verdict classify(int dirfd, std::string_view name, std::string_view pathForOpen);

    // Does this content start like an MPEG transport stream (188-, 192- or
    // 204-byte packets)?
    static bool looksLikeTransportStream(std::string_view firstBytes);
};

} // namespace mirelo
