// SPDX-License-Identifier: GPL-3.0-or-later
// Frames of the main picture, byte for byte: every trajectory kind after some ticks, with each
// layer (field lines, wavefronts, node points, arrows), smooth and aliased, at several pixel
// ratios and in both byte orders, hashed and compared with hashes taken once natively. The same
// table runs as WebAssembly: equal hashes there are the browser's frames equal to the desktop's.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "engine/SimulationCommands.h"
#include "render/MainPicture.h"

namespace {

// FNV-1a, 64 bits, over the pixels' bytes in memory order (lowest byte of each word first).
std::uint64_t Fnv1a(const TMainPictureFrame& frame) {
  std::uint64_t hash = 14695981039346656037ull;
  for (std::size_t k = 0; k < frame.PixelCount(); ++k) {
    const std::uint32_t word = frame.Pixels[k];
    for (int byte = 0; byte < 4; ++byte) {
      hash ^= (word >> (8 * byte)) & 0xFFu;
      hash *= 1099511628211ull;
    }
  }
  return hash;
}

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016llxull", static_cast<unsigned long long>(value));
  return text;
}

struct TLayers {
  bool FieldLines = true;
  bool WaveFronts = false;
  bool NodePoints = false;
  bool Arrows = false;
};

struct TScene {
  const char* Name;
  int Mode;
  TModelSizePreset Model;
  int Ticks;
  TLayers Layers;
  bool Smooth;
  double Ratio;
  std::uint64_t Bgra;
  std::uint64_t Rgba;
  // The caption with its key and scale bar, its letters set by the built-in font, and the theme.
  bool Caption = false;
  TTheme Theme = TTheme::Dark;
};

// A sweep of the cursor the mouse-mode charge is pulled to, in model units: straight runs whose
// ends are exact binary fractions, so that no library function stands between the table and
// the picture.
std::optional<TVector2> MouseCursor(int tick) {
  const double t = static_cast<double>(tick % 64) / 64.0;
  if (tick % 128 < 64) return TVector2{-0.5 + t, 0.25 * t};
  return TVector2{0.5 - t, 0.25 - 0.5 * t};
}

constexpr TModelSizePreset Small = ModelSizeSmall;
constexpr TModelSizePreset Medium = ModelSizeMedium;
constexpr TModelSizePreset Large = ModelSizeLarge;
constexpr TLayers Lines{};
constexpr TLayers Everything{true, true, true, true};
constexpr TLayers WavesAndNodes{false, true, true, false};

// The hashes were taken from the native build. A change to what the picture draws changes them:
// the failures name each frame's new hash.
const TScene Scenes[] = {
    {"mouse", tmMouse, Small, 90, Lines, true, 1.0, 0x12b7f763a0a63867ull, 0xcf9871b30e34f903ull},
    {"line",
     tmStraightLine,
     Small,
     80,
     {true, true, true, false},
     true,
     1.0,
     0x3bab379a3c9a742full,
     0xd5b46eb50ef3d6ffull},
    {"dipole",
     tmDipole,
     Small,
     120,
     {true, false, false, true},
     true,
     1.0,
     0x81e1b892fcbdb759ull,
     0x261e1bf271a48579ull},
    {"circle", tmCircle, Medium, 150, Lines, true, 1.0, 0x48abd6273afdbd12ull,
     0x5a6ce1981bafde76ull},
    {"circle aliased", tmCircle, Small, 60, Everything, false, 1.0, 0x18394fed4b158512ull,
     0x6658e8b3963806c6ull},
    {"race track", tmRaceTrack, Small, 140, Lines, false, 1.0, 0xe62976e42b08ce58ull,
     0x246b1c07c0fcf1c0ull},
    {"undulator",
     tmUndulator,
     Small,
     110,
     {true, true, false, false},
     true,
     1.5,
     0x55c9038fdfd3f4d8ull,
     0x750eceb4d98b1a40ull},
    {"bending", tmBending, Small, 100, WavesAndNodes, true, 1.0, 0xaa590091f4734aebull,
     0x10500832695ac96full},
    {"bending aliased wide", tmBending, Small, 70, Everything, false, 2.0, 0x3cf3ba5d12a84620ull,
     0x963c174fd246ce1cull},
    {"undulator large",
     tmUndulator,
     Large,
     400,
     {true, true, false, true},
     true,
     1.0,
     0x26feb7224e2672faull,
     0x74ace823bc2923baull},
    {"race track fractional", tmRaceTrack, Medium, 250, Lines, true, 1.25, 0x353598c0c476bd4full,
     0x0932c7e2f28ce207ull},
    {"bending large aliased",
     tmBending,
     Large,
     300,
     {true, true, true, false},
     false,
     1.0,
     0x1f51b9dbaeda9cb3ull,
     0xb66bdf654d9f6a53ull},
    {"mouse nodes",
     tmMouse,
     Medium,
     200,
     {true, false, true, false},
     false,
     1.5,
     0x7e930a894e738609ull,
     0xace19ca5586498d9ull},
    {"dipole wide", tmDipole, Small, 50, Everything, true, 2.0, 0xfbd41a090efb2238ull,
     0x4fd62670a56b664cull},
    {"circle captioned", tmCircle, Small, 80, Everything, true, 1.0, 0x57951ab9dfb0e16cull,
     0x2154b4cc64f4c0d0ull, true},
    {"undulator captioned projector", tmUndulator, Small, 120, Lines, true, 2.0,
     0x8daf12f621b6666full, 0xff80db5121a4ea9bull, true,
     TTheme::Projector},
    {"mouse projector", tmMouse, Small, 60, WavesAndNodes, false, 1.5, 0x8ad2f7ddc0d5110dull,
     0x6e56f7f7bd4e2e15ull, false,
     TTheme::Projector},
};

