// SPDX-License-Identifier: GPL-3.0-or-later
// Applying a scene: checked whole, then the commands in an order in which none can refuse.
#include "scene/SceneCommands.h"

#include <utility>

#include "scene/SceneJson.h"

TRefusal ApplyScene(const TScene& scene, TSimulationCommands& commands) {
  if (TSceneRefusal refusal = CheckScene(scene))
    return refusal.Cause ? refusal.Cause : refusal.Refusal;
  // The model size is checked against the path in force; mouse mode first, so that the old path
  // at the new size (which CheckScene did not see) cannot refuse it. The scene's path at its
  // size is what CheckScene checked.
  if (TRefusal refusal = commands.ChooseTrajectory(tmMouse, commands.Trajectory())) return refusal;
  if (TRefusal refusal = commands.ChooseModelSize(scene.Model)) return refusal;
  if (TRefusal refusal = commands.ChooseTrajectory(scene.TrajectoryMode, scene.Trajectory))
    return refusal;
  // The theme belongs to the room the picture is shown in, not to the lesson: it stays.
  TDisplaySettings display = scene.Display;
  display.Theme = commands.Display().Theme;
  if (TRefusal refusal = commands.SetDisplay(display)) return refusal;
  commands.SetPhysics(scene.Physics);
  return commands.SetSpeedPosition(scene.SpeedPosition);
}

TScene SceneOf(const TSimulationCommands& commands, const std::optional<TSceneView>& view,
               bool running, std::string title, std::string notes) {
  TScene scene;
  scene.TrajectoryMode = commands.State().TrajectoryMode;
  scene.Trajectory = commands.Trajectory();
  scene.Model = commands.ModelSize();
  scene.Display = commands.Display();
  scene.Physics = commands.Physics();
  scene.SpeedPosition = SpeedPositionOf(commands.State().TimerInterval);
  scene.View = view;
  scene.Running = running;
  scene.Title = std::move(title);
  scene.Notes = std::move(notes);
  return scene;
}
