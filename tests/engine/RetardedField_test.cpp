// SPDX-License-Identifier: GPL-3.0-or-later
// The exact field from the charge's history: the history itself, the Coulomb field of a charge
// at rest and in uniform motion, and the retarded time and radiation field of a circling charge
// against the circle's own formulas.
#include "engine/RetardedField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/AnimationStep.h"
#include "engine/SimulationState.h"
#include "engine/Trajectories.h"
#include "tests/engine/ExactCircle.h"
#include "support/StartedSimulation.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr int ISize = 200;
constexpr int JSize = 40;

double Length(TVector2 v) {
  return std::hypot(v.X, v.Y);
}

TEST(ChargeHistory, ResetRecordsTheUniformMotionItAssumes) {
  TFieldSimulation sim;
  sim.InitNodes(ISize, JSize, ModelWidth);
  const TVector2 start{0.3, -0.2};
  const TVector2 v{0.6, -0.7};
  sim.ResetNodes(ISize, JSize, start, v, ModelWidth, 5);
  ASSERT_EQ(sim.ChargeHistoryCount(), ISize + 1);
  EXPECT_EQ(sim.ChargeHistory(0).Pos.X, sim.ChargePos.X);
  EXPECT_EQ(sim.ChargeHistory(0).Pos.Y, sim.ChargePos.Y);
  for (int k : {0, 1, 57, ISize}) {
    // Positions accumulated tick by tick: a few ulps per step.
    EXPECT_NEAR(sim.ChargeHistory(k).Pos.X, start.X - k * sim.WaveVelocity * v.X, 1e-14);
    EXPECT_NEAR(sim.ChargeHistory(k).Pos.Y, start.Y - k * sim.WaveVelocity * v.Y, 1e-14);
    EXPECT_NEAR(sim.ChargeHistory(k).Beta.X, v.X, 1e-15);
    EXPECT_NEAR(sim.ChargeHistory(k).Beta.Y, v.Y, 1e-15);
  }
  // Beyond the oldest entry the oldest is read.
  EXPECT_EQ(sim.ChargeHistory(ISize + 30).Pos.X, sim.ChargeHistory(ISize).Pos.X);
  EXPECT_EQ(sim.ChargeHistory(-3).Pos.X, sim.ChargeHistory(0).Pos.X);
}

// The window's tick on the default circle, past the length of the ring: every entry is the
// charge of its tick, with its velocity vector.
TEST(ChargeHistory, EveryTickRecordsTheChargeAfterItMoved) {
  TSimulationState state;
  StartSimulation(state, tmCircle);
  const int ticks = 2 * state.ISize + 17;
  std::vector<TChargeRecord> seen;
  for (int tick = 0; tick < ticks; ++tick) {
    RunTick(state, {});
    const TFieldSimulation& f = state.FieldSimulation;
    seen.push_back({f.ChargePos, {f.Beta * f.VelocityDir.X, f.Beta * f.VelocityDir.Y}});
  }
  const TFieldSimulation& f = state.FieldSimulation;
  for (int k = 0; k <= state.ISize; ++k) {
    const TChargeRecord& expected = seen[seen.size() - 1 - static_cast<std::size_t>(k)];
    ASSERT_EQ(f.ChargeHistory(k).Pos.X, expected.Pos.X) << k;
    ASSERT_EQ(f.ChargeHistory(k).Pos.Y, expected.Pos.Y) << k;
    ASSERT_NEAR(f.ChargeHistory(k).Beta.X, expected.Beta.X, 1e-15) << k;
    ASSERT_NEAR(f.ChargeHistory(k).Beta.Y, expected.Beta.Y, 1e-15) << k;
  }
}

TEST(ChargeHistory, MouseAtRestRecordsZeroVelocity) {
  TSimulationState state;
  StartSimulation(state);
  for (int tick = 0; tick < 5; ++tick) RunTick(state, {});
  // The filter reads (1, 1) at rest; that is no velocity.
  EXPECT_EQ(state.FieldSimulation.VelocityDir.X, 1.0);
  EXPECT_EQ(state.FieldSimulation.ChargeHistory(0).Beta.X, 0.0);
  EXPECT_EQ(state.FieldSimulation.ChargeHistory(0).Beta.Y, 0.0);
}

