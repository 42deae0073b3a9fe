// SPDX-License-Identifier: GPL-3.0-or-later
// The program's options as typed on a command line (and, in the browser, in the page's address):
// read and checked here, in plain C++, for every front-end. The parser only reads; it runs
// nothing, and a refusal is a code with its values that each front-end words in its language.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/DisplaySettings.h"
#include "engine/Refusal.h"
#include "engine/SimulationState.h"

// What the program is to do.
enum class TCommandAction {
  Start,    // the animation with the options given (in the window or the page); with
            // SaveSceneFile, the scene they describe written to it instead, and the end
  Render,   // write RenderFile and end
  Help,     // print the usage and end
  Version,  // print the version and end
  Refuse,   // tell the refusal and end with ExitUsage
};

// --render present: a picture or a video is written without any display. Otherwise the animation
// starts with the options given, --ticks running that many ticks and then pausing.
enum class TOptionsMode { Render, Animation };

// Exit status of the program when it ends from the command line.
constexpr int ExitSuccess = 0;
constexpr int ExitWriteFailed = 1;  // the file could not be written
constexpr int ExitUsage = 2;        // an unknown option, a bad value or an unknown suffix
// Plus the signal's number, as a shell reports a program the signal ended: SIGINT (130) or
// SIGTERM (143) stopped the render, and nothing was written.
constexpr int ExitStopped = 128;

enum class TOutputKind { Png, Svg, Mp4, WebM, Gif };

struct TPixelSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TPixelSize&, const TPixelSize&) = default;
};

// Bounds of the values; they keep a picture within memory and a run within minutes.
constexpr int MaxTicks = 100000;
constexpr int MinPictureSide = 16;    // logical pixels
constexpr int MaxPictureSide = 8192;  // logical pixels
constexpr double MinPixelRatio = 1.0;
constexpr double MaxPixelRatio = 4.0;
// As many device pixels as a picture of the largest side each way.
constexpr long long MaxDevicePixels = 1LL * MaxPictureSide * MaxPictureSide;
// What a render takes where an option is not given.
constexpr int DefaultTicks = 300;
constexpr TPixelSize DefaultPictureSize{1280, 720};
constexpr double DefaultPixelRatio = 1.0;

struct TCommandOptions {
  TCommandAction Action = TCommandAction::Start;
  TOptionsMode Mode = TOptionsMode::Animation;
  // Refuse: why. RefusedOption names the option whose value a check of the simulation refused
  // ("--model" with the model's own refusal); it is empty where the refusal names the option.
  TRefusal Refusal;
  std::string RefusedOption;
  std::string Language;  // "ja", "en", or empty for the remembered one

  std::string RenderFile;
  // --scene: the scene file the setup starts from, which the options given beside it change;
  // --save-scene: the file the setup is written to. Only the names: the front-end reads and
  // writes the files.
  std::string SceneFile;
  std::string SaveSceneFile;
  // The options given, as named ("--trajectory"): with a scene, only these change it.
  std::vector<std::string> GivenOptions;
  TOutputKind Output = TOutputKind::Png;
  int TrajectoryMode = tmMouse;  // with its default parameters
  // A render has each of these (the defaults above where not given); the animation only those
  // given, the rest as it starts.
  std::optional<int> Ticks;
  int FromTick = 0;                  // a video holds the ticks FromTick .. Ticks
  std::optional<TPixelSize> Size;    // logical pixels
  std::optional<double> PixelRatio;  // device pixels per logical pixel
  // Model size: none keeps the start-up model; a custom IxJ keeps its wavefront spacing.
  std::optional<int> ISize;
  std::optional<int> JSize;
  std::optional<int> WaveFrontSpacing;
  bool WaveFronts = false;
  bool NodePoints = false;
  bool FieldArrows = false;
  bool FieldLines = true;
  std::optional<bool> Smooth;  // none: the start-up choice
  std::optional<bool> Caption;   // --caption / --no-caption; none: the start-up choice
  std::optional<TTheme> Theme;   // --theme dark|projector; none: the remembered one
  // --observer X,Y: the eye shown at that place (model units), in the picture and in the
  // animation; none leaves it as the start or the scene has it.
  std::optional<TVector2> Observer;
  // --observer-csv, --spectrum-csv: what the eye received over the ticks FromTick .. Ticks of a
  // render, and its spectrum, each written to its file after the picture or the video.
  std::string ObserverCsvFile;
  std::string SpectrumCsvFile;

  bool SavesScene() const { return !SaveSceneFile.empty(); }
  bool Gave(const std::string& option) const {
    for (const std::string& given : GivenOptions)
      if (given == option) return true;
    return false;
  }
  bool WritesObserverFiles() const { return !ObserverCsvFile.empty() || !SpectrumCsvFile.empty(); }
  bool IsVideo() const {
    return Output == TOutputKind::Mp4 || Output == TOutputKind::WebM || Output == TOutputKind::Gif;
  }
};

// arguments without the program's name, each as typed (UTF-8).
TCommandOptions ParseCommandOptions(const std::vector<std::string>& arguments);

// The names --trajectory and --model take, "|" between them, for the usage text.
std::string TrajectoryNames();
std::string ModelNames();
