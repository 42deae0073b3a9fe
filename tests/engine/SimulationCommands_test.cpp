// SPDX-License-Identifier: GPL-3.0-or-later
// The commands every caller changes the simulation with: a whole set of values checked, then all
// of it applied or none; the tick that reports a new pass; the speed, physics and display values.
#include "engine/SimulationCommands.h"

#include <gtest/gtest.h>

#include "engine/AnimationStep.h"
#include "engine/Trajectories.h"

namespace {

class SimulationCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(Commands.Start()); }

  // What a refused command must leave as it was.
  struct TSnapshot {
    TTrajectoryParameters Trajectory;
    int Mode, ISize, JSize, Spacing, FrameIndex, Samples;
    double ChargeX, FirstSampleX, NodeX;
    TDisplaySettings Display;
    int TimerInterval;
  };
  TSnapshot Snapshot() const {
    const TSimulationState& s = State;
    const TPath& path = s.PathGeneration.Path;
    return {s.Trajectory, s.TrajectoryMode, s.ISize, s.JSize, s.WaveFrontSpacing, s.FrameIndex,
            path.SampleCount, s.FieldSimulation.ChargePos.X,
            path.Samples.empty() ? 0.0 : path.Samples[0].X, s.FieldSimulation.Nodes[3][2].X,
            Display, s.TimerInterval};
  }
  void ExpectUnchanged(const TSnapshot& a, const char* what) const {
    const TSnapshot b = Snapshot();
    EXPECT_EQ(a.Trajectory, b.Trajectory) << what;
    EXPECT_EQ(a.Mode, b.Mode) << what;
    EXPECT_EQ(a.ISize, b.ISize) << what;
    EXPECT_EQ(a.JSize, b.JSize) << what;
    EXPECT_EQ(a.Spacing, b.Spacing) << what;
    EXPECT_EQ(a.FrameIndex, b.FrameIndex) << what;
    EXPECT_EQ(a.Samples, b.Samples) << what;
    EXPECT_EQ(a.ChargeX, b.ChargeX) << what;
    EXPECT_EQ(a.FirstSampleX, b.FirstSampleX) << what;
    EXPECT_EQ(a.NodeX, b.NodeX) << what;
    EXPECT_EQ(a.Display.PlotResolution, b.Display.PlotResolution) << what;
    EXPECT_EQ(a.Display.Zoom.Scale, b.Display.Zoom.Scale) << what;
    EXPECT_EQ(a.Display.ShowWaveFronts, b.Display.ShowWaveFronts) << what;
    EXPECT_EQ(a.TimerInterval, b.TimerInterval) << what;
  }

  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
};

TEST_F(SimulationCommandsTest, ARefusedCommandChangesNothing) {
  ASSERT_FALSE(Commands.ChooseTrajectory(tmCircle, TTrajectoryParameters{}));
  for (int t = 0; t < 7; ++t) Commands.RunTick();
  const TSnapshot before = Snapshot();

  TTrajectoryParameters fast;
  fast.LineBeta = 1.5;
  fast.CircleRadius = 0.4;  // a good value beside the bad one is not taken either
  EXPECT_EQ(Commands.ChooseTrajectory(tmStraightLine, fast).Code, TRefusalCode::SpeedTooHigh);
  ExpectUnchanged(before, "line at 1.5");
  TTrajectoryParameters undulator;
  undulator.UndBeta = 1.2;
  EXPECT_EQ(Commands.ChooseTrajectory(tmUndulator, undulator).Code, TRefusalCode::SpeedTooHigh);
  ExpectUnchanged(before, "undulator at 1.2");
  EXPECT_EQ(Commands.ChooseModelSize({1, 40, 5}).Code, TRefusalCode::TooFewRows);
  ExpectUnchanged(before, "one row");
  EXPECT_EQ(Commands.SetPlotResolution(101).Code, TRefusalCode::PlotResolutionRange);
  EXPECT_EQ(Commands.SetSpeedPosition(0).Code, TRefusalCode::SpeedPositionRange);
  TDisplaySettings display = Display;
  display.ShowWaveFronts = true;
  display.Zoom.Scale = 0.0;
  EXPECT_EQ(Commands.SetDisplay(display).Code, TRefusalCode::ZoomScaleRange);
  display.Zoom = {};
  display.Zoom.Tracking = 7;
  EXPECT_EQ(Commands.SetDisplay(display).Code, TRefusalCode::ZoomTrackingUnknown);
  ExpectUnchanged(before, "settings");
}

// The path is sampled at β times the wave speed, which follows the rows: a path that fits the
// table at one size may not at another, and the new size is refused with the path in force.
TEST_F(SimulationCommandsTest, AModelSizeIsCheckedWithThePathInForce) {
  TTrajectoryParameters slow;
  slow.LineBeta = 0.001;
  ASSERT_FALSE(Commands.ChooseTrajectory(tmStraightLine, slow));
  const TSnapshot before = Snapshot();
  EXPECT_EQ(Commands.ChooseModelSize({2000, 40, 10}).Code, TRefusalCode::PathTooLongEstimate);
  ExpectUnchanged(before, "2000 rows");

  ASSERT_FALSE(Commands.ChooseModelSize({400, 40, 20}));
  EXPECT_EQ(State.FieldSimulation.WaveVelocity, WaveVelocityOf(400));
  EXPECT_EQ(State.FieldSimulation.Nodes.size(), 401u);
  // Sampled again at the new wave speed: one sample per tick's travel β w.
  const TPath& path = State.PathGeneration.Path;
  EXPECT_NEAR(path.Samples[1].X - path.Samples[0].X, 0.001 * WaveVelocityOf(400), 1e-12);
  EXPECT_EQ(State.FrameIndex, 0);
}