// The field of a charge in uniform motion is its Coulomb field contracted along the motion,
// seen from where it is now: E = (1 - b^2) / (1 - b^2 sin^2 psi)^(3/2) r / r^3, psi between r
// and the motion. At rest that is r / r^3. The points, from the charge, lie within reach of the
// history in every direction (2 model units back at 0.9 leaves 0.2).
TEST(RetardedField, UniformMotionGivesTheContractedCoulombField) {
  const TVector2 offsets[] = {
      {0.15, 0.1}, {-0.12, 0.1}, {0.002, -0.19}, {-0.1, -0.05}, {0.003, 0.0}};
  for (double beta : {0.0, 0.5, 0.9}) {
    for (double motionAngle : {0.0, 1.1, Pi / 2.0, -2.3}) {
      TFieldSimulation sim;
      sim.InitNodes(ISize, JSize, ModelWidth);
      const TVector2 u{std::cos(motionAngle), std::sin(motionAngle)};
      const TVector2 start{0.1, -0.05};
      sim.ResetNodes(ISize, JSize, start, {beta * u.X, beta * u.Y}, ModelWidth, 5);
      for (TVector2 offset : offsets) {
        const TVector2 p{start.X + offset.X, start.Y + offset.Y};
        TVector2 ev;
        TVector2 ea;
        ASSERT_TRUE(RetardedField(sim, ISize, p, ev, ea));
        const TVector2 r{p.X - start.X, p.Y - start.Y};
        const double rr = Length(r);
        const double sinPsi = (u.X * r.Y - u.Y * r.X) / rr;
        const double size =
            (1.0 - beta * beta) / std::pow(1.0 - beta * beta * sinPsi * sinPsi, 1.5) / (rr * rr);
        const double scale = Length(ev);
        EXPECT_NEAR(ev.X, size * r.X / rr, 1e-9 * scale) << beta << " " << motionAngle;
        EXPECT_NEAR(ev.Y, size * r.Y / rr, 1e-9 * scale) << beta << " " << motionAngle;
        EXPECT_LT(Length(ea), 1e-9 * scale);
      }
    }
  }
}

TEST(RetardedField, RefusesThePointOnTheChargeAndBeyondTheHistory) {
  TFieldSimulation sim;
  TVector2 ev;
  TVector2 ea;
  // No history yet.
  EXPECT_FALSE(RetardedField(sim, ISize, {0.5, 0.5}, ev, ea));
  sim.InitNodes(ISize, JSize, ModelWidth);
  sim.ResetNodes(ISize, JSize, {0.2, 0.1}, {0.0, 0.0}, ModelWidth, 5);
  EXPECT_FALSE(RetardedField(sim, ISize, {0.2, 0.1}, ev, ea));
  // The oldest entry is ISize ticks back: ISize * w = 2 model units.
  EXPECT_TRUE(RetardedField(sim, ISize, {2.19, 0.1}, ev, ea));
  EXPECT_FALSE(RetardedField(sim, ISize, {2.21, 0.1}, ev, ea));
  EXPECT_FALSE(RetardedField(sim, ISize, {std::nan(""), 0.1}, ev, ea));
}

