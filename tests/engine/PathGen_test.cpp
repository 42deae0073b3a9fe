// SPDX-License-Identifier: GPL-3.0-or-later
// The trajectory generator: the shapes of the preset paths, the equal-step sampling with its
// rescaling, the closing of closed paths and the dipole fold.
#include "engine/PathGen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/SimulationState.h"
#include "engine/Trajectories.h"

namespace {

constexpr double Pi = std::numbers::pi;

double Distance(double x0, double y0, double x1, double y1) {
  return std::hypot(x1 - x0, y1 - y0);
}

double Distance(TVector2 a, TVector2 b) {
  return Distance(a.X, a.Y, b.X, b.Y);
}

// Segments are joined end to start exactly: the next one starts where the last one ended.
void ExpectJoined(const TPath& path) {
  for (int i = 1; i < path.SegmentCount; ++i) {
    EXPECT_LT(Distance(path.Segments[i - 1].P3, path.Segments[i].P0), 1e-15) << "joint " << i;
  }
}

TEST(PathGenCircle, DefaultCircleSamplesAndCloses) {
  TPathGeneration g;
  g.MakeCircle(0.2);
  ASSERT_EQ(g.Path.SegmentCount, 4);
  g.SampleUniform(0.9 * 0.01, 0.9);

  ASSERT_EQ(g.Path.SampleCount, 140);
  ASSERT_EQ(g.Path.Samples.size(), 140u);
  // The scale factor shows in the start point of the path.
  const double scaledRadius = g.Path.Segments[0].P0.X;
  EXPECT_NEAR(scaledRadius / 0.2, 0.9953, 1e-4);
  EXPECT_NEAR(scaledRadius, 0.19908, 1e-5);
  // Sample 0 is one step of arc along the path, 0.009 / 0.19908 = 0.045208 rad round the
  // circle; its direction is the tangent there (the Bezier quarter's tangent differs from the
  // circle's by under 1e-3).
  EXPECT_NEAR(g.Path.Samples[0].X, 0.19908 * std::cos(0.045208), 1e-5);
  EXPECT_NEAR(g.Path.Samples[0].Y, 0.19908 * std::sin(0.045208), 1e-5);
  EXPECT_NEAR(g.Path.Samples[0].DirX, -std::sin(0.045208), 1e-3);
  EXPECT_NEAR(g.Path.Samples[0].DirY, std::cos(0.045208), 1e-3);
  EXPECT_EQ(g.Path.Samples[0].Beta, 0.9);
  // The last used entry lies at the start of the scaled path, one step before sample 0.
  const TPathSample& last = g.Path.Samples[138];
  EXPECT_LT(Distance(last.X, last.Y, scaledRadius, 0.0), 1e-4);
  ExpectJoined(g.Path);
}

TEST(PathGenCircle, NegativeRadiusIsTheSameCircleFromTheOtherSide) {
  TPathGeneration g;
  g.MakeCircle(-0.2);
  ExpectJoined(g.Path);
  EXPECT_NEAR(g.Path.Segments[0].P0.X, -0.2, 1e-15);
  g.SampleUniform(0.009, 0.9);
  EXPECT_EQ(g.Path.SampleCount, 140);
  // Still counter-clockwise: the first step from (-R, 0) goes down.
  EXPECT_LT(g.Path.Samples[0].Y, 0.0);
  for (int i = 0; i < g.Path.SampleCount - 1; ++i) {
    EXPECT_NEAR(std::hypot(g.Path.Samples[i].X, g.Path.Samples[i].Y), 0.19906, 2e-4);
  }
}

TEST(PathGenSampling, StepsAreEqualAlongThePath) {
  struct TCase {
    const char* Name;
    int Mode;
  };
  const TCase cases[] = {{"line", tmStraightLine},
                         {"circle", tmCircle},
                         {"race track", tmRaceTrack},
                         {"undulator", tmUndulator},
                         {"bending", tmBending}};
  const TTrajectoryParameters p;
  for (const TCase& c : cases) {
    TPathGeneration g;
    BuildTrajectory(g, c.Mode, p, 0.01);
    ASSERT_GE(g.Path.SampleCount, 2) << c.Name;
    double beta = 0.0;
    for (int i = 0; i + 1 < g.Path.SampleCount - 1; ++i) {
      const TPathSample& a = g.Path.Samples[i];
      const TPathSample& b = g.Path.Samples[i + 1];
      beta = a.Beta;
      // The step is one Step of arc; the chord is shorter by delta^2 / 24 of it for a turn
      // delta per step (0.25 rad at the undulator's crests, the tightest here): 2.6e-3.
      EXPECT_NEAR(Distance(a.X, a.Y, b.X, b.Y), beta * 0.01, 3e-3 * beta * 0.01)
          << c.Name << " sample " << i;
      EXPECT_NEAR(std::hypot(a.DirX, a.DirY), 1.0, 1e-12) << c.Name << " sample " << i;
      // The direction is the tangent where the charge is: along the chord through the two
      // neighbours, off it by at most half the turn between the chords where a bend starts or
      // ends between them, and by about a sixth of the change of that turn from one step to the
      // next where the bend itself changes (the undulator's inflections). (A direction one step
      // behind is off by the whole turn.)
      if (i > 0 && i + 2 < g.Path.SampleCount) {
        const TPathSample& before = g.Path.Samples[i - 1];
        const TPathSample& after = g.Path.Samples[i + 2];
        const auto angle = [](double x1, double y1, double x2, double y2) {
          return std::atan2(x1 * y2 - y1 * x2, x1 * x2 + y1 * y2);
        };
        const double off = angle(a.DirX, a.DirY, b.X - before.X, b.Y - before.Y);
        const double turn = angle(a.X - before.X, a.Y - before.Y, b.X - a.X, b.Y - a.Y);
        const double nextTurn = angle(b.X - a.X, b.Y - a.Y, after.X - b.X, after.Y - b.Y);
        EXPECT_LE(std::fabs(off), 0.6 * std::fabs(turn) + 0.5 * std::fabs(nextTurn - turn) + 1e-4)
            << c.Name << " sample " << i;
      }
    }
  }
}

TEST(PathGenSampling, ClosedPathsClose) {
  // Mode, size (wave speed 2 / ISize), speed: the last used sample lies one step before sample
  // 0, where the scaled path starts.
  struct TCase {
    int Mode;
    int ISize;
    double Beta;
  };
  const TCase cases[] = {
      {tmCircle, 200, 0.9},    {tmCircle, 400, 0.5},    {tmCircle, 100, 0.99},
      {tmCircle, 2000, 0.3},   {tmRaceTrack, 200, 0.8}, {tmRaceTrack, 400, 0.95},
      {tmRaceTrack, 100, 0.5}, {tmDipole, 200, 0.9},    {tmDipole, 400, 0.7},
  };
  for (const TCase& c : cases) {
    TTrajectoryParameters p;
    p.CircleBeta = p.RaceBeta = p.DipoleBeta = c.Beta;
    const double w = 2.0 / c.ISize;
    const double step = c.Beta * w;
    TPathGeneration g;
    BuildTrajectory(g, c.Mode, p, w);
    ASSERT_GE(g.Path.SampleCount, 3);
    const TPathSample& first = g.Path.Samples[0];
    const TPathSample& last = g.Path.Samples[g.Path.SampleCount - 2];
    TVector2 start = g.Path.Segments[0].P0;
    if (c.Mode == tmDipole) start.X = 0.0;  // the fold keeps only y
    // The rescaling leaves the closing error of one carry: 2% of a step at most.
    EXPECT_LT(Distance(last.X, last.Y, start.X, start.Y), 0.02 * step)
        << "mode " << c.Mode << " ISize " << c.ISize;
    if (c.Mode != tmDipole) {
      // Plus the carry error of the steps across joints.
      EXPECT_NEAR(Distance(last.X, last.Y, first.X, first.Y), step, 0.05 * step)
          << "mode " << c.Mode << " ISize " << c.ISize;
    }
  }
}

TEST(PathGenLine, LastUsedSampleIsAtTheScaledEnd) {
  TPathGeneration g;
  g.MakeLine(-0.5, 0.5);
  ASSERT_EQ(g.Path.SegmentCount, 1);
  const TBezierSegment s = g.Path.Segments[0];
  EXPECT_DOUBLE_EQ(s.P1.X, 0.7 * -0.5 + 0.3 * 0.5);
  EXPECT_DOUBLE_EQ(s.P2.X, 0.3 * -0.5 + 0.7 * 0.5);
  const double step = 0.8 * 0.01;
  g.SampleUniform(step, 0.8);
  const double f = g.Path.Segments[0].P3.X / 0.5;
  const TPathSample& last = g.Path.Samples[g.Path.SampleCount - 2];
  EXPECT_LE(std::fabs(last.X - 0.5 * f), step);
  for (int i = 0; i < g.Path.SampleCount - 1; ++i) {
    EXPECT_EQ(g.Path.Samples[i].Y, 0.0);
    EXPECT_NEAR(g.Path.Samples[i].DirX, 1.0, 1e-15);
    EXPECT_EQ(g.Path.Samples[i].Beta, 0.8);
  }
}

TEST(PathGenLine, RunsLeftWhenTheStopIsLeftOfTheStart) {
  TPathGeneration g;
  g.MakeLine(0.5, -0.5);
  g.SampleUniform(0.008, 0.8);
  ASSERT_GE(g.Path.SampleCount, 2);
  EXPECT_NEAR(g.Path.Samples[0].DirX, -1.0, 1e-15);
  EXPECT_LT(g.Path.Samples[1].X, g.Path.Samples[0].X);
}

TEST(PathGenUndulator, PeriodsAreCutToFitTheExit) {
  // Periods, amplitude, period: kept periods, the x where the half-waves end.
  struct TCase {
    int Periods;
    double Period;
    int KeptPeriods;
  };
  const TCase cases[] = {{5, 0.2, 5}, {5, 0.5, 3}, {1, 2.0, 0}, {10, 0.2, 9}, {2, 0.9, 2}};
  for (const TCase& c : cases) {
    TPathGeneration g;
    g.MakeUndulator(c.Periods, 0.0278, c.Period);
    const int n = c.KeptPeriods;
    ASSERT_EQ(g.Path.SegmentCount, 2 * n + 2) << c.Periods << " x " << c.Period;
    ExpectJoined(g.Path);
    const TPath& path = g.Path;
    EXPECT_EQ(path.Segments[0].P0.X, -1.0);
    EXPECT_EQ(path.Segments[0].P3.X, -0.8);
    for (int i = 1; i <= 2 * n; ++i) {
      const TBezierSegment& s = path.Segments[i];
      EXPECT_NEAR(s.P3.X - s.P0.X, c.Period / 2.0, 1e-15);
      EXPECT_EQ(s.P0.Y, i % 2 == 1 ? 0.0 : 0.0278);
      EXPECT_EQ(s.P3.Y, i % 2 == 1 ? 0.0278 : 0.0);
      // Horizontal tangents at both ends of a half-wave.
      EXPECT_EQ(s.P1.Y, s.P0.Y);
      EXPECT_EQ(s.P2.Y, s.P3.Y);
    }
    const TBezierSegment& exit = path.Segments[2 * n + 1];
    EXPECT_NEAR(exit.P0.X, -0.8 + n * c.Period, 1e-15);
    EXPECT_EQ(exit.P3.X, 1.0);
    EXPECT_EQ(exit.P3.Y, 0.0);
  }
}

TEST(PathGenUndulator, PeriodsEndingAtTheExitSampleWithoutFault) {
  // Ten periods of 20 cm are cut to nine, which end exactly at x = 1.0: the exit straight has
  // no length, and thirty centimetres leave one a rounding error long. Both are passed over.
  for (double period : {0.2, 0.3}) {
    TPathGeneration g;
    g.MakeUndulator(10, 0.0278, period);
    g.SampleUniform(0.95 * 0.01, 0.95);
    ASSERT_GE(g.Path.SampleCount, 2) << period;
    for (const TPathSample& s : g.Path.Samples) {
      ASSERT_TRUE(std::isfinite(s.X) && std::isfinite(s.Y) && std::isfinite(s.DirX)) << period;
      EXPECT_LT(s.X, 1.0 + 0.01) << period;
    }
    const TPathSample& last = g.Path.Samples[g.Path.SampleCount - 2];
    EXPECT_NEAR(last.X, g.Path.Segments.back().P3.X, 0.0095) << period;
  }
}

TEST(PathGenUndulator, SwingsBetweenZeroAndTheAmplitude) {
  TPathGeneration g;
  g.MakeUndulator(5, 0.0278, 0.2);
  g.SampleUniform(0.0095, 0.95);
  double lowest = 1.0;
  double highest = -1.0;
  for (int i = 0; i < g.Path.SampleCount - 1; ++i) {
    lowest = std::min(lowest, g.Path.Samples[i].Y);
    highest = std::max(highest, g.Path.Samples[i].Y);
  }
  const double f = -g.Path.Segments[0].P0.X;  // entry at x = -1.0 before the scaling
  EXPECT_NEAR(lowest, 0.0, 1e-12);
  EXPECT_NEAR(highest, 0.0278 * f, 1e-4);
}

TEST(PathGenBending, ArcAndExitEndPoints) {
  TPathGeneration g;
  g.MakeBending(0.5, 45.0);
  ASSERT_EQ(g.Path.SegmentCount, 3);
  ExpectJoined(g.Path);
  const TBezierSegment& arc = g.Path.Segments[1];
  const TVector2 centre{-0.2, 0.5};
  EXPECT_NEAR(Distance(arc.P0, centre), 0.5, 1e-15);
  EXPECT_NEAR(Distance(arc.P3, centre), 0.5, 1e-15);
  EXPECT_NEAR(arc.P3.X, 0.15355, 1e-5);
  EXPECT_NEAR(arc.P3.Y, 0.14645, 1e-5);
  EXPECT_NEAR(g.Path.Segments[2].P3.X, 1.21421, 1e-5);
  EXPECT_NEAR(g.Path.Segments[2].P3.Y, 1.20711, 1e-5);
  // The arc turns left: its end tangent points along 45 degrees.
  const double ex = arc.P3.X - arc.P2.X;
  const double ey = arc.P3.Y - arc.P2.Y;
  EXPECT_NEAR(std::atan2(ey, ex), Pi / 4.0, 1e-12);
  // The middle of the single-segment arc stays close to the circle: the handles are scaled
  // linearly from the quarter circle, which bulges by a few tenths of a percent at 45 degrees.
  EXPECT_NEAR(Distance(BezierPoint(arc, 0.5), centre), 0.5, 0.005 * 0.5);
}

// In the uniform field of a bending magnet the charge turns at the constant rate 1/R per unit of
// path, so its acceleration v^2 / R, and with it the power it radiates, is the same all along the
// magnet. The turn between the directions of two neighbouring samples inside the arc, over the
// step between them, is that curvature; the path's rescaling f makes the radius R f.
TEST(PathGenBending, ChargeTurnsAtTheSameRateAllAlongTheArc) {
  struct TCase {
    double Radius;
    double AngleDeg;
    double Tolerance;  // of the curvature, relative
  };
  // One cubic follows a circle the worse the longer the arc; a quarter is off by 2 %, and a
  // longer arc is two cubics.
  const TCase cases[] = {{0.5, 10.0, 0.002},  {0.5, 30.0, 0.002},  {0.5, 45.0, 0.002},
                         {1.0, 60.0, 0.005},  {0.5, 90.0, 0.025},  {0.5, 120.0, 0.005},
                         {0.3, 180.0, 0.025}, {-0.5, -45.0, 0.002}};
  constexpr double Step = 0.9 * 0.005;
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "R " << c.Radius << ", " << c.AngleDeg << " degrees");
    TPathGeneration g;
    g.MakeBending(c.Radius, c.AngleDeg);
    g.SampleUniform(Step, 0.9);
    const double f = -g.Path.Segments[0].P0.X;  // entry at x = -1.0 before the scaling
    const TVector2 centre{-0.2 * f, c.Radius * f};
    const double r = c.Radius * f;  // negative: the arc turns right
    const double arc = std::fabs(c.AngleDeg) * Pi / 180.0;
    // Where a sample lies on the arc, as the angle it has turned about the centre.
    const auto turned = [&](const TPathSample& s) {
      const double angle = std::atan2((s.X - centre.X) / r, (centre.Y - s.Y) / r);
      return c.AngleDeg < 0.0 ? -angle : angle;
    };
    const double margin = Step / std::fabs(r);
    int pairs = 0;
    double lowest = 1e300;
    double highest = 0.0;
    for (int i = 0; i + 1 < g.Path.SampleCount - 1; ++i) {
      const TPathSample& a = g.Path.Samples[i];
      const TPathSample& b = g.Path.Samples[i + 1];
      const auto inside = [&](const TPathSample& s) {
        return turned(s) > margin && turned(s) < arc - margin;
      };
      if (!inside(a) || !inside(b)) continue;
      const double turn =
          std::atan2(a.DirX * b.DirY - a.DirY * b.DirX, a.DirX * b.DirX + a.DirY * b.DirY);
      const double curvature = turn / Step * r;
      lowest = std::min(lowest, curvature);
      highest = std::max(highest, curvature);
      ++pairs;
    }
    ASSERT_GE(pairs, 5);
    EXPECT_NEAR(lowest, 1.0, c.Tolerance);
    EXPECT_NEAR(highest, 1.0, c.Tolerance);
  }
}

