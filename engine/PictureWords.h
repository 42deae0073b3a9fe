// SPDX-License-Identifier: GPL-3.0-or-later
// The words the core sets into its pictures (the caption, its key, the arrow legend), in the
// session's language. The core holds their English sources; each front-end translates them from
// its catalogue (context "PictureWords") and hands the result to the drawing, so that every output
// of a session speaks its language with the same pixels.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#define HALVORAN_PICTURE_WORDS(X)                          \
  X(PathMouse, "Mouse control")                            \
  X(PathStraightLine, "Straight line")                     \
  X(PathDipole, "Dipole oscillation")                      \
  X(PathCircle, "Circle")                                  \
  X(PathRaceTrack, "Race track")                           \
  X(PathUndulator, "Undulator")                            \
  X(PathBending, "Bending magnet")                         \
  X(Tick, "tick")                                          \
  X(Time, "time")                                          \
  X(KeyPath, "path")                                       \
  X(KeyFieldLines, "field lines")                          \
  X(KeyWaveFronts, "wavefronts")                           \
  X(KeyNodes, "nodes")                                     \
  X(KeyArrows, "arrows")                                   \
  X(ArrowsTitle, "Arrows: E of the electron")              \
  X(ArrowsReversed, "(reversed for a + charge)")           \
  X(ArrowsStrength, "|E| in e/4πε₀u², u the plot unit")

enum class TPictureWord : int {
#define HALVORAN_WORD_ENUM(name, source) name,
  HALVORAN_PICTURE_WORDS(HALVORAN_WORD_ENUM)
#undef HALVORAN_WORD_ENUM
  Count
};

constexpr std::size_t PictureWordCount = static_cast<std::size_t>(TPictureWord::Count);

// The English source of each word: the text a front-end looks up in its catalogue.
constexpr std::array<std::string_view, PictureWordCount> PictureWordSources = {
#define HALVORAN_WORD_SOURCE(name, source) std::string_view(source),
    HALVORAN_PICTURE_WORDS(HALVORAN_WORD_SOURCE)
#undef HALVORAN_WORD_SOURCE
};

struct TPictureWords {
  std::array<std::string, PictureWordCount> Text;

  const std::string& operator[](TPictureWord word) const {
    return Text[static_cast<std::size_t>(word)];
  }
  std::string& operator[](TPictureWord word) { return Text[static_cast<std::size_t>(word)]; }

  // The English sources: the command line's and the tests' words, and the page's before its
  // catalogue is read.
  static const TPictureWords& English() {
    static const TPictureWords words = [] {
      TPictureWords english;
      for (std::size_t k = 0; k < PictureWordCount; ++k) {
        english.Text[k] = std::string(PictureWordSources[k]);
      }
      return english;
    }();
    return words;
  }
};
