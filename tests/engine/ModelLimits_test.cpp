// SPDX-License-Identifier: GPL-3.0-or-later
// The checks before a trajectory or a model size is applied: everything the generator or the
// node table cannot take is refused with its code and the values at fault, everything the
// dialogs offer is accepted, and nothing of the running simulation changes.
#include "engine/ModelLimits.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "engine/SimulationState.h"
#include "engine/Trajectories.h"

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::nan("");
using C = TRefusalCode;
using TP = TParameter;

struct TRefusedCase {
  const char* Name;
  int Mode;
  std::function<void(TTrajectoryParameters&)> Change;
  TRefusalCode Code;
  TParameter Parameter;
  std::vector<std::string> Values;  // as the sentence shows them; a word for a value not finite
};

// The values of a refusal as its sentence shows them.
std::vector<std::string> ValueTexts(const TRefusal& refusal) {
  std::vector<std::string> texts;
  for (const TRefusalValue& v : refusal.Values) {
    const std::string text = RefusalValueText(v);
    texts.push_back(text.empty() ? NonFiniteWord(v) : text);
  }
  return texts;
}

std::vector<TRefusedCase> Refusals() {
  using P = TTrajectoryParameters;
  return {
      {"line speed 0", tmStraightLine, [](P& p) { p.LineBeta = 0.0; }, C::SpeedNotPositive, TP::None, {"0.000"}},
      {"line speed negative", tmStraightLine, [](P& p) { p.LineBeta = -0.5; }, C::SpeedNotPositive, TP::None, {"-0.500"}},
      // At the wave speed and beyond, the picture would show shock cones and the power no value.
      {"line speed 1.5", tmStraightLine, [](P& p) { p.LineBeta = 1.5; }, C::SpeedTooHigh, TP::None, {"0.9999", "1.500"}},
      {"line speed 1", tmStraightLine, [](P& p) { p.LineBeta = 1.0; }, C::SpeedTooHigh, TP::None, {"0.9999", "1.000"}},
      {"line speed just above the cap", tmStraightLine, [](P& p) { p.LineBeta = 0.99995; }, C::SpeedTooHigh, TP::None, {"0.9999", "0.99995"}},
      {"line speed 1e6", tmStraightLine, [](P& p) { p.LineBeta = 1e6; }, C::SpeedTooHigh, TP::None, {"0.9999", "1000000.000"}},
      {"line speed 1e-12", tmStraightLine, [](P& p) { p.LineBeta = 1e-12; }, C::PathTooLongEstimate, TP::None, {"1.00E-12", "1.00E+14", "200000"}},
      {"line ends equal", tmStraightLine, [](P& p) { p.LineStartX = p.LineStopX = 0.5; }, C::PositionsEqual, TP::None, {"0.500"}},
      {"line start infinite", tmStraightLine, [](P& p) { p.LineStartX = -Inf; }, C::NotFinite, TP::StartPosition, {"minus infinity"}},
      {"line speed NaN", tmStraightLine, [](P& p) { p.LineBeta = NaN; }, C::NotFinite, TP::Speed, {"not a number"}},
      {"line far too long", tmStraightLine, [](P& p) { p.LineStopX = 1e300; }, C::PathTooLongEstimate, TP::None, {"0.800", "1.25E+302", "200000"}},
      {"circle radius 0", tmCircle, [](P& p) { p.CircleRadius = 0.0; }, C::MustNotBeZero, TP::CircleRadius, {}},
      {"circle speed 0", tmCircle, [](P& p) { p.CircleBeta = 0.0; }, C::SpeedNotPositive, TP::None, {"0.000"}},
      {"circle speed 1.5", tmCircle, [](P& p) { p.CircleBeta = 1.5; }, C::SpeedTooHigh, TP::None, {"0.9999", "1.500"}},
      {"circle radius NaN", tmCircle, [](P& p) { p.CircleRadius = NaN; }, C::NotFinite, TP::CircleRadius, {"not a number"}},
      {"circle radius tiny", tmCircle, [](P& p) { p.CircleRadius = 1e-12; }, C::PathTooShort, TP::None, {"0.900"}},
      {"circle radius 1e200", tmCircle, [](P& p) { p.CircleRadius = 1e200; }, C::PathTooLongEstimate, TP::None, {"0.900", "6.98E+202", "200000"}},
      {"circle radius 1e308", tmCircle, [](P& p) { p.CircleRadius = 1e308; }, C::PathTooLarge, TP::None, {}},
      {"dipole amplitude 0", tmDipole, [](P& p) { p.DipoleAmplitude = 0.0; }, C::MustNotBeZero, TP::OscillationAmplitude, {}},
      {"dipole speed negative", tmDipole, [](P& p) { p.DipoleBeta = -0.9; }, C::SpeedNotPositive, TP::None, {"-0.900"}},
      {"dipole speed 1.5", tmDipole, [](P& p) { p.DipoleBeta = 1.5; }, C::SpeedTooHigh, TP::None, {"0.9999", "1.500"}},
      {"race radius 0", tmRaceTrack, [](P& p) { p.RaceRadius = 0.0; }, C::MustNotBeZero, TP::BendingRadius, {}},
      {"race straight 0", tmRaceTrack, [](P& p) { p.RaceStraight = 0.0; }, C::MustNotBeZero, TP::StraightSection, {}},
      {"race signs differ", tmRaceTrack, [](P& p) { p.RaceRadius = -0.1; }, C::RaceTrackSigns, TP::None, {"-0.100", "0.800"}},
      {"race speed 1e-12", tmRaceTrack, [](P& p) { p.RaceBeta = 1e-12; }, C::PathTooLongEstimate, TP::None, {"1.00E-12", "2.23E+14", "200000"}},
      {"race speed 1.5", tmRaceTrack, [](P& p) { p.RaceBeta = 1.5; }, C::SpeedTooHigh, TP::None, {"0.9999", "1.500"}},
      {"bend radius 0", tmBending, [](P& p) { p.BendRadius = 0.0; }, C::MustNotBeZero, TP::BendingRadius, {}},
      {"bend angle 0", tmBending, [](P& p) { p.BendAngle = 0.0; }, C::MustNotBeZero, TP::BendingAngle, {}},
      {"bend signs differ", tmBending, [](P& p) { p.BendAngle = -45.0; }, C::BendingSigns, TP::None, {"0.500", "-45.000"}},
      {"bend full turn", tmBending, [](P& p) { p.BendAngle = 360.0; }, C::BendingAngleRange, TP::None, {"180.000", "360.000"}},
      {"bend angle infinite", tmBending, [](P& p) { p.BendAngle = Inf; }, C::NotFinite, TP::BendingAngle, {"infinity"}},
      {"bend speed 1.5", tmBending, [](P& p) { p.BendBeta = 1.5; }, C::SpeedTooHigh, TP::None, {"0.9999", "1.500"}},
      {"undulator period 0", tmUndulator, [](P& p) { p.UndPeriod = 0.0; }, C::UndulatorPeriodNotPositive, TP::None, {"0.000"}},
      {"undulator period negative", tmUndulator, [](P& p) { p.UndPeriod = -0.2; }, C::UndulatorPeriodNotPositive, TP::None, {"-0.200"}},
      {"undulator no periods", tmUndulator, [](P& p) { p.UndPeriods = 0; }, C::TooFewPeriods, TP::None, {"1", "0"}},
      {"undulator amplitude NaN", tmUndulator, [](P& p) { p.UndAmplitude = NaN; }, C::NotFinite, TP::OscillationAmplitude, {"not a number"}},
      // Finite, but the path's swing of twice it is not.
      {"undulator amplitude 1e308", tmUndulator, [](P& p) { p.UndAmplitude = 1e308; }, C::PathTooLarge, TP::None, {}},
      {"undulator speed 0", tmUndulator, [](P& p) { p.UndBeta = 0.0; }, C::SpeedNotPositive, TP::None, {"0.000"}},
      // What its dialog once answered with a division by zero.
      {"undulator speed 1.2", tmUndulator, [](P& p) { p.UndBeta = 1.2; }, C::SpeedTooHigh, TP::None, {"0.9999", "1.200"}},
      // Cut down to 1.8 / period periods, still far too many segments to allocate.
      {"undulator cut to 1.8e9 periods", tmUndulator, [](P& p) { p.UndPeriods = INT_MAX; p.UndPeriod = 1e-9; }, C::TooManyPeriods, TP::None, {"1.80E+09", "49999"}},
      {"undulator periods huge", tmUndulator, [](P& p) { p.UndPeriods = INT_MAX; p.UndPeriod = 1e-12; }, C::TooManyPeriods, TP::None, {"2.15E+09", "49999"}},
      // Many tiny periods of a large swing: a short distance across but a very long path.
      {"undulator wiggles", tmUndulator, [](P& p) { p.UndPeriods = 40000; p.UndPeriod = 4e-5; p.UndAmplitude = 0.5; }, C::PathTooLongEstimate, TP::None, {"0.950", "8421095", "200000"}},
      {"unknown kind", 99, [](P&) {}, C::UnknownTrajectory, TP::None, {"99"}},
  };
}

