// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of the zoom view: one animation frame (tick, main picture, and the zoom window's own
// redraw of its plot) against the frame without the zoom view, at the large model (400 rows x 40
// lines) with the charge running round the default circle. Prints the ratio; the zoom view may
// cost at most half a frame more.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <memory>

#include "bench/FrameRatio.h"
#include "bench/FrameSupport.h"
#include "canvas/RasterCanvas.h"
#include "engine/SimulationState.h"
#include "plot/ImageBuffer.h"
#include "plot/PlotSurface.h"
#include "render/MainPicture.h"
#include "views/ZoomView.h"

namespace {

constexpr double ZoomLimit = 1.5;
constexpr int ZoomWidth = 960;
constexpr int ZoomHeight = 360;

// The main window's work without the window: the same engine calls as a tick and the same drawing
// calls as its after-draw handler, into the image of a maximised main plot. The zoom view is the
// window itself, its plot redrawn as each tick asks it to.
class TFrame {
 public:
  explicit TFrame(bool zoom)
      : MainImage(1920, 1050, QImage::Format_RGB32), MainMapping(MappingOf(1920, 1050, 1.0)) {
    StartOnDefaultCircle(Simulation, ModelSizeLarge);
    if (zoom) {
      Zoom = std::make_unique<TZoomViewForm>(Simulation);
      Zoom->show();
      // The plot takes the window's width and the height below the buttons.
      Zoom->resize(ZoomWidth, ZoomHeight + Zoom->Chart1().y());
      QApplication::processEvents();
    }
  }

  void Tick() { Simulation.RunTick(); }

  void Draw() {
    MainImage.fill(Qt::black);
    TRasterCanvas canvas(PixelBufferOf(MainImage));
    DrawMainOverlay({canvas, MainMapping, {0.0, 0.0}, Display.PlotResolution}, State, Display);
    if (Zoom) {
      Zoom->Chart1().RequestRedraw();
      Zoom->Chart1().FlushRedraw();
    }
  }

  const QImage& Picture() const { return Zoom ? Zoom->Chart1().Buffer() : MainImage; }

 private:
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Simulation{State, Display};
  QImage MainImage;
  TPlotMapping MainMapping;
  std::unique_ptr<TZoomViewForm> Zoom;
};

void ZoomFrameRatio(benchmark::State& state) {
  TFrame without(false);
  TFrame with(true);
  if (with.Picture().size() != QSize(ZoomWidth, ZoomHeight)) {
    state.SkipWithError("the zoom view's plot did not take its size");
    return;
  }
  AlternateTickAndDraw(state, without, with, "with_zoom_ms");
}

BENCHMARK(ZoomFrameRatio)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
  // The zoom window needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TFrameRatioReporter reporter("zoom view frame ratio", "frame with the zoom view / without",
                               ZoomLimit);
  return RunFrameRatio(argc, argv, reporter);
}
