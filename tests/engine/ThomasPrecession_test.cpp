// SPDX-License-Identifier: GPL-3.0-or-later
// Thomas precession: the rest frame's turn per tick against independent formulas, and the field
// lines of a circling charge against the exact field, with the precession and without.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/AnimationStep.h"
#include "engine/FieldLineAccuracy.h"
#include "engine/SimulationState.h"
#include "engine/Trajectories.h"
#include "tests/engine/ExactCircle.h"
#include "support/StartedSimulation.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr int ISize = 200;
constexpr int JSize = 40;

TAngleFigures CircleFigures(bool thomas, double beta) {
  TExactCircle circle;
  circle.Beta = beta;
  TFieldSimulation sim;
  sim.ThomasPrecession = thomas;
  circle.Feed(sim, ISize, JSize, ISize + 50);
  // The default window's plot: 2 model units wide, about 0.55 high on either side.
  const TModelArea plot{-1.0, 1.0, -0.55, 0.55};
  return SummarizeAngles(FieldLineDeviations(sim, ISize, JSize, plot, 0.03));
}

TEST(ThomasPrecession, CircleFieldLinesFollowTheExactField) {
  const TAngleFigures on = CircleFigures(true, 0.9);
  EXPECT_GT(on.Count, 2000);
  EXPECT_LT(on.Median, 0.5);
  EXPECT_LT(on.Percentile95, 3.0);
  // Without the precession the lines are visibly off.
  const TAngleFigures off = CircleFigures(false, 0.9);
  EXPECT_GT(off.Median, 5.0);
}

// On a circle at constant speed the rest frame turns by the Thomas rate against the velocity's
// own turn: per turn of the velocity, -(gamma - 1) x 2 pi (the velocity turns counter-clockwise,
// the frame clockwise).
TEST(ThomasPrecession, CircleTurnsTheRestFrameAtTheThomasRate) {
  const double rows[][2] = {{0.5, 0.0}, {0.9, 0.0}, {0.99, 0.0}};
  for (const auto& row : rows) {
    TExactCircle circle;
    circle.Beta = row[0];
    circle.Radius = 0.5;
    TFieldSimulation sim;
    const int ticks = 40;
    circle.Feed(sim, ISize, JSize, 1);
    const double before = sim.ThomasAngle;
    for (int tick = 2; tick <= ticks + 1; ++tick) {
      sim.ChargePos = circle.Pos(tick);
      sim.VelocityDir = circle.Dir(tick);
      sim.Beta = circle.Beta;
      sim.AdvanceCharge();
    }
    const double gamma = 1.0 / std::sqrt(1.0 - circle.Beta * circle.Beta);
    const double expected = -(gamma - 1.0) * circle.Omega() * ticks;
    // Each tick takes beta at the middle of the chord, short of the circle's by cos(delta / 2)
    // for a turn delta per tick: relative errors of order gamma^2 delta^2, second order in the
    // tick.
    const double delta = circle.Omega();
    EXPECT_NEAR(std::remainder(sim.ThomasAngle - before - expected, 2.0 * Pi), 0.0,
                0.5 * gamma * gamma * delta * delta * std::fabs(expected))
        << circle.Beta;
  }
}

// Motion along a line never turns the frame: the table is the same bit for bit with the
// precession on and off.
TEST(ThomasPrecession, LineAndDipoleAreUnchanged) {
  for (int mode : {tmStraightLine, tmDipole}) {
    TSimulationState states[2];
    for (int k = 0; k < 2; ++k) {
      TSimulationState& state = states[k];
      state.FieldSimulation.ThomasPrecession = k == 0;
      StartSimulation(state, mode);
      for (int tick = 0; tick < 2 * state.ISize; ++tick) RunTick(state, {});
      EXPECT_EQ(state.FieldSimulation.ThomasAngle, 0.0) << mode;
    }
    const auto& a = states[0].FieldSimulation.Nodes;
    const auto& b = states[1].FieldSimulation.Nodes;
    for (std::size_t r = 0; r < a.size(); ++r) {
      for (std::size_t j = 0; j < a[r].size(); ++j) {
        ASSERT_EQ(a[r][j].X, b[r][j].X) << mode << " " << r << " " << j;
        ASSERT_EQ(a[r][j].Y, b[r][j].Y) << mode << " " << r << " " << j;
        ASSERT_EQ(a[r][j].Angle, b[r][j].Angle) << mode << " " << r << " " << j;
      }
    }
  }
}

// The mouse filter's (1, 1) at rest and its speed cap give neither a jump nor a NaN; a reset
// and the option switched off put the angle back to 0.
TEST(ThomasPrecession, MouseRestAndCapStayFinite) {
  TSimulationState state;
  TFieldSimulation& f = state.FieldSimulation;
  f.InitNodes(state.ISize, state.JSize, ModelWidth);
  ResetSimulation(state);
  // A hard pull to the right, then a turn upwards at the speed limit, then rest.
  for (int tick = 0; tick < 30; ++tick) RunTick(state, TVector2{5.0, 0.0});
  for (int tick = 0; tick < 30; ++tick) RunTick(state, TVector2{f.ChargePos.X, 5.0});
  const double turned = f.ThomasAngle;
  EXPECT_LT(turned, 0.0);  // counter-clockwise turn of the motion
  for (int tick = 0; tick < 10; ++tick) RunTick(state, {});
  EXPECT_EQ(f.Beta, 0.0);
  EXPECT_EQ(f.ThomasAngle, turned);  // slowing down along a line turns nothing
  for (const TEmitDirection& e : f.EmitDirections) ASSERT_TRUE(std::isfinite(e.Angle));

  f.ThomasPrecession = false;
  RunTick(state, {});
  EXPECT_EQ(f.ThomasAngle, 0.0);
  f.ThomasPrecession = true;
  ResetSimulation(state);
  EXPECT_EQ(f.ThomasAngle, 0.0);
}

}  // namespace
