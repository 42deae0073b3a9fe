// SPDX-License-Identifier: GPL-3.0-or-later
// The spectrum of what the eye receives, and the lines the path's motion predicts in it.
#include "engine/ObserverFrequencies.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "engine/SimulationState.h"
#include "engine/UndulatorRelations.h"

namespace {

constexpr double MetresPerMicrometre = 1e-6;

// The Hann window over m samples, w_i = (1 - cos(2π i / (m - 1))) / 2: zero at both ends, so
// that the cut where the trace begins and ends adds no spread of its own to the lines.
double HannWeight(int i, int m) {
  if (m < 2) return 1.0;
  return 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / (m - 1));
}

int PowerOfTwoAtLeast(int m) {
  int n = 1;
  while (n < m) n *= 2;
  return n;
}

// What the undulator's periods are on the sampled path: where they begin and end along the axis,
// the orbit's mean line, and the time the charge takes over them.
struct TUndulatorPeriods {
  int Count = 0;
  double StartX = 0.0;
  double EndX = 0.0;
  double AxisY = 0.0;
  double Ticks = 0.0;  // from StartX to EndX
};

// The samples are one tick apart; the charge crosses a period's start and end at a trough, moving
// along +x, so the part of a tick between the crossing and the nearest sample is the gap over the
// mean axial speed there, β w (1 + DirX) / 2.
std::optional<TUndulatorPeriods> UndulatorPeriodsOf(const TPath& path, double waveVelocity) {
  TUndulatorPeriods periods;
  periods.Count = (path.SegmentCount - 2) / 2;
  const int last = LastUsableSample(path);
  if (periods.Count < 1 || last < 1 ||
      path.Segments.size() < static_cast<std::size_t>(2 * periods.Count + 1))
    return std::nullopt;
  const TBezierSegment& rising = path.Segments[1];
  periods.StartX = rising.P0.X;
  periods.EndX = path.Segments[static_cast<std::size_t>(2 * periods.Count)].P3.X;
  periods.AxisY = 0.5 * (rising.P0.Y + rising.P3.Y);
  int first = -1;
  int end = -1;
  for (int i = 0; i <= last; ++i) {
    const double x = path.Samples[static_cast<std::size_t>(i)].X;
    if (first < 0 && x >= periods.StartX) first = i;
    if (x <= periods.EndX) end = i;
  }
  if (first < 0 || end <= first) return std::nullopt;
  const auto axialSpeed = [&](int i) {
    const TPathSample& s = path.Samples[static_cast<std::size_t>(i)];
    return s.Beta * waveVelocity * 0.5 * (1.0 + s.DirX);
  };
  const double speedIn = axialSpeed(first);
  const double speedOut = axialSpeed(end);
  if (!(speedIn > 0.0) || !(speedOut > 0.0)) return std::nullopt;
  const double startTick =
      first - (path.Samples[static_cast<std::size_t>(first)].X - periods.StartX) / speedIn;
  const double endTick =
      end + (periods.EndX - path.Samples[static_cast<std::size_t>(end)].X) / speedOut;
  periods.Ticks = endTick - startTick;
  if (!(periods.Ticks > 0.0) || !(periods.EndX > periods.StartX)) return std::nullopt;
  return periods;
}

}  // namespace

std::optional<double> ClosedPathPeriodTicks(const TSimulationState& state) {
  if (!IsClosedPath(state.TrajectoryMode)) return std::nullopt;
  // Samples 0 .. last, then sample 0 again a tick after the last (engine/AnimationStep).
  const int last = LastUsableSample(state.PathGeneration.Path);
  if (last < 1) return std::nullopt;
  return static_cast<double>(last + 1);
}

std::optional<TUndulatorLight> UndulatorLightFor(const TSimulationState& state, TVector2 place) {
  if (state.TrajectoryMode != tmUndulator) return std::nullopt;
  const TPath& path = state.PathGeneration.Path;
  const double w = WaveVelocityOf(state.ISize);
  const std::optional<TUndulatorPeriods> periods = UndulatorPeriodsOf(path, w);
  if (!periods) return std::nullopt;

  TUndulatorLight light;
  const double lambda = (periods->EndX - periods->StartX) / periods->Count;  // model units
  light.TicksPerPeriod = periods->Ticks / periods->Count;
  light.MeanBeta = lambda / (light.TicksPerPeriod * w);
  const double beta = path.Samples[0].Beta;
  const double gamma = 1.0 / std::sqrt(std::max(1.0 - beta * beta, 1e-300));

  double largestSin = 0.0;
  for (int k = 0; k < periods->Count; ++k) {
    const TVector2 middle{periods->StartX + (k + 0.5) * lambda, periods->AxisY};
    const double theta = std::atan2(place.Y - middle.Y, place.X - middle.X);
    // c / f₁ = c T_u (1 − β̄ cos θ) = λu (1/β̄ − cos θ).
    const double wavelength = lambda * (1.0 / light.MeanBeta - std::cos(theta));
    if (k == 0) {
      light.ThetaLow = light.ThetaHigh = theta;
      light.ModelWavelengthLow = light.ModelWavelengthHigh = wavelength;
    }
    light.ThetaLow = std::min(light.ThetaLow, theta);
    light.ThetaHigh = std::max(light.ThetaHigh, theta);
    light.ModelWavelengthLow = std::min(light.ModelWavelengthLow, wavelength);
    light.ModelWavelengthHigh = std::max(light.ModelWavelengthHigh, wavelength);
    largestSin = std::max(largestSin, std::fabs(std::sin(theta)));
  }
  light.OnAxis = gamma * largestSin <= UndulatorOnAxisGammaSinTheta;
  light.DialogWavelength =
      UndulatorDerivedOf(UndulatorEntryOf(state.Trajectory)).RadWavelengthUm * MetresPerMicrometre;
  return light;
}

