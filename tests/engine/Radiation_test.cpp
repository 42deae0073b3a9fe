// SPDX-License-Identifier: GPL-3.0-or-later
// The radiated power: the pattern against the Liénard total over the whole sphere and against
// the textbook limits, and the figures a class is shown: the synchrotron lobe of the circle, the
// dipole's figure-eight and its four tilted lobes at high speed, the stopped line and hand.
#include "engine/Radiation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "engine/AnimationStep.h"
#include "engine/SimulationCommands.h"
#include "engine/Trajectories.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Degree = Pi / 180.0;

TVector3 Scaled(TVector3 v, double s) { return {v.X * s, v.Y * s, v.Z * s}; }
TVector3 Sum(TVector3 a, TVector3 b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
TVector3 Cross(TVector3 a, TVector3 b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
double Dot(TVector3 a, TVector3 b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
TVector3 Unit(TVector3 v) { return Scaled(v, 1.0 / std::sqrt(Dot(v, v))); }

// The integral of PowerPerSolidAngle over the sphere, with the polar axis along axis (where a
// fast charge's pattern peaks): Simpson's rule in u = cos theta, the trapezoidal rule in phi
// (exact here: for fixed u the integrand is a trigonometric polynomial of degree 2 in phi).
double SphereIntegral(TVector3 beta, TVector3 betaDot, TVector3 axis) {
  const TVector3 e3 = Unit(axis);
  const TVector3 helper = std::fabs(e3.X) < 0.9 ? TVector3{1, 0, 0} : TVector3{0, 1, 0};
  const TVector3 e1 = Unit(Cross(helper, e3));
  const TVector3 e2 = Cross(e3, e1);
  constexpr int Intervals = 4000;  // even; the peak's width 1 - beta = 0.05 spans 100 of them
  constexpr int Azimuths = 16;
  double total = 0.0;
  for (int i = 0; i <= Intervals; ++i) {
    const double u = -1.0 + 2.0 * i / Intervals;
    const double s = std::sqrt(std::max(0.0, 1.0 - u * u));
    double ring = 0.0;
    for (int k = 0; k < Azimuths; ++k) {
      const double phi = 2.0 * Pi * k / Azimuths;
      const TVector3 n =
          Sum(Sum(Scaled(e1, s * std::cos(phi)), Scaled(e2, s * std::sin(phi))), Scaled(e3, u));
      ring += PowerPerSolidAngle(beta, betaDot, n);
    }
    const double simpson = (i == 0 || i == Intervals) ? 1.0 : (i % 2 == 1 ? 4.0 : 2.0);
    total += simpson * ring * (2.0 * Pi / Azimuths);
  }
  return total * (2.0 / Intervals) / 3.0;
}

TEST(RadiatedPower, SphereIntegralOfThePatternIsTheLienardPower) {
  // beta along a direction in no symmetry plane, betaDot at the given angle from it.
  const TVector3 along = Unit({1.0, 2.0, 2.0});
  const TVector3 across = Unit(Cross(along, {0.0, 0.0, 1.0}));
  for (double beta : {0.0, 0.3, 0.6, 0.9, 0.95}) {
    for (double angle : {0.0, 30.0, 60.0, 90.0, 135.0, 180.0}) {
      const double magnitude = 2.5;  // 1 / model unit
      const TVector3 b = Scaled(along, beta);
      const TVector3 bd = Scaled(
          Sum(Scaled(along, std::cos(angle * Degree)), Scaled(across, std::sin(angle * Degree))),
          magnitude);
      const double expected = TotalPower(b, bd);
      EXPECT_NEAR(SphereIntegral(b, bd, along), expected, 1e-4 * expected)
          << "beta " << beta << ", angle " << angle;
    }
  }
}

TEST(RadiatedPower, LienardTotalGrowsAsGammaToTheFourthAndSixth) {
  // (8 pi / 3) gamma^6 (a^2 - beta^2 a^2 sin^2 alpha): gamma^6 along the motion, gamma^4 across.
  struct Row {
    double beta, angle, ratioToLarmor;
  };
  const Row rows[] = {
      {0.0, 90.0, 1.0},
      {0.6, 0.0, 1.0 / std::pow(0.64, 3)},  // gamma = 1.25
      {0.6, 90.0, 1.0 / std::pow(0.64, 2)},
      {0.9, 0.0, 1.0 / std::pow(0.19, 3)},
      {0.9, 90.0, 1.0 / std::pow(0.19, 2)},
  };
  for (const Row& row : rows) {
    const TVector3 b{row.beta, 0.0, 0.0};
    const TVector3 bd{std::cos(row.angle * Degree), std::sin(row.angle * Degree), 0.0};
    EXPECT_NEAR(TotalPower(b, bd) / LarmorPower(bd), row.ratioToLarmor, 1e-9 * row.ratioToLarmor)
        << row.beta << " " << row.angle;
  }
}

TEST(RadiatedPower, SlowChargeRadiatesSinSquaredAboutItsAcceleration) {
  const TVector3 accel{0.0, 3.0, 0.0};
  for (double beta : {0.0, 1e-7}) {
    for (double theta : {0.0, 20.0, 45.0, 90.0, 120.0, 180.0}) {
      for (double phi : {0.0, 70.0}) {
        // theta from the acceleration, phi about it.
        const TVector3 n{std::sin(theta * Degree) * std::cos(phi * Degree),
                         std::cos(theta * Degree),
                         std::sin(theta * Degree) * std::sin(phi * Degree)};
        const double s = std::sin(theta * Degree);
        EXPECT_NEAR(PowerPerSolidAngle({beta, 0.0, 0.0}, accel, n), 9.0 * s * s, 1e-5)
            << beta << " " << theta << " " << phi;
      }
    }
  }
}

TEST(RadiatedPower, LinearAccelerationIsTheForwardTiltedDoughnut) {
  // beta parallel to betaDot: |betaDot|^2 sin^2 theta / (1 - beta cos theta)^5.
  for (double beta : {0.1, 0.5, 0.9, 0.99}) {
    for (double sign : {1.0, -1.0}) {  // speeding up and slowing down look alike
      for (double theta : {0.0, 5.0, 13.0, 40.0, 90.0, 150.0}) {
        const TVector3 n{std::cos(theta * Degree), std::sin(theta * Degree), 0.0};
        const double s = std::sin(theta * Degree);
        const double expected = 4.0 * s * s / std::pow(1.0 - beta * std::cos(theta * Degree), 5);
        EXPECT_NEAR(PowerPerSolidAngle({beta, 0, 0}, {2.0 * sign, 0, 0}, n), expected,
                    1e-9 * (1.0 + expected))
            << beta << " " << theta;
      }
    }
  }
}

// ---- The patterns of the animation ----

double Angle(TVector2 v) { return std::atan2(v.Y, v.X); }

double DirectionAngle(int k) { return 2.0 * Pi * k / PatternDirectionCount; }

// Signed difference a - b folded into (-pi, pi].
double AngleBetween(double a, double b) {
  double d = std::fmod(a - b, 2.0 * Pi);
  if (d > Pi) d -= 2.0 * Pi;
  if (d <= -Pi) d += 2.0 * Pi;
  return d;
}

double Largest(const TRadiationPattern& p) {
  double m = 0.0;
  for (double v : p.Values) m = std::max(m, v);
  return m;
}

// The directions where the pattern has a local maximum of at least fraction of its largest value.
std::vector<int> Lobes(const TRadiationPattern& p, double fraction) {
  const int n = PatternDirectionCount;
  const double floor = fraction * Largest(p);
  std::vector<int> lobes;
  for (int k = 0; k < n; ++k) {
    const double v = p.Values[static_cast<std::size_t>(k)];
    const double before = p.Values[static_cast<std::size_t>((k + n - 1) % n)];
    const double after = p.Values[static_cast<std::size_t>((k + 1) % n)];
    if (v >= floor && v > before && v >= after) lobes.push_back(k);
  }
  return lobes;
}

class PatternOfPathTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(Commands.Start()); }
  void ChoosePath(int mode) { ASSERT_FALSE(Commands.ChooseTrajectory(mode, Parameters)); }
  // cursor: where the dragged charge is pulled; none while it is not dragged.
  void Tick(int ticks, std::optional<TVector2> cursor = std::nullopt) {
    for (int t = 0; t < ticks; ++t) Commands.RunTick(cursor);
  }
  TRadiationPattern Instantaneous() {
    TRadiationPattern p;
    InstantaneousPattern(State, p);
    return p;
  }
  TRadiationPattern Averaged() {
    TRadiationPattern p;
    PathAveragePattern(State, p);
    return p;
  }
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
  TTrajectoryParameters Parameters;
};

TEST_F(PatternOfPathTest, CircleAtNineTenthsThrowsOneNarrowLobeAlongTheVelocity) {
  Parameters.CircleBeta = 0.9;
  ChoosePath(tmCircle);
  Tick(20);
  // A quarter loop later the lobe has turned with the velocity.
  for (int quarter = 0; quarter < 2; ++quarter) {
    const TRadiationPattern p = Instantaneous();
    const std::vector<int> lobes = Lobes(p, 0.01);
    ASSERT_EQ(lobes.size(), 1u);
    const double velocity = Angle(State.FieldSimulation.ChargeHistory(0).Beta);
    EXPECT_NEAR(AngleBetween(DirectionAngle(lobes[0]), velocity), 0.0, 1.5 * Degree);
    // Half power within +-8.4 degrees: [(1 - b c)^2 - (1 - b^2) s^2] / (1 - b c)^5 in the
    // orbit's plane falls to half its peak at 8.4 degrees for b = 0.9.
    int halfPower = 0;
    for (double v : p.Values) halfPower += v >= 0.5 * Largest(p) ? 1 : 0;
    EXPECT_NEAR(halfPower, 16, 2);
    Tick((State.PathGeneration.Path.SampleCount - 1) / 4);
  }
}

// The circle's lobe in the orbit's plane, theta from the velocity: [(1 - b c)^2 - (1 - b^2) s^2] /
// (1 - b c)^5: half its peak at theta_half, zero at cos theta = b, and behind the charge (theta
// beyond 120 degrees) at most 4.1 % of the peak at 0.5 and 0.03 % at 0.9, all from that formula.
TEST_F(PatternOfPathTest, CircleLobeHasTheOrbitPlaneAngles) {
  struct TRow {
    double Beta, HalfPowerDegrees, ZeroDegrees, BehindShare;
  };
  const TRow rows[] = {{0.5, 22.44, 60.0, 0.041}, {0.9, 8.43, 25.84, 3e-4}};
  for (const TRow& row : rows) {
    Parameters.CircleBeta = row.Beta;
    ChoosePath(tmCircle);
    Tick(40);
    const TRadiationPattern p = Instantaneous();
    const double velocity = Angle(State.FieldSimulation.ChargeHistory(0).Beta);
    double halfPower = 0.0;  // the widest direction at half the peak or more
    double zero = 0.0;       // the weakest direction ahead of the charge
    double weakest = 1.0;
    double behind = 0.0;
    for (int k = 0; k < PatternDirectionCount; ++k) {
      const double theta = std::fabs(AngleBetween(DirectionAngle(k), velocity));
      const double share = p.Values[static_cast<std::size_t>(k)] / Largest(p);
      if (share >= 0.5) halfPower = std::max(halfPower, theta);
      if (theta < 90.0 * Degree && share < weakest) {
        weakest = share;
        zero = theta;
      }
      if (theta > 120.0 * Degree) behind = std::max(behind, share);
    }
    // The pattern's directions lie a degree apart.
    EXPECT_NEAR(halfPower / Degree, row.HalfPowerDegrees, 1.0) << row.Beta;
    EXPECT_NEAR(zero / Degree, row.ZeroDegrees, 1.0) << row.Beta;
    EXPECT_LT(weakest, 1e-3) << row.Beta;
    EXPECT_NEAR(behind, row.BehindShare, 0.005) << row.Beta;
    EXPECT_NEAR(p.Power / p.Larmor, 1.0 / std::pow(1.0 - row.Beta * row.Beta, 2), 1e-3) << row.Beta;
  }
}

TEST_F(PatternOfPathTest, SlowDipoleAveragesToTheFigureEightAcrossTheMotion) {
  Parameters.DipoleBeta = 0.3;
  ChoosePath(tmDipole);
  const TRadiationPattern p = Averaged();
  const std::vector<int> lobes = Lobes(p, 0.5);
  ASSERT_EQ(lobes.size(), 2u);
  // The motion runs along y: the lobes lie along +-x, and nothing goes along the motion.
  EXPECT_NEAR(AngleBetween(DirectionAngle(lobes[0]), 0.0), 0.0, 1.5 * Degree);
  EXPECT_NEAR(std::fabs(AngleBetween(DirectionAngle(lobes[1]), 0.0)), Pi, 1.5 * Degree);
  EXPECT_LT(p.Values[90], 0.01 * Largest(p));
  EXPECT_LT(p.Values[270], 0.01 * Largest(p));
}

TEST_F(PatternOfPathTest, FastDipoleSplitsIntoFourLobesTiltedFromTheMotion) {
  Parameters.DipoleBeta = 0.9;
  ChoosePath(tmDipole);
  const TRadiationPattern p = Averaged();
  const std::vector<int> lobes = Lobes(p, 0.5);
  ASSERT_EQ(lobes.size(), 4u);
  // The time average of the linear pattern over y = A sin(wt), integrated independently, peaks
  // 17.5 degrees from the axis of motion.
  for (int k : lobes) {
    const double fromAxis = std::fabs(std::fabs(AngleBetween(DirectionAngle(k), 0.0)) - Pi / 2);
    EXPECT_NEAR(fromAxis / Degree, 17.5, 1.5) << k;
  }
  // Across the motion almost nothing (9 % of a lobe at the same figure).
  EXPECT_LT(p.Values[0], 0.12 * Largest(p));
  EXPECT_LT(p.Values[180], 0.12 * Largest(p));
}

TEST_F(PatternOfPathTest, CircleAverageIsEvenAllRound) {
  // Any break in the loop (the reset's start from rest, a missing wrap) would show as a spike.
  ChoosePath(tmCircle);
  const TRadiationPattern p = Averaged();
  double smallest = Largest(p);
  for (double v : p.Values) smallest = std::min(smallest, v);
  EXPECT_GT(smallest, 0.97 * Largest(p));
  // gamma^4 for an acceleration across the motion.
  EXPECT_NEAR(p.Power / p.Larmor, 1.0 / (0.19 * 0.19), 0.01 / (0.19 * 0.19));
}

TEST_F(PatternOfPathTest, LineRadiatesOnlyAtItsStartAndStop) {
  ChoosePath(tmStraightLine);
  const TRadiationPattern average = Averaged();
  ASSERT_TRUE(average.Radiates());
  // Speeding up and stopping along x: a forward cone, nothing straight ahead or behind.
  EXPECT_LT(average.Values[0], 1e-9 * Largest(average));
  for (int k : Lobes(average, 0.5)) {
    EXPECT_LT(std::fabs(AngleBetween(DirectionAngle(k), 0.0)), 30.0 * Degree) << k;
  }

  Tick(10);
  EXPECT_FALSE(Instantaneous().Radiates()) << "uniform motion radiates nothing";
  Tick(State.PathGeneration.Path.SampleCount);
  EXPECT_FALSE(Instantaneous().Radiates()) << "at rest after the stop";
}

TEST_F(PatternOfPathTest, EveryPathHasAnAveragedPatternAndMouseModeNone) {
  for (int mode : {tmStraightLine, tmDipole, tmCircle, tmRaceTrack, tmUndulator, tmBending}) {
    ChoosePath(mode);
    EXPECT_TRUE(Averaged().Radiates()) << mode;
  }
  State.TrajectoryMode = tmMouse;
  EXPECT_FALSE(Averaged().Radiates());
}

TEST_F(PatternOfPathTest, HandThatStopsTheChargeShowsABriefDecelerationLobe) {
  Tick(30, TVector2{0.9, 0.0});  // dragged at the speed limit along +x, then let go
  EXPECT_FALSE(Instantaneous().Radiates()) << "uniform motion";
  Tick(1);
  const TChargeMotion stopping = CurrentMotion(State);
  EXPECT_LT(stopping.BetaDot.X, 0.0);
  const TRadiationPattern p = Instantaneous();
  ASSERT_TRUE(p.Radiates());
  // Slowing down along the motion at speed: the forward cone, nothing straight ahead.
  EXPECT_LT(p.Values[0], 1e-9 * Largest(p));
  for (int k : Lobes(p, 0.5)) EXPECT_LT(std::fabs(AngleBetween(DirectionAngle(k), 0.0)), Pi / 2);
  Tick(2 * MouseRateTicks + 1);
  EXPECT_FALSE(Instantaneous().Radiates()) << "the charge is at rest again";
}

TEST(MotionAverage, IsTheMeanOfTheLastMotionsAndEmptyOnceTheyAreStill) {
  TMotionAverage average;
  average.Resize(7);
  std::vector<TChargeMotion> added;
  for (int i = 0; i < 40; ++i) {
    const double t = 0.37 * i;
    const TChargeMotion m{{0.6 * std::cos(t), 0.6 * std::sin(t), 0.0},
                          {std::sin(1.3 * t), 2.0 * std::cos(0.7 * t), 0.0}};
    average.Add(m);
    added.push_back(m);
    // The mean of the last (at most) seven, computed afresh.
    TRadiationPattern expected;
    const std::size_t first = added.size() > 7 ? added.size() - 7 : 0;
    const double weight = 1.0 / static_cast<double>(added.size() - first);
    for (std::size_t j = first; j < added.size(); ++j) AddMotion(expected, added[j], weight);
    for (std::size_t k = 0; k < expected.Values.size(); k += 17) {
      EXPECT_NEAR(average.Mean().Values[k], expected.Values[k], 1e-9 * Largest(expected)) << i;
    }
    EXPECT_NEAR(average.Mean().Power, expected.Power, 1e-9 * expected.Power) << i;
  }
  for (int i = 0; i < 6; ++i) average.Add({{0.5, 0.0, 0.0}, {}});
  EXPECT_TRUE(average.Mean().Radiates()) << "one accelerated motion is left";
  average.Add({{0.5, 0.0, 0.0}, {}});
  EXPECT_FALSE(average.Mean().Radiates());
  EXPECT_EQ(average.Mean().Power, 0.0);
}

}  // namespace
