// SPDX-License-Identifier: GPL-3.0-or-later
// Text set with the embedded font: sizes in device pixels, widths that grow with the text, the
// font's coverage of the pictures' words in both languages, bad UTF-8, and drawn text that stays
// in its measured box, moves with its origin and blends its colour over the ground.
#include "render/TextDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CataloguePictureWords.h"
#include "canvas/RasterCanvas.h"
#include "canvas/TestImage.h"
#include "engine/PictureWords.h"

namespace {

constexpr TRgb Black = Rgb(0, 0, 0);
constexpr TColor White = ColorRGB(255, 255, 255);

// The pixels that differ from the ground: columns Left .. Right - 1, rows Top .. Bottom - 1.
struct TInk {
  bool Any = false;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

TInk InkOf(const TTestImage& image, TRgb ground = Black) {
  TInk ink;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      if (image.Pixel(x, y) == ground) continue;
      if (!ink.Any) ink = {true, x, y, x + 1, y + 1};
      ink.Left = std::min(ink.Left, x);
      ink.Top = std::min(ink.Top, y);
      ink.Right = std::max(ink.Right, x + 1);
      ink.Bottom = std::max(ink.Bottom, y + 1);
    }
  }
  return ink;
}

TTestImage Drawn(std::string_view text, double size, int x, int baseline, int width = 400,
                 int height = 80) {
  TTestImage image(width, height);
  image.Fill(Black);
  TRasterCanvas canvas(image);
  DrawText(canvas, x, baseline, text, size, White);
  return image;
}

// The size is device pixels per em: twice the size, twice the height of the font and of what
// its glyphs cover, to the pixel each is rounded to.
TEST(TextDrawing, GlyphsAtTwiceTheSizeAreTwiceAsLarge) {
  const TTextExtent small = MeasureText("H", PictureTextSize);
  const TTextExtent large = MeasureText("H", PictureTextSize * 2.0);
  EXPECT_NEAR(large.Ascent, 2.0 * small.Ascent, 1.0);
  EXPECT_NEAR(large.Descent, 2.0 * small.Descent, 1.0);
  // The font's ascent is most of the em.
  EXPECT_GE(small.Ascent, 10);
  EXPECT_LE(small.Ascent + small.Descent, 17);
  for (const std::string_view text : {"H", "g", "0", "ア", "電"}) {
    SCOPED_TRACE(text);
    const TInk a = InkOf(Drawn(text, PictureTextSize, 10, 40));
    const TInk b = InkOf(Drawn(text, PictureTextSize * 2.0, 10, 40));
    ASSERT_TRUE(a.Any && b.Any);
    EXPECT_NEAR(b.Bottom - b.Top, 2.0 * (a.Bottom - a.Top), 2.0);
    EXPECT_NEAR(b.Right - b.Left, 2.0 * (a.Right - a.Left), 2.0);
  }
  // A capital stands on the baseline and rises most of the way to the font's ascent, which also
  // holds its accented capitals.
  const TInk h = InkOf(Drawn("H", 26.0, 10, 40));
  EXPECT_NEAR(h.Bottom, 40, 2);
  EXPECT_LE(40 - h.Top, large.Ascent);
  EXPECT_GE(40 - h.Top, 0.6 * large.Ascent);
}

TEST(TextDrawing, TheWidthGrowsWithEveryCharacter) {
  const std::string_view texts[] = {"|E| in e/4πε₀u², u the plot unit", "矢印：電子の電界 E",
                                    "Arrows: E of the electron"};
  for (const std::string_view text : texts) {
    SCOPED_TRACE(text);
    int last = 0;
    EXPECT_EQ(MeasureText("", PictureTextSize).Width, 0);
    // Prefixes ending on whole characters.
    for (std::size_t end = 1; end <= text.size(); ++end) {
      if (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u) continue;
      const int width = MeasureText(text.substr(0, end), PictureTextSize).Width;
      EXPECT_GT(width, last) << text.substr(0, end);
      last = width;
    }
  }
  // A full-width character is wider than a Latin letter.
  EXPECT_GT(MeasureText("ア", 20.0).Width, MeasureText("a", 20.0).Width);
}

