// SPDX-License-Identifier: GPL-3.0-or-later
// The format a video's name asks for, its frame rates and its largest frame.
#include "export/VideoFormat.h"

#include <QFileInfo>
#include <cmath>

#include "export/RecordingMessages.h"

std::optional<TVideoFormat> VideoFormatOfPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("mp4")) return TVideoFormat::Mp4;
  if (suffix == QLatin1String("webm")) return TVideoFormat::WebM;
  if (suffix == QLatin1String("gif")) return TVideoFormat::Gif;
  return std::nullopt;
}

int StandardFrameRate(double ticksPerSecond, TVideoFormat format) {
  static constexpr int VideoRates[] = {10, 12, 15, 24, 25, 30, 50, 60};
  static constexpr int GifRates[] = {10, 20, 25, 50};
  // A rate that is no number (a zero interval) gets the fastest rate.
  if (!std::isfinite(ticksPerSecond)) ticksPerSecond = 1000.0;
  const auto nearest = [ticksPerSecond](const auto& rates) {
    int best = rates[0];
    for (const int rate : rates) {
      if (std::abs(rate - ticksPerSecond) < std::abs(best - ticksPerSecond)) best = rate;
    }
    return best;
  };
  return format == TVideoFormat::Gif ? nearest(GifRates) : nearest(VideoRates);
}

QString VideoSizeRefusal(QSize devicePixels) {
  const long long width = devicePixels.width();
  const long long height = devicePixels.height();
  if (width < 2 || height < 2) {
    return RecordingReason("a picture of %1 x %2 pixels cannot be recorded").arg(width).arg(height);
  }
  if (width * height <= MaxVideoPixels && width <= MaxVideoSide && height <= MaxVideoSide)
    return {};
  return RecordingReason(
             "a video frame may have as many pixels as 3840 x 2160, in any shape with no side "
             "over %1, and this one is %2 x %3")
      .arg(MaxVideoSide)
      .arg(width)
      .arg(height);
}