TEST(PathGenRaceTrack, StartsAtTheRightAndLoopsCounterClockwise) {
  TPathGeneration g;
  g.MakeRaceTrack(0.1, 0.8);
  ASSERT_EQ(g.Path.SegmentCount, 6);
  ExpectJoined(g.Path);
  const TPath& p = g.Path;
  EXPECT_NEAR(p.Segments[0].P0.X, 0.5, 1e-15);
  EXPECT_EQ(p.Segments[0].P0.Y, 0.0);
  EXPECT_LT(Distance(p.Segments[5].P3, p.Segments[0].P0), 1e-15);
  // Upper straight runs towards -x at y = R, lower one towards +x at y = -R.
  EXPECT_EQ(p.Segments[1].P0.X, 0.4);
  EXPECT_EQ(p.Segments[1].P3.X, -0.4);
  EXPECT_EQ(p.Segments[1].P0.Y, 0.1);
  EXPECT_EQ(p.Segments[4].P0.X, -0.4);
  EXPECT_EQ(p.Segments[4].P3.X, 0.4);
  EXPECT_EQ(p.Segments[4].P3.Y, -0.1);
  EXPECT_NEAR(p.Segments[2].P3.X, -0.5, 1e-15);
}

TEST(PathGenDipole, FoldsTheCircleOntoTheYAxis) {
  TPathGeneration circle;
  circle.MakeCircle(0.05);
  circle.SampleUniform(0.009, 0.9);
  TPathGeneration g = circle;
  g.MakeDipole();

  ASSERT_EQ(g.Path.SampleCount, circle.Path.SampleCount);
  const double amplitude = circle.Path.Segments[0].P0.X;
  int slowest = 0;
  int fastest = 0;
  for (int i = 0; i < g.Path.SampleCount - 1; ++i) {
    const TPathSample& s = g.Path.Samples[i];
    const TPathSample& c = circle.Path.Samples[i];
    EXPECT_EQ(s.X, 0.0);
    EXPECT_EQ(s.DirX, 0.0);
    EXPECT_EQ(s.Y, c.Y);
    EXPECT_EQ(std::fabs(s.DirY), 1.0);
    EXPECT_EQ(s.DirY > 0.0, c.DirY > 0.0);
    EXPECT_DOUBLE_EQ(s.Beta, std::fabs(c.DirY) * 0.9);
    if (s.Beta < g.Path.Samples[slowest].Beta) slowest = i;
    if (s.Beta > g.Path.Samples[fastest].Beta) fastest = i;
  }
  // Near the turning points the charge almost stops; through y = 0 it has the full speed.
  EXPECT_LT(g.Path.Samples[slowest].Beta, 0.1);
  EXPECT_GT(std::fabs(g.Path.Samples[slowest].Y), 0.9 * amplitude);
  EXPECT_GT(g.Path.Samples[fastest].Beta, 0.89);
  EXPECT_LT(std::fabs(g.Path.Samples[fastest].Y), 0.2 * amplitude);
}

