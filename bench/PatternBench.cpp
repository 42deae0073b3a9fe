// SPDX-License-Identifier: GPL-3.0-or-later
// The radiation power pattern: its mean over the longest preset path at 2000 x 200 (computed once
// per choice of path, against one engine tick of that model), and the pattern of one tick at the
// largest preset (400 x 40) against one animation frame of a 1920 x 1050 plot; also the pattern
// window's whole work per tick (pattern, curve, redraw of its plot) against the same frame.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QRadioButton>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/FrameSupport.h"
#include "canvas/RasterCanvas.h"
#include "engine/Radiation.h"
#include "engine/SimulationCommands.h"
#include "plot/ImageBuffer.h"
#include "render/MainPicture.h"
#include "views/RadiationPattern.h"

namespace {

constexpr int PlotWidth = 1920;
constexpr int PlotHeight = 1050;
constexpr double AverageTargetMs = 50.0;
constexpr double InstantTargetShare = 0.02;  // of a frame
constexpr TModelSizePreset LargestCustom{2000, 200, 20};

constexpr int PathModes[] = {tmStraightLine, tmDipole,    tmCircle,
                             tmRaceTrack,    tmUndulator, tmBending};

// The default path of mode in a model of the given size, chosen and reset.
void ChoosePath(TSimulationState& state, const TModelSizePreset& size, int mode) {
  TDisplaySettings display;
  TSimulationCommands simulation(state, display);
  StartOnDefaultCircle(simulation, size);
  (void)simulation.ChooseTrajectory(mode, simulation.Trajectory());
}

// The preset path with the most samples in a model of the given size.
int LongestPath(const TModelSizePreset& size) {
  int longest = tmCircle;
  int most = 0;
  for (int mode : PathModes) {
    TSimulationState state;
    ChoosePath(state, size, mode);
    if (state.PathGeneration.Path.SampleCount > most) {
      most = state.PathGeneration.Path.SampleCount;
      longest = mode;
    }
  }
  return longest;
}

const char* ModeName(int mode) {
  switch (mode) {
    case tmStraightLine: return "line";
    case tmDipole: return "dipole";
    case tmCircle: return "circle";
    case tmRaceTrack: return "racetrack";
    case tmUndulator: return "undulator";
    case tmBending: return "bending";
    default: return "?";
  }
}

// Turns of the mean pattern and of engine ticks, so that a change of the machine's load weighs
// on both.
void AveragedPattern(benchmark::State& run, int mode) {
  TSimulationState state;
  ChoosePath(state, LargestCustom, mode);
  TSimulationState ticking;
  ChoosePath(ticking, LargestCustom, mode);
  TDisplaySettings tickingDisplay;
  TSimulationCommands tickingSimulation(ticking, tickingDisplay);
  TRadiationPattern pattern;
  double patternSeconds = 0.0;
  double tickSeconds = 0.0;
  constexpr int TicksPerTurn = 20;
  for (auto _ : run) {
    const double t0 = ThreadSeconds();
    PathAveragePattern(state, pattern);
    benchmark::DoNotOptimize(pattern.Values.data());
    const double t1 = ThreadSeconds();
    for (int t = 0; t < TicksPerTurn; ++t) tickingSimulation.RunTick();
    benchmark::DoNotOptimize(ticking.FieldSimulation.Nodes[0].data());
    const double t2 = ThreadSeconds();
    patternSeconds += t1 - t0;
    tickSeconds += (t2 - t1) / TicksPerTurn;
  }
  const double ms = 1e3 * patternSeconds / static_cast<double>(run.iterations());
  const double tickMs = 1e3 * tickSeconds / static_cast<double>(run.iterations());
  run.counters["pattern_ms"] = ms;
  run.counters["tick_ms"] = tickMs;
}

// One frame of the main window: the tick and the redraw of its plot, as the window does both.
class TFrame {
 public:
  TFrame()
      : Image(PlotWidth, PlotHeight, QImage::Format_RGB32),
        Mapping(MainPictureMapping(QSize(PlotWidth, PlotHeight),
                                   DefaultMainRange(QSize(PlotWidth, PlotHeight)))) {
    StartOnDefaultCircle(Simulation, ModelSizeLarge);
    for (int tick = 0; tick < State.ISize; ++tick) Simulation.RunTick();
  }
  void Run() {
    Simulation.RunTick();
    TRasterCanvas canvas(PixelBufferOf(Image));
    DrawMainPicture(canvas, Mapping, 1.0, State, Display);
    benchmark::DoNotOptimize(Image.constBits());
  }
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Simulation{State, Display};

