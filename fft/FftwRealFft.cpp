// SPDX-License-Identifier: GPL-3.0-or-later
// FFTW behind TRealFft: the data copied into the plan's own aligned buffers, so that a plan made
// once serves every later call of its length.
#include "fft/FftwRealFft.h"

#include <fftw3.h>

struct TFftwRealFft::TPlan {
  explicit TPlan(std::size_t n)
      : Length(n),
        In(fftw_alloc_real(n)),
        Out(fftw_alloc_complex(n / 2 + 1)),
        Plan(fftw_plan_dft_r2c_1d(static_cast<int>(n), In, Out, FFTW_ESTIMATE)) {}
  ~TPlan() {
    if (Plan) fftw_destroy_plan(Plan);
    fftw_free(Out);
    fftw_free(In);
  }
  TPlan(const TPlan&) = delete;
  TPlan& operator=(const TPlan&) = delete;

  std::size_t Length;
  double* In;
  fftw_complex* Out;
  fftw_plan Plan;
};

TFftwRealFft::TFftwRealFft() = default;
TFftwRealFft::~TFftwRealFft() = default;

void TFftwRealFft::Forward(const std::vector<double>& in, std::vector<std::complex<double>>& out) {
  const std::size_t n = in.size();
  out.clear();
  if (n == 0) return;
  std::unique_ptr<TPlan>& slot = Plans[n];
  if (!slot) slot = std::make_unique<TPlan>(n);
  TPlan& plan = *slot;
  // Without memory for the buffers or the plan there is no transform: an empty result.
  if (!plan.In || !plan.Out || !plan.Plan) return;
  for (std::size_t i = 0; i < n; ++i) plan.In[i] = in[i];
  fftw_execute(plan.Plan);
  out.resize(n / 2 + 1);
  for (std::size_t k = 0; k < out.size(); ++k) out[k] = {plan.Out[k][0], plan.Out[k][1]};
}
