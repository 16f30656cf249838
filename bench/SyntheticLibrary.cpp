#include "SyntheticLibrary.h"

#include "library/LibraryStore.h"

#include <QPainter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <random>

namespace mirelo::bench {

namespace {

constexpr const char* kEvents[] = {"Trip", "Birthday", "Garden", "Beach", "Café visit", "Wedding", "Hike", "Concert"};

} // namespace

void writeSyntheticLibrary(const std::string& path, int count)
{
    LibrarySnapshot snapshot;
    snapshot.items = syntheticLibrary(count);
    LibraryStore(path).flush(snapshot);
}

QImage syntheticPreview(int index)
{
    QImage image(480, 360, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(index * 37 % 360, 150, 210));
    QPainter painter(&image);
    painter.fillRect(0, 240, 480, 120, QColor::fromHsv(index * 53 % 360, 200, 120));
    return image;
}

std::string scratchFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/mirelo-bench";
    ::mkdir(folder.c_str(), 0755);
    return folder;
}

MediaItems syntheticLibrary(int count)
{
    std::mt19937_64 random(2026);
    MediaItems items;
    items.reserve(count);
    for (int i = 0; i < count; ++i) {
        int year = 2010 + int(random() % 15);
        const char* event = kEvents[random() % 8];
        int roll = int(random() % 100);
        const char* ext = roll < 45   ? "JPG"
                          : roll < 70 ? "heic"
                          : roll < 82 ? "png"
                          : roll < 90 ? "jpeg"
                          : roll < 96 ? "MOV"
                                      : "mp4";
        bool video = roll >= 90;
        std::string path = "/home/user/Pictures/" + std::to_string(year) + "/" + event + " " +
                           std::to_string(random() % 40) + "/IMG_" + std::to_string(100000 + i) + "." + ext;
        int64_t bytes = video ? int64_t(random() % 2'000'000'000) : int64_t(200'000 + random() % 12'000'000);
        Date modified = 300'000'000.0 + double(random() % 500'000'000) + double(random() % 1'000'000) / 1e6;
        items.append(MediaItem(path, bytes, modified, video));
    }
    return items;
}

namespace {

// False when the tree was made before (its marker is there); else makes
// `root` and the folders above it.
bool startTree(const std::string& root, const std::string& marker)
{
    if (::access(marker.c_str(), F_OK) == 0) return false;
    for (size_t slash = root.find('/', 1); slash != std::string::npos; slash = root.find('/', slash + 1))
        ::mkdir(root.substr(0, slash).c_str(), 0755);
    ::mkdir(root.c_str(), 0755);
    return true;
}

} // namespace

void makeTree(const std::string& root, int files)
{
    const std::string marker = root + "/.complete-" + std::to_string(files);
    if (!startTree(root, marker)) return;
    std::mt19937 random(7);
    constexpr const char* kMedia[] = {"jpg", "JPG", "png", "heic", "mov", "mp4"};
    constexpr const char* kOther[] = {"txt", "pdfx", "json", "html", "c", "h", "md", "xml", "zip", "doc", "py"};
    int made = 0;
    for (int a = 0; made < files; ++a) {
        std::string first = root + "/dir" + std::to_string(a);
        ::mkdir(first.c_str(), 0755);
        for (int b = 0; b < 10 && made < files; ++b) {
            std::string second = first + "/sub" + std::to_string(b);
            ::mkdir(second.c_str(), 0755);
            for (int c = 0; c < 10 && made < files; ++c) {
                std::string third = second + "/leaf" + std::to_string(c);
                if (c % 3 == 0) third += "/deeper"; // some folders four deep
                ::mkdir(third.substr(0, third.rfind('/')).c_str(), 0755);
                ::mkdir(third.c_str(), 0755);
                for (int f = 0; f < 50 && made < files; ++f, ++made) {
                    bool media = random() % 100 < 30;
                    std::string name = third + "/file" + std::to_string(f) + "." +
                                       (media ? kMedia[random() % 6] : kOther[random() % 11]);
                    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                    if (fd >= 0) {
                        [[maybe_unused]] auto n = ::write(fd, "0123456789", 1 + random() % 10);
                        ::close(fd);
                    }
                }
            }
        }
    }
    int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT, 0644);
    if (fd >= 0) ::close(fd);
}

void makeDuplicateTree(const std::string& root, int files, int percent)
{
    const std::string marker = root + "/.complete-" + std::to_string(files) + "-" + std::to_string(percent);
    if (!startTree(root, marker)) return;
    std::mt19937 random(11);
    constexpr const char* kMedia[] = {"jpg", "png", "heic", "mp4", "webp", "mov"};
    std::vector<std::string> written; // the contents of the unique files so far
    auto write = [](const std::string& path, const std::string& bytes) {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return;
        [[maybe_unused]] auto n = ::write(fd, bytes.data(), bytes.size());
        ::close(fd);
    };
    for (int i = 0; i < files; ++i) {
        const std::string folder = root + "/d" + std::to_string(i / 5000) + "/s" + std::to_string(i / 100 % 50);
        if (i % 100 == 0) {
            ::mkdir((root + "/d" + std::to_string(i / 5000)).c_str(), 0755);
            ::mkdir(folder.c_str(), 0755);
        }
        const std::string path = folder + "/f" + std::to_string(i) + "." + kMedia[random() % 6];
        const int roll = int(random() % 100);
        if (!written.empty() && roll < percent) {
            write(path, written[random() % written.size()]); // a copy
            continue;
        }
        std::string bytes;
        if (!written.empty() && roll < percent + 3) {
            bytes = written[random() % written.size()]; // alike but for one byte
            bytes[roll % 2 ? bytes.size() / 2 : bytes.size() - 1] ^= 0x5a;
        } else {
            bytes.resize(1024 + random() % (47 * 1024));
            for (size_t b = 0; b < bytes.size(); b += 4) {
                const uint32_t word = uint32_t(random());
                std::memcpy(bytes.data() + b, &word, std::min<size_t>(4, bytes.size() - b));
            }
        }
        write(path, bytes);
        if (written.size() < 20000)
            written.push_back(std::move(bytes));
        else
            written[random() % written.size()] = std::move(bytes);
    }
    write(marker, "");
}

} // namespace mirelo::bench
