// SPDX-License-Identifier: GPL-3.0-or-later
// The power a point charge radiates: its angular distribution and its total (Liénard), the
// charge's velocity and acceleration at a tick, and the pattern in the plane of motion at one
// tick, averaged over a preset path and averaged over the last ticks of mouse mode.
#pragma once

#include <array>
#include <vector>

#include "engine/SimulationState.h"

struct TVector3 {
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
};

// Units: beta in units of the wave speed c; betaDot = d(beta) / d(ct) in 1 / model unit (the
// change of beta per tick divided by WaveVelocity); powers in q^2 c / (4 pi) per model unit^2.
//
// Power per unit solid angle per unit emission time (Liénard–Wiechert), n a unit vector:
//   dP/dOmega = |n x ((n - beta) x betaDot)|^2 / (1 - n.beta)^5
//             = [b^2 |betaDot|^2 + 2 a b (beta.betaDot) - (1 - beta^2) a^2] / b^5,
// with a = n.betaDot and b = 1 - n.beta (the cross products expanded with |n| = 1).
double PowerPerSolidAngle(TVector3 beta, TVector3 betaDot, TVector3 n);
// Liénard: P = (8 pi / 3) gamma^6 (|betaDot|^2 - |beta x betaDot|^2), the integral of
// PowerPerSolidAngle over the sphere.
double TotalPower(TVector3 beta, TVector3 betaDot);
// Larmor, the limit of small speed for the same acceleration: P = (8 pi / 3) |betaDot|^2.
double LarmorPower(TVector3 betaDot);

struct TChargeMotion {
  TVector3 Beta;
  TVector3 BetaDot;  // 1 / model unit, as above
};

// Directions of the pattern in the plane of motion: n_k = (cos phi_k, sin phi_k, 0) with
// phi_k = 2 pi k / PatternDirectionCount, x to the right and y up as on the main plot.
constexpr int PatternDirectionCount = 360;
TVector3 PatternDirection(int k);

struct TRadiationPattern {
  std::array<double, PatternDirectionCount> Values{};  // dP/dOmega towards n_k
  double Power = 0.0;                                  // Liénard
  double Larmor = 0.0;                                 // Larmor of the same accelerations
  // A charge at rest or in uniform motion radiates nothing: every value is 0.
  bool Radiates() const;
  void Clear();
};

// pattern += weight x (the pattern and both powers of motion).
void AddMotion(TRadiationPattern& pattern, const TChargeMotion& motion, double weight);

// The charge's velocity at the current tick from its history (the newest entry), and its
// acceleration:
// - preset paths: a centred difference, (beta of the next tick - beta of the last tick) / 2,
//   the next tick's velocity read from the sample table by the rules of the tick (the line
//   stops at rest, closed paths wrap; the restart of an undulator or bending pass, whose jump
//   the reset hides, counts as no change);
// - mouse mode: the mean change over the last MouseRateTicks ticks, smoothed as the mouse
//   velocity itself is.
// Zero motion without a model (no wave speed or history).
constexpr int MouseRateTicks = 4;
TChargeMotion CurrentMotion(const TSimulationState& state);

// The pattern of the current tick into pattern (the powers are those of this tick).
void InstantaneousPattern(const TSimulationState& state, TRadiationPattern& pattern);

// The mean pattern over the path of a preset trajectory, from its sample table, with the
// velocity of each tick as the animation gives it and the acceleration by centred differences:
// - dipole, circle, race track: one loop, samples 0 .. SampleCount - 2, wrapping;
// - straight line: one pass from rest at the start, through the samples, to the stop at the end;
// - undulator, bending magnet: one pass, arriving and leaving with the end samples' velocities.
// An empty pattern in mouse mode or without a usable sample table.
void PathAveragePattern(const TSimulationState& state, TRadiationPattern& pattern);

// The mean pattern over the last Capacity motions, kept up to date one motion at a time: each
// Add costs one pattern, not Capacity.
class TMotionAverage {
 public:
  // Empties the average and keeps the last capacity (at least 1) motions from now on.
  void Resize(int capacity);
  void Clear();
  void Add(const TChargeMotion& motion);
  // The mean over the motions added since the last Clear, at most Capacity of them.
  const TRadiationPattern& Mean() const { return MeanPattern; }
  int Count() const { return Filled; }

 private:
  void Recompute();
  void UpdateMean();

  std::vector<TChargeMotion> Ring;
  int Next = 0;    // where the next motion goes
  int Filled = 0;  // motions in the ring
  int Accelerated = 0;  // motions in the ring with a nonzero acceleration
  TRadiationPattern Sum;
  TRadiationPattern MeanPattern;
};
