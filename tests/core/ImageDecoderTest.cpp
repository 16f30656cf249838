// Decoding every image format to a bounded, upright picture, from files the
// tests make themselves; damaged and hostile files give nothing.

#include "images/ImageDecoder.h"
#include "library/MediaFormats.h"

#include "ImageFixtures.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace mirelo;
using namespace mirelo::test;

namespace {

class ImageDecoderTest : public ::testing::Test {
protected:
    TempFolder folder;

    // The marked 300 × 200 picture written as `extension`.
    std::string written(const std::string& extension, int width = 300, int height = 200)
    {
        const std::string path = folder / ("picture." + extension);
        const QImage picture = markedPicture(width, height);
        bool saved = false;
        if (extension == "bmp" || extension == "psd" || extension == "exr") {
            saved = saveWithVips(picture, path, extension.c_str());
        } else if (extension == "ico") {
            saved = saveWithVips(picture, path, "ico");
        } else if (extension == "icns") {
            saved = picture.save(QString::fromStdString(path), "icns");
        } else if (extension == "svg") {
            writeBytes(path, svgDocument(width, height));
            saved = true;
        } else if (extension == "pdf") {
            writeBytes(path, pdfDocument(width, height));
            saved = true;
        } else if (ImageDecoder::isCameraRaw(path)) {
            writeBytes(path, dngFile(width, height));
            saved = true;
        } else {
            saved = saveWithVips(picture, path);
        }
        EXPECT_TRUE(saved) << extension;
        return path;
    }
};

TEST_F(ImageDecoderTest, EveryFormatDecodesUprightAtItsSize)
{
    for (std::string_view extension : MediaFormats::imageExtensions) {
        SCOPED_TRACE(std::string(extension));
        const int width = extension == "icns" ? 256 : extension == "ico" ? 128 : 300;
        const int height = extension == "icns" ? 256 : extension == "ico" ? 96 : 200;
        const std::string path = written(std::string(extension), width, height);
        auto decoded = ImageDecoder::decode(path, 480);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->pixels, (PixelSize{double(width), double(height)}));
        EXPECT_EQ(decoded->image.size(), QSize(width, height));
        EXPECT_FALSE(decoded->downsampled);
        EXPECT_TRUE(isRed(decoded->image.pixelColor(2, 2))) << decoded->image.pixelColor(2, 2).name().toStdString();
        EXPECT_TRUE(isBlue(decoded->image.pixelColor(width - 3, height - 3)))
            << decoded->image.pixelColor(width - 3, height - 3).name().toStdString();
    }
}

} // namespace

namespace {

// Where the display's top-left corner lies in the stored picture, for each
// EXIF orientation.
QPoint storedCornerOfTopLeft(int orientation, int width, int height)
{
    const int right = width - 1, bottom = height - 1;
    switch (orientation) {
    case 2:
    case 8: return {right, 0};
    case 3:
    case 7: return {right, bottom};
    case 4:
    case 6: return {0, bottom};
    default: return {0, 0};
    }
}

TEST_F(ImageDecoderTest, EveryOrientationComesOutUpright)
{
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const bool quarter = orientation >= 5;
        const int width = quarter ? 40 : 60, height = quarter ? 60 : 40; // as stored
        QImage stored(width, height, QImage::Format_RGB888);
        stored.fill(QColor(20, 40, 220));
        const QPoint corner = storedCornerOfTopLeft(orientation, width, height);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                stored.setPixelColor(std::abs(corner.x() - x), std::abs(corner.y() - y), QColor(230, 20, 20));
        const std::string path = folder / ("turned" + std::to_string(orientation) + ".jpg");
        ASSERT_TRUE(saveWithVips(stored, path, nullptr, orientation));

        auto decoded = ImageDecoder::decode(path, 480);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->pixels, (PixelSize{60, 40}));
        EXPECT_EQ(decoded->image.size(), QSize(60, 40));
        EXPECT_TRUE(isRed(decoded->image.pixelColor(2, 2)));
        EXPECT_TRUE(isBlue(decoded->image.pixelColor(57, 37)));
        EXPECT_TRUE(isBlue(decoded->image.pixelColor(57, 2)));
    }
}

