// The checks before a trajectory or a model size is applied: everything the generator or the
// node table cannot take is refused with a message naming the value, everything the dialogs
// offer is accepted, and nothing of the running simulation changes.
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

struct TRefusal {
  const char* Name;
  int Mode;
  std::function<void(TTrajectoryParameters&)> Change;
  std::vector<std::string> MessageParts;  // what the message must name
};

std::vector<TRefusal> Refusals() {
  using P = TTrajectoryParameters;
  return {
      {"line speed 0",
       tmStraightLine,
       [](P& p) { p.LineBeta = 0.0; },
       {"speed", "greater than 0", "0.000"}},
      {"line speed negative", tmStraightLine, [](P& p) { p.LineBeta = -0.5; }, {"speed", "-0.500"}},
      {"line speed 1e-12",
       tmStraightLine,
       [](P& p) { p.LineBeta = 1e-12; },
       {"too long", "1.00E-12", "200000"}},
      {"line ends equal",
       tmStraightLine,
       [](P& p) { p.LineStartX = p.LineStopX = 0.5; },
       {"start and stop", "0.500"}},
      {"line start infinite",
       tmStraightLine,
       [](P& p) { p.LineStartX = -Inf; },
       {"start position", "finite", "minus infinity"}},
      {"line speed NaN", tmStraightLine, [](P& p) { p.LineBeta = NaN; }, {"speed", "not a number"}},
      {"line speed huge",
       tmStraightLine,
       [](P& p) { p.LineBeta = 1e6; },
       {"too short", "less than two ticks"}},
      {"line far too long", tmStraightLine, [](P& p) { p.LineStopX = 1e300; }, {"too long"}},
      {"circle radius 0", tmCircle, [](P& p) { p.CircleRadius = 0.0; }, {"circle radius", "0"}},
      {"circle speed 0", tmCircle, [](P& p) { p.CircleBeta = 0.0; }, {"speed"}},
      {"circle radius NaN", tmCircle, [](P& p) { p.CircleRadius = NaN; }, {"circle radius"}},
      {"circle radius tiny", tmCircle, [](P& p) { p.CircleRadius = 1e-12; }, {"too short"}},
      {"circle radius 1e200", tmCircle, [](P& p) { p.CircleRadius = 1e200; }, {"too long"}},
      {"circle radius 1e308", tmCircle, [](P& p) { p.CircleRadius = 1e308; }, {"too large"}},
      {"dipole amplitude 0",
       tmDipole,
       [](P& p) { p.DipoleAmplitude = 0.0; },
       {"oscillation amplitude"}},
      {"dipole speed negative", tmDipole, [](P& p) { p.DipoleBeta = -0.9; }, {"speed"}},
      {"race radius 0", tmRaceTrack, [](P& p) { p.RaceRadius = 0.0; }, {"bending radius"}},
      {"race straight 0", tmRaceTrack, [](P& p) { p.RaceStraight = 0.0; }, {"straight section"}},
      {"race signs differ",
       tmRaceTrack,
       [](P& p) { p.RaceRadius = -0.1; },
       {"same sign", "-0.100", "0.800"}},
      {"race speed 1e-12", tmRaceTrack, [](P& p) { p.RaceBeta = 1e-12; }, {"too long"}},
      {"bend radius 0", tmBending, [](P& p) { p.BendRadius = 0.0; }, {"bending radius"}},
      {"bend angle 0", tmBending, [](P& p) { p.BendAngle = 0.0; }, {"bending angle"}},
      {"bend signs differ", tmBending, [](P& p) { p.BendAngle = -45.0; }, {"same sign"}},
      {"bend full turn",
       tmBending,
       [](P& p) { p.BendAngle = 360.0; },
       {"bending angle", "180", "360.000"}},
      {"bend angle infinite", tmBending, [](P& p) { p.BendAngle = Inf; }, {"bending angle"}},
      {"undulator period 0",
       tmUndulator,
       [](P& p) { p.UndPeriod = 0.0; },
       {"undulator period", "greater than 0"}},
      {"undulator period negative",
       tmUndulator,
       [](P& p) { p.UndPeriod = -0.2; },
       {"undulator period", "-0.200"}},
      {"undulator no periods",
       tmUndulator,
       [](P& p) { p.UndPeriods = 0; },
       {"number of periods", "at least 1", "0 was given"}},
      {"undulator amplitude NaN", tmUndulator, [](P& p) { p.UndAmplitude = NaN; }, {"amplitude"}},
      // Finite, but the path's swing of twice it is not.
      {"undulator amplitude 1e308",
       tmUndulator,
       [](P& p) { p.UndAmplitude = 1e308; },
       {"too large"}},
      {"undulator speed 0", tmUndulator, [](P& p) { p.UndBeta = 0.0; }, {"speed"}},
      // Cut down to 1.8 / period periods, still far too many segments to allocate.
      {"undulator cut to 1.8e9 periods",
       tmUndulator,
       [](P& p) {
         p.UndPeriods = INT_MAX;
         p.UndPeriod = 1e-9;
       },
       {"periods", "at most"}},
      {"undulator periods huge",
       tmUndulator,
       [](P& p) {
         p.UndPeriods = INT_MAX;
         p.UndPeriod = 1e-12;
       },
       {"periods", "at most"}},
      // Many tiny periods of a large swing: a short distance across but a very long path.
      {"undulator wiggles",
       tmUndulator,
       [](P& p) {
         p.UndPeriods = 40000;
         p.UndPeriod = 4e-5;
         p.UndAmplitude = 0.5;
       },
       {"too long"}},
      {"unknown kind", 99, [](P&) {}, {"Unknown"}},
  };
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ModelLimitsTrajectory, RefusesWhatCannotBeBuilt) {
  for (const TRefusal& r : Refusals()) {
    TTrajectoryParameters p;
    r.Change(p);
    const std::string message = CheckTrajectory(r.Mode, p, 0.01);
    ASSERT_FALSE(message.empty()) << r.Name;
    for (const std::string& part : r.MessageParts) {
      EXPECT_TRUE(Contains(message, part)) << r.Name << ": \"" << message << "\" lacks " << part;
    }
    EXPECT_LT(message.size(), 160u) << r.Name << ": " << message;
    EXPECT_EQ(message.back(), '.') << r.Name;
  }
}

