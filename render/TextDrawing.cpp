// SPDX-License-Identifier: GPL-3.0-or-later
// Text set glyph by glyph with the embedded font: the pen moves by whole font units, so a text
// lands at the same pixels wherever it starts on a whole pixel, and each glyph is rasterized at
// its own fraction of a pixel. A text's glyphs go into one coverage picture, handed to the canvas
// in one piece (one image in a vector file, not one per letter).
#include "render/TextDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "render/Typeface.h"

namespace {

// Sizes beyond this many device pixels per em are not drawn: no output is that large, and the
// coverage picture of a line of them would not fit in memory.
constexpr double LargestSize = 1024.0;
// A coverage picture is handed on before it grows wider than this, so that a long text at a large
// size never asks for much memory at once.
constexpr std::int64_t LargestRunWidth = 4096;

bool UsableSize(double size) {
  return size > 0.0 && size <= LargestSize;
}

// The next character of utf8 from at on, moving at past it; false for a byte that starts no valid
// sequence (overlong forms, surrogates and code points beyond U+10FFFF included), which at then
// passes alone.
bool NextCharacter(std::string_view utf8, std::size_t& at, char32_t& character) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
  const unsigned lead = byte(at);
  if (lead < 0x80) {
    character = lead;
    ++at;
    return true;
  }
  int length = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    least = 0x10000;
  } else {
    ++at;
    return false;
  }
  if (at + static_cast<std::size_t>(length) > utf8.size()) {
    ++at;
    return false;
  }
  char32_t value = lead & (0x7Fu >> length);
  for (int k = 1; k < length; ++k) {
    const unsigned next = byte(at + static_cast<std::size_t>(k));
    if ((next & 0xC0u) != 0x80u) {
      ++at;
      return false;
    }
    value = (value << 6) | (next & 0x3Fu);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++at;
    return false;
  }
  character = value;
  at += static_cast<std::size_t>(length);
  return true;
}

// The glyphs of utf8, a bad byte giving the missing-glyph box.
std::vector<int> GlyphsOf(const TTypeface& face, std::string_view utf8) {
  std::vector<int> glyphs;
  glyphs.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    char32_t character = 0;
    glyphs.push_back(NextCharacter(utf8, at, character) ? face.GlyphOf(character) : 0);
  }
  return glyphs;
}

// The pen's place before each glyph, and after the last, in font units from the start.
std::vector<std::int64_t> PenPlacesOf(const TTypeface& face, const std::vector<int>& glyphs) {
  std::vector<std::int64_t> places(glyphs.size() + 1, 0);
  std::int64_t pen = 0;
  for (std::size_t k = 0; k < glyphs.size(); ++k) {
    places[k] = pen;
    pen += face.AdvanceOf(glyphs[k]);
    if (k + 1 < glyphs.size()) pen += face.KerningOf(glyphs[k], glyphs[k + 1]);
  }
  places[glyphs.size()] = pen;
  return places;
}

// A pixel count from a length in pixels, rounded up; lengths a hair above a whole number (the
// rounding of the scale) stay on it.
int WholePixelsUp(double pixels) {
  return static_cast<int>(std::ceil(pixels - 1e-6));
}

// One glyph placed: its pixels on the canvas.
struct TPlacedGlyph {
  int Glyph = 0;
  double Shift = 0.0;
  int Left = 0;  // canvas column of the box's left
  int Top = 0;   // canvas row of the box's top
  TGlyphBox Box;
};

// Rasterizes the glyphs into one coverage picture and blends it onto the canvas. Boxes of
// neighbours may overlap by a fringe: there each pixel keeps the larger coverage.
// The coverage widened by radius pixels each way (the largest within a square about each pixel,
// rows first, then columns), in a picture padded by radius on every side.
std::vector<std::uint8_t> Widened(const std::vector<std::uint8_t>& coverage, int width, int height,
                                  int radius) {
  const int w = width + 2 * radius;
  const int h = height + 2 * radius;
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* from = coverage.data() + static_cast<std::size_t>(y) * width;
    std::uint8_t* to = rows.data() + static_cast<std::size_t>(y + radius) * w;
    for (int x = 0; x < width; ++x) {
      for (int d = 0; d <= 2 * radius; ++d) to[x + d] = std::max(to[x + d], from[x]);
    }
  }
  std::vector<std::uint8_t> widened(rows.size(), 0);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* from = rows.data() + static_cast<std::size_t>(y) * w;
    for (int d = -radius; d <= radius; ++d) {
      if (y + d < 0 || y + d >= h) continue;
      std::uint8_t* to = widened.data() + static_cast<std::size_t>(y + d) * w;
      for (int x = 0; x < w; ++x) to[x] = std::max(to[x], from[x]);
    }
  }
  return widened;
}

