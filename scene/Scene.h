// SPDX-License-Identifier: GPL-3.0-or-later
// A scene: everything a user sets up for a lesson, apart from the language, as one value that a
// file holds (scene/SceneJson.h) and the commands apply (scene/SceneCommands.h). The default is
// the program's start-up setup.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/AnimationSpeed.h"
#include "engine/DisplaySettings.h"
#include "engine/ModelLimits.h"
#include "engine/PhysicsOptions.h"
#include "engine/SimulationState.h"
#include "engine/TrajectoryParameters.h"

// The part of the model plane the main plot shows, in model units (x from -1 to 1 across the
// start-up plot).
struct TSceneView {
  double XMin = -1.0;
  double XMax = 1.0;
  double YMin = -1.0;
  double YMax = 1.0;
  friend bool operator==(const TSceneView&, const TSceneView&) = default;
};

// The teacher's title and notes in another language than the scene's own ("ja").
struct TSceneTranslation {
  std::string Language;
  std::string Title;
  std::string Notes;
  friend bool operator==(const TSceneTranslation&, const TSceneTranslation&) = default;
};

struct TScene {
  int TrajectoryMode = TSimulationState{}.TrajectoryMode;
  // Every preset's parameters, the mode's own among them; in mouse mode what the next preset
  // starts from.
  TTrajectoryParameters Trajectory;
  TModelSize Model;
  TDisplaySettings Display;
  TPhysicsOptions Physics = DefaultPhysicsOptions;
  int SpeedPosition = SpeedPositionDefault;
  // None: the range the plot shows at start, whatever its shape.
  std::optional<TSceneView> View;
  bool Running = true;
  // Plain text of the teacher's own, shown beside the plot; notes may hold several paragraphs
  // separated by an empty line.
  std::string Title;
  std::string Notes;
  std::vector<TSceneTranslation> Translations;

  friend bool operator==(const TScene&, const TScene&);
};

// The translation for language, or null where the scene has none (its own title and notes
// then).
const TSceneTranslation* SceneTranslation(const TScene& scene, const std::string& language);
