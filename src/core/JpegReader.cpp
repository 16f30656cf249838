#include "JpegReader.h"

#include "ImageDecoder.h"

#include <QTransform>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace mirelo {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    bool truncated = false;
};

void failed(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

// Warnings are tolerated, except a file that ends early: libjpeg would
// fill the rest with grey.
void warned(j_common_ptr info, int level)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && errors->base.msg_code == JWRN_JPEG_EOF) errors->truncated = true;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The file, read from its start, when it is a regular file that starts with
// a JPEG's start-of-image marker. It is read in pieces while decoding: no
// copy of the whole file is held.
File openJpeg(const std::string& path)
{
    File file(std::fopen(path.c_str(), "rbe"));
    if (!file) return nullptr;
    struct stat info {};
    unsigned char start[3] = {};
    if (::fstat(::fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) ||
        std::fread(start, 1, 3, file.get()) != 3 || start[0] != 0xFF || start[1] != 0xD8 || start[2] != 0xFF ||
        std::fseek(file.get(), 0, SEEK_SET) != 0)
        return nullptr;
    std::setvbuf(file.get(), nullptr, _IOFBF, 1 << 16);
    return file;
}

// The largest libjpeg-turbo scale with a fast inverse DCT (1/8, 1/4, 1/2)
// whose result still reaches `maxDimension`, or 1.
int scaleDenominator(JDIMENSION longer, int maxDimension)
{
    for (int denominator : {8, 4, 2})
        if ((longer + JDIMENSION(denominator) - 1) / JDIMENSION(denominator) >= JDIMENSION(maxDimension))
            return denominator;
    return 1;
}

constexpr J_COLOR_SPACE kQtRgb32 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// Area-averages the decoded rows down to the result a strip at a time, on
// a second thread while libjpeg decodes the next strip, so that the
// reduction costs little more than the decode and only two strips of the
// full-size picture are ever held. A picture that needs no reduction is
// decoded straight into the result.
class StripScaler {
public:
    StripScaler(QSize source, QSize target) : source_(source), target_(target)
    {
        result_ = QImage(target, QImage::Format_RGB32);
        if (result_.isNull()) return;
        if (source == target) {
            outputRows_ = inputRows_ = {0, target.height()};
            return;
        }
        for (int y = 0; y < target.height(); y += kStripRows) outputRows_.push_back(y);
        outputRows_.push_back(target.height());
        for (int y : outputRows_) inputRows_.push_back(int(std::lround(double(y) * source.height() / target.height())));
        for (int k = 0; k < strips(); ++k) tallest_ = std::max(tallest_, inputCount(k));
        if (strips() > 1) worker_ = std::thread([this] { run(); });
    }
    ~StripScaler() { finish(); }

    bool valid() const { return !result_.isNull(); }
    int strips() const { return int(outputRows_.size()) - 1; }
    int inputCount(int strip) const { return inputRows_[size_t(strip) + 1] - inputRows_[size_t(strip)]; }

    // Where row `line` of strip `strip` is decoded to; waits while the
    // strip's buffer is still being reduced. Null when memory ran out.
    uchar* row(int strip, int line)
    {
        if (source_ == target_) return result_.scanLine(inputRows_[size_t(strip)] + line);
        Slot& slot = slots_[strip % 2];
        if (line == 0) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return !slot.busy; });
            if (slot.pixels.isNull()) slot.pixels = QImage(source_.width(), tallest_, QImage::Format_RGB32);
        }
        return slot.pixels.isNull() ? nullptr : slot.pixels.scanLine(line);
    }

    // The strip's rows are all decoded.
    void submit(int strip)
    {
        if (source_ == target_) return;
        if (!worker_.joinable()) {
            reduce(strip);
            return;
        }
        std::lock_guard lock(mutex_);
        slots_[strip % 2].busy = true;
        queue_.push_back(strip);
        changed_.notify_all();
    }

    // Waits for the strips handed over so far and ends the second thread.
    void finish()
    {
        if (!worker_.joinable()) return;
        {
            std::lock_guard lock(mutex_);
            done_ = true;
            changed_.notify_all();
        }
        worker_.join();
    }

    QImage& result() { return result_; }

private:
    static constexpr int kStripRows = 256; // of the result

    struct Slot {
        QImage pixels;
        bool busy = false;
    };

    void run()
    {
        for (;;) {
            int strip = -1;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return done_ || !queue_.empty(); });
                if (queue_.empty()) return;
                strip = queue_.front();
                queue_.erase(queue_.begin());
            }
            reduce(strip);
            std::lock_guard lock(mutex_);
            slots_[strip % 2].busy = false;
            changed_.notify_all();
        }
    }

    void reduce(int strip)
    {
        const QImage& pixels = slots_[strip % 2].pixels;
        if (pixels.isNull()) return;
        const QImage rows(pixels.constBits(), pixels.width(), inputCount(strip), pixels.bytesPerLine(),
                          QImage::Format_RGB32);
        const int first = outputRows_[size_t(strip)], count = outputRows_[size_t(strip) + 1] - first;
        const QImage part = rows.scaled(target_.width(), count, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const size_t bytes = size_t(target_.width()) * 4;
        for (int y = 0; y < part.height() && y < count; ++y) std::memcpy(result_.scanLine(first + y), part.constScanLine(y), bytes);
    }

    const QSize source_, target_;
    QImage result_;
    std::vector<int> outputRows_, inputRows_;
    int tallest_ = 0;
    Slot slots_[2];
    std::vector<int> queue_;
    bool done_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread worker_;
};

