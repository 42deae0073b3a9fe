// SPDX-License-Identifier: GPL-3.0-or-later
// Each video format's container, encoder, pixel format and stored frame size.
#include "export/VideoFormatTraits.h"

TFormatTraits TraitsOf(TVideoFormat format) {
  switch (format) {
    case TVideoFormat::Mp4:
      return {"mp4", "libx264", AV_CODEC_ID_H264, "H.264", AV_PIX_FMT_YUV420P, true};
    case TVideoFormat::WebM:
      return {"webm", "libvpx-vp9", AV_CODEC_ID_VP9, "VP9", AV_PIX_FMT_YUV420P, true};
    case TVideoFormat::Gif:
      // 3-3-2 bits per pixel: the GIF encoder makes its palette from it; our pictures are a few
      // saturated colours on black, which it keeps.
      break;
  }
  return {"gif", "gif", AV_CODEC_ID_GIF, "GIF", AV_PIX_FMT_RGB8, false};
}

QSize CodedPictureSize(TVideoFormat format, QSize pictureSize) {
  if (!TraitsOf(format).EvenSides) return pictureSize;
  return QSize((pictureSize.width() + 1) / 2 * 2, (pictureSize.height() + 1) / 2 * 2);
}