TEST_F(ImageDecoderTest, LargePicturesShrinkToTheMaximum)
{
    const std::string photo = folder / "photo.jpg";
    ASSERT_TRUE(saveWithVips(markedPicture(6000, 4000), photo));
    auto decoded = ImageDecoder::decode(photo, 480);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->image.size(), QSize(480, 320));
    EXPECT_EQ(decoded->pixels, (PixelSize{6000, 4000}));
    EXPECT_TRUE(decoded->downsampled);

    const std::string turned = folder / "turned.jpg";
    ASSERT_TRUE(saveWithVips(markedPicture(6000, 4000), turned, nullptr, 6));
    decoded = ImageDecoder::decode(turned, 480);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->image.size(), QSize(320, 480));
    EXPECT_EQ(decoded->pixels, (PixelSize{4000, 6000}));
    EXPECT_TRUE(decoded->downsampled);

    // Exactly the maximum is not downsampled; one pixel more is.
    const std::string exact = folder / "exact.png", over = folder / "over.png";
    ASSERT_TRUE(saveWithVips(markedPicture(480, 300), exact));
    ASSERT_TRUE(saveWithVips(markedPicture(481, 300), over));
    decoded = ImageDecoder::decode(exact, 480);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->image.size(), QSize(480, 300));
    EXPECT_FALSE(decoded->downsampled);
    decoded = ImageDecoder::decode(over, 480);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->image.width(), 480);
    EXPECT_TRUE(decoded->downsampled);
}

TEST_F(ImageDecoderTest, VectorDocumentsRenderAtMostTheMaximum)
{
    writeBytes(folder / "wide.svg", svgDocument(10000, 5000));
    writeBytes(folder / "wide.pdf", pdfDocument(10000, 5000));
    // Declares more than the raster cap; rendered straight at the size asked.
    writeBytes(folder / "huge.svg", svgDocument(40000, 30000));
    auto huge = ImageDecoder::decode(folder / "huge.svg", 480);
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->image.size(), QSize(480, 360));
    EXPECT_EQ(huge->pixels, (PixelSize{40000, 30000}));
    for (const char* name : {"wide.svg", "wide.pdf"}) {
        SCOPED_TRACE(name);
        auto decoded = ImageDecoder::decode(folder / name, 4096);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->image.size(), QSize(4096, 2048));
        EXPECT_EQ(decoded->pixels, (PixelSize{10000, 5000}));
        EXPECT_TRUE(decoded->downsampled);
        EXPECT_TRUE(isRed(decoded->image.pixelColor(5, 5)));
        EXPECT_TRUE(isBlue(decoded->image.pixelColor(4000, 2000)));
    }
}

TEST_F(ImageDecoderTest, CameraRawUsesALargeEnoughPreviewAndTurnsUpright)
{
    // A preview at least as large as asked for is shown (green).
    writeBytes(folder / "preview.nef", dngFile(600, 400, 1, 600));
    auto decoded = ImageDecoder::decode(folder / "preview.nef", 480);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->image.size(), QSize(480, 320));
    EXPECT_EQ(decoded->pixels, (PixelSize{600, 400}));
    EXPECT_TRUE(decoded->downsampled);
    EXPECT_TRUE(isGreen(decoded->image.pixelColor(400, 300)));

    // A small preview is passed over for the sensor data (blue).
    writeBytes(folder / "small.dng", dngFile(600, 400, 1, 100));
    decoded = ImageDecoder::decode(folder / "small.dng", 480);
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(isBlue(decoded->image.pixelColor(decoded->image.width() - 5, decoded->image.height() - 5)));
    EXPECT_EQ(decoded->pixels, (PixelSize{600, 400}));

    // The camera's orientation applies to both.
    for (int preview : {0, 600}) {
        SCOPED_TRACE(preview);
        writeBytes(folder / "turned.cr2", dngFile(600, 400, 6, preview));
        decoded = ImageDecoder::decode(folder / "turned.cr2", 480);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->pixels, (PixelSize{400, 600}));
        EXPECT_GT(decoded->image.height(), decoded->image.width());
        // The stored top-left corner is now at the top right.
        EXPECT_TRUE(isRed(decoded->image.pixelColor(decoded->image.width() - 3, 2)));
        const QColor middle = decoded->image.pixelColor(decoded->image.width() / 2, decoded->image.height() / 2);
        EXPECT_TRUE(preview ? isGreen(middle) : isBlue(middle));
    }
}

// Qt's readers get the file by its own bytes: a name that is not UTF-8
// decodes, and its replacement-character twin is never read instead.
TEST_F(ImageDecoderTest, QtReadsTheFileItsNameNames)
{
    const std::string picture = written("icns", 256, 256);
    const std::string latin1 = folder / "ic\xF4ne.icns", twin = folder / "ic\xEF\xBF\xBDne.icns";
    ASSERT_EQ(::rename(picture.c_str(), latin1.c_str()), 0);
    writeBytes(twin, "not a picture");
    auto decoded = ImageDecoder::decode(latin1, 480);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->image.size(), QSize(256, 256));
    EXPECT_FALSE(ImageDecoder::decode(twin, 480));
    ASSERT_EQ(::mkfifo((folder / "pipe.icns").c_str(), 0600), 0);
    EXPECT_FALSE(ImageDecoder::decode(folder / "pipe.icns", 480)) << "a pipe is never waited on";
}

