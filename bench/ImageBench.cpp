// Timings of the image engine: a 24-megapixel JPEG to a 480-pixel preview
// and to a viewer frame, and 1,000 mixed previews through the thumbnail
// store's two workers with the process's peak memory.

#include "ImageBench.h"

#include "Samples.h"

#include "images/ImageDecoder.h"
#include "ImageFixtures.h"
#include "images/ImageMetadata.h"
#include "library/MediaFormats.h"
#include "ProcessMemory.h"
#include "ThumbnailStore.h"
#include "VideoFixtures.h"
#include "ViewerPipeline.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace mirelo::bench {

namespace {

bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// Photo-like texture: smoothed noise in each channel.
VipsRef photoTexture(int width, int height)
{
    VipsRef bands[3];
    for (int band = 0; band < 3; ++band) {
        VipsRef noise, smooth;
        vips_gaussnoise(noise.out(), width, height, "mean", 128.0, "sigma", 60.0, "seed", band + 1, nullptr);
        vips_gaussblur(noise.get(), smooth.out(), 2.0, nullptr);
        vips_cast(smooth.get(), bands[band].out(), VIPS_FORMAT_UCHAR, nullptr);
    }
    VipsImage* parts[3] = {bands[0].get(), bands[1].get(), bands[2].get()};
    VipsRef joined;
    vips_bandjoin(parts, joined.out(), 3, nullptr);
    joined.get()->Type = VIPS_INTERPRETATION_sRGB;
    return joined;
}

void saveTexture(int width, int height, const std::string& path)
{
    if (exists(path)) return;
    VipsRef texture = photoTexture(width, height);
    vips_image_write_to_file(texture.get(), path.c_str(), nullptr);
}

// Ten distinct sources, copied to 1,000 files: 700 JPEG of 12 and 24
// megapixels, 100 PNG, 80 WebP, 40 HEIC and 80 MP4.
std::vector<std::string> makeMixedSet(const std::string& folder)
{
    const std::string sources = folder + "/sources", mixed = folder + "/mixed";
    std::filesystem::create_directories(sources);
    std::filesystem::create_directories(mixed);
    saveTexture(6000, 4000, sources + "/a.jpg[Q=90]");
    saveTexture(4000, 3000, sources + "/b.jpg[Q=90]");
    saveTexture(4032, 3024, sources + "/c.jpg[Q=85]");
    saveTexture(2000, 1500, sources + "/d.png");
    saveTexture(3000, 2000, sources + "/e.webp");
    saveTexture(4032, 3024, sources + "/f.heic");
    if (!exists(sources + "/g.mp4")) test::writeVideo(sources + "/g.mp4", 1920, 1080, 10);
    if (!exists(sources + "/h.mp4")) test::writeVideo(sources + "/h.mp4", 1280, 720, 10, -90);
    struct Share {
        const char* source;
        int count;
    };
    const Share shares[] = {{"a.jpg", 200}, {"b.jpg", 300}, {"c.jpg", 200}, {"d.png", 100},
                            {"e.webp", 80}, {"f.heic", 40}, {"g.mp4", 40},  {"h.mp4", 40}};
    std::vector<std::string> files;
    int index = 0;
    for (const Share& share : shares) {
        const std::string from = sources + "/" + share.source;
        const std::string extension = std::string(share.source).substr(std::string(share.source).find('.'));
        for (int i = 0; i < share.count; ++i, ++index) {
            const std::string to = mixed + "/item" + std::to_string(index) + extension;
            if (!exists(to)) std::filesystem::copy_file(from, to);
            files.push_back(to);
        }
    }
    return files;
}

// The files through a thumbnail store of two workers: the rate and the
// peak memory from here on. With MIRELO_BENCH_THUMBNAILS=DIR the store reads
// and writes the desktop's thumbnail cache in DIR, as the application does:
// a first run fills it, a second reads it.
bool runPreviews(const std::vector<std::string>& files)
{
    // Peak memory from here on: reset the high-water mark.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = processKilobytes("VmRSS:");
    std::optional<ThumbnailCache> disk;
    if (const char* folder = std::getenv("MIRELO_BENCH_THUMBNAILS")) disk.emplace(folder, "mirelo-bench");
    ThumbnailStore store(2, disk);
    int answered = 0, images = 0;
    QElapsedTimer clock;
    clock.start();
    for (const std::string& path : files) {
        std::optional<MediaItem> item = MediaItem::read(path);
        if (!item) return false;
        store.load(*item, [&](QImage image) {
            ++answered;
            images += image.isNull() ? 0 : 1;
        });
    }
    // Waits for the answers without spinning (the two-argument form never sleeps).
    while (answered < int(files.size())) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf("%zu previews, 2 workers: %.2f s, %.1f per second, %d made, %d decoded\n", files.size(), seconds,
                files.size() / seconds, images, store.decodes());
    std::printf("memory: rss before %.1f MB, peak %.1f MB; cache holds %.1f MB (limit %.1f MB)\n", before / 1024.0,
                processKilobytes("VmHWM:") / 1024.0, store.cache().totalCost() / 1048576.0,
                ThumbnailStore::kCostLimit / 1048576.0);
    return true;
}

} // namespace

