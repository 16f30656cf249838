// FFmpeg's part of video posters, built as a module that the core loads on
// the first video: FFmpeg and the hundred codec libraries it pulls in cost
// every process about 30 ms to load, and most never meet a video.

#include <QImage>

#include <atomic>
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

struct FormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
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

} // namespace

QImage firstFrame(const std::string& path, int maxSize, const std::atomic<bool>* cancelled)
{
    auto stop = [&] { return cancelled && cancelled->load(); };
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) != 0) return {};
    std::unique_ptr<AVFormatContext, FormatCloser> format(opened);
    if (avformat_find_stream_info(format.get(), nullptr) < 0 || stop()) return {};
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
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
            const int read = av_read_frame(format.get(), packet.get());
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
        if (received == 0) decoded = true;
        else if (received != AVERROR(EAGAIN)) break; // the end, or a broken stream
    }
    if (!decoded || stop() || picture->width <= 0 || picture->height <= 0) return {};

    const AVRational sample = av_guess_sample_aspect_ratio(format.get(), stream, picture.get());
    const double aspect = sample.num > 0 && sample.den > 0 ? av_q2d(sample) : 1.0;
    QImage image = scaled(picture.get(), aspect, maxSize);
    if (image.isNull()) return {};
    const double rotation = std::fmod(std::round(uprightRotation(stream) / 90) * 90 + 360, 360);
    if (rotation != 0) image = image.transformed(QTransform().rotate(rotation));
    return image;
}

} // namespace mirelo

// The one entry point, looked up by name: the poster of `path` into `out`.
extern "C" __attribute__((visibility("default"))) void mireloVideoPoster(const char* path, int maxSize,
                                                                         const std::atomic<bool>* cancelled, QImage* out)
{
    *out = mirelo::firstFrame(path, maxSize, cancelled);
}
