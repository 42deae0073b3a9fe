// SPDX-License-Identifier: GPL-3.0-or-later
// The undulator's linked quantities in the units its dialog shows them, with the standard
// relations (E kinetic energy, λu period, Bu peak field, mc² = 511 keV):
//   γ = 1 / √(1 − β²),  E = (γ − 1) mc²,  K = 93 Bu[T] λu[m],
//   λrad = λu / (2γ²) (1 + K²/2),  φ = K / γ,  a = λu φ / (2π).
// The path runs at β along a sine of amplitude a over N periods of λu; an entry holds what the
// dialog edits, each value in full precision (the boxes show them rounded).
#pragma once

#include "engine/Refusal.h"
#include "engine/TrajectoryParameters.h"

constexpr double ElectronRestEnergyMeV = 0.511;
// K = 93 × Bu × λu with Bu in tesla and λu in metres; 93 exactly, as the dialog's figures assume
// (the precise factor e / (2π m c) is 93.36 per tesla metre).
constexpr double DeflectionFactor = 93.0;

struct TUndulatorEntry {
  double Beta = 0.0;       // v / c
  double EnergyMeV = 0.0;  // kinetic energy E
  double PeriodCm = 0.0;   // λu
  int Periods = 0;         // N
  double K = 0.0;          // deflection parameter
  double FieldKG = 0.0;    // Bu, kilogauss (10 kG = 1 T)
  double AmplitudeM = 0.0; // a, metres: what the path swings by about its axis
};

// What the dialog shows beside the entry.
struct TUndulatorDerived {
  double Gamma = 1.0;
  double RadWavelengthUm = 0.0;  // λrad, micrometres
  double MaxAngle = 0.0;         // φ, radians
  double AmplitudeM = 0.0;       // a, metres
};

enum class TUndulatorInput { Beta, Energy, Period, Periods, K, Field };

// The entry that follows from the path in force: β, λu, N and a as they run, and γ, E, K and Bu
// worked back from them (K = 2π γ a / λu).
TUndulatorEntry UndulatorEntryOf(const TTrajectoryParameters& parameters);

// One box edited: the value set, its linked partner and a worked out (β with E; K with Bu, λu
// holding Bu). All or nothing: a refusal leaves entry as it was.
TRefusal EditUndulator(TUndulatorEntry& entry, TUndulatorInput input, double value);

TUndulatorDerived UndulatorDerivedOf(const TUndulatorEntry& entry);

// The path's parameters of entry (β, λu in metres, N, a) written into parameters.
void ApplyUndulatorEntry(const TUndulatorEntry& entry, TTrajectoryParameters& parameters);