int runFrameBench(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mirelo-bench frame FILE [LIMIT]\n");
        return 1;
    }
    QCoreApplication application(argc, argv);
    if (!startVips()) return 1;
    const std::string photo = argv[2];
    const int limit = argc > 3 ? std::atoi(argv[3]) : ViewerPipeline::kImageLimit; // 2150: a 2,560-pixel screen's frame
    std::vector<double> decodes, metadata, backdrops, frames;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer clock;
        clock.start();
        auto decoded = ImageDecoder::decode(photo, limit);
        decodes.push_back(clock.nsecsElapsed() / 1e6);
        if (!decoded) return 2;
        clock.restart();
        ImageMetadata::read(photo);
        metadata.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        QImage ambient = ViewerPipeline::blur(decoded->image, 7.2);
        backdrops.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        FrameRef frame = ViewerPipeline::prepare(photo, 0.1, QSize(limit, limit));
        frames.push_back(clock.nsecsElapsed() / 1e6);
        if (!frame) return 2;
    }
    std::printf("decode to %d px %.1f ms, metadata %.1f ms, backdrop %.1f ms; whole frame %.1f ms (medians of 9)\n",
                limit, median(decodes), median(metadata), median(backdrops), median(frames));
    return 0;
}

int runImageBench(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mirelo-bench images DIR\n");
        return 1;
    }
    QCoreApplication application(argc, argv);
    if (!startVips()) return 1;
    const std::string folder = argv[2];
    const std::vector<std::string> files = makeMixedSet(folder);
    const std::string photo = folder + "/sources/a.jpg";

    std::vector<double> previews, frames;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer clock;
        clock.start();
        auto decoded = ImageDecoder::decode(photo, 480);
        previews.push_back(clock.nsecsElapsed() / 1e6);
        if (!decoded || decoded->image.width() != 480) return 2;
    }
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer clock;
        clock.start();
        FrameRef frame = ViewerPipeline::prepare(photo, 0.1);
        frames.push_back(clock.nsecsElapsed() / 1e6);
        if (!frame || frame->image.width() != 4096 || !frame->ambient) return 2;
    }
    std::printf("24MP JPEG -> 480 px preview: median %.1f ms\n", median(previews));
    std::printf("24MP JPEG -> viewer frame (4096 px + 720 px backdrop): median %.1f ms\n", median(frames));

    return runPreviews(files) ? 0 : 2;
}

int runPreviewBench(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mirelo-bench previews FILE...\n");
        return 1;
    }
    QCoreApplication application(argc, argv);
    return runPreviews(std::vector<std::string>(argv + 2, argv + argc)) ? 0 : 2;
}

} // namespace mirelo::bench
