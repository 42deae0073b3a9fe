// Checks run before a trajectory or a model size replaces the current one: what the engine
// cannot build (a hang, a division by zero, a table too large for memory) is refused with a
// message naming the value, and nothing is changed.
#pragma once

#include <string>

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

// Empty when the trajectory of the given mode (tmStraightLine ... tmBending) can be built and
// sampled with the wave speed waveVelocity into at least two and at most MaxPathSamples samples;
// otherwise a message for the user.
std::string CheckTrajectory(int trajectoryMode, const TTrajectoryParameters& parameters,
                            double waveVelocity);

// Empty when a model of iSize rows and jSize lines can be built with waveFrontSpacing.
std::string CheckModelSize(long long iSize, long long jSize, int waveFrontSpacing);
