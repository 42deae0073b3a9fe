// SPDX-License-Identifier: GPL-3.0-or-later
// The native build's real Fourier transform for the eye's spectrum: FFTW's real-to-complex
// transform, one plan per length, made once and kept.
#pragma once

#include <complex>
#include <cstddef>
#include <map>
#include <memory>
#include <vector>

#include "engine/ObserverFrequencies.h"

class TFftwRealFft final : public TRealFft {
 public:
  TFftwRealFft();
  ~TFftwRealFft() override;
  TFftwRealFft(const TFftwRealFft&) = delete;
  TFftwRealFft& operator=(const TFftwRealFft&) = delete;

  // out[k] = Σ_n in[n] e^(−2πi k n / N), k = 0 .. N/2, for any length N (FFTW takes every length;
  // the spectrum asks for powers of two, as the browser's library needs); empty for empty in.
  // Plans with FFTW_ESTIMATE, which looks at no data and takes microseconds. One object is for
  // one thread: FFTW's planner is not thread-safe.
  void Forward(const std::vector<double>& in, std::vector<std::complex<double>>& out) override;

 private:
  struct TPlan;
  std::map<std::size_t, std::unique_ptr<TPlan>> Plans;
};
