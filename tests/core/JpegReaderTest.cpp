// JPEG's own fast path: shrunk while decoding, reduced strip by strip on a
// second thread, every colour model either read or left to libvips.

#include "images/ImageDecoder.h"
#include "images/JpegReader.h"
#include "images/VipsImage.h"

#include "ImageFixtures.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <array>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace mirelo;
using namespace mirelo::test;

namespace {

class JpegReaderTest : public ::testing::Test {
protected:
    TempFolder folder;

    // `picture` through libvips' JPEG writer with `options` such as
    // "[interlace]", after a colour conversion when `space` is given.
    std::string saved(const QImage& picture, const std::string& name, const std::string& options = "",
                      VipsInterpretation space = VIPS_INTERPRETATION_sRGB)
    {
        EXPECT_TRUE(startVips());
        VipsRef image = fromQImage(picture), converted;
        if (space != VIPS_INTERPRETATION_sRGB) {
            EXPECT_EQ(vips_colourspace(image.get(), converted.out(), space, nullptr), 0) << vips_error_buffer();
            image = std::move(converted);
        }
        const std::string path = folder / name;
        EXPECT_EQ(vips_image_write_to_file(image.get(), (path + options).c_str(), nullptr), 0) << vips_error_buffer();
        return path;
    }
};

// Bands of white and black, `band` rows each.
QImage stripes(int width, int height, int band)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) std::memset(image.scanLine(y), (y / band) % 2 ? 0 : 255, size_t(width) * 3);
    return image;
}

// The mean level of the stripes' rows from `top` to `bottom` (fractions count).
double stripesMean(double top, double bottom, int band)
{
    double total = 0;
    for (int row = int(std::floor(top)); row < int(std::ceil(bottom)); ++row) {
        const double covered = std::min<double>(row + 1, bottom) - std::max<double>(row, top);
        total += covered * ((row / band) % 2 ? 0 : 255);
    }
    return total / (bottom - top);
}

double rowMean(const QImage& image, int y)
{
    double total = 0;
    for (int x = 0; x < image.width(); ++x) total += qGray(image.pixel(x, y));
    return total / image.width();
}

TEST_F(JpegReaderTest, ReducedPicturesFollowTheirSourceAcrossEveryStrip)
{
    // Every row of the result averages its share of the source:
    //  - 5000 rows decoded at half size, then reduced to 2000 rows in eight strips;
    //  - 3000 rows decoded at full size in bands side by side, also with
    //    halved colour resolution (whose rows are interpolated across a band's
    //    edge), and progressive (in one band).
    struct Case {
        int height;
        const char* options;
    };
    for (const Case& test : {Case{5000, "[Q=95]"}, Case{3000, "[Q=95]"}, Case{3000, "[Q=95,subsample-mode=on]"},
                             Case{3000, "[Q=95,interlace]"}}) {
        SCOPED_TRACE(std::to_string(test.height) + test.options);
        const std::string path = saved(stripes(1200, test.height, 25), "stripes.jpg", test.options);
        JpegReader::Result read = JpegReader::read(path, 2000);
        ASSERT_TRUE(read.handled);
        ASSERT_EQ(read.image.size(), QSize(1200 * 2000 / test.height, 2000));
        const double share = test.height / 2000.0;
        double worst = 0;
        for (int y = 0; y < read.image.height(); ++y)
            worst = std::max(worst, std::abs(rowMean(read.image, y) - stripesMean(y * share, (y + 1) * share, 25)));
        EXPECT_LT(worst, 80); // a strip one decoded row out of place is off by 200
    }
    const std::string path = folder / "stripes.jpg";

    // Shrinking by a DCT scale alone needs no reduction; small pictures stay.
    EXPECT_EQ(JpegReader::read(path, 375).image.size(), QSize(150, 375));
    EXPECT_EQ(JpegReader::read(path, 8000).image.size(), QSize(1200, 3000));
    EXPECT_EQ(JpegReader::fitted(6000, 4000, 4096), QSize(4096, 2731));
    EXPECT_EQ(JpegReader::fitted(4000, 6000, 480), QSize(320, 480));
}

TEST_F(JpegReaderTest, EveryColourModelAndEncodingDecodes)
{
    const QImage picture = markedPicture(600, 400);
    for (const auto& [name, options, space] :
         {std::tuple{"baseline.jpg", "", VIPS_INTERPRETATION_sRGB},
          std::tuple{"progressive.jpg", "[interlace]", VIPS_INTERPRETATION_sRGB},
          std::tuple{"subsampled.jpg", "[Q=75,subsample-mode=on]", VIPS_INTERPRETATION_sRGB},
          std::tuple{"grey.jpg", "", VIPS_INTERPRETATION_B_W}, std::tuple{"cmyk.jpg", "", VIPS_INTERPRETATION_CMYK}}) {
        SCOPED_TRACE(name);
        const std::string path = saved(picture, name, options, space);
        // CMYK is libvips' to convert; the rest are read here.
        EXPECT_EQ(JpegReader::read(path, 480).handled, space != VIPS_INTERPRETATION_CMYK);
        auto decoded = ImageDecoder::decode(path, 480);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->image.size(), QSize(480, 320));
        const QColor mark = decoded->image.pixelColor(10, 10), rest = decoded->image.pixelColor(470, 310);
        if (space == VIPS_INTERPRETATION_B_W) { // the red mark is the lighter grey
            EXPECT_GT(mark.red(), rest.red() + 15);
            EXPECT_EQ(rest.red(), rest.blue());
        } else { // CMYK's gamut dulls the blue
            EXPECT_GT(mark.red(), mark.blue() + 100) << mark.name().toStdString();
            EXPECT_GT(rest.blue(), rest.red() + 60) << rest.name().toStdString();
        }
    }
}

