// SPDX-License-Identifier: GPL-3.0-or-later
// The frame around a surface's picture, ring by ring: the grey border and the sunken bevel of the
// main and zoom plots, the bevel alone of the pattern window, at one and at two pixels a ring.
#include "canvas/SurfaceFrame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas/RasterCanvas.h"
#include "canvas/TestImage.h"

namespace {

// The picture as letters: 'g' border grey, 's' bevel shadow, 'h' bevel highlight, '.' the ground.
std::vector<std::string> Framed(TSurfaceKind kind, int line, int side) {
  TTestImage image(side, side, TByteOrder::Rgba);
  image.Fill(Rgb(0, 0, 0));
  TRasterCanvas canvas(image);
  DrawSurfaceFrame(canvas, kind, {0, 0, side, side}, line);
  std::vector<std::string> rows;
  for (int y = 0; y < side; ++y) {
    std::string row;
    for (int x = 0; x < side; ++x) {
      const TRgb p = image.Pixel(x, y);
      row += p == Rgb(160, 160, 160)   ? 'g'
             : p == Rgb(64, 64, 64)    ? 's'
             : p == Rgb(255, 255, 255) ? 'h'
             : p == Rgb(0, 0, 0)       ? '.'
                                       : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(SurfaceFrame, RingsOfEachKind) {
  struct Row {
    TSurfaceKind Kind;
    int Line;
    std::vector<std::string> Picture;
  };
  const Row rows[] = {
      // The corners bottom-left and top-right go to the top-left colour.
      {TSurfaceKind::Main, 1, {"gggggg", "gssssg", "gs..hg", "gs..hg", "gshhhg", "gggggg"}},
      {TSurfaceKind::Zoom, 1, {"gggggg", "gssssg", "gs..hg", "gs..hg", "gshhhg", "gggggg"}},
      {TSurfaceKind::Pattern, 1, {"ssssss", "s....h", "s....h", "s....h", "s....h", "shhhhh"}},
      {TSurfaceKind::Main,
       2,
       {"gggggggggg", "gggggggggg", "ggssssssgg", "ggssssssgg", "ggss..hhgg", "ggss..hhgg",
        "ggsshhhhgg", "ggsshhhhgg", "gggggggggg", "gggggggggg"}},
      {TSurfaceKind::Pattern, 2, {"ssssss", "ssssss", "ss..hh", "ss..hh", "sshhhh", "sshhhh"}},
  };
  for (const Row& row : rows) {
    const int side = static_cast<int>(row.Picture.size());
    EXPECT_EQ(Framed(row.Kind, row.Line, side), row.Picture)
        << "kind " << static_cast<int>(row.Kind) << ", line " << row.Line;
  }
}

TEST(SurfaceFrame, AnAreaTooSmallForTheInnerRingDrawsTheOuterOnly) {
  EXPECT_EQ(Framed(TSurfaceKind::Main, 1, 2), (std::vector<std::string>{"gg", "gg"}));
  EXPECT_EQ(Framed(TSurfaceKind::Main, 1, 1), (std::vector<std::string>{"g"}));
}

TEST(SurfaceFrame, FillBoxSetsPenAndBrushToItsColour) {
  TTestImage image(4, 3);
  image.Fill(Rgb(0, 0, 0));
  TRasterCanvas canvas(image);
  canvas.Brush.Style = TBrushStyle::Clear;
  FillBox(canvas, 1, 0, 4, 3, ColorRGB(1, 2, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(image.Pixel(x, y), x >= 1 ? Rgb(1, 2, 3) : Rgb(0, 0, 0)) << x << ", " << y;
  EXPECT_EQ(canvas.Pen.Color, ColorRGB(1, 2, 3));
  EXPECT_EQ(canvas.Brush.Style, TBrushStyle::Solid);
}

}  // namespace
