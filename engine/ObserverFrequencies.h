// SPDX-License-Identifier: GPL-3.0-or-later
// The spectrum of what the eye receives: the radiation part of the trace windowed and
// transformed, its frequencies in cycles per tick and in harmonics of the path's own frequency,
// and the lines theory predicts for the eye's direction. The transform itself is a library's,
// behind TRealFft: FFTW in the native build, a JavaScript library in the browser.
#pragma once

#include <complex>
#include <optional>
#include <vector>

#include "engine/MyMath.h"
#include "engine/Observer.h"

struct TSimulationState;

// The discrete Fourier transform of a real sequence of a power-of-two length N:
// out[k] = Σ_n in[n] e^(−2πi k n / N) for k = 0 .. N/2 (N/2 + 1 values).
class TRealFft {
 public:
  virtual ~TRealFft() = default;
  virtual void Forward(const std::vector<double>& in, std::vector<std::complex<double>>& out) = 0;
};

// At most this many lines are predicted: the harmonics of a slow circle reach the Nyquist frequency
// only after a thousand or so, and a path of the longest sample table would ask for a million.
constexpr int MaxSpectrumMarkers = 2048;
// The eye counts as on the undulator's axis (its even harmonics vanish there by the orbit's
// symmetry) while γ |sin θ| stays below this for every period: off the axis by θ the even
// harmonics grow about as γ θ, and below this they stay a small fraction of the odd ones.
constexpr double UndulatorOnAxisGammaSinTheta = 0.05;

// A line theory predicts: harmonic n between Low and High cycles per tick (Low == High for a
// sharp line; for the undulator's near field, the span of n f₁(θ) over the emission points).
struct TSpectrumMarker {
  int Harmonic = 1;
  double Low = 0.0;
  double High = 0.0;
};

// The undulator's wavelengths for the eye (model units, metres): the model's own
// c / f₁ = λu (1/β̄ − cos θ) over the span of θ, and the dialog's λrad = λu/(2γ²)(1 + K²/2).
// θ is taken from the middle of each period on the axis (the orbit's mean line) to the eye; T_u
// and β̄ from the sampled path between the first period's start and the last one's end.
struct TUndulatorLight {
  double ThetaLow = 0.0;  // radians, between the axis and the eye, over the emission points
  double ThetaHigh = 0.0;
  double MeanBeta = 0.0;        // β̄, the mean speed along the axis over the wave speed
  double TicksPerPeriod = 0.0;  // T_u
  double ModelWavelengthLow = 0.0;
  double ModelWavelengthHigh = 0.0;
  double DialogWavelength = 0.0;  // λrad
  bool OnAxis = false;            // the eye on the axis: odd harmonics only
};

struct TObserverSpectrum {
  // Both empty when no sample of the trace was received.
  std::vector<double> Frequency;  // cycles per tick, bins 0 .. N/2
  std::vector<double> Power;      // |Êx|² + |Êy|², the largest 1 (all 0 without radiation)
  int SamplesUsed = 0;            // received samples in the transform
  int TransformLength = 0;        // N, the samples zero-padded to a power of two
  // The closed path's own frequency f₀ (cycles per tick: its revolution or swing), none where
  // the path is not closed; Frequency / f₀ is the harmonic number.
  std::optional<double> Fundamental;
  std::vector<TSpectrumMarker> Markers;  // up to the Nyquist frequency
  std::optional<TUndulatorLight> Undulator;
};

// The spectrum of the trace's radiation part: the samples from the first received one to the
// last (those left out inside count as zero), Hann-windowed, zero-padded to a power of two,
// Êx and Êy transformed, power normalised to its largest bin. Frequencies in cycles per tick
// (the samples are 1 / ObserverSubTicks ticks apart).
TObserverSpectrum SpectrumOf(const TObserverTrace& trace, const TSimulationState& state,
                             TVector2 place, TRealFft& fft);

// The path's own period in ticks for the dipole, the circle and the race track (the samples of
// one pass); none for the others.
std::optional<double> ClosedPathPeriodTicks(const TSimulationState& state);
// The predicted lines and, for the undulator, its light for an eye at place: n f₀ for the closed
// paths, the spans of n f₁(θ) for the undulator (odd n alone on its axis), none for the others;
// every line that starts at or below nyquist (cycles per tick), at most MaxSpectrumMarkers.
std::vector<TSpectrumMarker> PredictedMarkers(const TSimulationState& state, TVector2 place,
                                              double nyquist);
std::optional<TUndulatorLight> UndulatorLightFor(const TSimulationState& state, TVector2 place);
