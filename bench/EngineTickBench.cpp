// SPDX-License-Identifier: GPL-3.0-or-later
// One engine tick (AdvanceCharge + UpdateEmitDirections + AdvanceNodes) and one reset, each
// beside a plain copy of the same node table measured in the same run; prints tick / copy per
// model size. Target: a tick costs at most 1.5 x the copy.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/SimulationState.h"

namespace {

struct TSize {
  int ISize;
  int JSize;
};
constexpr TSize Sizes[] = {{400, 40}, {2000, 200}};
constexpr int Spacing = 10;

// A charge circling at 0.9 so that every tick aberrates and emits from a new point.
struct TMovingCharge {
  TFieldSimulation Sim;
  TSize Size;
  double Phase = 0.0;

  explicit TMovingCharge(TSize size) : Size(size) {
    Sim.InitNodes(size.ISize, size.JSize, ModelWidth);
    Sim.ResetNodes(size.ISize, size.JSize, {0.2, 0.0}, {0.0, 0.9}, ModelWidth, Spacing);
    Sim.Beta = 0.9;
  }
  void Tick() {
    Phase += 0.045;
    Sim.ChargePos = {0.2 * std::cos(Phase), 0.2 * std::sin(Phase)};
    Sim.VelocityDir = {-std::sin(Phase), std::cos(Phase)};
    Sim.AdvanceCharge();
    Sim.UpdateEmitDirections(Size.JSize);
    Sim.AdvanceNodes(Size.ISize, Size.JSize, Spacing);
  }
};

void Copy(benchmark::State& state) {
  const TSize size = Sizes[state.range(0)];
  TMovingCharge charge(size);
  std::vector<std::vector<TFieldNode>> copy = charge.Sim.Nodes;
  for (auto _ : state) {
    const auto& from = charge.Sim.Nodes;
    for (std::size_t r = 0; r < from.size(); ++r) {
      std::copy(from[r].begin(), from[r].end(), copy[r].begin());
    }
    benchmark::DoNotOptimize(copy.data());
    benchmark::DoNotOptimize(copy.back().data());
    benchmark::ClobberMemory();
  }
}

void Tick(benchmark::State& state) {
  TMovingCharge charge(Sizes[state.range(0)]);
  for (auto _ : state) {
    charge.Tick();
    benchmark::DoNotOptimize(charge.Sim.Nodes[0].data());
    benchmark::ClobberMemory();
  }
}

void Reset(benchmark::State& state) {
  const TSize size = Sizes[state.range(0)];
  TMovingCharge charge(size);
  for (auto _ : state) {
    charge.Sim.ResetNodes(size.ISize, size.JSize, {-1.0, 0.0}, {0.95, 0.0}, ModelWidth, Spacing);
    benchmark::DoNotOptimize(charge.Sim.Nodes[0].data());
    benchmark::ClobberMemory();
  }
}

// Copy and tick alternate per size, so that both see the same machine load.
BENCHMARK(Copy)->Arg(0)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Tick)->Arg(0)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Copy)->Arg(1)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Tick)->Arg(1)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Reset)->Arg(1)->Repetitions(3)->ReportAggregatesOnly(true);

// Prints the console table, then the ratios of the medians.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median") {
        const std::string name = run.run_name.function_name + "/" + run.run_name.args;
        Medians[name] = run.GetAdjustedRealTime();
        CpuMedians[name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // The machine may be shared: CPU time is the steadier figure, wall time is shown beside it.
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (int i = 0; i < 2; ++i) {
      const std::string arg = std::to_string(i);
      const double copy = CpuMedians["Copy/" + arg];
      const double tick = CpuMedians["Tick/" + arg];
      std::printf(
          "%d x %d: tick %.1f us, copy %.1f us (CPU), tick / copy = %.2f (target <= 1.5); "
          "wall-time ratio %.2f\n",
          Sizes[i].ISize, Sizes[i].JSize, tick / 1000.0, copy / 1000.0, tick / copy,
          Medians["Tick/" + arg] / Medians["Copy/" + arg]);
    }
    const double reset = CpuMedians["Reset/1"];
    std::printf("%d x %d: reset %.2f ms (CPU) = %.1f x the copy (for information)\n",
                Sizes[1].ISize, Sizes[1].JSize, reset / 1e6, reset / CpuMedians["Copy/1"]);
  }

 private:
  std::map<std::string, double> Medians;  // nanoseconds per iteration, wall time
  std::map<std::string, double> CpuMedians;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
