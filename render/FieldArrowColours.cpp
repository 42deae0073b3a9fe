// SPDX-License-Identifier: GPL-3.0-or-later
// The colour scale of the field arrows: |E| to colour over four decades, looked up in a table
// of cells worked out once where the cell settles the colour, and worked out otherwise.
#include "render/FieldArrows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

// The bits of a double are read through the compiler's bit cast: the C++ library of the
// WebAssembly build has no std::bit_cast.
namespace {

// log10 of a positive x to within 1e-5 (a hundredth of a colour step), without a library call:
// x = 2^e m with m in [1, 2), log2 m = 2 / ln 2 (z + z^3 / 3 + z^5 / 5 + z^7 / 7 + ...) with
// z = (m - 1) / (m + 1) < 1 / 3, the series cut after z^7. Infinity and numbers beyond the
// double range come out large, subnormal ones small: the colour scale clamps both.
double Log10(double x) {
  const auto bits = __builtin_bit_cast(std::uint64_t, x);
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
  const double m =
      __builtin_bit_cast(double, (bits & 0x000FFFFFFFFFFFFFull) | 0x3FF0000000000000ull);
  const double z = (m - 1.0) / (m + 1.0);
  const double z2 = z * z;
  const double log2m =
      2.8853900817779268 * z * (1.0 + z2 * (1.0 / 3.0 + z2 * (1.0 / 5.0 + z2 * (1.0 / 7.0))));
  return (exponent + log2m) * 0.30102999566398120;
}

// The scale's colours channel by channel, as the mix of FieldArrowColor takes them.
struct TChannels {
  double Red;
  double Green;
  double Blue;
};
constexpr TChannels ChannelsOf(TColor color) {
  return {static_cast<double>(ColorRed(color)), static_cast<double>(ColorGreen(color)),
          static_cast<double>(ColorBlue(color))};
}
constexpr TChannels ScaleChannels[FieldArrowDecades + 1] = {
    ChannelsOf(FieldArrowScale[0]), ChannelsOf(FieldArrowScale[1]), ChannelsOf(FieldArrowScale[2]),
    ChannelsOf(FieldArrowScale[3]), ChannelsOf(FieldArrowScale[4])};

// A magnitude's place on the colour scale: its decade and, channel by channel, the mix of the
// decade's end colours before it is rounded.
struct TScaleMix {
  int Decade;
  double Red;
  double Green;
  double Blue;
};

TScaleMix ScaleMixOf(double magnitude) {
  // Position on the scale in decades above its low end; not-a-number and zero take the low end.
  double t = magnitude > 0.0 ? Log10(magnitude) - FieldArrowLowestDecade : 0.0;
  t = std::clamp(t, 0.0, static_cast<double>(FieldArrowDecades));
  const int decade = std::min(static_cast<int>(t), FieldArrowDecades - 1);
  const double f = t - decade;
  const TChannels& a = ScaleChannels[decade];
  const TChannels& b = ScaleChannels[decade + 1];
  return {decade, (1.0 - f) * a.Red + f * b.Red, (1.0 - f) * a.Green + f * b.Green,
          (1.0 - f) * a.Blue + f * b.Blue};
}

// A mix lies between two channel values, so is never negative: rounded half up by truncation.
unsigned RoundedMix(double mix) {
  return static_cast<unsigned>(mix + 0.5);
}

TColor ColourOfMix(const TScaleMix& mix) {
  return ColorRGB(RoundedMix(mix.Red), RoundedMix(mix.Green), RoundedMix(mix.Blue));
}

// The colours by cells of magnitudes: each cell the magnitudes that share their exponent and the
// top CellMantissaBits bits of their mantissa, over the binades 2^-4 (below 0.1) to 2^10 (above
// 1000) that the scale spans. A cell holds the colour every magnitude in it takes, or
// NoCellColour where that is not certain: Log10 rises with the magnitude, and within a decade
// each channel's mix with it, to within their roundings (1e-13 of a channel); so where the mixes
// at both ends of a cell lie in one decade, round alike and keep 1e-9 from a rounding boundary,
// so does every mix between them. About one cell in nine is left to the arithmetic.
constexpr int CellMantissaBits = 9;
constexpr std::int64_t FirstCell = std::int64_t{1023 - 4} << CellMantissaBits;
constexpr std::int64_t Cells = std::int64_t{14} << CellMantissaBits;
constexpr TColor NoCellColour = 0xFFFFFFFFu;  // no colour has its top byte set

bool ClearOfRounding(double mix) {
  const double fraction = mix + 0.5 - std::floor(mix + 0.5);
  return fraction > 1e-9 && fraction < 1.0 - 1e-9;
}

TColor CellColourOf(std::int64_t cell) {
  const auto first = static_cast<std::uint64_t>(cell + FirstCell) << (52 - CellMantissaBits);
  const std::uint64_t last = first | ((std::uint64_t{1} << (52 - CellMantissaBits)) - 1);
  const TScaleMix low = ScaleMixOf(__builtin_bit_cast(double, first));
  const TScaleMix high = ScaleMixOf(__builtin_bit_cast(double, last));
  const TColor colour = ColourOfMix(low);
  const bool clear = low.Decade == high.Decade && colour == ColourOfMix(high) &&
                     ClearOfRounding(low.Red) && ClearOfRounding(low.Green) &&
                     ClearOfRounding(low.Blue) && ClearOfRounding(high.Red) &&
                     ClearOfRounding(high.Green) && ClearOfRounding(high.Blue);
  return clear ? colour : NoCellColour;
}

// Worked out once, on the first colour asked for: a logarithm and three mixes for each of a
// thousand arrows cost a tenth of the arrows' time every frame.
const std::array<TColor, Cells>& CellColours() {
  static const std::array<TColor, Cells> colours = [] {
    std::array<TColor, Cells> c{};
    for (std::int64_t cell = 0; cell < Cells; ++cell) {
      c[static_cast<std::size_t>(cell)] = CellColourOf(cell);
    }
    return c;
  }();
  return colours;
}

}  // namespace

TColor FieldArrowColor(double magnitude) {
  // Not-a-number and zero take the low end; beyond the table's binades the scale is clamped at
  // either end (Log10 below -1.2, or above 3.01).
  if (!(magnitude > 0.0)) return FieldArrowScale[0];
  const std::int64_t cell =
      static_cast<std::int64_t>(__builtin_bit_cast(std::uint64_t, magnitude) >>
                                (52 - CellMantissaBits)) -
      FirstCell;
  if (cell < 0) return FieldArrowScale[0];
  if (cell >= Cells) return FieldArrowScale[FieldArrowDecades];
  const TColor colour = CellColours()[static_cast<std::size_t>(cell)];
  return colour != NoCellColour ? colour : ColourOfMix(ScaleMixOf(magnitude));
}
