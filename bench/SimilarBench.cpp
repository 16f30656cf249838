// "mirelo-bench similar DIR [COUNT]": photos that look alike. Makes (once)
// COUNT pictures in DIR: originals of shapes over a gradient, each with four
// variants (resized to half, re-encoded at quality 35, cropped by 5 %,
// brightened) and an unrelated picture of the same colours; writes their
// thumbnails into DIR/thumbnails as a file manager would. Then, timed: each
// picture's perceptual hash from its thumbnail and the groups at the three
// steps, with precision and recall against the labels.

#include "SimilarBench.h"

#include "duplicates/FingerprintCache.h"
#include "duplicates/SimilarPhotos.h"
#include "images/PictureHash.h"
#include "images/ThumbnailCache.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <random>
#include <set>
#include <thread>
#include <vector>

namespace mirelo::bench {

namespace {

constexpr int kPerOriginal = 6; // the original, four variants, one unrelated

QImage shapes(std::mt19937& random, const std::vector<QColor>& palette, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, palette[0]);
    gradient.setColorAt(1, palette[1]);
    painter.fillRect(image.rect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 12; ++i) {
        painter.setBrush(palette[2 + random() % (palette.size() - 2)]);
        painter.setPen(Qt::NoPen);
        const QRectF shape(random() % width - width / 8, random() % height - height / 8,
                           width / 8 + random() % (width / 2), height / 8 + random() % (height / 2));
        if (random() % 2)
            painter.drawEllipse(shape);
        else
            painter.drawRect(shape);
    }
    return image;
}

QImage brightened(const QImage& image)
{
    QImage result = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            row[x] = qRgb(std::min(255, qRed(row[x]) + 40), std::min(255, qGreen(row[x]) + 40),
                          std::min(255, qBlue(row[x]) + 40));
    }
    return result;
}

QImage reencoded(const QImage& image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return QImage::fromData(bytes, "JPEG");
}

std::string nameOf(const std::string& folder, int index) { return folder + "/p" + std::to_string(index) + ".jpg"; }

void make(const std::string& folder, int count, const ThumbnailCache& thumbnails)
{
    const std::string marker = folder + "/.complete-" + std::to_string(count);
    if (::access(marker.c_str(), F_OK) == 0) return;
    ::mkdir(folder.c_str(), 0755);
    const int originals = (count + kPerOriginal - 1) / kPerOriginal;
    std::atomic<int> next{0};
    auto work = [&] {
        for (int o; (o = next++) < originals;) {
            std::mt19937 random(unsigned(o) * 7919u + 1);
            std::vector<QColor> palette;
            for (int c = 0; c < 6; ++c)
                palette.push_back(QColor::fromHsv(int(random() % 360), 80 + random() % 170, 60 + random() % 190));
            const QImage original = shapes(random, palette, 800, 600);
            const QImage variants[kPerOriginal] = {
                original,
                original.scaled(400, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                reencoded(original, 35),
                original.copy(20, 15, 760, 570),
                brightened(original),
                shapes(random, palette, 800, 600), // unrelated, the same colours
            };
            for (int v = 0; v < kPerOriginal && o * kPerOriginal + v < count; ++v) {
                const std::string path = nameOf(folder, o * kPerOriginal + v);
                variants[v].save(QString::fromStdString(path), "JPEG", 88);
                thumbnails.store(path, variants[v], 256);
            }
        }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < 2; ++t) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    FILE* done = std::fopen(marker.c_str(), "w");
    if (done) std::fclose(done);
}

// The label of picture `index`: its original's, or its own for the unrelated one.
int label(int index) { return index % kPerOriginal == kPerOriginal - 1 ? -1 - index : index / kPerOriginal; }

} // namespace

int runSimilarBench(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mirelo-bench similar DIR [COUNT]\n");
        return 1;
    }
    QGuiApplication application(argc, argv);
    const std::string folder = argv[2];
    const int count = argc > 3 ? std::atoi(argv[3]) : 20'000;
    const ThumbnailCache thumbnails(folder + "/thumbnails", "mirelo-bench");
    make(folder, count, thumbnails);

    QElapsedTimer clock;
    clock.start();
    std::vector<uint64_t> hashes(size_t(count), 0);
    std::atomic<int> next{0}, missing{0};
    auto work = [&] {
        for (int i; (i = next++) < count;) {
            const std::string path = nameOf(folder, i);
            if (!FileStamp::of(path)) { // as the application checks its fingerprints
                ++missing;
                continue;
            }
            const QImage thumbnail = thumbnails.find(path, 256);
            if (std::optional<uint64_t> hash = PictureHash::of(thumbnail))
                hashes[size_t(i)] = *hash;
            else
                ++missing;
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < std::max(2u, std::thread::hardware_concurrency()); ++t) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
    const double hashed = clock.nsecsElapsed() / 1e6;
    std::printf("%d pictures: hashes from their thumbnails in %.0f ms (%d without one)\n", count, hashed,
                missing.load());

    long long truePairs = 0;
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count && j < i + kPerOriginal; ++j) truePairs += label(i) == label(j);
    for (const auto& [name, within] :
         {std::pair{"Nearly identical", SimilarPhotos::kNearlyIdentical},
          std::pair{"Very similar", SimilarPhotos::kVerySimilar}, std::pair{"Similar", SimilarPhotos::kSimilar}}) {
        clock.restart();
        const auto groups = SimilarPhotos::group(hashes, within);
        const double grouped = clock.nsecsElapsed() / 1e6;
        long long predicted = 0, correct = 0;
        for (const auto& group : groups)
            for (size_t a = 0; a < group.size(); ++a)
                for (size_t b = a + 1; b < group.size(); ++b) {
                    ++predicted;
                    correct += label(group[a]) == label(group[b]);
                }
        std::printf("%s (within %d bits): %zu groups in %.0f ms, total %.0f ms; precision %.3f recall %.3f\n", name,
                    within, groups.size(), grouped, hashed + grouped, predicted ? double(correct) / predicted : 1.0,
                    truePairs ? double(correct) / truePairs : 1.0);
    }
    return 0;
}

} // namespace mirelo::bench