// Only plain data lives in this frame: libjpeg leaves it with longjmp.
bool startDecode(jpeg_decompress_struct& info, ErrorManager& errors, std::FILE* file, int maxDimension,
                 JpegReader::Result& result)
{
    if (setjmp(errors.escape)) return false;
    jpeg_stdio_src(&info, file); // a file that ends early gets an end marker and a warning
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    result.width = int(info.image_width);
    result.height = int(info.image_height);
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next)
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length > 6 && std::memcmp(marker->data, "Exif\0\0", 6) == 0) {
            result.orientation = JpegReader::exifOrientation(marker->data + 6, marker->data_length - 6);
            break;
        }
    if (double(info.image_width) * info.image_height > ImageDecoder::kMaximumPixels) return false;
    if (info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_GRAYSCALE &&
        info.jpeg_color_space != JCS_RGB) {
        result.handled = false;
        return false;
    }
    info.out_color_space = kQtRgb32;
    info.scale_num = 1;
    info.scale_denom = unsigned(scaleDenominator(std::max(info.image_width, info.image_height), maxDimension));
    jpeg_start_decompress(&info);
    return info.output_width > 0 && info.output_height > 0;
}

bool decodeRows(jpeg_decompress_struct& info, ErrorManager& errors, StripScaler& scaler)
{
    if (setjmp(errors.escape)) return false;
    JSAMPROW rows[16];
    for (int strip = 0; strip < scaler.strips(); ++strip) {
        const int count = scaler.inputCount(strip);
        for (int line = 0; line < count && !errors.truncated;) {
            const int batch = std::min(16, count - line);
            for (int i = 0; i < batch; ++i)
                if (!(rows[i] = scaler.row(strip, line + i))) return false;
            const JDIMENSION read = jpeg_read_scanlines(&info, rows, JDIMENSION(batch));
            if (read == 0) return false;
            line += int(read);
        }
        if (errors.truncated) return false;
        scaler.submit(strip);
    }
    jpeg_finish_decompress(&info);
    return !errors.truncated;
}

} // namespace

QSize JpegReader::fitted(int width, int height, int maxDimension)
{
    const int longer = std::max(width, height);
    if (longer <= maxDimension) return {width, height};
    const double scale = double(maxDimension) / longer;
    const int w = width >= height ? maxDimension : std::max(1, int(std::lround(width * scale)));
    const int h = width >= height ? std::max(1, int(std::lround(height * scale))) : maxDimension;
    return {w, h};
}

JpegReader::Result JpegReader::read(const std::string& path, int maxDimension)
{
    Result result;
    File file = maxDimension < 1 ? nullptr : openJpeg(path);
    if (!file) return result;
    result.handled = true;

    jpeg_decompress_struct info {};
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = failed;
    errors.base.emit_message = warned;
    jpeg_create_decompress(&info);
    if (startDecode(info, errors, file.get(), maxDimension, result)) {
        const int width = int(info.output_width), height = int(info.output_height);
        StripScaler scaler({width, height}, fitted(width, height, maxDimension));
        const bool decoded = scaler.valid() && decodeRows(info, errors, scaler);
        scaler.finish();
        if (decoded) result.image = std::move(scaler.result());
    }
    jpeg_destroy_decompress(&info);
    return result;
}

int JpegReader::exifOrientation(const unsigned char* data, size_t length)
{
    // A TIFF header, then the first directory's entries of 12 bytes.
    if (length < 8) return 1;
    const bool little = data[0] == 'I' && data[1] == 'I';
    if (!little && !(data[0] == 'M' && data[1] == 'M')) return 1;
    auto number = [&](size_t at, int bytes) -> uint32_t {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const uint32_t byte = data[at + size_t(i)];
            value |= little ? byte << (8 * i) : byte << (8 * (bytes - 1 - i));
        }
        return value;
    };
    if (number(2, 2) != 42) return 1;
    const size_t directory = number(4, 4);
    if (directory > length - 2 || directory < 8) return 1;
    const size_t entries = number(directory, 2);
    for (size_t i = 0; i < entries; ++i) {
        const size_t entry = directory + 2 + i * 12;
        if (entry + 12 > length) break;
        if (number(entry, 2) != 0x0112) continue;
        if (number(entry + 2, 2) != 3 || number(entry + 4, 4) != 1) return 1; // one SHORT
        const uint32_t value = number(entry + 8, 2);
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

QImage JpegReader::upright(const QImage& image, int orientation)
{
    switch (orientation) {
    case 2: return image.mirrored(true, false);
    case 3: return image.transformed(QTransform().rotate(180));
    case 4: return image.mirrored(false, true);
    case 5: return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6: return image.transformed(QTransform().rotate(90));
    case 7: return image.transformed(QTransform().rotate(270)).mirrored(true, false);
    case 8: return image.transformed(QTransform().rotate(270));
    default: return image;
    }
}

} // namespace mirelo
