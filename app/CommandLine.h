// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line on the desktop: no arguments start the window; --render writes a
// picture or a video of the animation without any display. The core's parser (options/) reads
// and checks it; this gives its values in Qt's types and words its refusal.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

#include "options/CommandLineOptions.h"

struct TCommandLine {
  TCommandAction Action = TCommandAction::Start;
  QString Message;   // Refuse: the one-line reason, in the language installed
  QString Language;  // "ja", "en", or empty for the remembered one
  // What the core read, as it read it: the window takes the options given from here.
  TCommandOptions Options;

  // Render: every value (the defaults where not given). Start: the same, for what was given.
  QString RenderFile;
  TOutputKind Output = TOutputKind::Png;
  int TrajectoryMode = tmMouse;
  int Ticks = DefaultTicks;  // the picture shows the field after this many ticks
  int FromTick = 0;          // a video holds the ticks FromTick .. Ticks
  QSize Size{DefaultPictureSize.Width, DefaultPictureSize.Height};  // logical pixels
  double PixelRatio = DefaultPixelRatio;  // device pixels per logical pixel
  // Model size: none keeps the window's start-up model.
  std::optional<int> ISize;
  std::optional<int> JSize;
  std::optional<int> WaveFrontSpacing;
  bool WaveFronts = false;
  bool NodePoints = false;
  bool FieldArrows = false;
  bool FieldLines = true;
  std::optional<bool> Smooth;  // none: the window's start-up choice

  bool IsVideo() const { return Options.IsVideo(); }
};

// arguments without the program's name. A refusal is worded in the catalogue installed when
// this runs (English before any).
TCommandLine ParseCommandLine(const QStringList& arguments);

// The one line that tells a refusal of the core's parser: its sentence, after the option it is
// about where the refusal is a check of the simulation ("--model: <the model's refusal>").
QString CommandLineRefusalText(const TCommandOptions& options);

// The text --help prints, program the name to show.
QString CommandLineUsage(const QString& program);

// The program's version, as the build names it.
QString ProgramVersion();