TEST(ModelLimitsTrajectory, RefusesAWaveSpeedThatIsNotPositive) {
  const TTrajectoryParameters p;
  for (double w : {0.0, -0.01, NaN, Inf}) {
    EXPECT_TRUE(Contains(CheckTrajectory(tmCircle, p, w), "wave speed")) << w;
  }
}

TEST(ModelLimitsTrajectory, RefusalLeavesTheSimulationAsItWas) {
  TSimulationState state;
  TFieldSimulation& sim = state.FieldSimulation;
  sim.InitNodes(state.ISize, state.JSize, ModelWidth);
  BuildTrajectory(state.PathGeneration, tmCircle, sim, sim.WaveVelocity);
  const TPathSample first = state.PathGeneration.Path.Samples[0];
  sim.ResetNodes(state.ISize, state.JSize, {first.X, first.Y}, {0.0, 0.0}, ModelWidth,
                 state.WaveFrontSpacing);
  const TPath pathBefore = state.PathGeneration.Path;
  const auto nodesBefore = sim.Nodes;
  const TVector2 chargeBefore = sim.ChargePos;

  for (const TRefusal& r : Refusals()) {
    TTrajectoryParameters p = sim;
    r.Change(p);
    EXPECT_FALSE(CheckTrajectory(r.Mode, p, sim.WaveVelocity).empty()) << r.Name;
  }
  EXPECT_FALSE(CheckModelSize(1000, 1000000, state.WaveFrontSpacing).empty());

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
      EXPECT_EQ(CheckTrajectory(mode, p, w), "") << "mode " << mode << " ISize " << iSize;
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
          EXPECT_EQ(CheckTrajectory(tmStraightLine, p, w), "") << start << " " << stop;
        }
      }
      for (double amplitude : {0.1, 0.2, 0.3, 0.4, 0.5}) {
        p.DipoleAmplitude = amplitude;
        EXPECT_EQ(CheckTrajectory(tmDipole, p, w), "") << amplitude;
      }
      for (double radius : {0.01, 0.02, 0.05, 0.1, 0.2, 0.3, 0.5, 0.7, 1.0, -0.2}) {
        p.CircleRadius = radius;
        EXPECT_EQ(CheckTrajectory(tmCircle, p, w), "") << radius;
      }
      for (double radius : {0.05, 0.1, 0.2, 0.3}) {
        for (double straight : {0.05, 0.1, 0.2, 0.3}) {
          p.RaceRadius = radius;
          p.RaceStraight = straight;
          EXPECT_EQ(CheckTrajectory(tmRaceTrack, p, w), "") << radius << " " << straight;
        }
      }
      for (double radius : {0.5, 1.0, 2.0, 5.0}) {
        for (double angle : {10.0, 45.0, 90.0, 180.0}) {
          p.BendRadius = radius;
          p.BendAngle = angle;
          EXPECT_EQ(CheckTrajectory(tmBending, p, w), "") << radius << " " << angle;
        }
      }
    }
    // Negative values where they describe the same kind of path mirrored or turned.
    p = TTrajectoryParameters{};
    p.RaceRadius = -0.1;
    p.RaceStraight = -0.8;
    EXPECT_EQ(CheckTrajectory(tmRaceTrack, p, w), "");
    p.BendRadius = -0.5;
    p.BendAngle = -45.0;
    EXPECT_EQ(CheckTrajectory(tmBending, p, w), "");
    p.DipoleAmplitude = -0.05;
    EXPECT_EQ(CheckTrajectory(tmDipole, p, w), "");
    p.LineBeta = 1.2;  // faster than the wave
    EXPECT_EQ(CheckTrajectory(tmStraightLine, p, w), "");
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
            ASSERT_EQ(CheckTrajectory(tmUndulator, p, w), "")
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
    std::vector<std::string> MessageParts;
  };
  const TCase cases[] = {
      {1, 40, 1, {"field points per field line", "at least 2", "1 was given"}},
      {-5, 40, 1, {"at least 2", "-5"}},
      {200, 0, 5, {"number of field lines", "at least 1", "0 was given"}},
      {200, 40, 0, {"wavefront spacing", "at least 1"}},
      {4, 40, 5, {"at least 5, the number of field points between two wavefronts", "4 was given"}},
      {1000,
       1000000,
       5,
       {"too large", "1000 field points x 1000000 field lines", "1.00E+09", "1000000"}},
      {1000000000, 1, 5, {"too large"}},
      {LLONG_MAX, LLONG_MAX, 5, {"too large"}},
      {2000, 500, 10, {"too large"}},
  };
  for (const TCase& c : cases) {
    const std::string message = CheckModelSize(c.ISize, c.JSize, c.Spacing);
    ASSERT_FALSE(message.empty()) << c.ISize << " x " << c.JSize;
    for (const std::string& part : c.MessageParts) {
      EXPECT_TRUE(Contains(message, part)) << "\"" << message << "\" lacks " << part;
    }
  }
}

TEST(ModelLimitsSize, AcceptsThePresetsAndTheCustomChoices) {
  for (const TModelSizePreset& preset : {ModelSizeLarge, ModelSizeMedium, ModelSizeSmall}) {
    EXPECT_EQ(CheckModelSize(preset.ISize, preset.JSize, preset.WaveFrontSpacing), "");
  }
  const TSimulationState start;
  EXPECT_EQ(CheckModelSize(start.ISize, start.JSize, start.WaveFrontSpacing), "");
  for (int iSize : {100, 200, 300, 400, 500, 1000, 2000}) {
    for (int jSize : {10, 20, 30, 40, 50, 100, 200}) {
      for (int spacing : {5, 10, 20}) {
        EXPECT_EQ(CheckModelSize(iSize, jSize, spacing), "") << iSize << " x " << jSize;
      }
    }
  }
  EXPECT_EQ(CheckModelSize(2, 1, 2), "");  // the smallest model the engine can step
}

}  // namespace
