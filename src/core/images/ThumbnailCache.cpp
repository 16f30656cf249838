#include "images/ThumbnailCache.h"

#include "files/FileUrl.h"
#include "files/RegularFile.h"
#include "files/UserFolders.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImageWriter>

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <vector>
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

// A thumbnail entry read with libpng: its text chunks of every kind (tEXt,
// zTXt, iTXt, before or after the pixels, as Qt, GdkPixbuf and others write
// them) and its pixels, refused unread when it is larger than `largest` on a
// side. Only plain data lives in the frames libpng leaves with longjmp.
using PngEntry = ThumbnailCache::Entry;

struct PngSource {
    const QByteArray* bytes;
    qsizetype at = 0;
};

void readFromBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (qsizetype(length) > source->bytes->size() - source->at) png_error(png, "truncated");
    std::memcpy(out, source->bytes->constData() + source->at, length);
    source->at += qsizetype(length);
}

void collectTexts(png_structp png, png_infop info, std::map<std::string, std::string>& texts)
{
    png_textp text = nullptr;
    int count = 0;
    png_get_text(png, info, &text, &count);
    for (int i = 0; i < count; ++i)
        if (text[i].key && text[i].text)
            texts[text[i].key] =
                std::string(text[i].text, text[i].text_length ? text[i].text_length : text[i].itxt_length);
}

bool decodeRows(png_structp png, png_infop info, png_infop end, PngSource* source, int largest, PngEntry* entry,
                bool* alpha, std::vector<png_bytep>* rows)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, source, readFromBytes);
    png_set_user_limits(png, png_uint_32(largest), png_uint_32(largest));
    png_set_chunk_malloc_max(png, 4 << 20); // a text chunk of a thumbnail is small
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || width > png_uint_32(largest) || height > png_uint_32(largest)) return false;
    *alpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    entry->image = QImage(int(width), int(height), QImage::Format_RGBA8888);
    if (entry->image.isNull()) return false;
    rows->resize(height);
    for (png_uint_32 y = 0; y < height; ++y) (*rows)[y] = entry->image.scanLine(int(y));
    png_read_image(png, rows->data());
    png_read_end(png, end);
    return true;
}

std::optional<PngEntry> readPng(const QByteArray& bytes, int largest)
{
    if (!bytes.startsWith("\x89PNG\r\n\x1a\n")) return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    png_infop end = png ? png_create_info_struct(png) : nullptr;
    PngSource source{&bytes};
    PngEntry entry;
    bool alpha = false;
    std::vector<png_bytep> rows;
    const bool read = info && end && decodeRows(png, info, end, &source, largest, &entry, &alpha, &rows);
    if (read) {
        collectTexts(png, info, entry.texts);
        collectTexts(png, end, entry.texts);
    }
    png_destroy_read_struct(&png, &info, &end);
    if (!read) return std::nullopt;
    if (!alpha) entry.image.reinterpretAsFormat(QImage::Format_RGBX8888);
    return entry;
}

