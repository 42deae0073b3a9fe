// SPDX-License-Identifier: GPL-3.0-or-later
// The frame a format stores for a picture: H.264 and VP9 keep colour at half resolution and round
// each side up to even, GIF stores the picture as it is; and the frame rate of a tick rate that is
// no number.
#include <gtest/gtest.h>

#include <limits>

#include "export/VideoFormatTraits.h"

namespace {

TEST(VideoFormat, FourTwoZeroFormatsStoreEvenSides) {
  const struct {
    TVideoFormat Format;
    QSize Picture;
    QSize Coded;
  } rows[] = {
      {TVideoFormat::Mp4, {160, 96}, {160, 96}},  {TVideoFormat::Mp4, {161, 97}, {162, 98}},
      {TVideoFormat::WebM, {161, 96}, {162, 96}}, {TVideoFormat::WebM, {2, 3}, {2, 4}},
      {TVideoFormat::Gif, {161, 97}, {161, 97}},  {TVideoFormat::Mp4, {3839, 2160}, {3840, 2160}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(row.Format) << ": " << row.Picture.width()
                                    << " x " << row.Picture.height());
    EXPECT_EQ(CodedPictureSize(row.Format, row.Picture), row.Coded);
  }
}

// A zero interval makes the tick rate infinite (1000 / 0 ms) or no number at all: the video is
// written at the fastest rate of its format, not the slowest.
TEST(VideoFormat, ATickRateThatIsNoNumberGetsTheFastestRate) {
  constexpr double Infinite = std::numeric_limits<double>::infinity();
  constexpr double NoNumber = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double TicksPerSecond;
    TVideoFormat Format;
    int Rate;
  } rows[] = {
      {Infinite, TVideoFormat::Mp4, 60},
      {NoNumber, TVideoFormat::WebM, 60},
      {Infinite, TVideoFormat::Gif, 50},
      {NoNumber, TVideoFormat::Gif, 50},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(StandardFrameRate(row.TicksPerSecond, row.Format), row.Rate) << row.TicksPerSecond;
  }
}

}  // namespace
