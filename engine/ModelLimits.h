// SPDX-License-Identifier: GPL-3.0-or-later
// Checks run before a trajectory, a model size or a setting replaces the current one: what the
// engine cannot build (a hang, a division by zero, a table too large for memory, a charge faster
// than the wave) is refused with the values at fault, and nothing is changed.
#pragma once

#include "engine/DisplaySettings.h"
#include "engine/Refusal.h"
#include "engine/TrajectoryParameters.h"

// Far above the few thousand samples of normal use (a 2000-row model at speed 0.5 needs about
// 6000 for the longest preset path).
constexpr long long MaxPathSamples = 200000;
// Bezier segments of a path; bounds the undulator, whose periods are typed in (2 per period).
constexpr long long MaxPathSegments = 100000;
// One Bezier arc follows a circle well up to a half turn; beyond it the bend degenerates (at a
// full turn the arc folds onto a straight line running back and forth).
constexpr double MaxBendAngle = 180.0;
// (ISize + 1) x (JSize + 1) nodes; the custom dialog offers up to 2000 x 200 (about 400,000).
constexpr long long MaxModelNodes = 1000000;

struct TModelSize {
  int ISize = 200;
  int JSize = 40;
  int WaveFrontSpacing = 5;
  friend bool operator==(const TModelSize&, const TModelSize&) = default;
};

// No refusal when the trajectory of the given mode (tmMouse ... tmBending) can be built and
// sampled with the wave speed waveVelocity into at least two and at most MaxPathSamples samples,
// at a speed above 0 and at most the engine's MaxBeta.
TRefusal CheckTrajectory(int trajectoryMode, const TTrajectoryParameters& parameters,
                         double waveVelocity);

// No refusal when a model of iSize rows and jSize lines can be built with waveFrontSpacing.
TRefusal CheckModelSize(long long iSize, long long jSize, long long waveFrontSpacing);
inline TRefusal CheckModelSize(const TModelSize& size) {
  return CheckModelSize(size.ISize, size.JSize, size.WaveFrontSpacing);
}

TRefusal CheckPlotResolution(long long pixels);
TRefusal CheckSpeedPosition(long long position);
TRefusal CheckZoomSettings(const TZoomSettings& zoom);
// A theme the program knows, and a scale unit of the Scale unit window's lists.
TRefusal CheckTheme(TTheme theme);
TRefusal CheckScaleUnit(const TScaleUnit& unit);
// The eye within ObserverPlaceLimit of the origin each way (finite), the trace's length within
// its bounds.
TRefusal CheckObserver(const TObserverSettings& observer);