// A clock or counter that changes from frame to frame does not shift its text: all digits take
// one width.
TEST(TextDrawing, DigitsAllTakeOneWidth) {
  for (const double size : {PictureTextSize, 19.5, 26.0}) {
    const int one = MeasureText("0", size).Width;
    for (const std::string_view digit : {"1", "2", "3", "4", "5", "6", "7", "8", "9"})
      EXPECT_EQ(MeasureText(digit, size).Width, one) << digit << " at " << size;
    EXPECT_EQ(MeasureText("1000", size).Width, MeasureText("9876", size).Width);
    EXPECT_NEAR(MeasureText("10001000", size).Width, 2.0 * MeasureText("1000", size).Width, 1.0);
  }
}

// Each bad byte, and each character the font lacks, takes the missing-glyph box's width.
TEST(TextDrawing, BadBytesAndMissingCharactersEachTakeOneBox) {
  constexpr double Size = 16.0;
  const int box = MeasureText("\U0001F600", Size).Width;  // an emoji: valid, not in the font
  ASSERT_GT(box, 0);
  struct TRow {
    std::string_view Text;
    int Boxes;
  };
  const TRow rows[] = {
      {"\xFF", 1},                  // no lead byte
      {"\x80", 1},                  // a continuation alone
      {"\xE3\x81", 2},              // cut short
      {"\xC0\xAF", 2},              // overlong
      {"\xED\xA0\x80", 3},          // a surrogate
      {"\xF4\x90\x80\x80", 4},      // beyond U+10FFFF
      {"\U0001F600\U0001F680", 2},  // two missing characters
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Boxes);
    EXPECT_EQ(MeasureText(row.Text, Size).Width, row.Boxes * box);
  }
  // A valid sequence is one character: é is as wide as e in this font.
  EXPECT_EQ(MeasureText("\xC3\xA9", Size).Width, MeasureText("e", Size).Width);
  // A good character after a bad byte is still read.
  EXPECT_EQ(MeasureText("\xFF" "a", Size).Width, box + MeasureText("a", Size).Width);
}

// The catalogue's translations, in the order of the catalogue, entities decoded.
std::vector<std::string> CatalogueTranslations() {
  std::vector<std::string> texts;
  const std::string_view catalogue = CataloguePictureWords;
  std::size_t at = 0;
  while ((at = catalogue.find("<translation", at)) != std::string_view::npos) {
    const std::size_t start = catalogue.find('>', at) + 1;
    const std::size_t end = catalogue.find("</translation>", start);
    if (start == 0 || end == std::string_view::npos) break;
    std::string text(catalogue.substr(start, end - start));
    for (const auto& [entity, character] :
         {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}}) {
      for (std::size_t k = 0; (k = text.find(entity, k)) != std::string::npos; ++k)
        text.replace(k, std::string_view(entity).size(), character);
    }
    texts.push_back(text);
    at = end;
  }
  return texts;
}

TEST(TextDrawing, TheFontHasEveryCharacterOfThePicturesWords) {
  for (const std::string_view source : PictureWordSources) EXPECT_TRUE(FontCovers(source)) << source;
  const std::vector<std::string> translations = CatalogueTranslations();
  if (std::string_view(CataloguePictureWords).empty()) GTEST_SKIP() << "no picture words yet";
  EXPECT_GE(translations.size(), PictureWordCount);
  for (const std::string& text : translations) EXPECT_TRUE(FontCovers(text)) << text;
  EXPECT_TRUE(FontCovers(""));
  EXPECT_TRUE(FontCovers("ℏω ≈ 1 µm · 10⁻³ × 2 → π ε₀ β γ ²³ ° ± ½ ＆ ー。"));
}

TEST(TextDrawing, TheFontLacksWhatThePicturesDoNotUse) {
  for (const std::string_view text : {"\U0001F600", "a\U0001F680", "\xFF", "ab\xE3\x81", "\x01",
                                      "\xC0\xAF"}) {
    EXPECT_FALSE(FontCovers(text)) << text;
  }
}