 private:
  QImage Image;
  TPlotMapping Mapping;
};

void InstantaneousPattern(benchmark::State& run) {
  TFrame frame;
  // The pattern window beside it, showing the instantaneous pattern of the same state.
  TRadiationPatternForm form(frame.State);
  form.rbtnInstantaneous->setChecked(true);
  form.show();
  TRadiationPattern pattern;
  double frameSeconds = 0.0;
  double patternSeconds = 0.0;
  double curveSeconds = 0.0;
  double redrawSeconds = 0.0;
  constexpr int PatternsPerTurn = 50;
  for (auto _ : run) {
    const double t0 = ThreadSeconds();
    frame.Run();
    const double t1 = ThreadSeconds();
    for (int i = 0; i < PatternsPerTurn; ++i) {
      InstantaneousPattern(frame.State, pattern);
      benchmark::DoNotOptimize(pattern.Values.data());
    }
    const double t2 = ThreadSeconds();
    form.ChargeTicked();
    const double t3 = ThreadSeconds();
    form.Chart1().FlushRedraw();
    const double t4 = ThreadSeconds();
    frameSeconds += t1 - t0;
    patternSeconds += (t2 - t1) / PatternsPerTurn;
    curveSeconds += t3 - t2;
    redrawSeconds += t4 - t3;
  }
  form.hide();
  const double n = static_cast<double>(run.iterations());
  const double frameMs = 1e3 * frameSeconds / n;
  const double patternMs = 1e3 * patternSeconds / n;
  const double curveMs = 1e3 * curveSeconds / n;
  const double redrawMs = 1e3 * redrawSeconds / n;
  run.counters["frame_ms"] = frameMs;
  run.counters["pattern_ms"] = patternMs;
  run.counters["curve_ms"] = curveMs;
  run.counters["redraw_ms"] = redrawMs;
}

// The console output, then one line per figure against its target.
class TPatternReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      for (const auto& [name, counter] : run.counters) {
        Figures[run.run_name.function_name + "." + name] = counter.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto figure = [&](const std::string& name) {
      const auto found = Figures.find(name);
      return found == Figures.end() ? 0.0 : found->second;
    };
    // Only the samples where the charge accelerates cost a pattern: every path is listed, the
    // longest one against the target.
    const int longest = LongestPath(LargestCustom);
    for (int mode : PathModes) {
      const std::string name = std::string("AveragedPattern/") + ModeName(mode);
      const double average = figure(name + ".pattern_ms");
      const double tick = figure(name + ".tick_ms");
      if (!(tick > 0.0)) continue;
      TSimulationState state;
      ChoosePath(state, LargestCustom, mode);
      std::printf("averaged pattern, %s at 2000x200 (%d samples x %d directions): %.3f ms%s%s; "
                  "= %.2f engine ticks of that model (%.3f ms each)\n",
                  ModeName(mode), state.PathGeneration.Path.SampleCount, PatternDirectionCount,
                  average, mode == longest ? " (the longest path; target 50 ms) " : "",
                  mode != longest ? "" : (average <= AverageTargetMs ? "OK" : "TOO SLOW"),
                  average / tick, tick);
    }
    const double frame = figure("InstantaneousPattern/400x40.frame_ms");
    const double instant = figure("InstantaneousPattern/400x40.pattern_ms");
    const double curve = figure("InstantaneousPattern/400x40.curve_ms");
    const double redraw = figure("InstantaneousPattern/400x40.redraw_ms");
    if (frame > 0.0) {
      std::printf("instantaneous pattern at 400x40: %.4f ms = %.2f %% of a frame (%.3f ms; target "
                  "%.0f %%) %s; the window's tick: pattern and curve %.3f ms, redraw of its plot "
                  "%.3f ms, together %.1f %% of a frame\n",
                  instant, 100.0 * instant / frame, frame, 100.0 * InstantTargetShare,
                  instant <= InstantTargetShare * frame ? "OK" : "TOO SLOW", curve, redraw,
                  100.0 * (curve + redraw) / frame);
    }
  }

 private:
  std::map<std::string, double> Figures;
};

}  // namespace

int main(int argc, char** argv) {
  // The window needs an application; no screen is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  for (int mode : PathModes) {
    benchmark::RegisterBenchmark((std::string("AveragedPattern/") + ModeName(mode)).c_str(),
                                 [mode](benchmark::State& run) { AveragedPattern(run, mode); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
  }
  benchmark::RegisterBenchmark("InstantaneousPattern/400x40", InstantaneousPattern)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(2.0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TPatternReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
