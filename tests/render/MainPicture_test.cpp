// SPDX-License-Identifier: GPL-3.0-or-later
// The main picture without a front-end: its sizes and default range, a picture too large for
// memory refused rather than thrown or aborted, and a caller's buffer drawn exactly as a picture
// of the core's own.
#include "render/MainPicture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/SimulationCommands.h"

namespace {

TEST(MainPicture, DevicePixelsCoverEveryLogicalPixel) {
  struct Row {
    TPictureSize Logical;
    double Ratio;
    TPictureSize Device;
  };
  const Row rows[] = {
      {{640, 480}, 1.0, {640, 480}},
      {{640, 480}, 2.0, {1280, 960}},
      {{641, 481}, 1.5, {962, 722}},
      {{3, 5}, 1.25, {4, 7}},
      {{100, 60}, 1.1, {110, 66}},
      {{0, 0}, 2.0, {1, 1}},
      {{1, 1}, 0.25, {1, 1}},
      // A side beyond an int is held at the largest.
      {{1500000000, 3}, 4.0, {2147483647, 12}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DevicePixelsOf(row.Logical, row.Ratio), row.Device)
        << row.Logical.Width << " x " << row.Logical.Height << " at " << row.Ratio;
  }
}

// A size type of a front-end's own, as the desktop's QSize is one.
class TOtherSize {
 public:
  TOtherSize(int w, int h) : W(w), H(h) {}
  int width() const { return W; }
  int height() const { return H; }

 private:
  int W, H;
};

TEST(MainPicture, AFrontEndsSizeTypeIsTakenAndGivenBack) {
  const TOtherSize device = DevicePixelsOf(TOtherSize(641, 481), 1.5);
  EXPECT_EQ(device.width(), 962);
  EXPECT_EQ(device.height(), 722);
  const TMainRange range = DefaultMainRange(TOtherSize(400, 100));
  EXPECT_EQ(range.Vertical.Maximum, DefaultMainRange(TPictureSize{400, 100}).Vertical.Maximum);
  const TPlotMapping mapping = MainPictureMapping(TOtherSize(30, 20), range);
  EXPECT_EQ(mapping.PlotRect.Right, 30);
  EXPECT_EQ(mapping.DrawArea.Bottom, 20);
}

TEST(MainPicture, TheDefaultRangeSpansTheModelAcrossAtEqualScales) {
  struct Row {
    TPictureSize Size;
    double HalfHeight;
  };
  // x from -1 to 1; y as far as the same scale reaches; a size without area takes height / width
  // = 1/2.
  const Row rows[] = {{{400, 200}, 0.5}, {{300, 600}, 2.0}, {{640, 480}, 0.75},
                      {{0, 100}, 0.5},   {{100, 0}, 0.5},   {{-5, 10}, 0.5}};
  for (const Row& row : rows) {
    const TMainRange range = DefaultMainRange(row.Size);
    EXPECT_FALSE(range.Horizontal.Automatic);
    EXPECT_EQ(range.Horizontal.Minimum, -1.0);
    EXPECT_EQ(range.Horizontal.Maximum, 1.0);
    EXPECT_DOUBLE_EQ(range.Vertical.Maximum, row.HalfHeight);
    EXPECT_DOUBLE_EQ(range.Vertical.Minimum, -row.HalfHeight);
  }
}

TEST(MainPicture, APictureBeyondMemoryIsRefusedWithItsDevicePixels) {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands simulation(state, display);
  ASSERT_FALSE(simulation.Start());
  struct Row {
    TPictureSize Logical;
    double Ratio;
  };
  // More pixels than an address reaches, refused before any memory is asked for.
  const Row rows[] = {{{2000000000, 2000000000}, 1.0}, {{1000000000, 1000000000}, 2.0}};
  for (const Row& row : rows) {
    TMainPictureFrame frame;
    frame.Size = {3, 3};
    const TRefusal refusal = RenderMainPicture(frame, state, display, row.Logical, row.Ratio,
                                               DefaultMainRange(row.Logical), TByteOrder::Rgba);
    ASSERT_EQ(refusal.Code, TRefusalCode::PictureTooLarge);
    const TPictureSize device = DevicePixelsOf(row.Logical, row.Ratio);
    ASSERT_EQ(refusal.Values.size(), 2u);
    EXPECT_EQ(refusal.Values[0].Kind, TRefusalValue::TKind::Count);
    EXPECT_EQ(refusal.Values[0].Count, device.Width);
    EXPECT_EQ(refusal.Values[1].Count, device.Height);
    EXPECT_EQ(frame.Pixels, nullptr) << "no pixels left behind";
    EXPECT_EQ(frame.PixelCount(), 0u);
  }
}

TEST(MainPicture, ACallersBufferIsDrawnAsThePictureAndNotBeyondItsRows) {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands simulation(state, display);
  ASSERT_FALSE(simulation.Start());
  ASSERT_FALSE(simulation.ChooseTrajectory(tmCircle, simulation.Trajectory()));
  for (int tick = 0; tick < 40; ++tick) simulation.RunTick();
  constexpr TPictureSize Size{90, 50};
  const TMainRange range = DefaultMainRange(Size);
  for (const TByteOrder order : {TByteOrder::Bgra, TByteOrder::Rgba}) {
    TMainPictureFrame frame;
    ASSERT_FALSE(RenderMainPicture(frame, state, display, Size, 1.0, range, order));
    ASSERT_EQ(frame.Size, Size);

    constexpr int Stride = Size.Width + 7;
    constexpr std::uint32_t Guard = 0x5A5A5A5Au;
    std::vector<std::uint32_t> memory(static_cast<std::size_t>(Stride) * Size.Height, Guard);
    RenderMainPictureInto({memory.data(), Size.Width, Size.Height, Stride, order}, state, display,
                          1.0, range);
    for (int y = 0; y < Size.Height; ++y) {
      for (int x = 0; x < Stride; ++x) {
        const std::uint32_t word = memory[static_cast<std::size_t>(y) * Stride + x];
        if (x < Size.Width) {
          ASSERT_EQ(word, frame.Pixels[static_cast<std::size_t>(y) * Size.Width + x])
              << x << ", " << y;
        } else {
          ASSERT_EQ(word, Guard) << "padding " << x << ", " << y;
        }
      }
    }
  }
}

}  // namespace
