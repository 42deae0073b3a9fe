// SPDX-License-Identifier: GPL-3.0-or-later
// How close a video is to the pictures it was made of, as a viewer's eye judges it: the
// structural similarity (SSIM) of luma, each decoded picture against the one drawn, over 8 x 8
// windows every 4 pixels. Shared by the recording tests and the recording size benchmark.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// Luma as the encoder sees it: studio-range BT.601, Y = 16 + (65.481 R + 128.553 G + 24.966 B)
// / 255 for R, G, B in 0 .. 255, as swscale converts by default.
inline std::vector<uint8_t> StudioLuma(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  std::vector<uint8_t> luma(static_cast<std::size_t>(rgb.width()) * rgb.height());
  for (int row = 0; row < rgb.height(); ++row) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(row));
    for (int column = 0; column < rgb.width(); ++column) {
      const QRgb p = line[column];
      const double y = 16.0 + (65.481 * qRed(p) + 128.553 * qGreen(p) + 24.966 * qBlue(p)) / 255.0;
      luma[static_cast<std::size_t>(row) * rgb.width() + column] = static_cast<uint8_t>(y + 0.5);
    }
  }
  return luma;
}

// The mean SSIM of two luma planes of width x height (strides in bytes) over 8 x 8 windows
// every 4 pixels, with C1 = (0.01 L)^2 and C2 = (0.03 L)^2 for L = 255: 1 for equal planes.
inline double LumaSsim(const uint8_t* a, int strideA, const uint8_t* b, int strideB, int width,
                       int height) {
  constexpr double C1 = 0.01 * 255 * 0.01 * 255;
  constexpr double C2 = 0.03 * 255 * 0.03 * 255;
  constexpr int Window = 8;
  constexpr int Step = 4;
  double sum = 0.0;
  long long windows = 0;
  for (int top = 0; top + Window <= height; top += Step) {
    for (int left = 0; left + Window <= width; left += Step) {
      long long sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
      for (int row = top; row < top + Window; ++row) {
        const uint8_t* pa = a + static_cast<std::ptrdiff_t>(row) * strideA + left;
        const uint8_t* pb = b + static_cast<std::ptrdiff_t>(row) * strideB + left;
        for (int k = 0; k < Window; ++k) {
          sa += pa[k];
          sb += pb[k];
          saa += pa[k] * pa[k];
          sbb += pb[k] * pb[k];
          sab += pa[k] * pb[k];
        }
      }
      constexpr double N = Window * Window;
      const double ma = sa / N, mb = sb / N;
      const double va = saa / N - ma * ma, vb = sbb / N - mb * mb, cab = sab / N - ma * mb;
      sum += (2 * ma * mb + C1) * (2 * cab + C2) / ((ma * ma + mb * mb + C1) * (va + vb + C2));
      ++windows;
    }
  }
  return windows > 0 ? sum / static_cast<double>(windows) : 1.0;
}

// Decodes the video at path and hands each picture's luma plane to take in the order shown
// (index from 0, the plane, its stride). False when the file cannot be read as a video.
inline bool DecodeLuma(const QString& path,
                       const std::function<void(int index, const uint8_t* luma, int stride,
                                                int width, int height)>& take) {
  AVFormatContext* input = nullptr;
  const QByteArray file = QFile::encodeName(path);
  if (avformat_open_input(&input, file.constData(), nullptr, nullptr) < 0) return false;
  const int stream = avformat_find_stream_info(input, nullptr) >= 0
                         ? av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
                         : -1;
  const AVCodec* codec =
      stream >= 0 ? avcodec_find_decoder(input->streams[stream]->codecpar->codec_id) : nullptr;
  AVCodecContext* decoder = codec ? avcodec_alloc_context3(codec) : nullptr;
  bool opened = false;
  if (decoder && avcodec_parameters_to_context(decoder, input->streams[stream]->codecpar) >= 0 &&
      avcodec_open2(decoder, codec, nullptr) >= 0) {
    opened = true;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    int index = 0;
    const auto receive = [&] {
      while (avcodec_receive_frame(decoder, frame) >= 0)
        take(index++, frame->data[0], frame->linesize[0], frame->width, frame->height);
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
  return opened;
}
