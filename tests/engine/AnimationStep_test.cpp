// SPDX-License-Identifier: GPL-3.0-or-later
// The animation tick and the reset without windows: the mouse pull, each mode's end-of-path rule
// and the start of a reset.
#include "engine/AnimationStep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/Trajectories.h"
#include "support/StartedSimulation.h"

namespace {

// A state as the main window leaves it after start-up: default size, table sized and reset.
class AnimationStepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartSimulation(State);
  }

  // The path of mode built as the trajectory commands build it, then the reset.
  void ChoosePath(int mode) {
    State.TrajectoryMode = mode;
    BuildTrajectory(State.PathGeneration, mode, State.Trajectory, WaveVelocityOf(State.ISize));
    ResetSimulation(State);
  }

  const TPathSample& Sample(int index) const {
    return State.PathGeneration.Path.Samples[static_cast<std::size_t>(index)];
  }
  int LastUsed() const { return State.PathGeneration.Path.SampleCount - 2; }

  TSimulationState State;
};

TEST_F(AnimationStepTest, MousePullClosesAFifthOfTheGapUpToTheSpeedLimit) {
  // w = 0.01 at the default size, so the limit is 0.0099 per tick.
  struct Row {
    TVector2 cursor;
    TVector2 expectedStep;
  };
  const Row rows[] = {
      {{0.01, 0.0}, {0.002, 0.0}},  // close: a fifth of the gap
      {{0.0, -0.02}, {0.0, -0.004}},
      {{1.0, 0.0}, {0.0099, 0.0}},         // far: limited to 0.99 w
      {{-0.3, 0.4}, {-0.00594, 0.00792}},  // limited along the gap's direction (3-4-5)
  };
  for (const Row& row : rows) {
    State.FieldSimulation.ChargePos = {};
    PullChargeTowards(State, row.cursor);
    // Sums of a few doubles: exact to a few ulps.
    EXPECT_NEAR(State.MouseStep.X, row.expectedStep.X, 1e-15);
    EXPECT_NEAR(State.MouseStep.Y, row.expectedStep.Y, 1e-15);
    EXPECT_NEAR(State.FieldSimulation.ChargePos.X, row.expectedStep.X, 1e-15);
    EXPECT_NEAR(State.FieldSimulation.ChargePos.Y, row.expectedStep.Y, 1e-15);
  }
}

TEST_F(AnimationStepTest, MouseModeMovesOnlyWhileDraggingAndNeverReachesTheWaveSpeed) {
  const TVector2 farAway{0.9, 0.0};
  MoveCharge(State, std::nullopt);
  EXPECT_EQ(State.FieldSimulation.ChargePos.X, 0.0);
  EXPECT_EQ(State.FrameIndex, 1);

  // A cursor is handed over only while the charge is dragged.
  for (int tick = 0; tick < 20; ++tick) RunTick(State, farAway);
  EXPECT_NEAR(State.FieldSimulation.ChargePos.X, 20 * 0.0099, 1e-12);
  EXPECT_NEAR(State.FieldSimulation.Beta, 0.99, 1e-9);
  EXPECT_LT(State.FieldSimulation.Beta, 1.0);

  const double stoppedAt = State.FieldSimulation.ChargePos.X;
  for (int tick = 0; tick < 5; ++tick) RunTick(State, std::nullopt);
  EXPECT_EQ(State.FieldSimulation.ChargePos.X, stoppedAt);
  EXPECT_NEAR(State.FieldSimulation.Beta, 0.0, 1e-12);  // the four-tick history has emptied
}

TEST_F(AnimationStepTest, FirstTickAfterAResetShowsSampleOne) {
  ChoosePath(tmCircle);
  EXPECT_EQ(State.FieldSimulation.ChargePos.X, Sample(0).X);
  RunTick(State, {});
  EXPECT_EQ(State.FrameIndex, 1);
  EXPECT_EQ(State.FieldSimulation.ChargePos.X, Sample(1).X);
  EXPECT_EQ(State.FieldSimulation.ChargePos.Y, Sample(1).Y);
  EXPECT_EQ(State.FieldSimulation.Beta, Sample(1).Beta);
  // The new row of nodes is emitted at the charge.
  EXPECT_EQ(State.FieldSimulation.Nodes[0][0].X, Sample(1).X);
}

