// SPDX-License-Identifier: GPL-3.0-or-later
// stb_truetype compiled here, its functions private to this file, over the embedded font.
#include "render/Typeface.h"

#include <algorithm>

#include <cmath>

// stb's own code is not held to our warnings: they are silenced for it alone.
#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Weverything"
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wcast-qual"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb/stb_truetype.h>
#if defined(__clang__)
#pragma clang diagnostic pop
#elif defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

struct TTypeface::TInfo {
  stbtt_fontinfo Font{};
};

const TTypeface& TTypeface::Embedded() {
  static const TTypeface typeface(EmbeddedFont, EmbeddedFontSize);
  return typeface;
}

TTypeface::TTypeface(const unsigned char* data, std::size_t size) {
  // A font of at least its table directory, whose tables stb can find.
  if (data == nullptr || size < 12) return;
  auto info = std::make_unique<TInfo>();
  if (stbtt_InitFont(&info->Font, data, 0) == 0) return;
  int ascent = 0;
  int descent = 0;
  int lineGap = 0;
  stbtt_GetFontVMetrics(&info->Font, &ascent, &descent, &lineGap);
  // The box of every glyph the font holds, where it reaches beyond the font's own ascent and
  // descent (IPA P Gothic's do by a pixel at caption sizes), so that text stays in its extent.
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  stbtt_GetFontBoundingBox(&info->Font, &x0, &y0, &x1, &y1);
  AscentUnits = std::max(ascent, y1);
  DescentUnits = std::max(-descent, -y0);
  Info = std::move(info);
}

TTypeface::~TTypeface() = default;

int TTypeface::GlyphOf(char32_t character) const {
  if (!Info || character > 0x10FFFF) return 0;
  return stbtt_FindGlyphIndex(&Info->Font, static_cast<int>(character));
}

double TTypeface::ScaleOf(double size) const {
  if (!Info) return 0.0;
  return static_cast<double>(stbtt_ScaleForMappingEmToPixels(&Info->Font, static_cast<float>(size)));
}

int TTypeface::AdvanceOf(int glyph) const {
  if (!Info) return 0;
  int advance = 0;
  int bearing = 0;
  stbtt_GetGlyphHMetrics(&Info->Font, glyph, &advance, &bearing);
  return advance;
}

int TTypeface::KerningOf(int left, int right) const {
  if (!Info) return 0;
  return stbtt_GetGlyphKernAdvance(&Info->Font, left, right);
}

TGlyphBox TTypeface::BoxOf(int glyph, double scale, double shift) const {
  if (!Info || stbtt_IsGlyphEmpty(&Info->Font, glyph)) return {};
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;
  const auto s = static_cast<float>(scale);
  stbtt_GetGlyphBitmapBoxSubpixel(&Info->Font, glyph, s, s, static_cast<float>(shift), 0.0f, &x0,
                                  &y0, &x1, &y1);
  if (x1 <= x0 || y1 <= y0) return {};
  return {x0, y0, x1 - x0, y1 - y0};
}

void TTypeface::Rasterize(int glyph, double scale, double shift, const TGlyphBox& box,
                          std::uint8_t* out, int stride) const {
  if (!Info || box.Width <= 0 || box.Height <= 0 || out == nullptr) return;
  const auto s = static_cast<float>(scale);
  stbtt_MakeGlyphBitmapSubpixel(&Info->Font, out, box.Width, box.Height, stride, s, s,
                                static_cast<float>(shift), 0.0f, glyph);
}
