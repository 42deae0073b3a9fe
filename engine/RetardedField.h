// The exact (Liénard–Wiechert) electric field of the charge at any point of the plane, from the
// charge's recorded history.
#pragma once

#include "engine/FieldCal.h"

// For a positive unit charge in Gaussian units, R in model units, at the present tick t:
// the emission time t_r solves |P - x(t_r)| = c (t - t_r) (c = WaveVelocity per tick, x between
// ticks interpolated); with n = (P - x(t_r)) / R and beta, betaDot at t_r,
//   E_v = (n - beta)(1 - beta^2) / ((1 - n.beta)^3 R^2)            (velocity field, 1/length^2)
//   E_a = n x ((n - beta) x betaDot) / ((1 - n.beta)^3 R)          (acceleration field)
// where betaDot is the change of beta per model unit of light travel (delta beta per tick /
// WaveVelocity). Returns false when P lies beyond the recorded history or on the charge.
bool RetardedField(const TFieldSimulation& field, int ISize, TVector2 point,
                   TVector2& velocityPart, TVector2& accelerationPart);