TEST(ModelLimitsTrajectory, RefusesWhatCannotBeBuilt) {
  for (const TRefusedCase& r : Refusals()) {
    TTrajectoryParameters p;
    r.Change(p);
    const TRefusal refusal = CheckTrajectory(r.Mode, p, 0.01);
    ASSERT_TRUE(refusal) << r.Name;
    EXPECT_EQ(RefusalCodeName(refusal.Code), std::string(RefusalCodeName(r.Code))) << r.Name;
    EXPECT_EQ(ParameterName(refusal.Parameter), std::string(ParameterName(r.Parameter))) << r.Name;
    EXPECT_EQ(ValueTexts(refusal), r.Values) << r.Name;
  }
}

TEST(ModelLimitsTrajectory, RefusesAWaveSpeedThatIsNotPositive) {
  const TTrajectoryParameters p;
  for (double w : {0.0, -0.01, NaN, Inf}) {
    EXPECT_EQ(CheckTrajectory(tmCircle, p, w).Code, C::WaveSpeedNotPositive) << w;
  }
}

TEST(ModelLimitsTrajectory, RefusalLeavesTheSimulationAsItWas) {
  TSimulationState state;
  TFieldSimulation& sim = state.FieldSimulation;
  sim.InitNodes(state.ISize, state.JSize, ModelWidth);
  BuildTrajectory(state.PathGeneration, tmCircle, state.Trajectory, sim.WaveVelocity);
  const TPathSample first = state.PathGeneration.Path.Samples[0];
  sim.ResetNodes(state.ISize, state.JSize, {first.X, first.Y}, {0.0, 0.0}, ModelWidth,
                 state.WaveFrontSpacing);
  const TPath pathBefore = state.PathGeneration.Path;
  const auto nodesBefore = sim.Nodes;
  const TVector2 chargeBefore = sim.ChargePos;

  for (const TRefusedCase& r : Refusals()) {
    TTrajectoryParameters p = state.Trajectory;
    r.Change(p);
    EXPECT_TRUE(CheckTrajectory(r.Mode, p, sim.WaveVelocity)) << r.Name;
  }
  EXPECT_TRUE(CheckModelSize(1000, 1000000, state.WaveFrontSpacing));

  const TPath& path = state.PathGeneration.Path;
  ASSERT_EQ(path.SegmentCount, pathBefore.SegmentCount);
  ASSERT_EQ(path.SampleCount, pathBefore.SampleCount);
  for (int i = 0; i < path.SegmentCount; ++i) {
    EXPECT_EQ(path.Segments[i].P1.X, pathBefore.Segments[i].P1.X);
    EXPECT_EQ(path.Segments[i].P2.Y, pathBefore.Segments[i].P2.Y);
  }
  for (int i = 0; i < path.SampleCount; ++i) {
    EXPECT_EQ(path.Samples[i].X, pathBefore.Samples[i].X);
    EXPECT_EQ(path.Samples[i].DirY, pathBefore.Samples[i].DirY);
  }
  ASSERT_EQ(sim.Nodes.size(), nodesBefore.size());
  for (std::size_t r = 0; r < sim.Nodes.size(); ++r) {
    ASSERT_EQ(sim.Nodes[r].size(), nodesBefore[r].size());
    for (std::size_t j = 0; j < sim.Nodes[r].size(); ++j) {
      ASSERT_EQ(sim.Nodes[r][j].X, nodesBefore[r][j].X);
      ASSERT_EQ(sim.Nodes[r][j].VY, nodesBefore[r][j].VY);
    }
  }
  EXPECT_EQ(sim.ChargePos.X, chargeBefore.X);
}

