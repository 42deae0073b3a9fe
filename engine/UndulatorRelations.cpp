// SPDX-License-Identifier: GPL-3.0-or-later
// The undulator's linked quantities: each edit works out its partners on a copy, checked.
#include "engine/UndulatorRelations.h"

#include <cmath>
#include <numbers>

#include "engine/FieldCal.h"

namespace {

// Conversions by whole factors, so that a period of 0.2 m reads 20 cm and 20 cm reads 0.2 m
// again exactly (0.01 and 0.1 have no exact double).
constexpr double CmPerM = 100.0;
constexpr double KgPerT = 10.0;
constexpr double UmPerM = 1e6;

double Metres(double cm) {
  return cm / CmPerM;
}
double Tesla(double kG) {
  return kG / KgPerT;
}

double GammaOf(double beta) {
  return 1.0 / std::sqrt(1.0 - beta * beta);
}

// a = λu φ / (2π), φ = K / γ.
double AmplitudeOf(const TUndulatorEntry& e) {
  return Metres(e.PeriodCm) * (e.K / GammaOf(e.Beta) * 0.5) / std::numbers::pi;
}

TRefusalValue Number(double v) {
  return TRefusalValue::OfNumber(v);
}

TRefusal CheckBeta(double beta) {
  if (!std::isfinite(beta)) return Refused(TRefusalCode::NotFinite, {Number(beta)}, TParameter::Speed);
  if (!(beta > 0.0)) return Refused(TRefusalCode::SpeedNotPositive, {Number(beta)});
  if (!(beta <= MaxBeta)) return Refused(TRefusalCode::SpeedTooHigh, {Number(MaxBeta), Number(beta)});
  return {};
}

bool Finite(const TUndulatorEntry& e) {
  const TUndulatorDerived d = UndulatorDerivedOf(e);
  for (const double v : {e.Beta, e.EnergyMeV, e.PeriodCm, e.K, e.FieldKG, e.AmplitudeM, d.Gamma,
                         d.RadWavelengthUm, d.MaxAngle})
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

TUndulatorEntry UndulatorEntryOf(const TTrajectoryParameters& p) {
  TUndulatorEntry e;
  e.Beta = p.UndBeta;
  e.PeriodCm = p.UndPeriod * CmPerM;
  e.Periods = p.UndPeriods;
  e.AmplitudeM = p.UndAmplitude;
  const double gamma = GammaOf(p.UndBeta);
  e.EnergyMeV = (gamma - 1.0) * ElectronRestEnergyMeV;
  e.K = 2.0 * std::numbers::pi * gamma * p.UndAmplitude / p.UndPeriod;
  e.FieldKG = e.K / DeflectionFactor / p.UndPeriod * KgPerT;
  return e;
}

TRefusal EditUndulator(TUndulatorEntry& entry, TUndulatorInput input, double value) {
  TUndulatorEntry e = entry;
  switch (input) {
    case TUndulatorInput::Beta:
      if (TRefusal refusal = CheckBeta(value)) return refusal;
      e.Beta = value;
      e.EnergyMeV = (GammaOf(value) - 1.0) * ElectronRestEnergyMeV;
      break;
    case TUndulatorInput::Energy: {
      // γ = 1 + E / mc², β = √(1 − 1/γ²).
      if (!(value > 0.0) || !std::isfinite(value))
        return Refused(TRefusalCode::EnergyNotPositive, {Number(value)});
      const double gamma = value / ElectronRestEnergyMeV + 1.0;
      const double beta = std::sqrt(1.0 - 1.0 / (gamma * gamma));
      if (TRefusal refusal = CheckBeta(beta)) return refusal;
      e.EnergyMeV = value;
      e.Beta = beta;
      break;
    }
    case TUndulatorInput::Period:
      if (!std::isfinite(value))
        return Refused(TRefusalCode::NotFinite, {Number(value)}, TParameter::UndulatorPeriod);
      if (!(value > 0.0)) return Refused(TRefusalCode::UndulatorPeriodNotPositive, {Number(value)});
      e.PeriodCm = value;
      e.K = DeflectionFactor * Tesla(e.FieldKG) * Metres(value);
      break;
    case TUndulatorInput::Periods:
      if (!(value >= 1.0)) return Refused(TRefusalCode::TooFewPeriods, {TRefusalValue::OfCount(1), Number(value)});
      if (!(value <= 1e9) || value != std::trunc(value))
        return Refused(TRefusalCode::UndulatorOutOfRange);
      e.Periods = static_cast<int>(value);
      break;
    case TUndulatorInput::K:
      if (!std::isfinite(value)) return Refused(TRefusalCode::UndulatorOutOfRange);
      e.K = value;
      e.FieldKG = value / DeflectionFactor / Metres(e.PeriodCm) * KgPerT;
      break;
    case TUndulatorInput::Field:
      if (!std::isfinite(value)) return Refused(TRefusalCode::UndulatorOutOfRange);
      e.FieldKG = value;
      e.K = DeflectionFactor * Tesla(value) * Metres(e.PeriodCm);
      break;
  }
  if (input != TUndulatorInput::Periods) e.AmplitudeM = AmplitudeOf(e);
  if (!Finite(e)) return Refused(TRefusalCode::UndulatorOutOfRange);
  entry = e;
  return {};
}

TUndulatorDerived UndulatorDerivedOf(const TUndulatorEntry& e) {
  TUndulatorDerived d;
  d.Gamma = GammaOf(e.Beta);
  const double periodM = Metres(e.PeriodCm);
  d.RadWavelengthUm = periodM * 0.5 / (d.Gamma * d.Gamma) * (e.K * e.K * 0.5 + 1.0) * UmPerM;
  d.MaxAngle = e.K / d.Gamma;
  d.AmplitudeM = e.AmplitudeM;
  return d;
}

void ApplyUndulatorEntry(const TUndulatorEntry& entry, TTrajectoryParameters& parameters) {
  parameters.UndBeta = entry.Beta;
  parameters.UndPeriod = Metres(entry.PeriodCm);
  parameters.UndPeriods = entry.Periods;
  parameters.UndAmplitude = entry.AmplitudeM;
}