// Every pixel a text colours lies in its measured box: from x, Width across, Ascent above the
// baseline and Descent below it, wherever the text starts (off the image too, clipped).
TEST(TextDrawing, DrawnTextLandsInsideItsMeasuredBox) {
  struct TRow {
    std::string_view Text;
    double Size;
    int X, Baseline;
  };
  const TRow rows[] = {
      {"Ag|ÅÉjy", 13.0, 5, 20},
      {"矢印：電子の電界 E", 26.0, 3, 40},
      {"|E| in e/4πε₀u², u the plot unit", 19.5, 0, 30},
      {"（正電荷では逆向き）", 13.0, 7, 15},
      {"(reversed)", 13.0, -4, 12},   // starts left of the image
      {"time 12.5 ns", 39.0, 20, 75}, // reaches below it
      {"\xFF\U0001F600", 20.0, 10, 30},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Text);
    const TTextExtent extent = MeasureText(row.Text, row.Size);
    const TInk ink = InkOf(Drawn(row.Text, row.Size, row.X, row.Baseline));
    ASSERT_TRUE(ink.Any);
    EXPECT_GE(ink.Left, std::max(row.X, 0));
    EXPECT_LE(ink.Right, row.X + extent.Width);
    EXPECT_GE(ink.Top, row.Baseline - extent.Ascent);
    EXPECT_LE(ink.Bottom, row.Baseline + extent.Descent);
    // And fills most of it across.
    EXPECT_GE(ink.Right - std::max(row.X, 0), (row.X + extent.Width - std::max(row.X, 0)) * 3 / 4);
  }
}

// The pen moves by whole font units from a whole pixel: a text drawn a whole number of pixels
// further on is the same pixels moved.
TEST(TextDrawing, MovingTheOriginByWholePixelsMovesThePixels) {
  const std::string_view text = "Arrows: 矢印 0.1 1000";
  const TTestImage here = Drawn(text, 19.5, 4, 30, 300, 50);
  for (const auto& [dx, dy] : {std::pair{1, 0}, {7, 3}, {30, 11}}) {
    const TTestImage there = Drawn(text, 19.5, 4 + dx, 30 + dy, 300 + dx, 50 + dy);
    EXPECT_EQ(there.Copy(dx, dy, 300, 50), here) << dx << ", " << dy;
  }
}

// Coverage blends the colour over the ground: every pixel lies between the two, channel by
// channel, the glyphs' stems take the colour itself and their edges a mix.
TEST(TextDrawing, TheColourIsBlendedOverTheGroundByCoverage) {
  const TRgb ground = Rgb(240, 240, 230);
  const TColor colour = ColorRGB(20, 40, 160);
  TTestImage image(200, 40);
  image.Fill(ground);
  TRasterCanvas canvas(image);
  DrawText(canvas, 3, 30, "HIL 電界", 26.0, colour);
  int full = 0;
  int mixed = 0;
  const auto between = [](int v, int a, int b) { return v >= std::min(a, b) && v <= std::max(a, b); };
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x) {
      const TRgb p = image.Pixel(x, y);
      ASSERT_TRUE(between(RedOf(p), RedOf(ground), 20) && between(GreenOf(p), GreenOf(ground), 40) &&
                  between(BlueOf(p), BlueOf(ground), 160))
          << x << ", " << y;
      if (p == Rgb(20, 40, 160))
        ++full;
      else if (p != ground)
        ++mixed;
    }
  }
  EXPECT_GT(full, 100);
  EXPECT_GT(mixed, 20);
}

TEST(TextDrawing, SizesThatAreNoUsableNumberDrawAndMeasureNothing) {
  for (const double size : {0.0, -13.0, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(), 1e7}) {
    SCOPED_TRACE(size);
    const TTextExtent extent = MeasureText("abc", size);
    EXPECT_EQ(extent.Width, 0);
    EXPECT_EQ(extent.Ascent, 0);
    EXPECT_EQ(extent.Descent, 0);
    EXPECT_FALSE(InkOf(Drawn("abc", size, 5, 40)).Any);
  }
}

}  // namespace
