// SPDX-License-Identifier: GPL-3.0-or-later
// The undulator's linked quantities: the entry that follows from the path in force, each edit
// with its partners, the refusals that leave the entry as it was, and the round trip to the path.
#include "engine/UndulatorRelations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/FieldCal.h"
#include "engine/ModelLimits.h"
#include "engine/SimulationState.h"

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();

// The path the program starts with: β 0.95, a 0.0278 m, λu 20 cm, 5 periods. γ = 1/√(1 − β²)
// = 3.2026, E = (γ − 1) 0.511 MeV = 1.1255 MeV, K = 2π γ a / λu = 2.797,
// Bu = K / (93 λu) = 0.1504 T = 1.504 kG, φ = K / γ = 0.8733 rad,
// λrad = λu / (2γ²) (1 + K²/2) = 0.04789 m = 47888 µm.
TEST(UndulatorRelations, TheEntryFollowsFromThePathInForce) {
  const TTrajectoryParameters start;
  const TUndulatorEntry e = UndulatorEntryOf(start);
  EXPECT_EQ(e.Beta, 0.95);
  EXPECT_EQ(e.PeriodCm, 20.0);
  EXPECT_EQ(e.Periods, 5);
  EXPECT_EQ(e.AmplitudeM, 0.0278);
  EXPECT_NEAR(e.EnergyMeV, 1.1255, 1e-4);
  EXPECT_NEAR(e.K, 2.797, 1e-3);
  EXPECT_NEAR(e.FieldKG, 1.504, 1e-3);
  const TUndulatorDerived d = UndulatorDerivedOf(e);
  EXPECT_NEAR(d.Gamma, 3.2026, 1e-4);
  EXPECT_NEAR(d.MaxAngle, 0.8733, 1e-4);
  EXPECT_NEAR(d.RadWavelengthUm, 47888.0, 1.0);
  // Applied unchanged, the entry gives the path back: the undulator's picture stays as it is.
  TTrajectoryParameters back;
  back.UndAmplitude = 0.5;
  ApplyUndulatorEntry(e, back);
  EXPECT_EQ(back, start);
}

TEST(UndulatorRelations, EachEditWorksOutItsPartners) {
  struct TRow {
    const char* Name;
    TUndulatorInput Input;
    double Value;
    double Beta, EnergyMeV, PeriodCm, K, FieldKG;
  };
  // From the start entry (β 0.95, λu 20 cm, K 2.797, Bu 1.504 kG).
  const TRow rows[] = {
      // γ = 1 / √(1 − 0.25) = 1.1547, E = 0.1547 × 0.511.
      {"beta 0.5", TUndulatorInput::Beta, 0.5, 0.5, 0.07905, 20.0, 2.797, 1.504},
      // γ = 1 + 0.511 / 0.511 = 2, β = √(1 − 1/4).
      {"energy 0.511", TUndulatorInput::Energy, 0.511, 0.8660, 0.511, 20.0, 2.797, 1.504},
      // The field holds; K = 93 × 0.1504 T × 0.1 m.
      {"period 10", TUndulatorInput::Period, 10.0, 0.95, 1.1255, 10.0, 1.3985, 1.504},
      // Bu = 1 / (93 × 0.2) T = 0.5376 kG.
      {"K 1", TUndulatorInput::K, 1.0, 0.95, 1.1255, 20.0, 1.0, 0.5376},
      {"field 5 kG", TUndulatorInput::Field, 5.0, 0.95, 1.1255, 20.0, 9.3, 5.0},
  };
  for (const TRow& row : rows) {
    TUndulatorEntry e = UndulatorEntryOf(TTrajectoryParameters{});
    ASSERT_FALSE(EditUndulator(e, row.Input, row.Value)) << row.Name;
    EXPECT_NEAR(e.Beta, row.Beta, 1e-4) << row.Name;
    EXPECT_NEAR(e.EnergyMeV, row.EnergyMeV, 1e-4) << row.Name;
    EXPECT_NEAR(e.PeriodCm, row.PeriodCm, 1e-9) << row.Name;
    EXPECT_NEAR(e.K, row.K, 1e-3) << row.Name;
    EXPECT_NEAR(e.FieldKG, row.FieldKG, 1e-3) << row.Name;
    // a = λu K / (2π γ) after every edit but the number of periods.
    const double gamma = 1.0 / std::sqrt(1.0 - e.Beta * e.Beta);
    EXPECT_NEAR(e.AmplitudeM, e.PeriodCm / 100.0 * e.K / (2.0 * M_PI * gamma), 1e-12) << row.Name;
  }
}

TEST(UndulatorRelations, ARefusedEditLeavesTheEntryAsItWas) {
  struct TRow {
    TUndulatorInput Input;
    double Value;
    TRefusalCode Code;
  };
  const TRow rows[] = {
      {TUndulatorInput::Beta, 1.2, TRefusalCode::SpeedTooHigh},
      {TUndulatorInput::Beta, 1.0, TRefusalCode::SpeedTooHigh},
      {TUndulatorInput::Beta, 0.0, TRefusalCode::SpeedNotPositive},
      {TUndulatorInput::Beta, NAN, TRefusalCode::NotFinite},
      {TUndulatorInput::Energy, 0.0, TRefusalCode::EnergyNotPositive},
      {TUndulatorInput::Energy, -1.0, TRefusalCode::EnergyNotPositive},
      {TUndulatorInput::Energy, Inf, TRefusalCode::EnergyNotPositive},
      // γ 1e10: β rounds to 1, beyond the engine's cap.
      {TUndulatorInput::Energy, 5.11e9, TRefusalCode::SpeedTooHigh},
      {TUndulatorInput::Period, 0.0, TRefusalCode::UndulatorPeriodNotPositive},
      {TUndulatorInput::Period, -Inf, TRefusalCode::NotFinite},
      {TUndulatorInput::Periods, 0.0, TRefusalCode::TooFewPeriods},
      {TUndulatorInput::Periods, 2.5, TRefusalCode::UndulatorOutOfRange},
      {TUndulatorInput::Periods, 1e12, TRefusalCode::UndulatorOutOfRange},
      {TUndulatorInput::K, Inf, TRefusalCode::UndulatorOutOfRange},
      {TUndulatorInput::Field, 1e308, TRefusalCode::UndulatorOutOfRange},
  };
  const TUndulatorEntry start = UndulatorEntryOf(TTrajectoryParameters{});
  for (const TRow& row : rows) {
    TUndulatorEntry e = start;
    const TRefusal refusal = EditUndulator(e, row.Input, row.Value);
    EXPECT_EQ(refusal.Code, row.Code) << static_cast<int>(row.Input) << " " << row.Value;
    EXPECT_EQ(e.Beta, start.Beta);
    EXPECT_EQ(e.K, start.K);
    EXPECT_EQ(e.AmplitudeM, start.AmplitudeM);
    EXPECT_EQ(e.Periods, start.Periods);
  }
}

// What the dialog lets through is a path the engine builds.
TEST(UndulatorRelations, AnAcceptedEntryIsABuildablePath) {
  for (const double beta : {0.1, 0.5, 0.9, 0.99, MaxBeta}) {
    TUndulatorEntry e = UndulatorEntryOf(TTrajectoryParameters{});
    ASSERT_FALSE(EditUndulator(e, TUndulatorInput::Beta, beta));
    TTrajectoryParameters p;
    ApplyUndulatorEntry(e, p);
    EXPECT_FALSE(CheckTrajectory(tmUndulator, p, 0.01)) << beta;
  }
}

}  // namespace
