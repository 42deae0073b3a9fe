// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing scenes; the display settings have no comparison of their own.
#include "scene/Scene.h"

namespace {

bool SameDisplay(const TDisplaySettings& a, const TDisplaySettings& b) {
  return a.ShowFieldLines == b.ShowFieldLines && a.ShowWaveFronts == b.ShowWaveFronts &&
         a.ShowNodePoints == b.ShowNodePoints && a.ShowFieldVectors == b.ShowFieldVectors &&
         a.SmoothLines == b.SmoothLines && a.PlotResolution == b.PlotResolution &&
         a.Zoom.Scale == b.Zoom.Scale && a.Zoom.Tracking == b.Zoom.Tracking &&
         a.ShowCaption == b.ShowCaption && a.ScaleUnit == b.ScaleUnit &&
         a.Observer == b.Observer;
}

}  // namespace

bool operator==(const TScene& a, const TScene& b) {
  return a.TrajectoryMode == b.TrajectoryMode && a.Trajectory == b.Trajectory &&
         a.Model == b.Model && SameDisplay(a.Display, b.Display) && a.Physics == b.Physics &&
         a.SpeedPosition == b.SpeedPosition && a.View == b.View && a.Running == b.Running &&
         a.Title == b.Title && a.Notes == b.Notes && a.Translations == b.Translations;
}

const TSceneTranslation* SceneTranslation(const TScene& scene, const std::string& language) {
  for (const TSceneTranslation& translation : scene.Translations)
    if (translation.Language == language) return &translation;
  return nullptr;
}
