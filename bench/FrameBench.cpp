// SPDX-License-Identifier: GPL-3.0-or-later
// One animation frame: the tick (the charge's step on the default circle, the emission
// directions and the aging of the nodes) plus the complete redraw of a 1920 x 1050 plot
// (background, field lines with their arcs, disc, trajectory). Measured through the screen's
// raster canvas and, on a twin simulation running in step, through QPainter; prints each frame
// time against its target and the QPainter / raster ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/FrameSupport.h"

namespace {

constexpr int PlotWidth = 1920;
constexpr int PlotHeight = 1050;

struct TModel {
  const char* Name;
  int ISize;
  int JSize;
  int WaveFrontSpacing;
  double TargetMs;  // the raster frame must stay within this
};
const TModel Models[] = {
    {"400x40", 400, 40, 20, 2.0},       // the largest preset
    {"2000x200", 2000, 200, 20, 16.0},  // the largest custom size: 60 pictures a second
};

// Frames follow each other in short runs of each kind, raster and QPainter taking turns, so that
// a change of the machine's load weighs on both while each run sees the caches as a run of frames
// of its own kind leaves them.
constexpr int FramesPerTurn = 8;

void FrameTimes(benchmark::State& state, const TModel& model) {
  const TModelSizePreset size{model.ISize, model.JSize, model.WaveFrontSpacing};
  TMainFrame raster(size, PlotWidth, PlotHeight);
  TMainFrame painter(size, PlotWidth, PlotHeight);
  double rasterSeconds = 0.0;
  double painterSeconds = 0.0;
  for (auto _ : state) {
    const double t0 = ThreadSeconds();
    for (int frame = 0; frame < FramesPerTurn; ++frame) {
      raster.Tick();
      raster.DrawRaster();
      benchmark::DoNotOptimize(raster.Picture().constBits());
    }
    const double t1 = ThreadSeconds();
    for (int frame = 0; frame < FramesPerTurn; ++frame) {
      painter.Tick();
      painter.DrawPainter();
      benchmark::DoNotOptimize(painter.Picture().constBits());
    }
    const double t2 = ThreadSeconds();
    rasterSeconds += t1 - t0;
    painterSeconds += t2 - t1;
  }
  const double frames = static_cast<double>(state.iterations()) * FramesPerTurn;
  state.counters["raster_ms"] = 1e3 * rasterSeconds / frames;
  state.counters["painter_ms"] = 1e3 * painterSeconds / frames;
  state.counters["painter_ratio"] = rasterSeconds > 0.0 ? painterSeconds / rasterSeconds : 0.0;
}

struct TFigures {
  double RasterMs = 0.0;
  double PainterMs = 0.0;
  double Ratio = 0.0;
};

// The console output, then one line per model with its frame time against the target.
class TFrameReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const auto value = [&](const char* name) {
        const auto found = run.counters.find(name);
        return found == run.counters.end() ? 0.0 : found->second.value;
      };
      Figures[run.run_name.function_name] = {value("raster_ms"), value("painter_ms"),
                                             value("painter_ratio")};
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const TModel& model : Models) {
      const auto found = Figures.find(std::string("Frame/") + model.Name);
      if (found == Figures.end()) continue;
      const TFigures& f = found->second;
      std::printf("frame %s: %.3f ms (target %.1f ms) %s; QPainter %.3f ms = %.2f x raster\n",
                  model.Name, f.RasterMs, model.TargetMs,
                  f.RasterMs <= model.TargetMs ? "OK" : "TOO SLOW", f.PainterMs, f.Ratio);
    }
  }

 private:
  std::map<std::string, TFigures> Figures;
};

}  // namespace

int main(int argc, char** argv) {
  for (const TModel& model : Models) {
    benchmark::RegisterBenchmark((std::string("Frame/") + model.Name).c_str(),
                                 [&model](benchmark::State& state) { FrameTimes(state, model); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TFrameReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
