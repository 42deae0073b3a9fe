// SPDX-License-Identifier: GPL-3.0-or-later
// The start values of the shared state and the small numeric helpers.
#include "engine/SimulationState.h"

#include <gtest/gtest.h>

namespace {

TEST(SimulationState, StartValues) {
  const TSimulationState s;
  EXPECT_EQ(s.ISize, 200);
  EXPECT_EQ(s.JSize, 40);
  EXPECT_EQ(s.WaveFrontSpacing, 5);
  EXPECT_EQ(s.TrajectoryMode, tmMouse);
  EXPECT_EQ(s.FrameIndex, 0);
  EXPECT_TRUE(s.FieldSimulation.LightAberration);
  EXPECT_TRUE(s.FieldSimulation.TrackEmissionPoint);
  EXPECT_EQ(s.Trajectory.CircleBeta, 0.9);
  EXPECT_EQ(s.Trajectory.BendAngle, 45.0);
  EXPECT_EQ(s.Trajectory.UndPeriods, 5);
  EXPECT_TRUE(s.PathGeneration.Path.Segments.empty());
  EXPECT_TRUE(s.FieldSimulation.Nodes.empty());
  // The medium preset differs from the start-up size only in the wavefront spacing.
  EXPECT_EQ(ModelSizeMedium.ISize, s.ISize);
  EXPECT_EQ(ModelSizeMedium.WaveFrontSpacing, 10);
}

TEST(MyMath, Helpers) {
  EXPECT_EQ(Interpolate(0, 4, 1.5, 7.0), 1.5);
  EXPECT_EQ(Interpolate(4, 4, 1.5, 7.0), 7.0);
  EXPECT_EQ(Interpolate(1, 4, 0.0, 2.0), 0.5);
  const TRect rect{10, 20, 30, 40};
  EXPECT_TRUE(PointInRect(30, 40, rect));
  EXPECT_TRUE(PointInRect(10, 20, rect));
  EXPECT_FALSE(PointInRect(31, 40, rect));
  EXPECT_FALSE(PointInRect(30, 41, rect));
  EXPECT_EQ(VectorLength({3.0, 4.0}), 5.0);
}

}  // namespace
