// SPDX-License-Identifier: GPL-3.0-or-later
// The one simulation state shared by every window: model size, trajectory kind, display and
// physics options, animation values, and the two engine objects.
#pragma once

#include "engine/AnimationSpeed.h"
#include "engine/FieldCal.h"
#include "engine/Observer.h"
#include "engine/PathGen.h"
#include "engine/TrajectoryParameters.h"

enum TTrajectoryMode : int {
  tmMouse = 1,
  tmStraightLine = 2,
  tmDipole = 3,
  tmCircle = 4,
  tmRaceTrack = 5,
  tmUndulator = 6,
  tmBending = 7,
};

// The modes whose charge follows a sampled path, every mode but the mouse.
inline bool IsPathMode(int trajectoryMode) {
  return trajectoryMode >= tmStraightLine && trajectoryMode <= tmBending;
}

// The dipole, the circle and the race track: paths whose last usable sample lies one step
// before sample 0, so that the charge runs on from it to sample 0 as from any sample to the next.
inline bool IsClosedPath(int trajectoryMode) {
  return trajectoryMode == tmDipole || trajectoryMode == tmCircle ||
         trajectoryMode == tmRaceTrack;
}

constexpr double ModelWidth = 2.0;  // model units across the main plot (x from -1 to 1)

// A wavefront advances one row per tick and the oldest row reaches across the plot:
// WaveVelocity = ModelWidth / ISize model units per tick, the unit every speed is a fraction of.
constexpr double WaveVelocityOf(long long iSize) {
  return ModelWidth / static_cast<double>(iSize);
}

struct TModelSizePreset {
  int ISize;
  int JSize;
  int WaveFrontSpacing;
};
constexpr TModelSizePreset ModelSizeLarge{400, 40, 20};
constexpr TModelSizePreset ModelSizeMedium{200, 40, 10};
constexpr TModelSizePreset ModelSizeSmall{100, 20, 10};

// Created by whoever runs the program (or a test) before any window, and handed down by
// reference; changed through the commands (engine/SimulationCommands.h). The physics switches
// live in FieldSimulation (LightAberration, TrackEmissionPoint, ThomasPrecession).
struct TSimulationState {
  TFieldSimulation FieldSimulation;
  TPathGeneration PathGeneration;
  // The parameters the path in force was built from: what the charge runs now, whatever a
  // dialog holds that the user has not confirmed.
  TTrajectoryParameters Trajectory;

  int ISize = 200;  // emission ticks kept per field line
  int JSize = 40;   // number of field-line directions
  int TrajectoryMode = tmMouse;
  int FrameIndex = 0;      // ticks since the last reset; index into the sample table
  // Ticks since the last reset, unclamped: the history further back than this is the uniform
  // motion the reset assumed, not what the charge did.
  int TicksSinceReset = 0;
  int TimerInterval = TimerIntervalOfSpeed(SpeedPositionDefault);  // milliseconds between ticks
  int WaveFrontSpacing = 5;  // rows between drawn wavefronts

  TVector2 MouseStep;  // the charge's last pull towards the cursor, model units
  double MouseStepLength = 0.0;

  // What the eye has received, sampled every tick while the observer is shown.
  TObserverTrace ObserverTrace;
};