// The retarded time solved on the circle itself, |P - x(now - tau)| = c tau, by bisection.
double CircleRetardedTicks(const TExactCircle& circle, double now, TVector2 p) {
  double lo = 0.0;
  double hi = ISize;
  for (int step = 0; step < 200; ++step) {
    const double mid = 0.5 * (lo + hi);
    const TVector2 x = circle.Pos(now - mid);
    if (std::hypot(p.X - x.X, p.Y - x.Y) - circle.WaveVelocity * mid > 0.0) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return 0.5 * (lo + hi);
}

class RetardedFieldCircle : public ::testing::Test {
 protected:
  void SetUp() override { Circle.Feed(Sim, ISize, JSize, Now); }
  TExactCircle Circle;
  TFieldSimulation Sim;
  static constexpr int Now = ISize + 50;
};

TEST_F(RetardedFieldCircle, RetardedTimeFollowsTheCircleBetweenTicks) {
  int compared = 0;
  for (double x = -0.95; x < 1.0; x += 0.1) {
    for (double y = -0.55; y < 0.6; y += 0.1) {
      const TVector2 p{x, y};
      double ticks = 0.0;
      ASSERT_TRUE(RetardedTime(Sim, ISize, p, ticks));
      EXPECT_NEAR(ticks, CircleRetardedTicks(Circle, Now, p), 1e-6) << x << " " << y;
      ++compared;
    }
  }
  EXPECT_GT(compared, 200);
}

// Between two recorded ticks the charge runs on the cubic through their positions and
// velocities; the retarded time is the root of |P - x(s)| = w (k + s) on it, here by bisection.
// In the tick where a circle starts from rest the velocity jumps at once, and the charge runs
// straight from the resting record to the next.
double CubicRetardedTicks(const TFieldSimulation& sim, TVector2 p, int k) {
  const TChargeRecord& newer = sim.ChargeHistory(k);
  const TChargeRecord& older = sim.ChargeHistory(k + 1);
  const double w = sim.WaveVelocity;
  const bool started = Length(older.Beta) == 0.0 && Length(newer.Beta) > 0.0;
  const auto x = [&](double u) {  // u = 0 at the older record
    if (started) {
      return TVector2{older.Pos.X + u * (newer.Pos.X - older.Pos.X),
                      older.Pos.Y + u * (newer.Pos.Y - older.Pos.Y)};
    }
    const double h00 = 2 * u * u * u - 3 * u * u + 1, h10 = u * u * u - 2 * u * u + u;
    const double h01 = -2 * u * u * u + 3 * u * u, h11 = u * u * u - u * u;
    return TVector2{
        h00 * older.Pos.X + h10 * w * older.Beta.X + h01 * newer.Pos.X + h11 * w * newer.Beta.X,
        h00 * older.Pos.Y + h10 * w * older.Beta.Y + h01 * newer.Pos.Y + h11 * w * newer.Beta.Y};
  };
  double lo = 0.0;
  double hi = 1.0;
  for (int step = 0; step < 100; ++step) {
    const double mid = 0.5 * (lo + hi);
    const TVector2 at = x(1.0 - mid);
    if (std::hypot(p.X - at.X, p.Y - at.Y) - w * (k + mid) > 0.0) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return k + 0.5 * (lo + hi);
}

// The search stops when what it leaves of the emission time is below 1e-9 of a tick, on slow
// and fast circles alike.
TEST(RetardedTime, SettlesOnTheRootBetweenTicks) {
  for (const double beta : {0.5, 0.9, 0.99}) {
    TExactCircle circle;
    circle.Beta = beta;
    TFieldSimulation sim;
    circle.Feed(sim, ISize, JSize, ISize + 50);
    for (double x = -0.95; x < 1.0; x += 0.1) {
      for (double y = -0.55; y < 0.6; y += 0.1) {
        double ticks = 0.0;
        ASSERT_TRUE(RetardedTime(sim, ISize, {x, y}, ticks));
        const int k = static_cast<int>(ticks);
        EXPECT_NEAR(ticks, CubicRetardedTicks(sim, {x, y}, k), 2e-9)
            << "beta " << beta << " at " << x << " " << y;
      }
    }
  }
}

// The search settles to the rounding of the time, not merely to the tolerance of 1e-9 of a tick:
// near a kink the field changes by a ten-millionth for that much, which tips an arrow now and
// then. A circle started from rest has that kink Now ticks back in its history; against the root
// on the cubic by bisection, whose own rounding stays near 1e-13 of a tick here. Stopping at an
// estimated 1e-9 leaves up to 7e-10 of a tick at a dozen of these points.
TEST(RetardedTime, SettlesToItsRoundingAtAKink) {
  struct TRow {
    double Beta;
    int Now;
  };
  const TRow rows[] = {{0.5, 60}, {0.5, 120}, {0.9, 60}, {0.9, 120}};
  for (const TRow& row : rows) {
    TExactCircle circle;
    circle.Beta = row.Beta;
    TFieldSimulation sim;
    circle.Feed(sim, ISize, JSize, row.Now);
    int compared = 0;
    for (double x = -1.45; x < 1.5; x += 0.05) {
      for (double y = -1.45; y < 1.5; y += 0.05) {
        double ticks = 0.0;
        if (!RetardedTime(sim, ISize, {x, y}, ticks)) continue;
        const int k = static_cast<int>(ticks);
        ASSERT_NEAR(ticks, CubicRetardedTicks(sim, {x, y}, k), 1e-11)
            << "beta " << row.Beta << " now " << row.Now << " at " << x << " " << y;
        ++compared;
      }
    }
    EXPECT_GT(compared, 3000);
  }
}

// Far out the radiation part dominates; against the circle's own velocity and acceleration at
// the analytic retarded time (betaDot = -omega beta r_hat / w, per model unit of light travel).
TEST_F(RetardedFieldCircle, RadiationFieldIsTheCirclesOwn) {
  for (double angle = 0.0; angle < 2.0 * Pi; angle += 0.37) {
    const TVector2 p{0.9 * std::cos(angle), 0.5 * std::sin(angle)};
    const double tau = CircleRetardedTicks(Circle, Now, p);
    const TVector2 x = Circle.Pos(Now - tau);
    const TVector2 dir = Circle.Dir(Now - tau);
    const TVector2 beta{Circle.Beta * dir.X, Circle.Beta * dir.Y};
    const double accel = Circle.Beta * Circle.Omega() / Circle.WaveVelocity;
    const TVector2 betaDot{-accel * x.X / Circle.Radius, -accel * x.Y / Circle.Radius};
    const double r = std::hypot(p.X - x.X, p.Y - x.Y);
    const TVector2 n{(p.X - x.X) / r, (p.Y - x.Y) / r};
    const double kappa = 1.0 - (n.X * beta.X + n.Y * beta.Y);
    const double c =
        ((n.X - beta.X) * betaDot.Y - (n.Y - beta.Y) * betaDot.X) / (kappa * kappa * kappa * r);
    const TVector2 expected{n.Y * c, -n.X * c};

    TVector2 ev;
    TVector2 ea;
    ASSERT_TRUE(RetardedField(Sim, ISize, p, ev, ea));
    // The cubic's acceleration between ticks is that of the circle to a few 1e-4.
    const double tol = 2e-3 * Length(expected);
    EXPECT_NEAR(ea.X, expected.X, tol) << angle;
    EXPECT_NEAR(ea.Y, expected.Y, tol) << angle;
  }
}

// A search started from any tick, near the emission or far from it, finds the same field as one
// started afresh, bit for bit; a refusal leaves the hint as it was.
TEST_F(RetardedFieldCircle, ASearchHintChangesNothingButItsCost) {
  const int hints[] = {-1, 0, 1, 37, ISize / 2, ISize - 1, ISize, ISize + 7};
  for (double x = -0.95; x < 1.0; x += 0.15) {
    for (double y = -0.55; y < 0.6; y += 0.15) {
      const TVector2 p{x, y};
      TVector2 ev;
      TVector2 ea;
      ASSERT_TRUE(RetardedField(Sim, ISize, p, ev, ea));
      for (const int hint : hints) {
        TRetardedSearch search;
        search.Tick = hint;
        TVector2 hv;
        TVector2 ha;
        ASSERT_TRUE(RetardedField(Sim, ISize, p, hv, ha, search)) << hint;
        EXPECT_EQ(hv.X, ev.X) << x << " " << y << " hint " << hint;
        EXPECT_EQ(hv.Y, ev.Y) << x << " " << y << " hint " << hint;
        EXPECT_EQ(ha.X, ea.X) << x << " " << y << " hint " << hint;
        EXPECT_EQ(ha.Y, ea.Y) << x << " " << y << " hint " << hint;
      }
    }
  }
  TRetardedSearch search;
  search.Tick = 12;
  TVector2 ev;
  TVector2 ea;
  EXPECT_FALSE(RetardedField(Sim, ISize, {30.0, 0.0}, ev, ea, search));  // beyond the history
  EXPECT_EQ(search.Tick, 12);
}

// The sampler of the field arrows gives RetardedField's fields bit for bit, with the same hint
// and the same refusals, the hint after the search included.
TEST_F(RetardedFieldCircle, TheSamplerGivesRetardedFieldsFields) {
  const TRetardedFieldSampler sampler(Sim, ISize);
  const int hints[] = {-1, 0, 37, ISize - 1};
  const TVector2 points[] = {{-0.95, -0.55}, {0.3, 0.2},  {0.9, -0.5},        {0.01, 0.001},
                             {30.0, 0.0},    {1.5, -1.4}, {std::nan(""), 0.0}};
  for (const TVector2 p : points) {
    for (const int hint : hints) {
      SCOPED_TRACE(::testing::Message() << p.X << " " << p.Y << " hint " << hint);
      TRetardedSearch byRing;
      byRing.Tick = hint;
      TRetardedSearch bySampler = byRing;
      TVector2 ev;
      TVector2 ea;
      TVector2 sv;
      TVector2 sa;
      const bool known = RetardedField(Sim, ISize, p, ev, ea, byRing);
      ASSERT_EQ(sampler.Field(p, sv, sa, bySampler), known);
      EXPECT_EQ(bySampler.Tick, byRing.Tick);
      if (!known) continue;
      EXPECT_EQ(sv.X, ev.X);
      EXPECT_EQ(sv.Y, ev.Y);
      EXPECT_EQ(sa.X, ea.X);
      EXPECT_EQ(sa.Y, ea.Y);
    }
  }
  // A grid searched in order, as the arrows search it.
  TRetardedSearch byRing;
  TRetardedSearch bySampler;
  for (double x = -0.95; x < 1.0; x += 0.04) {
    TVector2 ev;
    TVector2 ea;
    TVector2 sv;
    TVector2 sa;
    const bool known = RetardedField(Sim, ISize, {x, 0.13}, ev, ea, byRing);
    ASSERT_EQ(sampler.Field({x, 0.13}, sv, sa, bySampler), known) << x;
    if (!known) continue;
    EXPECT_EQ(sv.X, ev.X) << x;
    EXPECT_EQ(sa.Y, ea.Y) << x;
  }
}

// The field of a unit charge in uniform motion at speed b along the unit vector u, at r from where
// it is now: the contracted Coulomb field (1 - b^2) / (1 - b^2 sin^2 psi)^(3/2) / r^2 along r,
// psi the angle between r and u.
TVector2 ContractedCoulomb(TVector2 r, TVector2 u, double b) {
  const double rr = Length(r);
  const double sinPsi = (u.X * r.Y - u.Y * r.X) / rr;
  const double size = (1.0 - b * b) / std::pow(1.0 - b * b * sinPsi * sinPsi, 1.5) / (rr * rr);
  return {size * r.X / rr, size * r.Y / rr};
}

// A charge on a line along x whose velocity changes at once at tick Jump, from beta0 to beta1:
// reset in uniform motion at beta0 through x = 0 at tick 0, then each tick where that motion puts
// it, up to Jump, and on from there at beta1, as the line's start from rest and its stop record it.
struct TLineJump {
  double Beta0 = 0.0;
  double Beta1 = 0.8;
  int Jump = 20;
  static constexpr double W = ModelWidth / ISize;
  double X(int tick) const {
    return tick <= Jump ? Beta0 * W * tick : Beta0 * W * Jump + Beta1 * W * (tick - Jump);
  }
  void Feed(TFieldSimulation& sim, int ticks) const {
    sim.InitNodes(ISize, JSize, ModelWidth);
    sim.ResetNodes(ISize, JSize, {0.0, 0.0}, {Beta0, 0.0}, ModelWidth, 5);
    for (int tick = 1; tick <= ticks; ++tick) {
      sim.ChargePos = {X(tick), 0.0};
      sim.VelocityDir = {1.0, 0.0};
      sim.Beta = tick <= Jump ? Beta0 : Beta1;
      sim.AdvanceCharge();
      sim.UpdateEmitDirections(JSize);
      sim.AdvanceNodes(ISize, JSize, 5);
    }
  }
};

// The field in the tick of the jump, the shell between the wavefronts sent at the jump and one
// tick after it: the charge that starts at once runs at its new velocity from the jump on, so
// there its field is the contracted Coulomb field about where that motion puts it now,
// (1 - b^2) / (1 - b^2 sin^2 psi)^(3/2) / r^2 along r; the charge that stops at once is at rest at
// its stop, r / r^3. The cubic through the records made the start outrun light in the middle of
// the tick and the stop run back, with a radiation field of hundreds of units that turned its sign
// within the shell.
TEST(RetardedField, AVelocityThatChangesAtOnceHasNoPulseInItsTick) {
  struct TRow {
    double Beta0, Beta1;
  };
  const TRow rows[] = {{0.0, 0.8}, {0.0, 0.5}, {0.0, 0.3}, {0.8, 0.0}, {0.5, 0.0}};
  constexpr int Now = 80;
  for (const TRow& row : rows) {
    const TLineJump line{row.Beta0, row.Beta1};
    TFieldSimulation sim;
    line.Feed(sim, Now);
    const double b = row.Beta1;
    const TVector2 jumpAt{line.X(line.Jump), 0.0};
    const TVector2 present{line.X(Now), 0.0};
    for (double angle = 0.1; angle < 2.0 * Pi; angle += 0.4) {
      for (double f : {0.2, 0.5, 0.8}) {
        // Emitted f ticks after the jump: |P - x(Jump + f)| = W (Now - Jump - f).
        const TVector2 u{std::cos(angle), std::sin(angle)};
        const TVector2 emitted{jumpAt.X + b * TLineJump::W * f, 0.0};
        const double reach = TLineJump::W * (Now - line.Jump - f);
        const TVector2 p{emitted.X + reach * u.X, emitted.Y + reach * u.Y};
        TVector2 ev;
        TVector2 ea;
        ASSERT_TRUE(RetardedField(sim, ISize, p, ev, ea));
        const TVector2 expected =
            ContractedCoulomb({p.X - present.X, p.Y - present.Y}, {1.0, 0.0}, b);
        const double size = Length(expected);
        const TVector2 e{ev.X + ea.X, ev.Y + ea.Y};
        SCOPED_TRACE(::testing::Message() << row.Beta0 << " to " << row.Beta1 << ", angle " << angle
                                          << ", " << f << " tick after the jump");
        EXPECT_NEAR(e.X, expected.X, 1e-9 * size);
        EXPECT_NEAR(e.Y, expected.Y, 1e-9 * size);
      }
    }
  }
}

// A smooth path is not taken for a jump: the dipole's swing, fed tick by tick from its own
// formula y = A sin(omega t), keeps its radiation field at the points emitted between ticks, in
// every phase (the swing's centre, where the acceleration changes its sign within a tick, as well).
TEST(RetardedField, ASmoothSwingKeepsItsRadiationBetweenTicks) {
  constexpr double A = 0.05;
  constexpr double W = ModelWidth / ISize;
  constexpr int Period = 34;  // ticks, about the default dipole's at this size
  constexpr double Omega = 2.0 * Pi / Period;
  TFieldSimulation sim;
  sim.InitNodes(ISize, JSize, ModelWidth);
  sim.ResetNodes(ISize, JSize, {0.0, 0.0}, {0.0, A * Omega / W}, ModelWidth, 5);
  constexpr int Now = 3 * Period;
  for (int tick = 1; tick <= Now; ++tick) {
    sim.ChargePos = {0.0, A * std::sin(Omega * tick)};
    const double v = A * Omega * std::cos(Omega * tick) / W;
    sim.VelocityDir = {0.0, v >= 0.0 ? 1.0 : -1.0};
    sim.Beta = std::fabs(v);
    sim.AdvanceCharge();
    sim.UpdateEmitDirections(JSize);
    sim.AdvanceNodes(ISize, JSize, 5);
  }
  // Straight across the swing from the emission point, n = x and n.beta = 0: E_a =
  // n x ((n - beta) x betaDot) / R = -betaDot / R, betaDot = y'' / W^2 at the emission.
  int compared = 0;
  for (double t = Now - 30.0; t < Now - 20.0; t += 0.25) {
    const double reach = W * (Now - t);
    const TVector2 p{reach, A * std::sin(Omega * t)};
    TVector2 ev;
    TVector2 ea;
    ASSERT_TRUE(RetardedField(sim, ISize, p, ev, ea));
    const double betaDot = -A * Omega * Omega * std::sin(Omega * t) / (W * W);
    const double peak = A * Omega * Omega / (W * W) / reach;
    EXPECT_NEAR(ea.Y, -betaDot / reach, 0.02 * peak) << "emitted at tick " << t;
    ++compared;
  }
  EXPECT_EQ(compared, 40);
}

// A hand that pulls the charge from rest towards a far cursor moves it at the speed limit from
// the first tick on, while the recorded velocity (the mean of the last four steps) needs four
// ticks to follow. The cubic through those records ran at up to 1.43 c with a radiation field
// flipping its sign within each tick; the field of the steps themselves is the contracted
// Coulomb field of uniform motion at the limit about where that motion puts the charge now.
TEST(RetardedField, AHandPulledToTheSpeedLimitNeverOutrunsLight) {
  const TVector2 cursors[] = {{5.0, 0.0}, {-3.0, 4.0}};
  constexpr int Now = 60;
  for (const TVector2 cursor : cursors) {
    TSimulationState state;
    StartSimulation(state);
    for (int tick = 0; tick < Now; ++tick) RunTick(state, cursor);
    const double w = state.FieldSimulation.WaveVelocity;
    const double b = MouseSpeedLimit;
    const TVector2 u{cursor.X / Length(cursor), cursor.Y / Length(cursor)};
    const auto at = [&](double t) { return TVector2{b * w * t * u.X, b * w * t * u.Y}; };
    for (double t = 0.25; t < 5.0; t += 0.5) {  // emitted in the first ticks of the pull
      for (double angle = 0.3; angle < 2.0 * Pi; angle += 0.9) {
        const TVector2 emitted = at(t);
        const double reach = w * (Now - t);
        const TVector2 p{emitted.X + reach * std::cos(angle), emitted.Y + reach * std::sin(angle)};
        TVector2 ev;
        TVector2 ea;
        ASSERT_TRUE(RetardedField(state.FieldSimulation, state.ISize, p, ev, ea));
        const TVector2 expected = ContractedCoulomb({p.X - at(Now).X, p.Y - at(Now).Y}, u, b);
        const double size = Length(expected);
        SCOPED_TRACE(::testing::Message() << "towards " << cursor.X << " " << cursor.Y
                                          << ", emitted at tick " << t << ", angle " << angle);
        EXPECT_NEAR(ev.X + ea.X, expected.X, 1e-6 * size);
        EXPECT_NEAR(ev.Y + ea.Y, expected.Y, 1e-6 * size);
      }
    }
  }
}

// Let go, the charge stays where the hand left it, while the recorded velocity takes four ticks
// to fall to zero: between those records it is at rest, with the Coulomb field r / r^3 about
// that place, not the field of a cubic that runs out and back within each tick.
TEST(RetardedField, AChargeLetGoStaysPutBetweenItsRecords) {
  constexpr int Pull = 40;
  constexpr int Now = 70;
  TSimulationState state;
  StartSimulation(state);
  for (int tick = 0; tick < Pull; ++tick) RunTick(state, TVector2{5.0, 0.0});
  const TVector2 left = state.FieldSimulation.ChargePos;
  for (int tick = Pull; tick < Now; ++tick) RunTick(state, {});
  const double w = state.FieldSimulation.WaveVelocity;
  for (double t = Pull + 0.25; t < Pull + 5.0; t += 0.5) {
    for (double angle = 0.3; angle < 2.0 * Pi; angle += 0.9) {
      const double reach = w * (Now - t);
      const TVector2 r{reach * std::cos(angle), reach * std::sin(angle)};
      TVector2 ev;
      TVector2 ea;
      ASSERT_TRUE(
          RetardedField(state.FieldSimulation, state.ISize, {left.X + r.X, left.Y + r.Y}, ev, ea));
      const double size = 1.0 / (reach * reach);
      SCOPED_TRACE(::testing::Message() << "emitted at tick " << t << ", angle " << angle);
      EXPECT_NEAR(ev.X + ea.X, size * r.X / reach, 1e-9 * size);
      EXPECT_NEAR(ev.Y + ea.Y, size * r.Y / reach, 1e-9 * size);
    }
  }
}

}  // namespace
