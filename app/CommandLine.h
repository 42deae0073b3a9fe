// The program's command line: no arguments start the window; --render writes a picture or a
// video of the animation without any display. The parser only reads; it runs nothing.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

#include "engine/SimulationState.h"

// What the program is to do.
enum class TCommandAction {
  Start,    // open the window (possibly in a chosen language)
  Render,   // write RenderFile and end
  Help,     // print the usage and end
  Version,  // print the version and end
  Refuse,   // print Message on stderr and end with ExitUsage
};

// Exit status of the program when it ends from the command line.
constexpr int ExitSuccess = 0;
constexpr int ExitWriteFailed = 1;  // the file could not be written
constexpr int ExitUsage = 2;        // an unknown option, a bad value or an unknown suffix
// Plus the signal's number, as a shell reports a program the signal ended: SIGINT (130) or
// SIGTERM (143) stopped the render, and nothing was written.
constexpr int ExitStopped = 128;

enum class TOutputKind { Png, Svg, Mp4, WebM, Gif };

// Bounds of the values; they keep a picture within memory and a run within minutes.
constexpr int MaxTicks = 100000;
constexpr int MinPictureSide = 16;   // logical pixels
constexpr int MaxPictureSide = 8192;  // logical pixels
constexpr double MinPixelRatio = 1.0;
constexpr double MaxPixelRatio = 4.0;
constexpr long long MaxDevicePixels = 8192LL * 8192LL;

struct TCommandLine {
  TCommandAction Action = TCommandAction::Start;
  QString Message;   // Refuse: the one-line reason
  QString Language;  // "ja", "en", or empty for the remembered one

  // Render only.
  QString RenderFile;
  TOutputKind Output = TOutputKind::Png;
  int TrajectoryMode = tmMouse;
  int Ticks = 300;            // the picture shows the field after this many ticks
  int FromTick = 0;           // a video holds the ticks FromTick .. Ticks
  QSize Size{1280, 720};      // logical pixels
  double PixelRatio = 1.0;    // device pixels per logical pixel
  // Model size: none keeps the window's start-up model.
  std::optional<int> ISize;
  std::optional<int> JSize;
  std::optional<int> WaveFrontSpacing;
  bool WaveFronts = false;
  bool NodePoints = false;
  bool FieldArrows = false;
  bool FieldLines = true;
  std::optional<bool> Smooth;  // none: the window's start-up choice

  bool IsVideo() const { return Output == TOutputKind::Mp4 || Output == TOutputKind::WebM ||
                                Output == TOutputKind::Gif; }
};

// arguments without the program's name.
TCommandLine ParseCommandLine(const QStringList& arguments);

// The text --help prints, program the name to show.
QString CommandLineUsage(const QString& program);

// The program's version, as the build names it.
QString ProgramVersion();
