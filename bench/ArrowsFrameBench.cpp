// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of the field arrows: one animation frame (tick and main picture of a 1920 x 1050 plot)
// with the arrows against the same frame without them, at the large model (400 rows x 40 lines)
// with the charge running round the default circle, with aliased lines and with the smooth lines
// the window starts with. Prints the ratios; the arrows may cost at most a quarter of a frame.
#include <benchmark/benchmark.h>

#include <QImage>

#include "bench/FrameRatio.h"
#include "bench/FrameSupport.h"
#include "canvas/RasterCanvas.h"
#include "engine/SimulationState.h"
#include "plot/ImageBuffer.h"
#include "render/MainPicture.h"

namespace {

constexpr double ArrowsLimit = 1.25;
constexpr int PlotWidth = 1920;
constexpr int PlotHeight = 1050;

// The window's work without the window: the tick's engine calls and the after-draw's drawing,
// the arrows as the state's option says.
class TFrame {
 public:
  TFrame(bool arrows, bool smooth)
      : Smooth(smooth),
        Image(PlotWidth, PlotHeight, QImage::Format_RGB32),
        Mapping(MappingOf(PlotWidth, PlotHeight, 1.0)) {
    StartOnDefaultCircle(Simulation, ModelSizeLarge);
    // Run until every row was emitted on the circle: the steady picture with its kinks, and a
    // history that holds the field everywhere on the plot.
    for (int tick = 0; tick < State.ISize; ++tick) Simulation.RunTick();
    Display.ShowFieldVectors = arrows;
  }

  void Tick() { Simulation.RunTick(); }

  void Draw() {
    Image.fill(Qt::black);
    TRasterCanvas canvas(PixelBufferOf(Image));
    canvas.Smooth = Smooth;
    DrawMainOverlay({canvas, Mapping, {0.0, 0.0}, Display.PlotResolution}, State, Display);
  }

  const QImage& Picture() const { return Image; }

 private:
  bool Smooth;
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Simulation{State, Display};
  QImage Image;
  TPlotMapping Mapping;
};

void ArrowsFrameRatio(benchmark::State& state, bool smooth) {
  TFrame without(false, smooth);
  TFrame with(true, smooth);
  AlternateTickAndDraw(state, without, with, "with_arrows_ms");
}

BENCHMARK_CAPTURE(ArrowsFrameRatio, Aliased, false)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK_CAPTURE(ArrowsFrameRatio, Smooth, true)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
  TFrameRatioReporter reporter("field arrows frame ratio", "frame with the arrows / without",
                               ArrowsLimit);
  return RunFrameRatio(argc, argv, reporter);
}