TEST(ModelLimitsTrajectory, AcceptsTheDefaultsAtEveryModelSize) {
  const TTrajectoryParameters p;
  for (int iSize : {ModelSizeSmall.ISize, ModelSizeMedium.ISize, ModelSizeLarge.ISize, 2000}) {
    const double w = ModelWidth / iSize;
    for (int mode = tmMouse; mode <= tmBending; ++mode) {
      EXPECT_FALSE(CheckTrajectory(mode, p, w)) << "mode " << mode << " ISize " << iSize;
      if (mode == tmMouse) continue;
      TPathGeneration g;
      BuildTrajectory(g, mode, p, w);
      EXPECT_GE(g.Path.SampleCount, 2);
    }
  }
}

TEST(ModelLimitsTrajectory, AcceptsWhatTheDialogsOffer) {
  const double speeds[] = {0.5, 0.6, 0.7, 0.8, 0.9, 0.95, 0.98, 0.99, 0.995, 0.999};
  for (double w : {ModelWidth / 100, ModelWidth / 2000}) {
    TTrajectoryParameters p;
    for (double beta : speeds) {
      p.LineBeta = p.CircleBeta = p.DipoleBeta = p.RaceBeta = p.BendBeta = beta;
      for (double start : {-1.0, -0.8, -0.5}) {
        for (double stop : {0.3, 0.5, 0.8, 1.0, 1.5, 2.0}) {
          p.LineStartX = start;
          p.LineStopX = stop;
          EXPECT_FALSE(CheckTrajectory(tmStraightLine, p, w)) << start << " " << stop;
        }
      }
      for (double amplitude : {0.1, 0.2, 0.3, 0.4, 0.5}) {
        p.DipoleAmplitude = amplitude;
        EXPECT_FALSE(CheckTrajectory(tmDipole, p, w)) << amplitude;
      }
      for (double radius : {0.01, 0.02, 0.05, 0.1, 0.2, 0.3, 0.5, 0.7, 1.0, -0.2}) {
        p.CircleRadius = radius;
        EXPECT_FALSE(CheckTrajectory(tmCircle, p, w)) << radius;
      }
      for (double radius : {0.05, 0.1, 0.2, 0.3}) {
        for (double straight : {0.05, 0.1, 0.2, 0.3}) {
          p.RaceRadius = radius;
          p.RaceStraight = straight;
          EXPECT_FALSE(CheckTrajectory(tmRaceTrack, p, w)) << radius << " " << straight;
        }
      }
      for (double radius : {0.5, 1.0, 2.0, 5.0}) {
        for (double angle : {10.0, 45.0, 90.0, 180.0}) {
          p.BendRadius = radius;
          p.BendAngle = angle;
          EXPECT_FALSE(CheckTrajectory(tmBending, p, w)) << radius << " " << angle;
        }
      }
    }
    // Negative values where they describe the same kind of path mirrored or turned.
    p = TTrajectoryParameters{};
    p.RaceRadius = -0.1;
    p.RaceStraight = -0.8;
    EXPECT_FALSE(CheckTrajectory(tmRaceTrack, p, w));
    p.BendRadius = -0.5;
    p.BendAngle = -45.0;
    EXPECT_FALSE(CheckTrajectory(tmBending, p, w));
    p.DipoleAmplitude = -0.05;
    EXPECT_FALSE(CheckTrajectory(tmDipole, p, w));
    p.LineBeta = MaxBeta;  // the fastest the engine takes
    EXPECT_FALSE(CheckTrajectory(tmStraightLine, p, w));
  }
}

