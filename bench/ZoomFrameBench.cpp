// The cost of the zoom view: one animation frame (tick, main picture, zoom picture) against the
// frame without the zoom view, at the large model (400 rows x 40 lines) with the charge running
// round the default circle. Prints the ratio; the zoom view may cost at most half a frame more.
#include <benchmark/benchmark.h>

#include <QImage>

#include "bench/FrameRatio.h"
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

void ZoomFrameRatio(benchmark::State& state) {
  TFrame without;
  TFrame with;
  AlternateFrames(
      state,
      [&] {
        without.Tick();
        without.DrawMain();
        benchmark::DoNotOptimize(without.Picture().constBits());
      },
      [&] {
        with.Tick();
        with.DrawMain();
        with.DrawZoom();
        benchmark::DoNotOptimize(with.Picture().constBits());
      },
      "with_zoom_ms");
}

BENCHMARK(ZoomFrameRatio)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
  TFrameRatioReporter reporter("zoom view frame ratio", "frame with the zoom view / without",
                               ZoomLimit);
  return RunFrameRatio(argc, argv, reporter);
}
