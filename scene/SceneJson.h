// SPDX-License-Identifier: GPL-3.0-or-later
// The scene file: JSON that a person can read and edit. Reading is strict and whole: a text is
// taken as a scene, or refused with the key at fault and why, and nothing of a refused text is
// taken. Every key but format, version and trajectory.mode may be left out and then has its
// start-up value, so that the keys a later version adds leave the older files readable.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/Refusal.h"
#include "scene/Scene.h"

constexpr const char* SceneFormatName = "halvoran-scene";
constexpr int SceneFormatVersion = 1;
constexpr std::size_t MaxSceneBytes = 1048576;
// The root, its sections, a translation's texts: nothing of a scene nests deeper.
constexpr int MaxSceneDepth = 3;

// Why a scene was refused. Refusal's code is one of the Scene... codes, its first value the key's
// path where the code names one. SceneValueRefused: a value the command that would take it
// refuses, with that command's own refusal as Cause; a front-end words it as "Path: " followed
// by Cause's sentence ("trajectory.LineBeta: The speed must be below the wave speed: ...").
struct TSceneRefusal {
  TRefusal Refusal;
  std::string Path;  // "trajectory.LineBeta"; empty where the whole text is at fault
  TRefusal Cause;

  explicit operator bool() const { return static_cast<bool>(Refusal); }
};

struct TSceneRead {
  TScene Scene;  // the start-up scene where the text was refused
  TSceneRefusal Refusal;

  explicit operator bool() const { return !Refusal; }
};

// Keys in a fixed order, two spaces of indentation, numbers that read back to the same double,
// a final newline. Every key is written, the defaults too.
std::string WriteScene(const TScene& scene);

// text: the file's bytes (a UTF-8 byte-order mark at the start is taken).
TSceneRead ReadScene(std::string_view text);

// The values of scene checked by the checks of the commands that take them (the trajectory at
// the wave speed of the scene's model) and the view range; no refusal when ApplyScene can apply
// the whole of it.
TSceneRefusal CheckScene(const TScene& scene);

// The name of a trajectory mode in scene files and on the command line ("line"); null for none.
const char* SceneTrajectoryName(int mode);