TEST(ModelLimitsTrajectory, AcceptsTheUndulatorsTheDialogOffers) {
  // Period (cm) x periods x K x beta, amplitude K lambda / (2 pi gamma) as the dialog derives
  // it. Ten periods of 20 or 30 cm are cut to the ones that fit and end at x = 1.0.
  const double periodsCm[] = {0.5, 1, 2, 5, 10, 20, 30};
  const int counts[] = {1, 2, 5, 10, 9};
  const double ks[] = {0.1, 0.2, 0.5, 1, 2, 5, 10};
  const double betas[] = {0.5, 0.7, 0.8, 0.9, 0.95, 0.98, 0.99};
  for (double w : {ModelWidth / 100, ModelWidth / 400}) {
    for (double cm : periodsCm) {
      for (int n : counts) {
        for (double k : ks) {
          for (double beta : betas) {
            TTrajectoryParameters p;
            p.UndPeriod = cm * 0.01;
            p.UndPeriods = n;
            p.UndBeta = beta;
            const double gamma = 1.0 / std::sqrt(1.0 - beta * beta);
            p.UndAmplitude = p.UndPeriod * k / (2.0 * 3.141592653589793 * gamma);
            ASSERT_FALSE(CheckTrajectory(tmUndulator, p, w))
                << cm << " cm x " << n << " K " << k << " beta " << beta;
          }
        }
      }
    }
  }
}

