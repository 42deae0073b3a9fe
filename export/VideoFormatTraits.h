// SPDX-License-Identifier: GPL-3.0-or-later
// What each video format is made of in FFmpeg's terms: its container, its encoder and codec, the
// pixel format the encoder takes, and the size of the frame it stores for a picture.
#pragma once

#include <QSize>

#include "export/VideoFormat.h"

// After the Qt headers, which bring the C99 integer macros FFmpeg's headers want in C++.
extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/pixfmt.h>
}

struct TFormatTraits {
  const char* Muxer;
  const char* EncoderName;  // preferred encoder
  AVCodecID Codec;          // any encoder of this codec when the preferred one is missing
  const char* CodecText;    // for messages
  AVPixelFormat PixelFormat;
  bool EvenSides;  // 4:2:0 chroma needs whole 2 x 2 blocks
};

TFormatTraits TraitsOf(TVideoFormat format);

// The frame the encoder stores for pictures of pictureSize: with even sides where the format needs
// them, the added row or column black.
QSize CodedPictureSize(TVideoFormat format, QSize pictureSize);
