// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's --render: the simulation set up as the options say, run, and written to a
// picture or video file, without any window.
#pragma once

#include <QString>

#include "app/CommandLine.h"
#include "engine/Refusal.h"
#include "engine/SimulationCommands.h"
#include "scene/Scene.h"

// The model, the display switches and the trajectory (with its default parameters) of line
// applied to simulation, in that order, as the window's menus would: the render's simulation,
// and the window's at start. No refusal on success; a refusal leaves what was applied before it.
// With --scene: the scene with the options given beside it, applied all or nothing
// (scene/SceneCommands.h ApplyScene).
TRefusal ApplyCommandLine(const TCommandLine& line, TSimulationCommands& simulation);

// The scene line describes on simulation as it is: --scene's scene (or simulation's setup, with
// the trajectory's default parameters) changed by the options given.
TScene CommandLineScene(const TCommandLine& line, const TSimulationCommands& simulation);

// Runs line (whose Options.SavesScene()): the scene the options describe, checked on a simulation
// of its own, written whole to SaveSceneFile. ExitSuccess, ExitUsage when the engine refuses the
// setup, ExitWriteFailed when the file could not be written (nothing of it then takes the name);
// message gets the reason, in the language installed.
int RunSaveSceneCommand(const TCommandLine& line, QString& message);

// Runs line (whose Action is Render) and returns the exit status: ExitSuccess, ExitWriteFailed
// when the file could not be written, ExitUsage when the options describe a model or trajectory
// the engine refuses or a video frame larger than the recorder takes, ExitStopped plus the
// signal's number when SIGINT or SIGTERM stopped the run (the file is then not written, and
// whatever had its name stays). message gets the one-line reason of a failure, in the language
// installed.
int RunRenderCommand(const TCommandLine& line, QString& message);
