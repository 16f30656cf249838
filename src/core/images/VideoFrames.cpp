// FFmpeg's part of video posters, built as a module that the core loads on
// the first video: FFmpeg and the hundred codec libraries it pulls in cost
// every process about 30 ms to load, and most never meet a video.

#include "files/RegularFile.h"

#include <QImage>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <QTransform>

#include <cmath>
#include <memory>

namespace mirelo {

namespace {

struct CodecCloser {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

// Degrees clockwise that turn the stored picture upright.
double uprightRotation(const AVStream* stream)
{
    const uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    if (!matrix) return 0;
    const double anticlockwise = av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
    if (std::isnan(anticlockwise)) return 0;
    return -anticlockwise;
}

QImage scaled(const AVFrame* frame, double aspect, int maxSize)
{
    const double displayWidth = frame->width * aspect, displayHeight = frame->height;
    const double scale = std::min(1.0, double(maxSize) / std::max(displayWidth, displayHeight));
    const int width = std::max(1, int(std::lround(displayWidth * scale)));
    const int height = std::max(1, int(std::lround(displayHeight * scale)));
    SwsContext* context = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), width, height,
                                         AV_PIX_FMT_RGB24, SWS_AREA, nullptr, nullptr, nullptr);
    if (!context) return {};
    QImage image(width, height, QImage::Format_RGB888);
    uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
    const int rows = sws_scale(context, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(context);
    return rows == height ? image : QImage();
}

// The demuxers of self-contained local media. Playlists and manifests
// (HLS, DASH, concat, SDP, …) name other files or addresses: none is here.
constexpr const char* kLocalDemuxers = "mov,mp4,m4a,3gp,3g2,mj2,avi,matroska,webm,mpeg,mpegts,mpegvideo,m4v,"
                                       "h264,hevc,asf,flv,ogg";

int readFile(void* opaque, uint8_t* buffer, int size)
{
    const int fd = *static_cast<int*>(opaque);
    ssize_t n;
    do n = ::read(fd, buffer, size_t(size));
    while (n < 0 && errno == EINTR);
    if (n < 0) return AVERROR(errno);
    return n == 0 ? AVERROR_EOF : int(n);
}

int64_t seekFile(void* opaque, int64_t offset, int whence)
{
    const int fd = *static_cast<int*>(opaque);
    if (whence == AVSEEK_SIZE) {
        struct stat attributes;
        return ::fstat(fd, &attributes) == 0 ? int64_t(attributes.st_size) : AVERROR(errno);
    }
    const off_t at = ::lseek(fd, off_t(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : int64_t(at);
}

// A demuxer that asks for another file or address gets nothing.
int refuseNested(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

// One local file opened for reading its streams: a regular file, opened
// without blocking, read through our own descriptor (no URL is ever
// resolved), by the demuxers of self-contained media only.
class LocalMedia {
public:
    ~LocalMedia()
    {
        if (format_) avformat_close_input(&format_);
        if (io_) {
            av_freep(&io_->buffer);
            avio_context_free(&io_);
        }
    }

    bool open(const std::string& path)
    {
        fd_.reset(RegularFile::open(path));
        if (!fd_) return false;
        constexpr int kBufferSize = 1 << 16;
        auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
        if (!buffer) return false;
        io_ = avio_alloc_context(buffer, kBufferSize, 0, &descriptor_, readFile, nullptr, seekFile);
        if (!io_) {
            av_free(buffer);
            return false;
        }
        descriptor_ = fd_.get();
        AVFormatContext* context = avformat_alloc_context();
        if (!context) return false;
        context->pb = io_;
        context->flags |= AVFMT_FLAG_CUSTOM_IO;
        context->io_open = refuseNested;
        context->format_whitelist = av_strdup(kLocalDemuxers);
        context->protocol_whitelist = av_strdup("none");
        if (avformat_open_input(&context, nullptr, nullptr, nullptr) != 0) return false; // frees the context
        format_ = context;
        return avformat_find_stream_info(format_, nullptr) >= 0;
    }

    AVFormatContext* format() const { return format_; }

private:
    FileDescriptor fd_;
    int descriptor_ = -1;
    AVIOContext* io_ = nullptr;
    AVFormatContext* format_ = nullptr;
};

} // namespace

bool playable(const std::string& path)
{
    LocalMedia media;
    if (!media.open(path)) return false;
    const int index = av_find_best_stream(media.format(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    return index >= 0 && media.format()->streams[index]->codecpar->codec_id != AV_CODEC_ID_NONE;
}

QImage firstFrame(const std::string& path, int maxSize, const std::atomic<bool>* cancelled)
{
    auto stop = [&] { return cancelled && cancelled->load(); };
    LocalMedia media;
    if (!media.open(path) || stop()) return {};
    AVFormatContext* format = media.format();
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (index < 0 || !codec) return {};
    AVStream* stream = format->streams[index];

    std::unique_ptr<AVCodecContext, CodecCloser> decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0) return {};
    decoder->thread_count = 1; // one poster is a few milliseconds; workers run side by side
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0) return {};

    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> picture(av_frame_alloc());
    if (!packet || !picture) return {};
    bool decoded = false, draining = false;
    for (int packets = 0; !decoded && packets < 2000 && !stop(); ++packets) {
        if (!draining) {
            const int read = av_read_frame(format, packet.get());
            if (read < 0) {
                draining = true;
                avcodec_send_packet(decoder.get(), nullptr);
            } else {
                const bool ours = packet->stream_index == index;
                if (ours) avcodec_send_packet(decoder.get(), packet.get());
                av_packet_unref(packet.get());
                if (!ours) continue;
            }
        }
        const int received = avcodec_receive_frame(decoder.get(), picture.get());
        if (received == 0)
            decoded = true;
        else if (received != AVERROR(EAGAIN))
            break; // the end, or a broken stream
    }
    if (!decoded || stop() || picture->width <= 0 || picture->height <= 0) return {};

    const AVRational sample = av_guess_sample_aspect_ratio(format, stream, picture.get());
    const double aspect = sample.num > 0 && sample.den > 0 ? av_q2d(sample) : 1.0;
    QImage image = scaled(picture.get(), aspect, maxSize);
    if (image.isNull()) return {};
    const double rotation = std::fmod(std::round(uprightRotation(stream) / 90) * 90 + 360, 360);
    if (rotation != 0) image = image.transformed(QTransform().rotate(rotation));
    return image;
}

} // namespace mirelo

// The one entry point, looked up by name: the poster of `path` into `out`.
extern "C" __attribute__((visibility("default"))) void
mireloVideoPoster(const char* path, int maxSize, const std::atomic<bool>* cancelled, QImage* out)
{
    *out = mirelo::firstFrame(path, maxSize, cancelled);
}

// Can the file at `path` be played as a local, self-contained video?
extern "C" __attribute__((visibility("default"))) bool mireloVideoPlayable(const char* path)
{
    return mirelo::playable(path);
}
