// SPDX-License-Identifier: GPL-3.0-or-later
// The spectrum of what the eye receives: the transform itself, the closed paths' own period, the
// circle's harmonics against the exact circle's, the dipole's single line, the undulator's
// Doppler-shifted fundamental and the lines predicted for it.
#include "engine/ObserverFrequencies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/UndulatorRelations.h"
#include "fft/FftwRealFft.h"
#include "tests/engine/ObserverRun.h"

namespace {

constexpr double Pi = std::numbers::pi;

// The power between (n − ½) f₀ and (n + ½) f₀: the line of harmonic n with its window's spread.
double BandPower(const TObserverSpectrum& spectrum, double f0, int n) {
  double sum = 0.0;
  for (std::size_t k = 0; k < spectrum.Frequency.size(); ++k) {
    if (std::fabs(spectrum.Frequency[k] / f0 - n) < 0.5) sum += spectrum.Power[k];
  }
  return sum;
}

TEST(FftwRealFft, IsTheDiscreteFourierTransform) {
  TFftwRealFft fft;
  for (int n : {1, 2, 8, 64, 8, 1024}) {  // 8 again: from the kept plan
    std::vector<double> in(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
      in[static_cast<std::size_t>(i)] = std::sin(0.37 * i * i + 1.0) + 0.1 * i;
    std::vector<std::complex<double>> out;
    fft.Forward(in, out);
    ASSERT_EQ(out.size(), static_cast<std::size_t>(n / 2 + 1)) << n;
    for (int k = 0; k <= n / 2; ++k) {
      std::complex<double> sum;
      for (int i = 0; i < n; ++i)
        sum += in[static_cast<std::size_t>(i)] * std::polar(1.0, -2.0 * Pi * k * i / n);
      EXPECT_LT(std::abs(out[static_cast<std::size_t>(k)] - sum), 1e-9 * n) << n << " bin " << k;
    }
  }
  std::vector<std::complex<double>> out(3);
  fft.Forward({}, out);
  EXPECT_TRUE(out.empty());
}

// An eye beyond the history receives nothing: no bins at all, the circle's lines all the same. A
// charge at rest radiates nothing: every bin 0.
TEST(ObserverSpectrum, NothingReceivedHasNoBinsAndNoRadiationNoPower) {
  TFftwRealFft fft;
  TObserverRun far;
  ASSERT_NO_FATAL_FAILURE(far.Start(SmallModel, tmCircle, TTrajectoryParameters{}, {3.0, 1.5}, 64));
  far.Run(70);
  const TObserverSpectrum none = SpectrumOf(far.State.ObserverTrace, far.State, {3.0, 1.5}, fft);
  EXPECT_TRUE(none.Frequency.empty());
  EXPECT_TRUE(none.Power.empty());
  EXPECT_EQ(none.SamplesUsed, 0);
  EXPECT_EQ(none.TransformLength, 0);
  EXPECT_TRUE(none.Fundamental);
  EXPECT_FALSE(none.Markers.empty());

  TObserverRun rest;
  ASSERT_NO_FATAL_FAILURE(rest.Start(SmallModel, tmMouse, TTrajectoryParameters{}, {0.3, 0.4}, 64));
  rest.Run(70);
  const TObserverSpectrum still = SpectrumOf(rest.State.ObserverTrace, rest.State, {0.3, 0.4}, fft);
  ASSERT_GT(still.SamplesUsed, 0);
  EXPECT_EQ(still.Power.size(), static_cast<std::size_t>(still.TransformLength / 2 + 1));
  for (double p : still.Power) EXPECT_EQ(p, 0.0);
  EXPECT_FALSE(still.Fundamental);
  EXPECT_TRUE(still.Markers.empty());
  EXPECT_FALSE(still.Undulator);
}

// The closed paths come back to sample 0 after their period, and not before; their lines are
// n f₀ up to the Nyquist frequency. The others have no period, and lines only the undulator.
TEST(ObserverSpectrum, TheClosedPathsPeriodIsOnePass) {
  const int modes[] = {tmDipole,    tmCircle,  tmRaceTrack, tmStraightLine,
                       tmUndulator, tmBending, tmMouse};
  for (int mode : modes) {
    TObserverRun run;
    ASSERT_NO_FATAL_FAILURE(run.Start(SmallModel, mode, TTrajectoryParameters{}, {0.9, 0.3}, 64));
    const std::optional<double> period = ClosedPathPeriodTicks(run.State);
    const std::vector<TSpectrumMarker> markers = PredictedMarkers(run.State, {0.9, 0.3}, 4.0);
    if (!IsClosedPath(mode)) {
      EXPECT_FALSE(period) << mode;
      EXPECT_EQ(markers.empty(), mode != tmUndulator) << mode;
      continue;
    }
    ASSERT_TRUE(period) << mode;
    const int ticks = static_cast<int>(*period);
    EXPECT_EQ(*period, ticks) << mode;
    for (int t = 1; t <= ticks; ++t) {
      run.Run(1);
      EXPECT_EQ(run.State.FrameIndex == 0, t == ticks) << mode << " tick " << t;
    }
    // n f₀ up to the Nyquist frequency.
    ASSERT_EQ(static_cast<int>(markers.size()), static_cast<int>(4.0 * ticks)) << mode;
    EXPECT_DOUBLE_EQ(markers[2].Low, 3.0 / ticks);
    EXPECT_EQ(markers[2].Harmonic, 3);
  }
}

// The circle's spectrum at the eye (0.9, 0): lines at whole harmonics of its revolution, their
// powers relative to the first as the exact circle's, sampled at the same moments and transformed
// in the same way, within 3 %.
TEST(ObserverSpectrum, TheCirclesHarmonicsAreTheExactCircles) {
  for (double beta : {0.9, 0.5}) {
    TObserverRun run;
    TTrajectoryParameters parameters;
    parameters.CircleBeta = beta;
    const TVector2 eye{0.9, 0.0};
    const int traceTicks = 2048;
    ASSERT_NO_FATAL_FAILURE(run.Start(SmallModel, tmCircle, parameters, eye, traceTicks));
    const TPathCircle circle = TPathCircle::Of(run.State);
    const int settle = run.State.ISize + 100;
    run.Run(settle);
    ASSERT_NO_FATAL_FAILURE(run.RestartTrace());
    run.Run(traceTicks);

    TFftwRealFft fft;
    const TObserverTrace& trace = run.State.ObserverTrace;
    const TObserverSpectrum spectrum = SpectrumOf(trace, run.State, eye, fft);
    ASSERT_TRUE(spectrum.Fundamental);
    const double f0 = *spectrum.Fundamental;
    EXPECT_NEAR(f0, circle.Omega / (2.0 * Pi), 1e-15);
    const int m = trace.Count();
    ASSERT_EQ(spectrum.SamplesUsed, m);
    ASSERT_EQ(spectrum.TransformLength, traceTicks * ObserverSubTicks);
    ASSERT_EQ(spectrum.Frequency.size(), static_cast<std::size_t>(m / 2 + 1));
    // Bin k of N samples an eighth of a tick apart: k / (N / 8) cycles per tick.
    EXPECT_DOUBLE_EQ(spectrum.Frequency[3], 3.0 * ObserverSubTicks / m);

    // The exact circle's samples, Hann-windowed and zero-padded alike.
    std::vector<double> ex(static_cast<std::size_t>(spectrum.TransformLength), 0.0);
    std::vector<double> ey(ex.size(), 0.0);
    for (int i = 0; i < m; ++i) {
      TVector2 field;
      TVector2 radiation;
      circle.Field(eye, settle + trace[i].Tick, field, radiation);
      const double weight = 0.5 - 0.5 * std::cos(2.0 * Pi * i / (m - 1));
      ex[static_cast<std::size_t>(i)] = weight * radiation.X;
      ey[static_cast<std::size_t>(i)] = weight * radiation.Y;
    }
    std::vector<std::complex<double>> fx;
    std::vector<std::complex<double>> fy;
    fft.Forward(ex, fx);
    fft.Forward(ey, fy);
    TObserverSpectrum exact;
    exact.Frequency = spectrum.Frequency;
    for (std::size_t k = 0; k < fx.size(); ++k)
      exact.Power.push_back(std::norm(fx[k]) + std::norm(fy[k]));

    // Whole harmonics: between them (a third of the way from each) the power is far below the
    // lines'.
    const double first = BandPower(spectrum, f0, 1);
    const double firstExact = BandPower(exact, f0, 1);
    for (int n = 1; n <= 8; ++n) {
      const double relative = BandPower(spectrum, f0, n) / first;
      const double relativeExact = BandPower(exact, f0, n) / firstExact;
      EXPECT_NEAR(relative, relativeExact, 0.03 * relativeExact) << beta << " harmonic " << n;
      double between = 0.0;
      double line = 0.0;
      for (std::size_t k = 0; k < spectrum.Frequency.size(); ++k) {
        const double h = spectrum.Frequency[k] / f0;
        if (std::fabs(h - n) < 0.05) line = std::max(line, spectrum.Power[k]);
        if (std::fabs(h - n - 0.5) < 0.2) between = std::max(between, spectrum.Power[k]);
      }
      EXPECT_LT(between, 1e-3 * line) << beta << " harmonic " << n;
    }
  }
}

// The dipole swinging at 0.1 of the wave speed radiates at its own frequency: the band about
// f₀ holds more than 99 % of the power.
TEST(ObserverSpectrum, TheSlowDipoleRadiatesItsFundamental) {
  TObserverRun run;
  TTrajectoryParameters parameters;
  parameters.DipoleBeta = 0.1;
  const TVector2 eye{0.9, 0.3};
  ASSERT_NO_FATAL_FAILURE(run.Start(SmallModel, tmDipole, parameters, eye, 2048));
  run.Run(run.State.ISize + 2048);
  TFftwRealFft fft;
  const TObserverSpectrum spectrum = SpectrumOf(run.State.ObserverTrace, run.State, eye, fft);
  ASSERT_TRUE(spectrum.Fundamental);
  double total = 0.0;
  for (double p : spectrum.Power) total += p;
  EXPECT_GT(BandPower(spectrum, *spectrum.Fundamental, 1), 0.99 * total);
}

// The undulator seen from its axis beyond the exit: its light compressed by the Doppler factor,
// the spectrum's peak at f₁ = 1 / (T_u (1 − β̄)) within 3 %, with T_u and β̄ of the sampled
// periods; on the axis odd lines only, each a single frequency. Off the axis every harmonic, each
// a span of n f₁(θ) over the periods. A small K (a = 0.005 m, K ≈ 0.5) keeps the fundamental the
// strongest line.
TEST(ObserverSpectrum, TheUndulatorsPeakIsItsDopplerShiftedPeriod) {
  TObserverRun run;
  TTrajectoryParameters parameters;
  parameters.UndAmplitude = 0.005;
  const TVector2 eye{1.02, 0.005};  // the orbit's axis is y = a
  ASSERT_NO_FATAL_FAILURE(run.Start({400, 8, 20}, tmUndulator, parameters, eye, 2048));
  const TPath& path = run.State.PathGeneration.Path;
  const int pass = LastUsableSample(path) + 1;
  run.Run(3 * pass + 40);

  TFftwRealFft fft;
  const TObserverTrace& trace = run.State.ObserverTrace;
  const TObserverSpectrum spectrum = SpectrumOf(trace, run.State, eye, fft);
  EXPECT_FALSE(spectrum.Fundamental);
  ASSERT_TRUE(spectrum.Undulator);
  const TUndulatorLight& light = *spectrum.Undulator;
  // The periods alone: slower along the axis than the path's β, by about K²/(4γ²).
  const TUndulatorEntry entry = UndulatorEntryOf(parameters);
  const double gamma = 1.0 / std::sqrt(1.0 - parameters.UndBeta * parameters.UndBeta);
  EXPECT_NEAR(light.MeanBeta,
              parameters.UndBeta * (1.0 - entry.K * entry.K / (4.0 * gamma * gamma)), 2e-3);
  EXPECT_NEAR(light.TicksPerPeriod * light.MeanBeta * WaveVelocityOf(400), parameters.UndPeriod,
              1e-3 * parameters.UndPeriod);
  EXPECT_TRUE(light.OnAxis);
  EXPECT_NEAR(light.ThetaLow, 0.0, 1e-3);
  EXPECT_NEAR(light.ThetaHigh, 0.0, 1e-3);
  EXPECT_DOUBLE_EQ(light.DialogWavelength, UndulatorDerivedOf(entry).RadWavelengthUm * 1e-6);

  const double f1 = 1.0 / (light.TicksPerPeriod * (1.0 - light.MeanBeta));
  std::size_t peak = 1;
  for (std::size_t k = 1; k < spectrum.Power.size(); ++k)
    if (spectrum.Power[k] > spectrum.Power[peak]) peak = k;
  EXPECT_NEAR(spectrum.Frequency[peak], f1, 0.03 * f1);
  // Each pass starts 2.02 model units from the eye, beyond the history's light travel of 2: its
  // first ticks' light counts as not received, a gap left out inside the span.
  EXPECT_GT(trace.BeyondHistoryCount(), 0);
  int first = -1;
  int last = -1;
  for (int i = 0; i < trace.Count(); ++i) {
    if (trace[i].Kind != TObserverSampleKind::Received) continue;
    if (first < 0) first = i;
    last = i;
  }
  EXPECT_LT(spectrum.SamplesUsed, last - first + 1);
  // The span from the first received sample to the last, zero-padded to a power of two.
  EXPECT_GE(spectrum.TransformLength, last - first + 1);
  EXPECT_LT(spectrum.TransformLength / 2, last - first + 1);
  EXPECT_EQ(spectrum.TransformLength & (spectrum.TransformLength - 1), 0);

  ASSERT_GE(spectrum.Markers.size(), 2u);
  for (std::size_t i = 0; i < spectrum.Markers.size(); ++i) {
    const TSpectrumMarker& marker = spectrum.Markers[i];
    EXPECT_EQ(marker.Harmonic, 2 * static_cast<int>(i) + 1);
    EXPECT_NEAR(marker.Low, marker.Harmonic * f1, 1e-6 * f1);
    EXPECT_NEAR(marker.High, marker.Harmonic * f1, 1e-6 * f1);
    EXPECT_LE(marker.Low, 0.5 * ObserverSubTicks);
  }

  // Beside the undulator, level with its middle: θ from about 0.8 rad at the first period to
  // about 2.4 rad at the last; every harmonic, its line spread over those angles.
  const TVector2 beside{-0.3, 0.4};
  const std::optional<TUndulatorLight> side = UndulatorLightFor(run.State, beside);
  ASSERT_TRUE(side);
  EXPECT_FALSE(side->OnAxis);
  EXPECT_GT(side->ThetaHigh - side->ThetaLow, 0.5);
  const std::vector<TSpectrumMarker> lines = PredictedMarkers(run.State, beside, 4.0);
  ASSERT_GE(lines.size(), 2u);
  const double c = WaveVelocityOf(400);
  EXPECT_EQ(lines[1].Harmonic, 2);
  EXPECT_NEAR(lines[0].Low, c / side->ModelWavelengthHigh, 1e-12);
  EXPECT_NEAR(lines[0].High, c / side->ModelWavelengthLow, 1e-12);
  EXPECT_GT(lines[0].High, 1.1 * lines[0].Low);
  // λ = λu (1/β̄ − cos θ) at the ends of the span.
  EXPECT_NEAR(
      side->ModelWavelengthLow,
      light.TicksPerPeriod * light.MeanBeta * c * (1.0 / light.MeanBeta - std::cos(side->ThetaLow)),
      1e-9);
}

}  // namespace
