#include "images/ThumbnailCache.h"

#include "files/FileUrl.h"
#include "files/RegularFile.h"
#include "files/UserFolders.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <random>

namespace mirelo {

namespace {

struct Bucket {
    const char* folder;
    int pixels;
};
constexpr Bucket kBuckets[] = {{"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}};

// What a thumbnail must say about the file it stands for.
struct Stamp {
    std::string uri;
    long long mtime = 0;
    long long size = 0;
};

bool stampOf(const std::string& path, Stamp& stamp)
{
    struct stat attributes {};
    if (::stat(path.c_str(), &attributes) != 0 || !S_ISREG(attributes.st_mode)) return false;
    stamp.uri = fileUrlString(path);
    stamp.mtime = attributes.st_mtim.tv_sec;
    stamp.size = attributes.st_size;
    return true;
}

bool makeFolder(const std::string& folder)
{
    // The cache is the user's alone.
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// The text chunks before the image data: the standard's keys hold colons,
// which Qt's reader takes apart, so they are read here.
std::map<std::string, std::string> pngTexts(const QByteArray& png)
{
    std::map<std::string, std::string> texts;
    if (!png.startsWith("\x89PNG\r\n\x1a\n")) return texts;
    qsizetype at = 8;
    while (at + 12 <= png.size()) {
        const auto byte = [&](qsizetype i) { return uint32_t(uint8_t(png[i])); };
        const uint32_t length = byte(at) << 24 | byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3);
        const QByteArray type = png.mid(at + 4, 4);
        if (type == "IDAT" || length > uint32_t(png.size() - at - 12)) break;
        const QByteArray body = png.mid(at + 8, qsizetype(length));
        const qsizetype zero = body.indexOf('\0');
        if (zero > 0 && type == "tEXt") {
            texts[body.left(zero).toStdString()] = body.mid(zero + 1).toStdString();
        } else if (zero > 0 && type == "iTXt" && zero + 2 < body.size() && body[zero + 1] == '\0') {
            // Uncompressed international text: skip the language and the translated keyword.
            const qsizetype language = body.indexOf('\0', zero + 3);
            const qsizetype translated = language < 0 ? -1 : body.indexOf('\0', language + 1);
            if (translated > 0) texts[body.left(zero).toStdString()] = body.mid(translated + 1).toStdString();
        }
        at += 12 + qsizetype(length);
    }
    return texts;
}

// The bytes of the entry at `file`: only a regular file, and no larger than
// a thumbnail can be; empty otherwise.
QByteArray readEntry(const std::string& file)
{
    constexpr qint64 kLargest = 32 << 20;
    const int fd = RegularFile::open(file);
    if (fd < 0) return {};
    QFile device;
    if (!device.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    return device.size() > kLargest ? QByteArray() : device.readAll();
}

std::string textOf(const std::map<std::string, std::string>& texts, const char* key)
{
    const auto found = texts.find(key);
    return found == texts.end() ? std::string() : found->second;
}

// The entry's texts say it was made from the file as it is now.
bool standsFor(const std::map<std::string, std::string>& texts, const Stamp& stamp)
{
    if (textOf(texts, "Thumb::URI") != stamp.uri || textOf(texts, "Thumb::MTime") != std::to_string(stamp.mtime))
        return false;
    const std::string size = textOf(texts, "Thumb::Size");
    return size.empty() || size == std::to_string(stamp.size);
}

// The entry at `file` when it stands for `stamp` and is at least `pixels`
// on its longer side (smaller serves only a picture that is itself smaller).
QImage readValid(const std::string& file, const Stamp& stamp, int pixels)
{
    const QByteArray png = readEntry(file);
    const std::map<std::string, std::string> texts = pngTexts(png);
    if (png.isEmpty() || !standsFor(texts, stamp)) return {};
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize dimensions = reader.size();
    if (!dimensions.isValid() || dimensions.width() > 4096 || dimensions.height() > 4096) return {};
    const int longer = std::max(dimensions.width(), dimensions.height());
    const std::string original = textOf(texts, "Thumb::Image::Width");
    if (longer < pixels && (original.empty() || std::atoi(original.c_str()) > longer)) return {};
    return reader.read();
}

// PNG's CRC-32 over a chunk's type and data.
uint32_t chunkCrc(const char* data, size_t size)
{
    static const auto table = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ uint8_t(data[i])) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendBigEndian(QByteArray& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.append(char((value >> shift) & 0xFF));
}

// The standard's keys ("Thumb::URI") hold colons, which Qt's writer takes
// apart: the text chunks go in by hand, right after the header chunk.
QByteArray withTexts(const QByteArray& png, const std::vector<std::pair<std::string, std::string>>& texts)
{
    constexpr qsizetype kAfterHeader = 8 + 4 + 4 + 13 + 4; // signature, IHDR
    if (png.size() < kAfterHeader) return {};
    QByteArray chunks;
    for (const auto& [key, value] : texts) {
        QByteArray body = QByteArrayLiteral("tEXt");
        body.append(key.data(), qsizetype(key.size()));
        body.append('\0');
        body.append(value.data(), qsizetype(value.size()));
        appendBigEndian(chunks, uint32_t(body.size() - 4));
        chunks.append(body);
        appendBigEndian(chunks, chunkCrc(body.constData(), size_t(body.size())));
    }
    return png.left(kAfterHeader) + chunks + png.mid(kAfterHeader);
}

} // namespace

ThumbnailCache::ThumbnailCache(std::string root, std::string program)
    : root_(std::move(root)), program_(std::move(program))
{
}

std::string ThumbnailCache::defaultRoot()
{
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && cache[0] == '/')
        return standardisedPath(cache) + "/thumbnails";
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + "/.cache/thumbnails";
}

std::string ThumbnailCache::entryName(const std::string& path)
{
    const std::string uri = fileUrlString(path);
    return QCryptographicHash::hash(QByteArray::fromStdString(uri), QCryptographicHash::Md5).toHex().toStdString() +
           ".png";
}

const char* ThumbnailCache::folderFor(int pixels)
{
    for (const Bucket& bucket : kBuckets)
        if (pixels <= bucket.pixels) return bucket.folder;
    return kBuckets[std::size(kBuckets) - 1].folder;
}

QImage ThumbnailCache::find(const std::string& path, int pixels) const
{
    Stamp stamp;
    if (root_.empty() || !stampOf(path, stamp)) return {};
    const std::string name = entryName(path);
    // The size that fits first, then the larger ones; a smaller one only
    // serves a picture that is itself small.
    for (const Bucket& bucket : kBuckets) {
        if (bucket.pixels < pixels && bucket.pixels < 256) continue;
        QImage image = readValid(root_ + "/" + bucket.folder + "/" + name, stamp, std::min(pixels, bucket.pixels));
        if (!image.isNull()) return image;
    }
    return {};
}

bool ThumbnailCache::failedBefore(const std::string& path) const
{
    Stamp stamp;
    if (root_.empty() || !stampOf(path, stamp)) return false;
    const QByteArray entry = readEntry(root_ + "/fail/" + program_ + "/" + entryName(path));
    return !entry.isEmpty() && standsFor(pngTexts(entry), stamp);
}

bool ThumbnailCache::write(const std::string& folder, const std::string& path, const QImage& image) const
{
    Stamp stamp;
    if (root_.empty() || !stampOf(path, stamp) || !makeFolder(folder)) return false;
    QByteArray plain;
    QBuffer buffer(&plain);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(50); // a third of the default's time, a quarter larger
    if (!writer.write(image)) return false;
    const QByteArray bytes = withTexts(plain, {{"Thumb::URI", stamp.uri},
                                               {"Thumb::MTime", std::to_string(stamp.mtime)},
                                               {"Thumb::Size", std::to_string(stamp.size)},
                                               {"Software", "Mirelo"}});
    if (bytes.isEmpty()) return false;

    // Written beside its place under a name of its own, then renamed over
    // it: a reader sees the old entry or the whole new one.
    const std::string file = folder + "/" + entryName(path);
    static thread_local std::mt19937 random{std::random_device{}()};
    const std::string temporary = file + ".mirelo-" + std::to_string(random());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        data += n;
        left -= n;
    }
    const bool written = ::close(fd) == 0 && left == 0;
    if (!written || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool ThumbnailCache::store(const std::string& path, const QImage& image) const
{
    if (image.isNull()) return false;
    const int longer = std::max(image.width(), image.height());
    // An opaque picture is written without alpha: a quarter fewer bytes.
    const QImage pixels = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    return write(root_ + "/" + folderFor(longer), path, pixels);
}

bool ThumbnailCache::storeFailure(const std::string& path) const
{
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    return write(root_ + "/fail/" + program_, path, mark);
}

void ThumbnailCache::forget(const std::string& path) const
{
    if (root_.empty()) return;
    const std::string name = entryName(path);
    for (const Bucket& bucket : kBuckets) ::unlink((root_ + "/" + bucket.folder + "/" + name).c_str());
    ::unlink((root_ + "/fail/" + program_ + "/" + name).c_str());
}

void ThumbnailCache::move(const std::string& from, const std::string& to) const
{
    if (root_.empty()) return;
    const std::string name = entryName(from);
    for (const Bucket& bucket : kBuckets) {
        const std::string folder = root_ + "/" + bucket.folder;
        // The thumbnail is carried over with the new name inside it (a
        // rename keeps the file's time and size).
        const QByteArray png = readEntry(folder + "/" + name);
        if (png.isEmpty()) continue;
        const bool ours = textOf(pngTexts(png), "Thumb::URI") == fileUrlString(from);
        const QImage thumbnail = ours ? QImage::fromData(png, "png") : QImage();
        ::unlink((folder + "/" + name).c_str());
        if (!thumbnail.isNull()) write(folder, to, thumbnail);
    }
    ::unlink((root_ + "/fail/" + program_ + "/" + name).c_str());
}

} // namespace mirelo