std::vector<TSpectrumMarker> PredictedMarkers(const TSimulationState& state, TVector2 place,
                                              double nyquist) {
  std::vector<TSpectrumMarker> markers;
  if (!(nyquist > 0.0)) return markers;
  if (const std::optional<double> period = ClosedPathPeriodTicks(state)) {
    const double f0 = 1.0 / *period;
    // A line on the Nyquist frequency itself (a period of a whole number of samples) counts,
    // whatever the rounding of n / period.
    const double top = nyquist * (1.0 + 1e-12);
    for (int n = 1; n * f0 <= top && n <= MaxSpectrumMarkers; ++n)
      markers.push_back({n, n * f0, n * f0});
    return markers;
  }
  if (const std::optional<TUndulatorLight> light = UndulatorLightFor(state, place)) {
    // f₁ = c / λ, c = w model units per tick: the longest wavelength gives the lowest line.
    const double w = WaveVelocityOf(state.ISize);
    const double low = w / light->ModelWavelengthHigh;
    const double high = w / light->ModelWavelengthLow;
    const int step = light->OnAxis ? 2 : 1;
    for (int n = 1; n * low <= nyquist && static_cast<int>(markers.size()) < MaxSpectrumMarkers;
         n += step)
      markers.push_back({n, n * low, n * high});
  }
  return markers;
}

TObserverSpectrum SpectrumOf(const TObserverTrace& trace, const TSimulationState& state,
                             TVector2 place, TRealFft& fft) {
  TObserverSpectrum spectrum;
  const double nyquist = 0.5 * ObserverSubTicks;
  if (const std::optional<double> period = ClosedPathPeriodTicks(state))
    spectrum.Fundamental = 1.0 / *period;
  spectrum.Markers = PredictedMarkers(state, place, nyquist);
  spectrum.Undulator = UndulatorLightFor(state, place);

  int first = -1;
  int last = -1;
  for (int i = 0; i < trace.Count(); ++i) {
    if (trace[i].Kind != TObserverSampleKind::Received) continue;
    if (first < 0) first = i;
    last = i;
  }
  if (first < 0) return spectrum;

  const int m = last - first + 1;
  const int n = PowerOfTwoAtLeast(m);
  std::vector<double> ex(static_cast<std::size_t>(n), 0.0);
  std::vector<double> ey(static_cast<std::size_t>(n), 0.0);
  for (int i = 0; i < m; ++i) {
    const TObserverSample& sample = trace[first + i];
    // A sample left out inside the span is a gap in what arrived: nothing, not the last value.
    if (sample.Kind != TObserverSampleKind::Received) continue;
    ++spectrum.SamplesUsed;
    const double weight = HannWeight(i, m);
    ex[static_cast<std::size_t>(i)] = weight * sample.Radiation.X;
    ey[static_cast<std::size_t>(i)] = weight * sample.Radiation.Y;
  }
  std::vector<std::complex<double>> fx;
  std::vector<std::complex<double>> fy;
  fft.Forward(ex, fx);
  fft.Forward(ey, fy);

  const int bins = n / 2 + 1;
  spectrum.TransformLength = n;
  spectrum.Frequency.resize(static_cast<std::size_t>(bins));
  spectrum.Power.assign(static_cast<std::size_t>(bins), 0.0);
  double largest = 0.0;
  for (int k = 0; k < bins; ++k) {
    const auto index = static_cast<std::size_t>(k);
    // Bin k of N samples dt = 1 / ObserverSubTicks ticks apart: k / (N dt) cycles per tick.
    spectrum.Frequency[index] = static_cast<double>(k) * ObserverSubTicks / n;
    const double power = (index < fx.size() ? std::norm(fx[index]) : 0.0) +
                         (index < fy.size() ? std::norm(fy[index]) : 0.0);
    spectrum.Power[index] = power;
    largest = std::max(largest, power);
  }
  if (largest > 0.0) {
    for (double& p : spectrum.Power) p /= largest;
  }
  return spectrum;
}