TEST_F(SimulationCommandsTest, AnAcceptedTrajectoryIsInForceAndReset) {
  TTrajectoryParameters p;
  p.CircleBeta = MaxBeta;
  p.CircleRadius = 0.3;
  for (int t = 0; t < 5; ++t) Commands.RunTick();
  ASSERT_FALSE(Commands.ChooseTrajectory(tmCircle, p));
  EXPECT_EQ(Commands.Trajectory(), p);
  EXPECT_EQ(State.TrajectoryMode, tmCircle);
  EXPECT_EQ(State.FrameIndex, 0);
  // The Bezier arcs follow the circle to a few thousandths of its radius.
  EXPECT_NEAR(State.PathGeneration.Path.Samples[0].X, 0.3, 0.003);
  // Mouse mode keeps the last preset, so that choosing it again needs no dialog.
  ASSERT_FALSE(Commands.ChooseTrajectory(tmMouse, TTrajectoryParameters{}));
  EXPECT_EQ(State.TrajectoryMode, tmMouse);
  EXPECT_EQ(Commands.Trajectory(), p);
}

// The undulator and the bending magnet start a new pass at their end: the tick says so, so that
// a front-end does what it does after a reset; closed paths wrap without one.
TEST_F(SimulationCommandsTest, TheTickReportsANewPass) {
  struct TRow {
    int Mode;
    bool Restarts;
  };
  for (const TRow row : {TRow{tmUndulator, true}, TRow{tmBending, true}, TRow{tmCircle, false},
                         TRow{tmStraightLine, false}}) {
    ASSERT_FALSE(Commands.ChooseTrajectory(row.Mode, TTrajectoryParameters{}));
    const int ticks = State.PathGeneration.Path.SampleCount + 3;
    int restarts = 0;
    for (int t = 0; t < ticks; ++t) restarts += Commands.RunTick().PassRestarted ? 1 : 0;
    EXPECT_EQ(restarts, row.Restarts ? 1 : 0) << row.Mode;
  }
}

TEST_F(SimulationCommandsTest, OnlyTheMouseModeFollowsTheCursor) {
  ASSERT_FALSE(Commands.ChooseTrajectory(tmCircle, TTrajectoryParameters{}));
  TSimulationState other = State;
  Commands.RunTick(TVector2{0.9, 0.9});
  RunTick(other, std::nullopt);
  EXPECT_EQ(State.FieldSimulation.ChargePos.X, other.FieldSimulation.ChargePos.X);
  ASSERT_FALSE(Commands.ChooseTrajectory(tmMouse, TTrajectoryParameters{}));
  Commands.RunTick(TVector2{0.9, 0.0});
  EXPECT_GT(State.FieldSimulation.ChargePos.X, 0.0);
}

TEST(AnimationSpeed, TheSliderMapsToTheTimerInterval) {
  struct TRow {
    int Position, IntervalMs;
  };
  const TRow rows[] = {{1, 181}, {2, 161}, {5, 101}, {9, 21}, {10, 1}};
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands commands(state, display);
  for (const TRow row : rows) {
    EXPECT_EQ(TimerIntervalOfSpeed(row.Position), row.IntervalMs);
    EXPECT_EQ(SpeedPositionOf(row.IntervalMs), row.Position);
    ASSERT_FALSE(commands.SetSpeedPosition(row.Position));
    EXPECT_EQ(state.TimerInterval, row.IntervalMs);
  }
  // Intervals between and beyond the slider's go to the nearest position it has.
  EXPECT_EQ(SpeedPositionOf(170), 2);
  EXPECT_EQ(SpeedPositionOf(172), 1);
  EXPECT_EQ(SpeedPositionOf(5000), 1);
  EXPECT_EQ(SpeedPositionOf(0), 10);
  EXPECT_EQ(SpeedPositionOf(12), 9);
  EXPECT_EQ(TSimulationState{}.TimerInterval, 1);
}

TEST(PhysicsOptions, DefaultsAreAllOnAndSetTakesEffectWithoutAReset) {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands commands(state, display);
  EXPECT_EQ(commands.Physics(), DefaultPhysicsOptions);
  EXPECT_TRUE(DefaultPhysicsOptions.LightAberration && DefaultPhysicsOptions.TrackEmissionPoint &&
              DefaultPhysicsOptions.ThomasPrecession);
  ASSERT_FALSE(commands.Start());
  for (int t = 0; t < 4; ++t) commands.RunTick();
  const TPhysicsOptions off{false, false, false};
  commands.SetPhysics(off);
  EXPECT_EQ(commands.Physics(), off);
  EXPECT_EQ(state.FrameIndex, 4);
}

}  // namespace