// The entry at `file` when it stands for `stamp`, is no larger than its
// folder's size `largest`, and is at least `pixels` on its longer side
// (smaller serves only a picture that is itself smaller).
QImage readValid(const std::string& file, const Stamp& stamp, int pixels, int largest)
{
    const QByteArray png = readEntry(file);
    if (png.isEmpty()) return {};
    std::optional<PngEntry> entry = readPng(png, largest);
    if (!entry || !standsFor(entry->texts, stamp)) return {};
    const int longer = std::max(entry->image.width(), entry->image.height());
    const std::string original = textOf(entry->texts, "Thumb::Image::Width");
    const std::string originalHeight = textOf(entry->texts, "Thumb::Image::Height");
    const int originalLonger = std::max(std::atoi(original.c_str()), std::atoi(originalHeight.c_str()));
    if (longer < pixels && (original.empty() || originalLonger > longer)) return {};
    return std::move(entry->image);
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

std::optional<ThumbnailCache::Entry> ThumbnailCache::parse(const QByteArray& png, int largest)
{
    return readPng(png, largest);
}

int ThumbnailCache::standardSize(int pixels)
{
    for (const Bucket& bucket : kBuckets)
        if (pixels <= bucket.pixels) return bucket.pixels;
    return kBuckets[std::size(kBuckets) - 1].pixels;
}

QImage ThumbnailCache::find(const std::string& path, int pixels) const
{
    Stamp stamp;
    if (root_.empty() || !stampOf(path, stamp)) return {};
    const std::string name = entryName(path);
    // The size that holds `pixels` first, then the larger ones; each entry
    // no larger than its folder's size, and scaled down to what was asked.
    for (const Bucket& bucket : kBuckets) {
        if (bucket.pixels < standardSize(pixels)) continue;
        QImage image =
            readValid(root_ + "/" + bucket.folder + "/" + name, stamp, std::min(pixels, bucket.pixels), bucket.pixels);
        if (image.isNull()) continue;
        if (std::max(image.width(), image.height()) > pixels)
            image = image.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return image;
    }
    return {};
}

bool ThumbnailCache::failedBefore(const std::string& path) const
{
    Stamp stamp;
    if (root_.empty() || !stampOf(path, stamp)) return false;
    const QByteArray entry = readEntry(root_ + "/fail/" + program_ + "/" + entryName(path));
    const std::optional<PngEntry> read = entry.isEmpty() ? std::nullopt : readPng(entry, 16);
    return read && standsFor(read->texts, stamp);
}

bool ThumbnailCache::write(const std::string& folder, const std::string& path, const QImage& image,
                           QSize original) const
{
    Stamp stamp;
    if (root_.empty() || !stampOf(path, stamp) || !makeFolder(folder)) return false;
    QByteArray plain;
    QBuffer buffer(&plain);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(50); // a third of the default's time, a quarter larger
    if (!writer.write(image)) return false;
    std::vector<std::pair<std::string, std::string>> texts = {{"Thumb::URI", stamp.uri},
                                                              {"Thumb::MTime", std::to_string(stamp.mtime)},
                                                              {"Thumb::Size", std::to_string(stamp.size)},
                                                              {"Software", "Mirelo"}};
    if (original.isValid()) {
        texts.emplace_back("Thumb::Image::Width", std::to_string(original.width()));
        texts.emplace_back("Thumb::Image::Height", std::to_string(original.height()));
    }
    const QByteArray bytes = withTexts(plain, texts);
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

bool ThumbnailCache::store(const std::string& path, const QImage& image, int pixels, QSize original) const
{
    if (image.isNull()) return false;
    // The folder of the standard size asked for, the picture no larger than it.
    const int size = standardSize(pixels);
    QImage scaled = std::max(image.width(), image.height()) > size
                        ? image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                        : image;
    // An opaque picture is written without alpha: a quarter fewer bytes.
    scaled = scaled.convertToFormat(scaled.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    return write(root_ + "/" + folderFor(size), path, scaled, original);
}

bool ThumbnailCache::storeFailure(const std::string& path) const
{
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    return write(root_ + "/fail/" + program_, path, mark, {});
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
        std::optional<PngEntry> entry = readPng(png, bucket.pixels);
        const bool ours = entry && textOf(entry->texts, "Thumb::URI") == fileUrlString(from);
        ::unlink((folder + "/" + name).c_str());
        if (!ours) continue;
        const int width = std::atoi(textOf(entry->texts, "Thumb::Image::Width").c_str());
        const int height = std::atoi(textOf(entry->texts, "Thumb::Image::Height").c_str());
        write(
            folder, to,
            entry->image.convertToFormat(entry->image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32),
            width > 0 && height > 0 ? QSize(width, height) : QSize());
    }
    ::unlink((root_ + "/fail/" + program_ + "/" + name).c_str());
}

} // namespace mirelo
