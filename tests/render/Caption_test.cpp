// SPDX-License-Identifier: GPL-3.0-or-later
// The caption's facts and words per path, the time and length texts, the scale bar against the
// mapping, and the caption and theme as they land in the picture.
#include "render/Caption.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "canvas/RasterCanvas.h"
#include "engine/SimulationCommands.h"
#include "render/MainPicture.h"
#include "render/Palette.h"

namespace {

TEST(Caption, ScaleAndTickTimeFollowThePathAndTheScaleUnit) {
  struct Row {
    int Mode;
    TScaleUnit Unit;
    double MetresPerUnit;
    bool Fixed;
  };
  const Row rows[] = {
      {tmCircle, {100, TLengthUnit::Metre}, 50.0, false},
      {tmMouse, {1, TLengthUnit::Kilometre}, 500.0, false},
      {tmDipole, {10, TLengthUnit::Millimetre}, 0.005, false},
      // The undulator and the bending magnet are set up in metres, whatever the window says.
      {tmUndulator, {1, TLengthUnit::Kilometre}, 1.0, true},
      {tmBending, {100, TLengthUnit::Millimetre}, 1.0, true},
  };
  for (const Row& row : rows) {
    const TPictureScale scale = PictureScaleOf(row.Mode, row.Unit);
    EXPECT_DOUBLE_EQ(scale.MetresPerUnit, row.MetresPerUnit) << row.Mode;
    EXPECT_EQ(scale.Fixed, row.Fixed) << row.Mode;
    // Δt = (2 / ISize) u / c: light crosses the 2 u of the plot in ISize ticks.
    EXPECT_NEAR(SecondsPerTick(200, scale) * 200 * 299792458.0, 2 * row.MetresPerUnit,
                1e-9 * row.MetresPerUnit);
  }
}

TEST(Caption, TimesAndLengthsTakeThreeDigitsAndAPrefix) {
  const std::pair<double, const char*> times[] = {
      {0.0, "0 s"},          {1.6678e-9, "1.67 ns"}, {4.1e-8, "41.0 ns"},
      {9.997e-7, "1.00 µs"}, {0.0123, "12.3 ms"},   {2.5, "2.50 s"},
      {123.4, "123 s"},      {3e-16, "300 as"},
  };
  for (const auto& [seconds, text] : times) EXPECT_EQ(TimeText(seconds), text) << seconds;
  const std::pair<double, const char*> lengths[] = {
      {50.0, "50 m"}, {2000.0, "2 km"}, {5e-4, "500 µm"}, {0.02, "20 mm"}, {1.0, "1 m"}};
  for (const auto& [metres, text] : lengths) EXPECT_EQ(LengthText(metres), text) << metres;
}

TEST(Caption, TheScaleBarIsTheLongestRoundLengthThatFitsTheMapping) {
  struct Row {
    double HalfRange;  // u: the plot shows x from -HalfRange to HalfRange
    double MetresPerUnit;
    int MaxPixels;
    double Metres;
  };
  const Row rows[] = {
      {1.0, 50.0, 160, 20.0},   // 100 m over 800 px: 8 px/m, 20 m at most
      {1.0, 1.0, 160, 0.2},     // 2 m over 800 px: 0.4 m at most
      {0.1, 50.0, 160, 2.0},    // zoomed in ten times
      {1.0, 50.0, 100, 10.0},   // 12.5 m at most
      {1.0, 50.0, 400, 50.0},
  };
  for (const Row& row : rows) {
    TPlotMapping mapping = MainPictureMapping(TPictureSize{800, 400},
                                              {{false, -row.HalfRange, row.HalfRange},
                                               {false, -row.HalfRange / 2, row.HalfRange / 2}});
    const TScaleBar bar = ScaleBarOf(mapping, {row.MetresPerUnit, false}, row.MaxPixels);
    EXPECT_DOUBLE_EQ(bar.Metres, row.Metres) << row.HalfRange << " " << row.MaxPixels;
    EXPECT_LE(bar.Pixels, row.MaxPixels);
    // The bar's ends are the pixels of two model points that far apart.
    const double units = bar.Metres / row.MetresPerUnit;
    EXPECT_NEAR(bar.Pixels, mapping.ValueToPixelX(units) - mapping.ValueToPixelX(0.0), 1.0);
    EXPECT_EQ(bar.Label, LengthText(bar.Metres));
  }
  EXPECT_EQ(ScaleBarOf(MainPictureMapping(TPictureSize{800, 400}, {{false, 0, 0}, {false, 0, 0}}),
                       {1.0, false}, 160).Pixels, 0) << "a mapping without extent has no bar";
}

struct TRunning {
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
  explicit TRunning(int mode, int ticks) {
    EXPECT_FALSE(Commands.Start());
    EXPECT_FALSE(Commands.ChooseTrajectory(mode, Commands.Trajectory()));
    for (int k = 0; k < ticks; ++k) Commands.RunTick();
  }
};

TEST(Caption, TheLinesNameThePathAndGiveItsSpeedTickAndTime) {
  const std::pair<int, const char*> rows[] = {
      {tmStraightLine, "Straight line"}, {tmDipole, "Dipole oscillation"}, {tmCircle, "Circle"},
      {tmRaceTrack, "Race track"},       {tmUndulator, "Undulator"},       {tmBending, "Bending magnet"},
  };
  for (const auto& [mode, name] : rows) {
    TRunning run(mode, 30);
    const TCaptionFacts facts = CaptionFactsOf(run.State, run.Display);
    EXPECT_EQ(facts.Tick, 30);
    EXPECT_NEAR(facts.Gamma, 1.0 / std::sqrt(1.0 - facts.Beta * facts.Beta), 1e-12);
    EXPECT_DOUBLE_EQ(facts.Seconds,
                     30 * SecondsPerTick(run.State.ISize,
                                         PictureScaleOf(mode, run.Display.ScaleUnit)));
    const std::vector<std::string> lines = CaptionLines(facts, TPictureWords::English());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], name);
    EXPECT_NE(lines[1].find("β = "), std::string::npos);
    EXPECT_EQ(lines[2].rfind("tick 30   time ", 0), 0u) << lines[2];
  }
  // The words are the session's.
  TPictureWords words = TPictureWords::English();
  words[TPictureWord::PathCircle] = "円軌道";
  words[TPictureWord::Tick] = "コマ";
  TRunning run(tmCircle, 5);
  const std::vector<std::string> lines = CaptionLines(CaptionFactsOf(run.State, run.Display), words);
  EXPECT_EQ(lines[0], "円軌道");
  EXPECT_EQ(lines[2].rfind("コマ 5", 0), 0u);
}