TEST_F(JpegReaderTest, AFileCutShortPartWayGivesNothing)
{
    // Cut part-way through one of several strips, so that other threads
    // are busy when the decode stops.
    const std::string path = saved(stripes(2000, 6000, 25), "tall.jpg");
    const std::string bytes = readFile(path);
    for (int size : {1000, 4000}) // shrunk while decoding; decoded in full by bands side by side
        for (double share : {0.05, 0.4, 0.9}) {
            SCOPED_TRACE(std::to_string(size) + " " + std::to_string(share));
            writeBytes(folder / "cut.jpg", bytes.substr(0, size_t(bytes.size() * share)));
            JpegReader::Result read = JpegReader::read(folder / "cut.jpg", size);
            EXPECT_TRUE(read.handled);
            EXPECT_TRUE(read.image.isNull());
            EXPECT_FALSE(ImageDecoder::decode(folder / "cut.jpg", size));
        }
    EXPECT_EQ(JpegReader::read(path, 4000).image.size(), QSize(1333, 4000));
    EXPECT_TRUE(JpegReader::read(folder / "missing.jpg", 480).image.isNull());
}

// A progressive file keeps every coefficient at once: a few hundred bytes
// declaring 21,032 × 42,056 pixels would take gigabytes. Refused before
// they are allocated (measured in a child process of its own).
TEST_F(JpegReaderTest, AProgressiveFileCannotClaimGigabytes)
{
    std::string bytes = readFile(saved(stripes(64, 48, 8), "small.jpg", "[interlace]"));
    const size_t frame = bytes.find("\xFF\xC2");
    ASSERT_NE(frame, std::string::npos);
    const char size[4] = {char(42056 >> 8), char(42056 & 0xFF), char(21032 >> 8), char(21032 & 0xFF)};
    bytes.replace(frame + 5, 4, size, 4);
    writeBytes(folder / "claims.jpg", bytes);

    const pid_t child = ::fork();
    if (child == 0) _exit(JpegReader::read(folder / "claims.jpg", 256).image.isNull() ? 0 : 1);
    int status = 0;
    struct rusage usage {};
    ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_LT(usage.ru_maxrss, 1'500'000) << "kilobytes at the peak";
}

} // namespace

namespace {

// A TIFF header and one directory holding `entries` of (tag, type, count, value).
std::string exifPayload(bool little, const std::vector<std::array<uint32_t, 4>>& entries)
{
    std::string out = little ? "II" : "MM";
    auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out += char(little ? value >> (8 * i) : value >> (8 * (bytes - 1 - i)));
    };
    put(42, 2);
    put(8, 4);
    put(uint32_t(entries.size()), 2);
    for (const auto& [tag, type, count, value] : entries) {
        put(tag, 2);
        put(type, 2);
        put(count, 4);
        put(value, 2);
        put(0, 2);
    }
    put(0, 4);
    return out;
}

int orientationOf(const std::string& payload)
{
    return JpegReader::exifOrientation(reinterpret_cast<const unsigned char*>(payload.data()), payload.size());
}

} // namespace

TEST(JpegReaderExif, FindsTheOrientationInEitherByteOrderAndIgnoresNonsense)
{
    for (bool little : {true, false}) {
        EXPECT_EQ(orientationOf(exifPayload(little, {{0x010F, 2, 4, 0}, {0x0112, 3, 1, 6}})), 6);
        EXPECT_EQ(orientationOf(exifPayload(little, {{0x0112, 3, 1, 8}})), 8);
        EXPECT_EQ(orientationOf(exifPayload(little, {{0x0112, 3, 1, 9}})), 1); // out of range
        EXPECT_EQ(orientationOf(exifPayload(little, {{0x0112, 4, 1, 6}})), 1); // not a SHORT
        EXPECT_EQ(orientationOf(exifPayload(little, {{0x0110, 2, 4, 0}})), 1); // absent
    }
    std::string cut = exifPayload(true, {{0x0112, 3, 1, 6}});
    EXPECT_EQ(orientationOf(cut.substr(0, 16)), 1);
    EXPECT_EQ(orientationOf(std::string("II*\0\xff\xff\xff\x7f", 8)), 1); // the directory lies past the end
    EXPECT_EQ(orientationOf("XX"), 1);
}