TEST_F(AnimationStepTest, StraightLineStopsAtRestOnItsLastUsedSample) {
  ChoosePath(tmStraightLine);
  for (int tick = 0; tick < LastUsed(); ++tick) RunTick(State, {});
  EXPECT_EQ(State.FrameIndex, LastUsed());
  EXPECT_GT(State.FieldSimulation.Beta, 0.0);
  for (int tick = 0; tick < 3; ++tick) {
    RunTick(State, {});
    EXPECT_EQ(State.FrameIndex, LastUsed());
    EXPECT_EQ(State.FieldSimulation.ChargePos.X, Sample(LastUsed()).X);
    EXPECT_EQ(State.FieldSimulation.Beta, 0.0);
  }
}

TEST_F(AnimationStepTest, ClosedPathsWrapToSampleZero) {
  for (const int mode : {tmDipole, tmCircle, tmRaceTrack}) {
    SCOPED_TRACE(mode);
    ChoosePath(mode);
    for (int tick = 0; tick < LastUsed(); ++tick) RunTick(State, {});
    EXPECT_EQ(State.FrameIndex, LastUsed());
    RunTick(State, {});
    EXPECT_EQ(State.FrameIndex, 0);
    EXPECT_EQ(State.FieldSimulation.ChargePos.X, Sample(0).X);
    EXPECT_EQ(State.FieldSimulation.ChargePos.Y, Sample(0).Y);
  }
}

TEST_F(AnimationStepTest, UndulatorAndBendingRestartFromTheirFirstSample) {
  for (const int mode : {tmUndulator, tmBending}) {
    SCOPED_TRACE(mode);
    ChoosePath(mode);
    for (int tick = 0; tick < LastUsed(); ++tick) RunTick(State, {});
    const TVector2 before = State.FieldSimulation.ChargePos;
    EXPECT_EQ(MoveCharge(State, {}), TChargeMove::Restart);
    EXPECT_EQ(State.FrameIndex, 0);
    // Nothing was copied on the restarting tick.
    EXPECT_EQ(State.FieldSimulation.ChargePos.X, before.X);
    ResetSimulation(State);
    // The reset reaches its start by ISize steps of the arrival velocity: a few ulps each.
    EXPECT_NEAR(State.FieldSimulation.ChargePos.X, Sample(0).X, 1e-12);
    EXPECT_NEAR(State.FieldSimulation.ChargePos.Y, Sample(0).Y, 1e-12);
  }
}

// Physics: each new pass enters at its speed along a straight line, so the restarting tick
// sends out no kink: the rows emitted by the reset and by the tick after it, and the charge's
// recorded history, are one steady motion, a step apart.
TEST_F(AnimationStepTest, ANewPassGoesOnWithoutAStop) {
  for (const int mode : {tmUndulator, tmBending}) {
    SCOPED_TRACE(mode);
    ChoosePath(mode);
    for (int tick = 0; tick <= LastUsed(); ++tick) RunTick(State, {});
    ASSERT_EQ(State.FrameIndex, 1);  // restarted, and on to the next sample
    const TFieldSimulation& f = State.FieldSimulation;
    // Both passes enter along the x axis.
    const double step = Sample(1).X - Sample(0).X;
    const double expected[] = {Sample(1).X, Sample(0).X, Sample(0).X - step};
    for (int row = 0; row < 3; ++row) {
      EXPECT_NEAR(f.Nodes[row][0].EmitX, expected[row], 1e-9) << "row " << row;
      EXPECT_NEAR(f.ChargeHistory(row).Pos.X, expected[row], 1e-9) << "row " << row;
    }
  }
}

TEST_F(AnimationStepTest, ResetStartsAtTheFirstSampleWithTheKindsArrivalSpeed) {
  State.Trajectory.UndBeta = 0.95;
  State.Trajectory.BendBeta = 0.7;
  struct Row {
    int mode;
    double initVelX;
  };
  const Row rows[] = {
      {tmStraightLine, 0.0}, {tmCircle, 0.0}, {tmUndulator, 0.95}, {tmBending, 0.7}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode);
    ChoosePath(row.mode);
    const TResetStart start = ResetStartOf(State);
    EXPECT_EQ(start.StartPos.X, Sample(0).X);
    EXPECT_EQ(start.StartPos.Y, Sample(0).Y);
    EXPECT_EQ(start.InitVel.X, row.initVelX);
    EXPECT_EQ(start.InitVel.Y, 0.0);
  }
  State.TrajectoryMode = tmMouse;
  const TResetStart mouse = ResetStartOf(State);
  EXPECT_EQ(mouse.StartPos.X, 0.0);
  EXPECT_EQ(mouse.StartPos.Y, 0.0);
}

