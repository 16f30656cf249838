#pragma once
// Test videos made on the spot with FFmpeg's libraries: MPEG-4 Part 2 in an
// MP4 file, every frame the marked picture, optionally with a display
// matrix that turns it.

#include "ImageFixtures.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libswscale/swscale.h>
}

#include <cstring>
#include <string>
#include <vector>

namespace mirelo::test {

// `anticlockwise`: the display matrix's rotation in degrees as a reader sees
// it (a phone held upright records -90: the stored frame is turned a quarter
// clockwise to show).
inline bool writeVideo(const std::string& path, int width, int height, int frames = 5, double anticlockwise = 0)
{
    AVFormatContext* format = nullptr;
    if (avformat_alloc_output_context2(&format, nullptr, nullptr, path.c_str()) < 0) return false;
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    AVStream* stream = codec ? avformat_new_stream(format, nullptr) : nullptr;
    AVCodecContext* encoder = codec ? avcodec_alloc_context3(codec) : nullptr;
    bool ok = stream && encoder;
    if (ok) {
        encoder->width = width;
        encoder->height = height;
        encoder->pix_fmt = AV_PIX_FMT_YUV420P;
        encoder->time_base = {1, 25};
        encoder->framerate = {25, 1};
        encoder->gop_size = 12;
        encoder->bit_rate = 2000000;
        if (format->oformat->flags & AVFMT_GLOBALHEADER) encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        ok = avcodec_open2(encoder, codec, nullptr) >= 0 &&
             avcodec_parameters_from_context(stream->codecpar, encoder) >= 0;
    }
    if (ok) {
        stream->time_base = encoder->time_base;
        if (anticlockwise != 0) {
            auto* matrix = reinterpret_cast<int32_t*>(
                av_stream_new_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(int32_t)));
            // The MP4 muxer stores the matrix transposed, so that it reads back
            // with the opposite sign: give it the opposite to read back ours.
            if (matrix) av_display_rotation_set(matrix, -anticlockwise);
        }
        ok = avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(format, nullptr) >= 0;
    }
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    if (ok) {
        frame->format = AV_PIX_FMT_YUV420P;
        frame->width = width;
        frame->height = height;
        ok = av_frame_get_buffer(frame, 0) >= 0;
    }
    // The picture's rows in a buffer with room past its end: the scaler's
    // vector code reads a little beyond the last pixel.
    const QImage picture = markedPicture(width, height).convertToFormat(QImage::Format_RGB888);
    std::vector<uint8_t> rows(size_t(picture.sizeInBytes()) + 64);
    std::memcpy(rows.data(), picture.constBits(), size_t(picture.sizeInBytes()));
    SwsContext* convert = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, AV_PIX_FMT_YUV420P,
                                         SWS_BILINEAR, nullptr, nullptr, nullptr);
    auto drain = [&] {
        while (avcodec_receive_packet(encoder, packet) == 0) {
            av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
            packet->stream_index = stream->index;
            av_interleaved_write_frame(format, packet);
        }
    };
    for (int i = 0; ok && i < frames; ++i) {
        av_frame_make_writable(frame);
        const uint8_t* source[1] = {rows.data()};
        const int stride[1] = {int(picture.bytesPerLine())};
        sws_scale(convert, source, stride, 0, height, frame->data, frame->linesize);
        frame->pts = i;
        ok = avcodec_send_frame(encoder, frame) >= 0;
        drain();
    }
    if (ok) {
        avcodec_send_frame(encoder, nullptr);
        drain();
        ok = av_write_trailer(format) >= 0;
    }
    sws_freeContext(convert);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&encoder);
    if (format->pb) avio_closep(&format->pb);
    avformat_free_context(format);
    return ok;
}

} // namespace mirelo::test
