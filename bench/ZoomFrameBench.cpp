// The cost of the zoom view: one animation frame (tick, main picture, zoom picture) against the
// frame without the zoom view, at the large model (400 rows x 40 lines) with the charge running
// round the default circle. Prints the ratio; the zoom view may cost at most half a frame more.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdio>
#include <vector>

#include "bench/FrameSupport.h"
#include "engine/SimulationState.h"
#include "render/FieldDrawing.h"
#include "render/MainPicture.h"
#include "plot/RasterCanvas.h"

namespace {

constexpr double ZoomLimit = 1.5;

// The windows' work without the windows: the same engine calls as a tick, the same drawing calls
// as the two after-draw handlers, into images of a maximised main plot and a zoom view.
class TFrame {
 public:
  TFrame()
      : MainImage(1920, 1050, QImage::Format_RGB32),
        ZoomImage(960, 360, QImage::Format_RGB32),
        MainMapping(MappingOf(1920, 1050, 1.0)),
        ZoomMapping(MappingOf(960, 360, 1.0 / 16.0)) {
    StartOnDefaultCircle(State, ModelSizeLarge);
  }

  void Tick() { RunTick(State, {}); }

  void DrawMain() {
    MainImage.fill(Qt::black);
    TRasterCanvas canvas(MainImage);
    DrawMainOverlay({canvas, MainMapping, {0.0, 0.0}, State.PlotResolution}, State);
  }

  void DrawZoom() {
    ZoomImage.fill(Qt::black);
    TRasterCanvas canvas(ZoomImage);
    const TFieldSimulation& field = State.FieldSimulation;
    const TFieldView view{canvas, ZoomMapping, field.ChargePos, State.PlotResolution};
    DrawFieldLines(view, field, State.ISize, State.JSize);
    DrawWavefronts(view, field, State.ISize, State.JSize);
    DrawChargeDisc(canvas, ZoomMapping.ValueToPixelX(0.0), ZoomMapping.ValueToPixelY(0.0));
  }

  const QImage& Picture() const { return MainImage; }

 private:
  TSimulationState State;
  QImage MainImage;
  QImage ZoomImage;
  TPlotMapping MainMapping;
  TPlotMapping ZoomMapping;
};

// The two frames alternate, each on its own copy of the simulation running in step, so that a
// change of the machine's load during the run weighs on both alike.
void ZoomFrameRatio(benchmark::State& state) {
  TFrame without;
  TFrame with;
  double secondsWithout = 0.0;
  double secondsWith = 0.0;
  for (auto _ : state) {
    const double t0 = ThreadSeconds();
    without.Tick();
    without.DrawMain();
    benchmark::DoNotOptimize(without.Picture().constBits());
    const double t1 = ThreadSeconds();
    with.Tick();
    with.DrawMain();
    with.DrawZoom();
    benchmark::DoNotOptimize(with.Picture().constBits());
    const double t2 = ThreadSeconds();
    secondsWithout += t1 - t0;
    secondsWith += t2 - t1;
  }
  const double frames = static_cast<double>(state.iterations());
  state.counters["without_ms"] = 1e3 * secondsWithout / frames;
  state.counters["with_zoom_ms"] = 1e3 * secondsWith / frames;
  state.counters["ratio"] = secondsWithout > 0.0 ? secondsWith / secondsWithout : 0.0;
}

BENCHMARK(ZoomFrameRatio)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The console output plus one line with the ratio and the limit.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const auto ratio = run.counters.find("ratio");
      if (run.run_type == Run::RT_Iteration && !run.error_occurred && ratio != run.counters.end()) {
        Ratio = ratio->second.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (Ratio <= 0.0) return;
    std::printf("zoom view frame ratio: %.3f (frame with the zoom view / without, limit %.1f) %s\n",
                Ratio, ZoomLimit, Ratio <= ZoomLimit ? "OK" : "TOO SLOW");
  }

 private:
  double Ratio = 0.0;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
