// SPDX-License-Identifier: GPL-3.0-or-later
// The eye in the main picture: drawn where the observer stands, at the device ratio's size and
// in the theme's colours, with its line running back to where the charge sent what the eye now
// receives; nothing of it when the observer is hidden.
#include "render/ObserverMarker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "canvas/RasterCanvas.h"
#include "engine/SimulationCommands.h"
#include "render/MainPicture.h"
#include "render/Palette.h"

namespace {

constexpr TPictureSize Size{400, 240};
constexpr TVector2 Eye{0.6, 0.3};

// The circle run long enough for the light to reach the eye (0.4 .. 0.8 u from the path: 40 ..
// 80 ticks at 0.01 u a tick), only the eye's own marks in the picture besides the charge and
// the path.
struct TPictureRun {
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
  TPictureRun() {
    EXPECT_FALSE(Commands.Start());
    EXPECT_FALSE(Commands.ChooseTrajectory(tmCircle, Commands.Trajectory()));
    TDisplaySettings display = Commands.Display();
    display.ShowFieldLines = false;
    display.ShowCaption = false;
    display.SmoothLines = false;
    display.Observer.Place = Eye;
    EXPECT_FALSE(Commands.SetDisplay(display));
    for (int tick = 0; tick < 150; ++tick) Commands.RunTick();
  }
  TMainPictureFrame Picture(bool shown, double ratio, TTheme theme = TTheme::Dark) {
    Display.Observer.Shown = shown;
    Display.Theme = theme;
    TMainPictureFrame frame;
    EXPECT_FALSE(RenderMainPicture(frame, State, Display, Size, ratio, DefaultMainRange(Size)));
    return frame;
  }
};

std::uint32_t At(const TMainPictureFrame& frame, int x, int y) {
  return frame.Pixels[static_cast<std::size_t>(y) * frame.Size.Width + x];
}

// The pixel of a model point in a picture of Size at ratio.
TCanvasPoint PixelOf(TVector2 p, double ratio) {
  const TPlotMapping mapping = MainPictureMapping(DevicePixelsOf(Size, ratio), DefaultMainRange(Size));
  return {mapping.ValueToPixelX(p.X), mapping.ValueToPixelY(p.Y)};
}

double DistanceToSegment(double x, double y, TCanvasPoint a, TCanvasPoint b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double length2 = dx * dx + dy * dy;
  const double t =
      length2 > 0 ? std::clamp(((x - a.X) * dx + (y - a.Y) * dy) / length2, 0.0, 1.0) : 0.0;
  return std::hypot(x - (a.X + t * dx), y - (a.Y + t * dy));
}

TEST(ObserverMarker, TheEyeAndItsLineAreDrawnWhereTheyBelongAndNotWhenHidden) {
  struct TRow {
    double Ratio;
    TTheme Theme;
  };
  const TRow rows[] = {{1.0, TTheme::Dark}, {2.0, TTheme::Dark}, {1.0, TTheme::Projector}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Ratio);
    TPictureRun run;
    const TPalette& palette = PaletteOf(row.Theme);
    const TMainPictureFrame hidden = run.Picture(false, row.Ratio, row.Theme);
    const TMainPictureFrame shown = run.Picture(true, row.Ratio, row.Theme);
    // Hidden is the picture without any observer at all.
    TDisplaySettings none = run.Display;
    none.Observer = TObserverSettings{};
    TMainPictureFrame plain;
    ASSERT_FALSE(RenderMainPicture(plain, run.State, none, Size, row.Ratio, DefaultMainRange(Size)));
    ASSERT_EQ(hidden.PixelCount(), plain.PixelCount());
    EXPECT_TRUE(std::equal(hidden.Pixels.get(), hidden.Pixels.get() + hidden.PixelCount(),
                           plain.Pixels.get()));

    TObserverReception reception;
    ASSERT_TRUE(ReceiveAt(run.State.FieldSimulation, run.State.ISize, Eye, 0.0, reception));
    const TCanvasPoint eye = PixelOf(Eye, row.Ratio);
    const TCanvasPoint sent = PixelOf(reception.Emission, row.Ratio);
    ASSERT_GT(std::hypot(eye.X - sent.X, eye.Y - sent.Y), 40.0 * row.Ratio);
    const int halfWidth = ScaledPixels(ObserverEyeHalfWidth, row.Ratio);
    const int halfHeight = ScaledPixels(ObserverEyeHalfHeight, row.Ratio);
    // The pupil at the eye's pixel.
    EXPECT_EQ(At(shown, eye.X, eye.Y), TRasterCanvas::PixelOf(palette.Text));
    EXPECT_EQ(At(hidden, eye.X, eye.Y), TRasterCanvas::PixelOf(palette.Ground));

    int eyeLeft = INT_MAX, eyeRight = INT_MIN, linePixels = 0;
    for (int y = 0; y < shown.Size.Height; ++y) {
      for (int x = 0; x < shown.Size.Width; ++x) {
        if (At(shown, x, y) == At(hidden, x, y)) continue;
        const bool inEye = std::abs(x - eye.X) <= halfWidth + 2 && std::abs(y - eye.Y) <= halfHeight + 2;
        if (inEye) {
          if (At(shown, x, y) == TRasterCanvas::PixelOf(palette.Text)) {
            eyeLeft = std::min(eyeLeft, x);
            eyeRight = std::max(eyeRight, x);
          }
          continue;
        }
        // Outside the eye only the line changes the picture.
        EXPECT_LE(DistanceToSegment(x, y, sent, eye), 1.5 * row.Ratio) << x << ", " << y;
        linePixels += At(shown, x, y) == TRasterCanvas::PixelOf(palette.PanelEdge);
      }
    }
    // The almond spans its width at the ratio, its corners on the eye's row.
    EXPECT_NEAR(eyeLeft, eye.X - halfWidth, 1);
    EXPECT_NEAR(eyeRight, eye.X + halfWidth, 1);
    // The line from the retarded position: one pixel for each along its longer axis, less what
    // the eye and the charge's marker cover.
    const int along = std::max(std::abs(eye.X - sent.X), std::abs(eye.Y - sent.Y));
    EXPECT_GT(linePixels, along / 2);
  }
}

}  // namespace