TEST_F(AnimationStepTest, APathTableTooShortToUseLeavesTheChargeAlone) {
  // A table claiming more samples than it holds, one with a single sample, and an empty one.
  struct Row {
    int sampleCount;
    std::size_t stored;
  };
  const Row rows[] = {{140, 0}, {1, 1}, {0, 0}, {5, 1}};
  for (const Row& row : rows) {
    State.TrajectoryMode = tmCircle;
    State.PathGeneration.Path.SampleCount = row.sampleCount;
    State.PathGeneration.Path.Samples.assign(row.stored, TPathSample{0.5, 0.5, 1.0, 0.0, 0.9});
    ResetSimulation(State);
    EXPECT_EQ(State.FieldSimulation.ChargePos.X, 0.0);
    for (int tick = 0; tick < 3; ++tick) RunTick(State, {});
    EXPECT_EQ(State.FieldSimulation.ChargePos.X, 0.0);
    EXPECT_EQ(State.FieldSimulation.ChargePos.Y, 0.0);
  }
}

TEST_F(AnimationStepTest, AnUnknownModeDoesNotMoveTheCharge) {
  State.TrajectoryMode = 9;
  State.FieldSimulation.ChargePos = {0.25, -0.5};
  RunTick(State, TVector2{1.0, 1.0});
  EXPECT_EQ(State.FieldSimulation.ChargePos.X, 0.25);
  EXPECT_EQ(State.FieldSimulation.ChargePos.Y, -0.5);
  EXPECT_EQ(State.FrameIndex, 1);
}

// Whether the segment from a to b meets the box |x| <= halfWidth, |y| <= halfHeight: the part of
// the segment's parameter range inside both slabs is not empty.
bool SegmentMeetsBox(TVector2 a, TVector2 b, double halfWidth, double halfHeight) {
  double t0 = 0.0;
  double t1 = 1.0;
  const auto slab = [&](double start, double delta, double half) {
    if (delta == 0.0) return std::fabs(start) <= half;
    double enter = (-half - start) / delta;
    double leave = (half - start) / delta;
    if (enter > leave) std::swap(enter, leave);
    t0 = std::max(t0, enter);
    t1 = std::min(t1, leave);
    return t0 <= t1;
  };
  return slab(a.X, b.X - a.X, halfWidth) && slab(a.Y, b.Y - a.Y, halfHeight);
}

// Field lines run on beyond the oldest row to a tail far out. A tail that drifted with the
// velocity of the reset wandered off to one side on a closed path, and the straight pieces out to
// it then cut across the plot: none may, where the line's oldest node lies outside it.
TEST_F(AnimationStepTest, FieldLinesRunOnOutOfThePlotHoweverLongThePathRuns) {
  constexpr double HalfWidth = 1.0;      // ModelWidth / 2
  constexpr double HalfHeight = 0.5625;  // a 16 : 9 plot
  for (const int mode : {tmDipole, tmCircle, tmRaceTrack, tmUndulator}) {
    SCOPED_TRACE(mode);
    ChoosePath(mode);
    const TFieldSimulation& field = State.FieldSimulation;
    int checked = 0;
    for (int tick = 1; tick <= 4 * State.ISize; ++tick) {
      RunTick(State, {});
      for (int j = 0; j <= State.JSize; ++j) {
        const TFieldNode& oldest = field.Nodes[State.ISize - 1][j];
        const TFieldNode& tail = field.Nodes[State.ISize][j];
        if (SegmentMeetsBox({oldest.X, oldest.Y}, {oldest.X, oldest.Y}, HalfWidth, HalfHeight))
          continue;
        ++checked;
        ASSERT_FALSE(SegmentMeetsBox({oldest.X, oldest.Y}, {tail.X, tail.Y}, HalfWidth, HalfHeight))
            << "tick " << tick << " line " << j;
      }
    }
    EXPECT_GT(checked, 4 * State.ISize * State.JSize / 2);
  }
}

TEST_F(AnimationStepTest, SizesThatDoNotMatchTheTableLeaveItUntouched) {
  const double before = State.FieldSimulation.Nodes[1][0].X;
  State.ISize = 400;  // set without InitNodes
  EmitAndAdvance(State);
  ResetSimulation(State);
  EXPECT_EQ(State.FieldSimulation.Nodes[1][0].X, before);
}

}  // namespace
