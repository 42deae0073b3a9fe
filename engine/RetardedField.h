// SPDX-License-Identifier: GPL-3.0-or-later
// The exact (Liénard–Wiechert) electric field of the charge at any point of the plane, from the
// charge's recorded history.
#pragma once

#include <vector>

#include "engine/FieldCal.h"

// The emission time of the field at point now: t_r = now - ticksAgo solves
// |P - x(t_r)| = c (now - t_r), c = WaveVelocity per tick. Between two recorded ticks x is the
// cubic through their positions and velocities (w beta per tick), so that a path that turns is
// followed to the fourth order of the tick; where the records show a velocity that changed at
// once (a start from rest, a stop), the straight step between them at the step's velocity.
// Returns false when P lies beyond the recorded history or on the charge.
bool RetardedTime(const TFieldSimulation& field, int ISize, TVector2 point, double& ticksAgo);

// For a positive unit charge in Gaussian units, R in model units, at the present tick t:
// with t_r from RetardedTime, n = (P - x(t_r)) / R and beta, betaDot at t_r,
//   E_v = (n - beta)(1 - beta^2) / ((1 - n.beta)^3 R^2)            (velocity field, 1/length^2)
//   E_a = n x ((n - beta) x betaDot) / ((1 - n.beta)^3 R)          (acceleration field)
// where betaDot is the change of beta per model unit of light travel (delta beta per tick /
// WaveVelocity), both from the same piece of path. Returns false when P lies beyond the recorded
// history or on the charge.
bool RetardedField(const TFieldSimulation& field, int ISize, TVector2 point, TVector2& velocityPart,
                   TVector2& accelerationPart);

// The field that reaches point at the observer's moment ticksBack ticks before the present
// (0 <= ticksBack < 1): t_r solves |P - x(t_r)| = c (now - ticksBack - t_r) on the same pieces of
// path as RetardedField, which it equals at ticksBack 0. Position is x(t_r); TicksAgo is
// now - t_r, in ticks. False when P lies beyond the recorded history or on the charge.
struct TRetardedEmission {
  TVector2 VelocityPart;
  TVector2 AccelerationPart;
  TVector2 Position;
  double TicksAgo = 0.0;
};
bool RetardedEmissionBefore(const TFieldSimulation& field, int ISize, TVector2 point,
                            double ticksBack, TRetardedEmission& emission);
// The charge ticksBack (0 .. 1) ticks before the present, on the path piece of the last tick.
TVector2 ChargeBetweenTicks(const TFieldSimulation& field, double ticksBack);

// Where the search for the emission time starts: the tick before the emission found last. Points
// close together (the grid of the field arrows) have close emission times, and a search that
// starts at its neighbour's takes a few evaluations instead of the bisection's log2 ISize. The
// result is the same with any hint.
struct TRetardedSearch {
  int Tick = -1;  // none yet
};

// RetardedField that starts from search and leaves the tick it found there (unchanged when it
// returns false).
bool RetardedField(const TFieldSimulation& field, int ISize, TVector2 point, TVector2& velocityPart,
                   TVector2& accelerationPart, TRetardedSearch& search);

// The charge's path over one tick as a polynomial in s, the ticks back from the newer record:
//   x(s) = X0 + s (C1 + s (C2 + s C3)),
// the cubic through both records' positions and velocities v = w beta per tick (going back in
// time the charge moves by -v per tick): x(0) = p1, x'(0) = -v1, x(1) = p0, x'(1) = -v0, so that
// with D = p0 - p1 + v1 and G = v1 - v0, C1 = -v1, C3 = G - 2 D, C2 = D - C3. Written this way
// a point of the path costs a third of the interpolation weights of both ends.
struct TPathPiece {
  TVector2 X0;
  TVector2 C1;
  TVector2 C2;
  TVector2 C3;
};

// The field at many points of one moment, as the field arrows of a frame ask for it: the history
// copied once in order of age, so that each record read costs no ring-buffer arithmetic. Field
// gives what RetardedField gives with the same search, bit for bit.
class TRetardedFieldSampler {
 public:
  TRetardedFieldSampler(const TFieldSimulation& field, int ISize);
  bool Field(TVector2 point, TVector2& velocityPart, TVector2& accelerationPart,
             TRetardedSearch& search) const;

 private:
  double WaveVelocity;
  double InverseWaveVelocity;
  int Last;  // the oldest usable record, ticks back
  std::vector<TChargeRecord> Records;
  std::vector<TPathPiece> Pieces;  // Pieces[k]: from Records[k + 1] to Records[k]
};
