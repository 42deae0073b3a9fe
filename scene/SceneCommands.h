// SPDX-License-Identifier: GPL-3.0-or-later
// A scene applied to a simulation through its commands, and the scene a simulation runs.
#pragma once

#include <optional>
#include <string>

#include "engine/Refusal.h"
#include "engine/SimulationCommands.h"
#include "scene/Scene.h"

// The model size, trajectory, display, physics and speed of scene become the simulation's, all
// or nothing: the whole scene is checked first (CheckScene), and a refusal (the command's own, or
// the view's) leaves the simulation as it was. Reset at the start of the path. The view, whether
// it runs and the texts are the front-end's to show. In mouse mode the parameters of the
// simulation's last preset stay: the commands take a preset's parameters only with its path.
TRefusal ApplyScene(const TScene& scene, TSimulationCommands& commands);

// What commands run now, with what the front-end holds beside them.
TScene SceneOf(const TSimulationCommands& commands, const std::optional<TSceneView>& view,
               bool running, std::string title, std::string notes);