void BlendRun(TCanvas& canvas, const TTypeface& face, double scale,
              const std::vector<TPlacedGlyph>& run, TColor colour,
              const std::optional<TTextHalo>& halo) {
  if (run.empty()) return;
  std::int64_t left = run.front().Left;
  std::int64_t right = left;
  std::int64_t top = run.front().Top;
  std::int64_t bottom = top;
  for (const TPlacedGlyph& g : run) {
    left = std::min<std::int64_t>(left, g.Left);
    right = std::max<std::int64_t>(right, static_cast<std::int64_t>(g.Left) + g.Box.Width);
    top = std::min<std::int64_t>(top, g.Top);
    bottom = std::max<std::int64_t>(bottom, static_cast<std::int64_t>(g.Top) + g.Box.Height);
  }
  const auto width = static_cast<int>(right - left);
  const auto height = static_cast<int>(bottom - top);
  if (width <= 0 || height <= 0) return;
  std::vector<std::uint8_t> coverage(static_cast<std::size_t>(width) *
                                     static_cast<std::size_t>(height));
  std::vector<std::uint8_t> glyph;
  for (const TPlacedGlyph& g : run) {
    const TGlyphBox& box = g.Box;
    glyph.assign(static_cast<std::size_t>(box.Width) * static_cast<std::size_t>(box.Height), 0);
    face.Rasterize(g.Glyph, scale, g.Shift, box, glyph.data(), box.Width);
    for (int row = 0; row < box.Height; ++row) {
      const std::uint8_t* from = glyph.data() + static_cast<std::size_t>(row) * box.Width;
      std::uint8_t* to = coverage.data() +
                         static_cast<std::size_t>(g.Top - top + row) * width +
                         static_cast<std::size_t>(g.Left - left);
      for (int column = 0; column < box.Width; ++column) {
        to[column] = std::max(to[column], from[column]);
      }
    }
  }
  // A rim that would reach beyond the canvas's coordinates is left out, never wrapped round.
  if (halo && halo->Radius > 0 && halo->Radius <= 64 && left - halo->Radius >= -2147483647LL &&
      top - halo->Radius >= -2147483647LL && right + halo->Radius <= 2147483647LL &&
      bottom + halo->Radius <= 2147483647LL) {
    const int r = halo->Radius;
    const std::vector<std::uint8_t> rim = Widened(coverage, width, height, r);
    canvas.BlendCoverage(static_cast<int>(left) - r, static_cast<int>(top) - r, width + 2 * r,
                         height + 2 * r, rim.data(), width + 2 * r, halo->Colour);
  }
  canvas.BlendCoverage(static_cast<int>(left), static_cast<int>(top), width, height,
                       coverage.data(), width, colour);
}

}  // namespace

TTextExtent MeasureText(std::string_view utf8, double size) {
  const TTypeface& face = TTypeface::Embedded();
  if (!face.Usable() || !UsableSize(size)) return {};
  const double scale = face.ScaleOf(size);
  TTextExtent extent;
  extent.Ascent = WholePixelsUp(face.Ascent() * scale);
  extent.Descent = WholePixelsUp(face.Descent() * scale);
  const std::vector<int> glyphs = GlyphsOf(face, utf8);
  const std::vector<std::int64_t> places = PenPlacesOf(face, glyphs);
  extent.Width = std::max(0, WholePixelsUp(static_cast<double>(places.back()) * scale));
  return extent;
}

void DrawText(TCanvas& canvas, int x, int baseline, std::string_view utf8, double size,
              TColor colour, const std::optional<TTextHalo>& halo) {
  const TTypeface& face = TTypeface::Embedded();
  if (!face.Usable() || !UsableSize(size) || utf8.empty()) return;
  const double scale = face.ScaleOf(size);
  const std::vector<int> glyphs = GlyphsOf(face, utf8);
  const std::vector<std::int64_t> places = PenPlacesOf(face, glyphs);
  std::vector<TPlacedGlyph> run;
  std::int64_t runLeft = 0;
  for (std::size_t k = 0; k < glyphs.size(); ++k) {
    const double pen = static_cast<double>(x) + static_cast<double>(places[k]) * scale;
    const double column = std::floor(pen);
    // Pens beyond the canvas's coordinates end the text.
    if (!(column >= -2147483648.0 && column <= 2147483647.0)) break;
    TPlacedGlyph placed;
    placed.Glyph = glyphs[k];
    placed.Shift = pen - column;
    placed.Box = face.BoxOf(placed.Glyph, scale, placed.Shift);
    if (placed.Box.Width == 0) continue;
    const std::int64_t glyphLeft = static_cast<std::int64_t>(column) + placed.Box.Left;
    const std::int64_t glyphTop = static_cast<std::int64_t>(baseline) + placed.Box.Top;
    if (glyphTop < -2147483647LL || glyphTop + placed.Box.Height > 2147483647LL ||
        glyphLeft < -2147483647LL || glyphLeft + placed.Box.Width > 2147483647LL) {
      continue;
    }
    placed.Left = static_cast<int>(glyphLeft);
    placed.Top = static_cast<int>(glyphTop);
    if (run.empty()) runLeft = placed.Left;
    if (!run.empty() &&
        static_cast<std::int64_t>(placed.Left) + placed.Box.Width - runLeft > LargestRunWidth) {
      BlendRun(canvas, face, scale, run, colour, halo);
      run.clear();
      runLeft = placed.Left;
    }
    run.push_back(placed);
  }
  BlendRun(canvas, face, scale, run, colour, halo);
}

bool FontCovers(std::string_view utf8) {
  const TTypeface& face = TTypeface::Embedded();
  if (!face.Usable()) return false;
  for (std::size_t at = 0; at < utf8.size();) {
    char32_t character = 0;
    if (!NextCharacter(utf8, at, character) || face.GlyphOf(character) == 0) return false;
  }
  return true;
}