TEST(ModelLimitsSize, RefusesWhatTheTableCannotHold) {
  struct TCase {
    long long ISize;
    long long JSize;
    int Spacing;
    TRefusalCode Code;
    std::vector<std::string> Values;
  };
  const TCase cases[] = {
      {1, 40, 1, C::TooFewRows, {"2", "1"}},
      {-5, 40, 1, C::TooFewRows, {"2", "-5"}},
      {200, 0, 5, C::TooFewLines, {"1", "0"}},
      {200, 40, 0, C::WaveFrontSpacingTooSmall, {"1", "0"}},
      {4, 40, 5, C::RowsBelowWaveFrontSpacing, {"5", "4"}},
      {1000, 1000000, 5, C::ModelTooLarge, {"1000", "1000000", "1.00E+09", "1000000"}},
      {1000000000, 1, 5, C::ModelTooLarge, {"1.00E+09", "1", "2.00E+09", "1000000"}},
      {LLONG_MAX, LLONG_MAX, 5, C::ModelTooLarge, {"9.22E+18", "9.22E+18", "8.51E+37", "1000000"}},
      {2000, 500, 10, C::ModelTooLarge, {"2000", "500", "1002501", "1000000"}},
  };
  for (const TCase& c : cases) {
    const TRefusal refusal = CheckModelSize(c.ISize, c.JSize, c.Spacing);
    EXPECT_EQ(refusal.Code, c.Code) << c.ISize << " x " << c.JSize;
    EXPECT_EQ(ValueTexts(refusal), c.Values) << c.ISize << " x " << c.JSize;
  }
}

TEST(ModelLimitsSize, AcceptsThePresetsAndTheCustomChoices) {
  for (const TModelSizePreset& preset : {ModelSizeLarge, ModelSizeMedium, ModelSizeSmall}) {
    EXPECT_FALSE(CheckModelSize(preset.ISize, preset.JSize, preset.WaveFrontSpacing));
  }
  const TSimulationState start;
  EXPECT_FALSE(CheckModelSize(start.ISize, start.JSize, start.WaveFrontSpacing));
  for (int iSize : {100, 200, 300, 400, 500, 1000, 2000}) {
    for (int jSize : {10, 20, 30, 40, 50, 100, 200}) {
      for (int spacing : {5, 10, 20}) {
        EXPECT_FALSE(CheckModelSize(iSize, jSize, spacing)) << iSize << " x " << jSize;
      }
    }
  }
  EXPECT_FALSE(CheckModelSize(2, 1, 2));  // the smallest model the engine can step
}

}  // namespace
