// SPDX-License-Identifier: GPL-3.0-or-later
// One kind of frame against another, measured side by side in one run: the two alternate, each on
// its own copy of the simulation running in step, so that a change of the machine's load during
// the run weighs on both alike; the ratio is printed against its limit.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bench/FrameSupport.h"

// Runs without() and with() in turn once per iteration and records the milliseconds of each
// (counters "without_ms" and withCounter) and their ratio (counter "ratio").
inline void AlternateFrames(benchmark::State& state, const std::function<void()>& without,
                            const std::function<void()>& with, const char* withCounter) {
  double secondsWithout = 0.0;
  double secondsWith = 0.0;
  for (auto _ : state) {
    const double t0 = ThreadSeconds();
    without();
    const double t1 = ThreadSeconds();
    with();
    const double t2 = ThreadSeconds();
    secondsWithout += t1 - t0;
    secondsWith += t2 - t1;
  }
  const double frames = static_cast<double>(state.iterations());
  state.counters["without_ms"] = 1e3 * secondsWithout / frames;
  state.counters[withCounter] = 1e3 * secondsWith / frames;
  state.counters["ratio"] = secondsWithout > 0.0 ? secondsWith / secondsWithout : 0.0;
}

// AlternateFrames over two frames of one kind (Tick(), Draw(), Picture()), one frame each time.
template <class TFrame>
void AlternateTickAndDraw(benchmark::State& state, TFrame& without, TFrame& with,
                          const char* withCounter) {
  const auto frame = [](TFrame& f) {
    f.Tick();
    f.Draw();
    benchmark::DoNotOptimize(f.Picture().constBits());
  };
  AlternateFrames(state, [&] { frame(without); }, [&] { frame(with); }, withCounter);
}

// The console output plus one line per benchmark: "<Label> (<name>): <ratio> (<Meaning>, limit
// <Limit>) OK" or "TOO SLOW".
class TFrameRatioReporter : public benchmark::ConsoleReporter {
 public:
  TFrameRatioReporter(std::string label, std::string meaning, double limit)
      : Label(std::move(label)), Meaning(std::move(meaning)), Limit(limit) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const auto ratio = run.counters.find("ratio");
      if (run.run_type == Run::RT_Iteration && !run.error_occurred && ratio != run.counters.end()) {
        Ratios.emplace_back(run.run_name.function_name, ratio->second.value);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [name, ratio] : Ratios) {
      std::printf("%s (%s): %.3f (%s, limit %.2f) %s\n", Label.c_str(), name.c_str(), ratio,
                  Meaning.c_str(), Limit, ratio <= Limit ? "OK" : "TOO SLOW");
    }
  }

 private:
  std::string Label;
  std::string Meaning;
  double Limit;
  std::vector<std::pair<std::string, double>> Ratios;
};

// The main of a ratio benchmark: the benchmarks registered, run with the reporter.
inline int RunFrameRatio(int argc, char** argv, TFrameRatioReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