constexpr TPictureSize LogicalSize{240, 160};

// The scene's frame after its ticks, set up as any front-end sets it up.
TMainPictureFrame RenderScene(const TScene& scene, TByteOrder order) {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands simulation(state, display);
  EXPECT_FALSE(simulation.Start());
  EXPECT_FALSE(simulation.ChooseModelSize(
      {scene.Model.ISize, scene.Model.JSize, scene.Model.WaveFrontSpacing}));
  EXPECT_FALSE(simulation.ChooseTrajectory(scene.Mode, simulation.Trajectory()));
  TDisplaySettings shown = display;
  shown.ShowFieldLines = scene.Layers.FieldLines;
  shown.ShowWaveFronts = scene.Layers.WaveFronts;
  shown.ShowNodePoints = scene.Layers.NodePoints;
  shown.ShowFieldVectors = scene.Layers.Arrows;
  shown.SmoothLines = scene.Smooth;
  shown.ShowCaption = scene.Caption;
  shown.Theme = scene.Theme;
  EXPECT_FALSE(simulation.SetDisplay(shown));
  for (int tick = 0; tick < scene.Ticks; ++tick) simulation.RunTick(MouseCursor(tick));
  TMainPictureFrame frame;
  EXPECT_FALSE(RenderMainPicture(frame, simulation.State(), simulation.Display(), LogicalSize,
                                 scene.Ratio, DefaultMainRange(LogicalSize), order));
  return frame;
}

TEST(MainPictureFrames, EveryFrameHasItsHashInBothByteOrders) {
  for (const TScene& scene : Scenes) {
    SCOPED_TRACE(scene.Name);
    const TMainPictureFrame bgra = RenderScene(scene, TByteOrder::Bgra);
    const TMainPictureFrame rgba = RenderScene(scene, TByteOrder::Rgba);
    ASSERT_EQ(bgra.Size, DevicePixelsOf(LogicalSize, scene.Ratio));
    EXPECT_EQ(Hex(Fnv1a(bgra)), Hex(scene.Bgra)) << "BGRA";
    EXPECT_EQ(Hex(Fnv1a(rgba)), Hex(scene.Rgba)) << "RGBA";
  }
}

TEST(MainPictureFrames, TheRgbaFrameIsTheBgraFrameWithRedAndBlueSwapped) {
  for (const TScene& scene : Scenes) {
    SCOPED_TRACE(scene.Name);
    const TMainPictureFrame bgra = RenderScene(scene, TByteOrder::Bgra);
    const TMainPictureFrame rgba = RenderScene(scene, TByteOrder::Rgba);
    ASSERT_EQ(rgba.Size, bgra.Size);
    EXPECT_EQ(rgba.Order, TByteOrder::Rgba);
    std::size_t coloured = 0;
    for (std::size_t k = 0; k < bgra.PixelCount(); ++k) {
      const std::uint32_t p = bgra.Pixels[k];
      const std::uint32_t swapped = (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
      ASSERT_EQ(rgba.Pixels[k], swapped) << "pixel " << k;
      if (((p >> 16) & 0xFFu) != (p & 0xFFu)) ++coloured;
    }
    EXPECT_GT(coloured, 100u) << "pixels whose red and blue differ, so that the swap shows";
  }
}

}  // namespace
