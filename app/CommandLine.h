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
#include "scene/Scene.h"
#include "scene/SceneJson.h"

struct TCommandLine {
  TCommandAction Action = TCommandAction::Start;
  QString Message;   // Refuse: the one-line reason, in the language installed
  QString Language;  // "ja", "en", or empty for the remembered one
  // What the core read, as it read it: the window takes the options given from here.
  TCommandOptions Options;

  // --scene: the scene read from its file, which the options given beside it change; none
  // without --scene. --save-scene: the file the setup is written to.
  std::optional<TScene> Scene;
  QString SceneFile;
  QString SaveSceneFile;
  // Refuse for --scene's file: why it was not taken (SceneUnreadable, or the reader's refusal);
  // no refusal where the parser refused the line.
  TSceneRefusal SceneRefusal;

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
  std::optional<bool> Caption;   // none: the window's start-up choice
  std::optional<TTheme> Theme;   // none: the remembered one

  bool IsVideo() const { return Options.IsVideo(); }
};

// arguments without the program's name. A refusal is worded in the catalogue installed when
// this runs (English before any). Reads no file: --scene's is read by ReadCommandLineScene.
TCommandLine ParseCommandLine(const QStringList& arguments);

// --scene's file read into line.Scene (nothing without --scene, or for --help and --version); a
// file that cannot be read or is no scene turns line into a Refuse with SceneRefusal and its
// message.
void ReadCommandLineScene(TCommandLine& line);

// The one line that tells a refusal of the core's parser: its sentence, after the option it is
// about where the refusal is a check of the simulation ("--model: <the model's refusal>").
QString CommandLineRefusalText(const TCommandOptions& options);

// The scene file at path read whole into scene, but never more than one byte past what a scene
// may hold: a huge file is refused by its size without being read into memory. SceneUnreadable
// (with the file's name and the system's reason) or the reader's refusal; scene is left alone
// then.
TSceneRefusal ReadSceneFile(const QString& path, std::optional<TScene>& scene);

// A scene's refusal in one line: "Path: " and the command's own sentence for a value a command
// refuses ("trajectory.LineBeta: The speed must be below ..."), the code's sentence otherwise.
QString SceneRefusalText(const TSceneRefusal& refusal);

// The one line that tells why line was refused (Action Refuse), in the catalogue installed: the
// parser's refusal, or the scene file's after its name.
QString CommandLineMessage(const TCommandLine& line);

// The text --help prints, program the name to show.
QString CommandLineUsage(const QString& program);

// The program's version, as the build names it.
QString ProgramVersion();
