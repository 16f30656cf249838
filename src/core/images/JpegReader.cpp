#include "images/JpegReader.h"

#include "images/ImageDecoder.h"
#include "files/RegularFile.h"
#include "images/StripScaler.h"

#include <QTransform>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>
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

void failed(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1); }

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
    FileDescriptor fd(RegularFile::open(path));
    if (!fd) return nullptr;
    File file(::fdopen(fd.get(), "rb"));
    if (!file) return nullptr;
    fd.release();
    unsigned char start[3] = {};
    if (std::fread(start, 1, 3, file.get()) != 3 || start[0] != 0xFF || start[1] != 0xD8 || start[2] != 0xFF ||
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

// 1 GiB: a 100-megapixel progressive photo in full colour needs 600 MB.
constexpr long kMostDecoderMemory = 1L << 30;

constexpr J_COLOR_SPACE kQtRgb32 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// Only plain data lives in this frame: libjpeg leaves it with longjmp.
bool startDecode(jpeg_decompress_struct& info, ErrorManager& errors, std::FILE* file, int maxDimension,
                 JpegReader::Result& result)
{
    if (setjmp(errors.escape)) return false;
    // A progressive file holds all its coefficients at once: a few hundred
    // bytes can declare a picture whose coefficients fill gigabytes. Past
    // this libjpeg stops with an error instead of allocating.
    info.mem->max_memory_to_use = kMostDecoderMemory;
    jpeg_stdio_src(&info, file); // a file that ends early gets an end marker and a warning
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    result.width = int(info.image_width);
    result.height = int(info.image_height);
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next)
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length > 6 &&
            std::memcmp(marker->data, "Exif\0\0", 6) == 0) {
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
    if (info.scale_denom >= 4) {
        // A preview, averaged down further: the fast transform and plain
        // chroma upsampling cost nothing that shows at that size.
        info.dct_method = JDCT_IFAST;
        info.do_fancy_upsampling = FALSE;
    }
    jpeg_start_decompress(&info);
    return info.output_width > 0 && info.output_height > 0;
}

bool skipRows(jpeg_decompress_struct& info, ErrorManager& errors, int count)
{
    if (setjmp(errors.escape)) return false;
    return count == 0 || jpeg_skip_scanlines(&info, JDIMENSION(count)) == JDIMENSION(count);
}

// Decodes the strips `first` to `end` of a plan, from the decoder's current row.
bool decodeRows(jpeg_decompress_struct& info, ErrorManager& errors, StripPlan& plan, int first, int end)
{
    StripScaler scaler(plan, first, end);
    if (setjmp(errors.escape)) return false;
    JSAMPROW rows[16];
    for (int strip = first; strip < end; ++strip) {
        const int count = plan.inputCount(strip);
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
    if (end == plan.strips()) jpeg_finish_decompress(&info);
    scaler.finish();
    return !errors.truncated;
}

// One decoder of the file.
struct Decoder {
    jpeg_decompress_struct info{};
    ErrorManager errors;
    File file;

    explicit Decoder(File opened) : file(std::move(opened))
    {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = failed;
        errors.base.emit_message = warned;
        jpeg_create_decompress(&info);
    }
    ~Decoder() { jpeg_destroy_decompress(&info); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
};

// A band below the first, decoded by a second decoder of the same file:
// libjpeg runs through the rows above without rendering them.
bool decodeBand(const std::string& path, int maxDimension, StripPlan& plan, int first, int end)
{
    File file = openJpeg(path);
    if (!file) return false;
    Decoder decoder(std::move(file));
    JpegReader::Result header;
    return startDecode(decoder.info, decoder.errors, decoder.file.get(), maxDimension, header) &&
           int(decoder.info.output_width) == plan.source().width() &&
           int(decoder.info.output_height) == plan.source().height() &&
           skipRows(decoder.info, decoder.errors, plan.firstInputRow(first)) &&
           decodeRows(decoder.info, decoder.errors, plan, first, end);
}

// How many bands decode side by side: a full-size decode that is then
// reduced spends most of its time rendering rows, which bands share out;
// a decode that libjpeg already shrinks is mostly reading, which each band
// would repeat. A progressive file is read whole before its first row, so
// every band would read and hold all of it.
int bandCount(jpeg_decompress_struct& info, const StripPlan& plan)
{
    if (info.scale_denom != 1 || !plan.reduces() || jpeg_has_multiple_scans(&info)) return 1;
    const int threads = int(std::max(1u, std::thread::hardware_concurrency()));
    return std::clamp(std::min(threads, plan.strips() / 2), 1, 4);
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

    Decoder decoder(std::move(file));
    jpeg_decompress_struct& info = decoder.info;
    if (!startDecode(info, decoder.errors, decoder.file.get(), maxDimension, result)) return result;
    const int width = int(info.output_width), height = int(info.output_height);
    StripPlan plan({width, height}, fitted(width, height, maxDimension));
    if (!plan.valid()) return result;

    // Band 0 here, the others on threads of their own.
    const int bands = bandCount(info, plan);
    auto firstStrip = [&](int band) { return plan.strips() * band / bands; };
    std::vector<std::thread> threads;
    std::vector<char> decoded(size_t(bands), 0);
    auto decode = [&](int band) {
        decoded[size_t(band)] = decodeBand(path, maxDimension, plan, firstStrip(band), firstStrip(band + 1));
    };
    int started = 1;
    try {
        for (; started < bands; ++started) threads.emplace_back(decode, started);
    } catch (const std::system_error&) { // no more threads: the rest run here
    }
    decoded[0] = decodeRows(info, decoder.errors, plan, 0, firstStrip(1));
    for (int band = started; band < bands; ++band) decode(band);
    for (std::thread& thread : threads) thread.join();
    if (std::all_of(decoded.begin(), decoded.end(), [](char ok) { return ok; }))
        result.image = std::move(plan.result());
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
