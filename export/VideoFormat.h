// SPDX-License-Identifier: GPL-3.0-or-later
// The video formats a file name can ask for, and the rules every recording of them keeps: the
// suffix that chooses the format, the frame rates it is written at, the largest frame.
#pragma once

#include <QSize>
#include <QString>
#include <optional>

enum class TVideoFormat { Mp4, WebM, Gif };

// The format a file name asks for by its suffix (".mp4", ".webm", ".gif", any case); none for
// any other suffix.
std::optional<TVideoFormat> VideoFormatOfPath(const QString& path);

// The frame rate a video is written at for ticksPerSecond: the nearest standard rate (10, 12,
// 15, 24, 25, 30, 50, 60). GIF stores delays in hundredths of a second, and players slow down
// delays below 2/100 s, so a GIF gets the nearest of 10, 20, 25 and 50.
int StandardFrameRate(double ticksPerSecond, TVideoFormat format);

// The largest video frame in device pixels: as many pixels as 3840 x 2160 (a 4K screen), in either
// orientation or any other shape, and no side longer than MaxVideoSide. A lesson needs no more;
// H.264's levels 5.1 and 5.2, which players of 4K video decode, take frames of up to 36,864
// macroblocks of 16 x 16 pixels (9.4 million pixels, no side over 8,688); and the memory stays
// under a gigabyte, since the queue and the encoders hold every frame several times over.
constexpr long long MaxVideoPixels = 3840LL * 2160LL;
constexpr int MaxVideoSide = 8192;
// Why frames of devicePixels cannot be recorded, in the user's language; empty when they can.
QString VideoSizeRefusal(QSize devicePixels);
