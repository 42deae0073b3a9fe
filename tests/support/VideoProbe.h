// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a video file back through FFmpeg's libraries: its codec, size and number of frames, and
// the last frame decoded to RGB, so that tests check what a player would show.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <string>

struct TVideoProbe {
  bool Opened = false;
  std::string Codec;  // "h264", "vp9", "gif"
  int Width = 0;
  int Height = 0;
  int Frames = 0;  // decoded pictures
  QImage LastFrame;
};

inline TVideoProbe ProbeVideo(const QString& path) {
  TVideoProbe probe;
  AVFormatContext* input = nullptr;
  const QByteArray file = QFile::encodeName(path);
  if (avformat_open_input(&input, file.constData(), nullptr, nullptr) < 0) return probe;
  const int stream = avformat_find_stream_info(input, nullptr) >= 0
                         ? av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
                         : -1;
  const AVCodec* codec =
      stream >= 0 ? avcodec_find_decoder(input->streams[stream]->codecpar->codec_id) : nullptr;
  AVCodecContext* decoder = codec ? avcodec_alloc_context3(codec) : nullptr;
  if (decoder && avcodec_parameters_to_context(decoder, input->streams[stream]->codecpar) >= 0 &&
      avcodec_open2(decoder, codec, nullptr) >= 0) {
    probe.Opened = true;
    probe.Codec = avcodec_get_name(decoder->codec_id);
    probe.Width = decoder->width;
    probe.Height = decoder->height;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto receive = [&] {
      while (avcodec_receive_frame(decoder, frame) >= 0) {
        ++probe.Frames;
        // One row more than the picture: swscale's vector code writes a little past the end.
        QImage rgb(frame->width, frame->height + 1, QImage::Format_RGB888);
        SwsContext* convert = sws_getContext(
            frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), frame->width,
            frame->height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
        uint8_t* target[1] = {rgb.bits()};
        const int stride[1] = {static_cast<int>(rgb.bytesPerLine())};
        sws_scale(convert, frame->data, frame->linesize, 0, frame->height, target, stride);
        sws_freeContext(convert);
        probe.LastFrame = rgb.copy(0, 0, frame->width, frame->height);
      }
    };
    while (av_read_frame(input, packet) >= 0) {
      if (packet->stream_index == stream) avcodec_send_packet(decoder, packet);
      av_packet_unref(packet);
      receive();
    }
    avcodec_send_packet(decoder, nullptr);
    receive();
    av_frame_free(&frame);
    av_packet_free(&packet);
  }
  avcodec_free_context(&decoder);
  avformat_close_input(&input);
  return probe;
}
