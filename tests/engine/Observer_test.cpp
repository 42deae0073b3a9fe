// SPDX-License-Identifier: GPL-3.0-or-later
// What the eye receives, run through the program's commands: the Coulomb field of a charge at
// rest and the contracted one of a charge in uniform motion, the circle's Liénard–Wiechert field
// between the ticks as well as on them, and the samples the trace leaves out.
#include "engine/Observer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>

#include "tests/engine/ObserverRun.h"

namespace {

double Length(TVector2 v) {
  return std::hypot(v.X, v.Y);
}

// A line run from rest at its first sample, at β w per tick to its last sample, where it stops:
// x(t) = S_0 + v clamp(t, 0, last), at rest before the reset (as the reset assumes) and after
// the stop. The mouse left alone rests where it is.
struct TUniformCase {
  const char* Name;
  int Mode;
  double Beta;
  TVector2 Eye;
};

class ObserverUniform : public ::testing::TestWithParam<TUniformCase> {};

// The field of a charge that moved uniformly from the emission until now is its Coulomb field
// contracted along the motion about where it is NOW: with R from the present position to the eye
// and ψ between R and the motion, E = (1 − β²) R / (R³ (1 − β² sin²ψ)^{3/2}); at rest R / R³. No
// radiation. Emissions before the reset are left out (BeforeReset), later ones received.
TEST_P(ObserverUniform, ReceivesTheContractedCoulombFieldOfThePresentPosition) {
  const TUniformCase& c = GetParam();
  TObserverRun run;
  TTrajectoryParameters parameters;
  parameters.LineBeta = c.Beta;
  ASSERT_NO_FATAL_FAILURE(run.Start(SmallModel, c.Mode, parameters, c.Eye, 256));
  run.Run(200);

  const TSimulationState& s = run.State;
  const double w = WaveVelocityOf(s.ISize);
  const TPath& path = s.PathGeneration.Path;
  const bool line = c.Mode == tmStraightLine;
  const int last = line ? LastUsableSample(path) : 0;
  const TVector2 start =
      line ? TVector2{path.Samples[0].X, path.Samples[0].Y} : s.FieldSimulation.ChargePos;
  const TVector2 v =
      line ? TVector2{(path.Samples[static_cast<std::size_t>(last)].X - start.X) / last,
                      (path.Samples[static_cast<std::size_t>(last)].Y - start.Y) / last}
           : TVector2{};
  if (line) {
    ASSERT_NEAR(Length(v), c.Beta * w, 1e-12);
  }
  const auto x = [&](double t) {
    const double u = std::clamp(t, 0.0, static_cast<double>(last));
    return TVector2{start.X + v.X * u, start.Y + v.Y * u};
  };

  const TObserverTrace& trace = s.ObserverTrace;
  ASSERT_EQ(trace.Count(), 200 * ObserverSubTicks);
  int moving = 0;
  int resting = 0;
  int beforeReset = 0;
  for (int i = 0; i < trace.Count(); ++i) {
    const TObserverSample& sample = trace[i];
    const double t = sample.Tick;
    ASSERT_DOUBLE_EQ(t, (i + 1.0) / ObserverSubTicks);
    // The emission time on the path above, by bisection (the path is slower than light).
    double lo = 0.0;
    double hi = 4.0 / w;
    for (int step = 0; step < 80; ++step) {
      const double mid = 0.5 * (lo + hi);
      const TVector2 e = x(t - mid);
      (std::hypot(c.Eye.X - e.X, c.Eye.Y - e.Y) > w * mid ? lo : hi) = mid;
    }
    const double tr = t - 0.5 * (lo + hi);
    if (tr < -0.01) {
      EXPECT_EQ(sample.Kind, TObserverSampleKind::BeforeReset) << c.Name << " t " << t;
      beforeReset += sample.Kind == TObserverSampleKind::BeforeReset;
      continue;
    }
    if (tr < 0.01) continue;
    ASSERT_EQ(sample.Kind, TObserverSampleKind::Received) << c.Name << " t " << t;
    const bool uniform = tr > 0.5 && t <= last;  // moving from the emission until now
    const bool rest = !line || tr > last + 0.5;
    if (!uniform && !rest) continue;
    const TVector2 now = x(t);
    EXPECT_NEAR(sample.Charge.X, now.X, 1e-12) << c.Name << " t " << t;
    EXPECT_NEAR(sample.Charge.Y, now.Y, 1e-12) << c.Name << " t " << t;
    const double beta = rest ? 0.0 : c.Beta;
    const TVector2 r{c.Eye.X - now.X, c.Eye.Y - now.Y};
    const double rr = Length(r);
    const double sinPsi = rest ? 0.0 : (v.X * r.Y - v.Y * r.X) / (Length(v) * rr);
    const double size =
        (1.0 - beta * beta) / (rr * rr * rr * std::pow(1.0 - beta * beta * sinPsi * sinPsi, 1.5));
    const double tolerance = 1e-7 * size * rr;
    EXPECT_NEAR(sample.Field.X, size * r.X, tolerance) << c.Name << " t " << t;
    EXPECT_NEAR(sample.Field.Y, size * r.Y, tolerance) << c.Name << " t " << t;
    EXPECT_LT(Length(sample.Radiation), tolerance) << c.Name << " t " << t;
    (rest ? resting : moving) += 1;
  }
  EXPECT_EQ(trace.BeforeResetCount(), beforeReset) << c.Name;
  EXPECT_GT(beforeReset, 4 * ObserverSubTicks) << c.Name;
  EXPECT_GT(resting, 20 * ObserverSubTicks) << c.Name;
  if (line) {
    EXPECT_GT(moving, 20 * ObserverSubTicks) << c.Name;
  }
}

// The eye near the line's start, so that the light from after the start reaches it well before
// the stop; at ISize 100 the line's 1.0 model units take 62 ticks at 0.8 and 125 at 0.4.
INSTANTIATE_TEST_SUITE_P(
    Cases, ObserverUniform,
    ::testing::Values(TUniformCase{"line at 0.8", tmStraightLine, 0.8, {-0.3, 0.12}},
                      TUniformCase{"line at 0.4", tmStraightLine, 0.4, {-0.1, -0.2}},
                      TUniformCase{"mouse at rest", tmMouse, 0.0, {0.3, 0.4}}),
    [](const ::testing::TestParamInfo<TUniformCase>& param) {
      std::string name = param.param.Name;
      std::replace_if(
          name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
      return name;
    });

// The circle's trace, a full light travel and two revolutions after the reset, is the exact
// circle's Liénard–Wiechert field at each sample's own moment (eight a tick, between the ticks as
// well as on them) within 3 % of its peak; taken at the tick each sample belongs to instead, it
// is not. The tick from the last sample back to sample 0 is one step like the others: a closing
// step longer than the rest bends its cubic more than the circle, and the eye sees it.
TEST(ObserverCircle, TraceIsTheExactCirclesFieldBetweenTheTicks) {
  for (double beta : {0.9, 0.5}) {
    TObserverRun run;
    TTrajectoryParameters parameters;
    parameters.CircleBeta = beta;
    const TVector2 eye{0.9, 0.0};
    ASSERT_NO_FATAL_FAILURE(run.Start(SmallModel, tmCircle, parameters, eye, 256));
    const TPathCircle circle = TPathCircle::Of(run.State);
    const double period = 2.0 * std::numbers::pi / circle.Omega;  // ticks, one per sample
    const int settle = run.State.ISize + 2 * static_cast<int>(period);
    run.Run(settle);
    ASSERT_NO_FATAL_FAILURE(run.RestartTrace());
    run.Run(256);

    const TObserverTrace& trace = run.State.ObserverTrace;
    ASSERT_EQ(trace.Count(), 256 * ObserverSubTicks);
    double peakField = 0.0;
    double peakRadiation = 0.0;
    double fieldError = 0.0;
    double radiationError = 0.0;
    double onTheTickError = 0.0;
    for (int i = 0; i < trace.Count(); ++i) {
      const TObserverSample& sample = trace[i];
      ASSERT_EQ(sample.Kind, TObserverSampleKind::Received);
      const double t = settle + sample.Tick;
      TVector2 field;
      TVector2 radiation;
      circle.Field(eye, t, field, radiation);
      TVector2 tickField;
      TVector2 tickRadiation;
      circle.Field(eye, std::ceil(t), tickField, tickRadiation);
      peakField = std::max(peakField, Length(field));
      peakRadiation = std::max(peakRadiation, Length(radiation));
      const TVector2 charge = circle.Pos(t);
      EXPECT_NEAR(sample.Charge.X, charge.X, 1e-3 * circle.Radius) << beta << " t " << t;
      EXPECT_NEAR(sample.Charge.Y, charge.Y, 1e-3 * circle.Radius) << beta << " t " << t;
      fieldError =
          std::max(fieldError, Length({sample.Field.X - field.X, sample.Field.Y - field.Y}));
      radiationError =
          std::max(radiationError,
                   Length({sample.Radiation.X - radiation.X, sample.Radiation.Y - radiation.Y}));
      onTheTickError = std::max(onTheTickError, Length({sample.Radiation.X - tickRadiation.X,
                                                        sample.Radiation.Y - tickRadiation.Y}));
    }
    EXPECT_LT(fieldError, 0.03 * peakField) << beta;
    EXPECT_LT(radiationError, 0.03 * peakRadiation) << beta;
    EXPECT_GT(onTheTickError, 0.06 * peakRadiation) << beta;
  }
}

// The eye farther off than the history's light travel (ISize ticks, one plot width of 2 model
// units each way) receives nothing: every sample left out as BeyondHistory, none received.
TEST(ObserverTrace, AnEyeBeyondTheHistoryReceivesNothing) {
  TObserverRun run;
  ASSERT_NO_FATAL_FAILURE(run.Start(SmallModel, tmCircle, TTrajectoryParameters{}, {3.0, 1.5}, 64));
  run.Run(80);
  const TObserverTrace& trace = run.State.ObserverTrace;
  EXPECT_EQ(trace.Count(), 64 * ObserverSubTicks + 1);
  EXPECT_EQ(trace.BeyondHistoryCount(), trace.Count());
  EXPECT_EQ(trace.BeforeResetCount(), 0);
}

}  // namespace