// A name is a name: libvips never takes "[…]" in it for load options, and a
// drawing never draws another file, by path or by URL, nor waits on a pipe.
TEST_F(ImageDecoderTest, NamesAreNeverOptionsAndDrawingsReadNoOtherFile)
{
    const std::string red = folder / "red.png";
    QImage redPixels(64, 64, QImage::Format_RGB32);
    redPixels.fill(Qt::red);
    ASSERT_TRUE(saveWithVips(redPixels, red));
    EXPECT_FALSE(ImageDecoder::decode(red + "[]", 480)) << "no file of that name";
    ASSERT_EQ(::rename(red.c_str(), (folder / "red.png[shrink=2]").c_str()), 0);
    auto named = ImageDecoder::decode(folder / "red.png[shrink=2]", 480);
    ASSERT_TRUE(named);
    EXPECT_EQ(named->image.size(), QSize(64, 64));
    ASSERT_EQ(::rename((folder / "red.png[shrink=2]").c_str(), red.c_str()), 0);

    ASSERT_EQ(::mkfifo((folder / "pipe.png").c_str(), 0600), 0);
    for (const std::string& declared : {std::string("40000"), std::string("400")}) {
        const std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
                                "width='" +
                                declared + "' height='" + declared +
                                "'>"
                                "<rect width='100%' height='100%' fill='#1428dc'/>"
                                "<image width='100%' height='50%' xlink:href='" +
                                red +
                                "'/>"
                                "<image y='50%' width='100%' height='50%' href='file://" +
                                red +
                                "'/>"
                                "<image width='10%' height='10%' xlink:href='" +
                                folder / "pipe.png" + "'/></svg>";
        writeBytes(folder / "drawing.svg", svg);
        auto drawn = ImageDecoder::decode(folder / "drawing.svg", 200);
        ASSERT_TRUE(drawn) << declared;
        for (const QPoint at : {QPoint(100, 50), QPoint(100, 150)})
            EXPECT_TRUE(isBlue(drawn->image.pixelColor(at))) << declared << " " << at.y();
    }
}

TEST_F(ImageDecoderTest, DamagedAndHostileFilesGiveNothing)
{
    const std::string photo = folder / "photo.jpg", png = folder / "picture.png";
    ASSERT_TRUE(saveWithVips(markedPicture(600, 400), photo));
    ASSERT_TRUE(saveWithVips(markedPicture(600, 400), png));
    const std::string jpegBytes = readFile(photo), pngBytes = readFile(png);
    writeBytes(folder / "truncated.jpg", jpegBytes.substr(0, jpegBytes.size() / 2));
    writeBytes(folder / "truncated.png", pngBytes.substr(0, pngBytes.size() / 2));
    writeBytes(folder / "empty.jpg", "");
    writeBytes(folder / "garbage.png", std::string(4096, '\x5a'));
    writeBytes(folder / "garbage.heic", "not a picture at all");
    writeBytes(folder / "garbage.dng", std::string("II*\0", 4) + std::string(64, '\xff'));
    writeBytes(folder / "header-only.dng", dngFile(8, 8).substr(0, 40));
    // Claims 100,000 × 100,000 pixels (30 GB) and holds none.
    writeBytes(folder / "huge.png", pngHeader(100000, 100000));
    writeBytes(folder / "huge.tif",
               tiffFile({{{TiffWriter::longs(256, {100000}), TiffWriter::longs(257, {100000}),
                           TiffWriter::shorts(258, {8, 8, 8}), TiffWriter::shorts(259, {1}),
                           TiffWriter::shorts(262, {2}), TiffWriter::longs(273, {0}), TiffWriter::shorts(277, {3}),
                           TiffWriter::longs(278, {100000}), TiffWriter::longs(279, {30000000})},
                          std::string(16, '\0')}}));
    for (const char* name : {"truncated.jpg", "truncated.png", "empty.jpg", "garbage.png", "garbage.heic",
                             "garbage.dng", "header-only.dng", "huge.png", "huge.tif", "missing.jpg"}) {
        EXPECT_FALSE(ImageDecoder::decode(folder / name, 480)) << name;
    }
    EXPECT_FALSE(ImageDecoder::decode(photo, 0));
}

} // namespace
