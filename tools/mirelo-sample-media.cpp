// Writes a folder of sample media for looking at the application: painted
// landscapes in several formats and sizes, in nested folders, one large
// file and a few short videos.
//
//     mirelo-sample-media FOLDER

#include "../tests/VideoFixtures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <vips/vips.h>

#include <cstdio>
#include <cstring>

namespace {

// A calm made-up landscape: sky, sun, two ridges and water.
QImage landscape(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int hue = int(random.bounded(360));
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor::fromHsv(hue, 120, 235));
    sky.setColorAt(0.6, QColor::fromHsv((hue + 30) % 360, 70, 250));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromHsv((hue + 40) % 360, 90, 255));
    const double sun = std::min(width, height) * (0.08 + random.bounded(0.06));
    painter.drawEllipse(QPointF(width * (0.2 + random.bounded(0.6)), height * (0.2 + random.bounded(0.2))), sun, sun);
    for (int ridge = 0; ridge < 2; ++ridge) {
        QPainterPath path;
        const double base = height * (0.55 + 0.12 * ridge);
        path.moveTo(0, height);
        for (int x = 0; x <= 8; ++x) path.lineTo(width * x / 8.0, base - random.bounded(height * 0.22));
        path.lineTo(width, height);
        path.closeSubpath();
        painter.setBrush(QColor::fromHsv((hue + 180 + ridge * 20) % 360, 80 + ridge * 40, 170 - ridge * 60));
        painter.drawPath(path);
    }
    QLinearGradient water(0, height * 0.82, 0, height);
    water.setColorAt(0, QColor::fromHsv((hue + 200) % 360, 90, 180));
    water.setColorAt(1, QColor::fromHsv((hue + 210) % 360, 120, 110));
    painter.fillRect(QRectF(0, height * 0.82, width, height * 0.18), water);
    return image;
}

// Through libvips, with the EXIF fields a camera writes.
bool writeCameraPhoto(const QString& path, const QImage& picture)
{
    if (VIPS_INIT("mirelo-sample-media") != 0) return false;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    VipsImage* image = vips_image_new_from_memory_copy(rgb.constBits(), size_t(rgb.sizeInBytes()), rgb.width(),
                                                       rgb.height(), 3, VIPS_FORMAT_UCHAR);
    if (!image || rgb.bytesPerLine() != rgb.width() * 3) return false;
    vips_image_set_string(image, "exif-ifd0-Make", "Fujifilm");
    vips_image_set_string(image, "exif-ifd0-Model", "X-T5");
    vips_image_set_string(image, "exif-ifd2-LensModel", "XF16-55mmF2.8 R LM WR");
    vips_image_set_string(image, "exif-ifd2-DateTimeOriginal", "2025:08:14 06:12:40");
    QDir().mkpath(QFileInfo(path).path());
    const int result = vips_jpegsave(image, QFile::encodeName(path).constData(), "Q", 88, nullptr);
    g_object_unref(image);
    return result == 0;
}

bool write(const QString& path, const QImage& image, int quality = 88)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return image.save(path, nullptr, quality);
}

} // namespace

int main(int argc, char** argv)
{
    const char* kUsage = "usage: mirelo-sample-media FOLDER\nWrites sample pictures and videos into FOLDER.\n";
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    struct Sample {
        const char* path;
        int width, height;
    };
    const Sample samples[] = {
        {"Trips/Coast/Harbour at dawn.jpg", 1600, 1067},
        {"Trips/Coast/Cliff path.jpg", 1200, 1600},
        {"Trips/Coast/Lighthouse.png", 1400, 933},
        {"Trips/Coast/Tide pools.webp", 1500, 1000},
        {"Trips/Coast/Evening swim.jpg", 1600, 900},
        {"Trips/Coast/Boats/Red sail.jpg", 1200, 800},
        {"Trips/Coast/Boats/Blue hull.jpg", 1200, 800},
        {"Trips/Coast/Boats/Mooring.png", 1000, 1000},
        {"Trips/Mountains/Ridge walk.jpg", 1800, 1200},
        {"Trips/Mountains/Summit.jpg", 1200, 1500},
        {"Trips/Mountains/Valley mist.webp", 1600, 1000},
        {"Trips/Mountains/Hut.bmp", 900, 600},
        {"Family/Garden party.jpg", 1600, 1067},
        {"Family/Birthday cake.jpg", 1200, 1200},
        {"Family/First steps.png", 1400, 1050},
        {"Family/Picnic.jpg", 1500, 1000},
        {"Family/Grandparents.jpg", 1000, 1400},
        {"Family/Snow day.webp", 1600, 1067},
        {"Screenshots/Map.png", 1440, 900},
        {"Screenshots/Receipt.png", 800, 1400},
        {"Wallpapers/Aurora.jpg", 2560, 1440},
        {"Wallpapers/Desert.jpg", 2560, 1440},
        {"Wallpapers/Forest lake.jpg", 2400, 1600},
        {"Wallpapers/Ocean.png", 1920, 1080},
    };
    quint32 seed = 7;
    int written = 0;
    for (const Sample& sample : samples) {
        if (!write(root + QLatin1Char('/') + QString::fromUtf8(sample.path),
                   landscape(sample.width, sample.height, seed++))) {
            std::fprintf(stderr, "couldn't write %s\n", sample.path);
            return 1;
        }
        ++written;
    }
    // A camera's photo, larger than the viewer shows it, with its camera and lens.
    if (!writeCameraPhoto(root + QStringLiteral("/Trips/Mountains/Alpine dawn.jpg"), landscape(6000, 4000, seed++)))
        return 1;
    ++written;
    // One large file: a panorama kept as an uncompressed bitmap (over 10 MB).
    if (!write(root + QStringLiteral("/Wallpapers/Panorama.bmp"), landscape(4000, 1000, seed++))) return 1;
    ++written;
    // A damaged picture: a JPEG cut off after its first bytes.
    {
        QFile broken(root + QStringLiteral("/Trips/Coast/Damaged.jpg"));
        if (!broken.open(QIODevice::WriteOnly)) return 1;
        broken.write(QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000ffdb0043"));
        ++written;
    }
    for (const char* name : {"Trips/Coast/Waves.mp4", "Family/Sparklers.mp4", "Trips/Mountains/Cable car.mp4"}) {
        const QString path = root + QLatin1Char('/') + QString::fromUtf8(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!mirelo::test::writeVideo(path.toStdString(), 640, 360, 12)) {
            std::fprintf(stderr, "couldn't write %s\n", name);
            return 1;
        }
        ++written;
    }
    std::printf("%d files in %s\n", written, argv[1]);
    return 0;
}