TEST(Caption, BetaNeverRoundsUpToOne) {
  TCaptionFacts facts;
  facts.Beta = 0.9996;
  facts.Gamma = 1.0 / std::sqrt(1.0 - facts.Beta * facts.Beta);
  EXPECT_EQ(CaptionLines(facts, TPictureWords::English())[1], "β = 0.9996   γ = 35.4");
}

// Pixels of about colour (each channel within 40: letters are blended at their edges) in the
// picture's top-left or top-right sixteenth.
int CountIn(const TMainPictureFrame& frame, TColor colour, bool topLeft) {
  int count = 0;
  for (int y = 0; y < frame.Size.Height / 4; ++y) {
    for (int x = 0; x < frame.Size.Width / 4; ++x) {
      const int px = topLeft ? x : frame.Size.Width - 1 - x;
      const std::uint32_t p = frame.Pixels[static_cast<std::size_t>(y) * frame.Size.Width + px];
      const std::uint32_t want = TRasterCanvas::PixelOf(colour);
      bool near = true;
      for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((p >> shift) & 0xFFu), b = static_cast<int>((want >> shift) & 0xFFu);
        near = near && std::abs(a - b) <= 40;
      }
      if (near) ++count;
    }
  }
  return count;
}

TEST(Caption, TheCaptionAndTheThemeLandInThePicture) {
  constexpr TPictureSize Size{640, 400};
  for (const TTheme theme : {TTheme::Dark, TTheme::Projector}) {
    TRunning run(tmCircle, 20);
    run.Display.Theme = theme;
    const TPalette& palette = PaletteOf(theme);
    TMainPictureFrame shown, hidden;
    ASSERT_FALSE(RenderMainPicture(shown, run.State, run.Display, Size, 1.0, DefaultMainRange(Size)));
    run.Display.ShowCaption = false;
    ASSERT_FALSE(RenderMainPicture(hidden, run.State, run.Display, Size, 1.0, DefaultMainRange(Size)));
    EXPECT_GT(CountIn(shown, palette.Text, true), 40) << "the caption's letters";
    EXPECT_EQ(CountIn(hidden, palette.Text, true), 0);
    // The theme's ground fills the corner the caption leaves free.
    EXPECT_GT(CountIn(hidden, palette.Ground, false), Size.Width * Size.Height / 32);
  }
}

}  // namespace
