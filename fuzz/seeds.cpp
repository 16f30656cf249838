// Writes the fuzz targets' seed corpora: <folder>/<target>/<seed>.
#include "duplicates/FingerprintCache.h"
#include "library/LibraryFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string root;

void seed(const std::string& target, const std::string& name, const std::string& bytes)
{
    const std::string folder = root + "/" + target;
    ::mkdir(root.c_str(), 0755);
    ::mkdir(folder.c_str(), 0755);
    std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
}

// A TIFF directory holding one orientation entry, as an Exif payload holds it.
std::string exifPayload(bool little, int orientation)
{
    auto number = [&](uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) out += char(little ? value >> (8 * i) : value >> (8 * (bytes - 1 - i)));
        return out;
    };
    return std::string(little ? "II" : "MM") + number(42, 2) + number(8, 4) + number(1, 2) + number(0x0112, 2) +
           number(3, 2) + number(1, 4) + number(uint32_t(orientation), 2) + number(0, 2) + number(0, 4);
}

std::string jpeg(int width, int height, bool progressive, int orientation)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb(x * 7, y * 5, (x ^ y) * 3));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(70);
    writer.setProgressiveScanWrite(progressive);
    writer.write(picture);
    std::string file = bytes.toStdString();
    if (orientation > 1 && file.size() > 2) {
        const std::string payload = "Exif" + std::string(2, '\0') + exifPayload(true, orientation);
        const size_t length = payload.size() + 2;
        file.insert(2, std::string("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + payload);
    }
    return file;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz-seeds FOLDER\n");
        return 1;
    }
    root = argv[1];
    QCoreApplication application(argc, argv);

    mirelo::LibrarySnapshot snapshot;
    snapshot.items = {mirelo::MediaItem("/home/ana/Pictures/Café.jpg", 4200000, 612345678.25, false),
                      mirelo::MediaItem("/home/ana/Videos/clip \xE9.mov", 0, -1.5, true)};
    snapshot.folders = {"/home/ana/Pictures"};
    snapshot.indexedFolders = {"/home/ana"};
    snapshot.selectedFolder = "/home/ana/Pictures";
    snapshot.search = "été";
    const std::string library = root + "/library.json";
    mirelo::LibraryFile::write(library, snapshot);
    std::ifstream in(library, std::ios::binary);
    seed("library_file", "snapshot.json", std::string(std::istreambuf_iterator<char>(in), {}));
    ::unlink(library.c_str());
    seed("library_file", "empty-object.json", "{}");
    seed("library_file", "unknown-key.json", R"({"version":1,"extra":[[{"a":null}]],"items":[]})");
    // Once read out of bounds by the JSON library's own number conversion.
    seed("library_file", "long-fraction.json", R"({"0rsin":-0.)" + std::string(400, '0') + "1}");

    seed("file_url", "plain", "file:///home/ana/Pictures/a%20b.jpg");
    seed("file_url", "host", "file://localhost/tmp/%E9t%C3%A9/x.png");
    seed("file_url", "short", "file:/a/../b/./c");

    seed("exif_orientation", "little", exifPayload(true, 6));
    seed("exif_orientation", "big", exifPayload(false, 8));

    std::string stream;
    for (int packet = 0; packet < 4; ++packet) stream += '\x47' + std::string(187, char(packet));
    seed("ts_sniff", "packets", stream);
    seed("ts_sniff", "m2ts", std::string(4, '\0') + '\x47' + std::string(191, '\1') + std::string(4, '\0') + '\x47');

    seed("jpeg_reader", "baseline.jpg", jpeg(64, 48, false, 1));
    seed("jpeg_reader", "progressive.jpg", jpeg(40, 72, true, 6));
    seed("jpeg_reader", "large.jpg", jpeg(600, 300, false, 3));

    const std::string fingerprints = root + "/fingerprints";
    {
        mirelo::FingerprintCache cache(fingerprints);
        cache.rememberContent("/home/ana/Pictures/Café.jpg", {4200000, 1, 2, 3, 4}, {5, 6});
        cache.rememberPicture("/home/ana/Pictures/Café.jpg", {4200000, 1, 2, 3, 4}, 0x0123456789abcdef);
        cache.rememberEdges("/home/ana/Videos/clip \xE9.mov", {9, 1, 2, 3, 5}, 7);
        cache.save();
    }
    std::ifstream cacheBytes(fingerprints, std::ios::binary);
    seed("fingerprint_cache", "two-entries", std::string(std::istreambuf_iterator<char>(cacheBytes), {}));
    ::unlink(fingerprints.c_str());

    for (const char* format : {"png"}) {
        QImage thumbnail(256, 171, QImage::Format_ARGB32);
        thumbnail.fill(qRgba(20, 40, 220, 200));
        thumbnail.setText(QStringLiteral("Software"),
                          QStringLiteral("A file manager of some length, so that Qt compresses it"));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, format).write(thumbnail);
        seed("thumbnail_entry", "large.png", bytes.toStdString());
    }
    return 0;
}
