// SPDX-License-Identifier: GPL-3.0-or-later
// The one font built into the program (a subset of a TrueType font, made at build time by
// tools/embed-font.py), read by stb_truetype: its metrics and glyphs, and each glyph's coverage
// at a size in device pixels. Read-only once made, so any thread may use it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The bytes of the font, written by tools/embed-font.py into the build tree.
extern const unsigned char EmbeddedFont[];
extern const std::size_t EmbeddedFontSize;

// A glyph's pixels at one size and one horizontal offset: columns Left .. Left + Width - 1 and
// rows Top .. Top + Height - 1 counted from the pen's pixel column and from the baseline's row
// (rows grow downwards, so the part above the baseline has negative rows).
struct TGlyphBox {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

class TTypeface {
 public:
  // The font built into the program, parsed on the first call.
  static const TTypeface& Embedded();

  // Whether the font's bytes could be read; a typeface that could not draws and measures nothing.
  bool Usable() const { return Info != nullptr; }
  // The glyph of a character; 0, the missing-glyph box, where the font has none.
  int GlyphOf(char32_t character) const;
  // Device pixels per font unit at size device pixels per em.
  double ScaleOf(double size) const;
  // The font's line metrics in font units: above the baseline, and below it (positive).
  int Ascent() const { return AscentUnits; }
  int Descent() const { return DescentUnits; }
  // How far a glyph moves the pen, in font units; and the adjustment between two neighbours.
  int AdvanceOf(int glyph) const;
  int KerningOf(int left, int right) const;
  // The pixels the glyph covers at scale, its pen shift (0 <= shift < 1) pixels right of the
  // pen's pixel column; empty for a glyph without an outline (a space).
  TGlyphBox BoxOf(int glyph, double scale, double shift) const;
  // The glyph's coverage (0 .. 255 of each pixel) over the pixels of BoxOf, row after row, stride
  // bytes apart; out holds at least the box's rows.
  void Rasterize(int glyph, double scale, double shift, const TGlyphBox& box, std::uint8_t* out,
                 int stride) const;

  ~TTypeface();
  TTypeface(const TTypeface&) = delete;
  TTypeface& operator=(const TTypeface&) = delete;

 private:
  TTypeface(const unsigned char* data, std::size_t size);
  struct TInfo;
  std::unique_ptr<TInfo> Info;
  int AscentUnits = 0;
  int DescentUnits = 0;
};
