// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter block of the preset trajectories, edited by the setup dialogs.
#pragma once

// Lengths in model units (the main plot spans x from -1 to 1), speeds as fractions of the wave
// speed, BendAngle in degrees. The undulator's period and amplitude are in metres, used directly
// as model lengths.
struct TTrajectoryParameters {
  double CircleRadius = 0.2;
  double CircleBeta = 0.9;
  double LineBeta = 0.8;
  double LineStartX = -0.5;
  double LineStopX = 0.5;
  double DipoleBeta = 0.9;
  double DipoleAmplitude = 0.05;
  // The undulator's path: speed, period λu, orbit amplitude a and number of periods. The
  // quantities its dialog also shows (γ, E, K, Bu, λrad, φ) follow from these
  // (engine/UndulatorRelations.h).
  double UndBeta = 0.95;
  double UndPeriod = 0.2;        // metres
  double UndAmplitude = 0.0278;  // orbit amplitude a about its axis (half the swing), metres
  int UndPeriods = 5;
  double RaceBeta = 0.8;
  double RaceRadius = 0.1;
  double RaceStraight = 0.8;
  double BendBeta = 0.9;
  double BendRadius = 0.5;
  double BendAngle = 45.0;  // degrees

  friend bool operator==(const TTrajectoryParameters&, const TTrajectoryParameters&) = default;
};

// The undulator path's swing from trough to crest, 2a in metres. The orbit
// y = a (1 - cos(2π z / λu)) starts on the axis with no slope, as the entry straight does, and
// its slope 2π a / λu peaks at the orbit angle φ = K / γ when a = K λu / (2π γ).
inline double UndulatorSwing(const TTrajectoryParameters& p) {
  return 2.0 * p.UndAmplitude;
}
