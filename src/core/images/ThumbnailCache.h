#pragma once
// The desktop's shared thumbnail cache (the freedesktop.org Thumbnail
// Managing Standard): PNGs in $XDG_CACHE_HOME/thumbnails/{normal,large,
// x-large,xx-large}, named by the MD5 of the file's URI and valid while their
// Thumb::MTime (and Thumb::Size, when there) match the file. Thumbnails made
// by file managers and other viewers are read like Mirelo's own; files that
// can't be previewed get an entry under fail/<program>/ so they are not tried
// again until they change. Safe to call from any thread.

#include <QImage>

#include <map>
#include <optional>
#include <string>

namespace mirelo {

class ThumbnailCache {
public:
    // `root`: the thumbnails folder; `program`: our folder under fail/
    // ("mirelo-0.1").
    ThumbnailCache(std::string root, std::string program);
    // $XDG_CACHE_HOME/thumbnails (~/.cache/thumbnails), or empty without a home.
    static std::string defaultRoot();

    // The entry's file name for `path`: the MD5 of its file URI, in hex, ".png".
    static std::string entryName(const std::string& path);
    // The folder of the smallest size holding `pixels` on the longer side,
    // and that size (128, 256, 512 or 1024).
    static const char* folderFor(int pixels);
    static int standardSize(int pixels);

    // A valid thumbnail of the file, `pixels` on its longer side (scaled
    // down when the entry is larger) unless the picture itself is smaller;
    // null when there is none. Entries larger than their folder's size are
    // refused unread.
    QImage find(const std::string& path, int pixels) const;
    // The file couldn't be previewed when it last looked as it does now.
    bool failedBefore(const std::string& path) const;
    // Writes `image` as the file's thumbnail in the folder of the standard
    // size holding `pixels`, scaled down to that size, atomically, readable
    // by the user alone, with the picture's own size when given. False when
    // it couldn't.
    bool store(const std::string& path, const QImage& image, int pixels, QSize original = {}) const;
    bool storeFailure(const std::string& path) const;
    // The picture and the texts of an entry's bytes, as every entry is read:
    // nothing when they are no PNG or larger than `largest` on a side.
    struct Entry {
        QImage image;
        std::map<std::string, std::string> texts;
    };
    static std::optional<Entry> parse(const QByteArray& png, int largest);

    // The file went away: its entries go too.
    void forget(const std::string& path) const;
    // The file was renamed, moved to the Trash or restored to `to`: its
    // entries follow.
    void move(const std::string& from, const std::string& to) const;

private:
    bool write(const std::string& folder, const std::string& path, const QImage& image, QSize original) const;
    std::string root_;
    std::string program_;
};

} // namespace mirelo