TEST(PathGenDipole, ZeroVerticalDirectionBecomesDownwards) {
  TPathGeneration g;
  g.Path.SampleCount = 2;
  g.Path.Samples = {{0.3, 0.1, 1.0, 0.0, 0.9}, {0.2, 0.1, 0.6, -0.8, 0.5}};
  g.MakeDipole();
  EXPECT_EQ(g.Path.Samples[0].DirY, -1.0);
  EXPECT_EQ(g.Path.Samples[0].Beta, 0.0);
  EXPECT_EQ(g.Path.Samples[1].DirY, -1.0);
  EXPECT_DOUBLE_EQ(g.Path.Samples[1].Beta, 0.4);
}

TEST(PathGenSampling, NonPositiveStepLeavesAnEmptyTableInsteadOfHanging) {
  for (double step : {0.0, -0.01, std::nan("")}) {
    TPathGeneration g;
    g.MakeCircle(0.2);
    g.SampleUniform(step, 0.0);
    EXPECT_EQ(g.Path.SampleCount, 0);
    EXPECT_TRUE(g.Path.Samples.empty());
  }
}

TEST(PathGenSampling, CountSamplesMatchesTheSamplerAndStopsAtTheLimit) {
  const TTrajectoryParameters p;
  for (int mode : {tmStraightLine, tmCircle, tmRaceTrack, tmUndulator, tmBending}) {
    TPathGeneration g;
    BuildTrajectory(g, mode, p, 0.01);
    const int built = g.Path.SampleCount;
    // Rebuild the path unsampled and count at the same step.
    TPathGeneration fresh;
    switch (mode) {
      case tmStraightLine:
        fresh.MakeLine(p.LineStartX, p.LineStopX);
        break;
      case tmCircle:
        fresh.MakeCircle(p.CircleRadius);
        break;
      case tmRaceTrack:
        fresh.MakeRaceTrack(p.RaceRadius, p.RaceStraight);
        break;
      case tmUndulator:
        fresh.MakeUndulator(p.UndPeriods, UndulatorSwing(p), p.UndPeriod);
        break;
      default:
        fresh.MakeBending(p.BendRadius, p.BendAngle);
        break;
    }
    const double beta = mode == tmStraightLine ? p.LineBeta
                        : mode == tmCircle     ? p.CircleBeta
                        : mode == tmRaceTrack  ? p.RaceBeta
                        : mode == tmUndulator  ? p.UndBeta
                                               : p.BendBeta;
    EXPECT_EQ(fresh.CountSamples(beta * 0.01, 1000000), built) << "mode " << mode;
    EXPECT_EQ(fresh.CountSamples(beta * 0.01, built - 1), built) << "mode " << mode;
    EXPECT_EQ(fresh.CountSamples(beta * 0.01, 10), 11) << "mode " << mode;
  }
  TPathGeneration g;
  g.MakeCircle(0.2);
  EXPECT_EQ(g.CountSamples(1e-15, 1000), 1001);  // stops early instead of counting 10^14 steps
  g.MakeLine(0.3, 0.3);
  EXPECT_EQ(g.CountSamples(0.01, 1000), 1);  // a path without length holds no step
}

}  // namespace
