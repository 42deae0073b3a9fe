// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of the observer: one animation frame (tick and main picture of a 1280 x 720 plot) with
// the eye shown and its window's work, against the same frame without them, at the large model
// (400 rows x 40 lines) with the charge on the default circle. The eye's share is its eight
// samples a tick, its marker and line in the picture, the window's trace painted every frame, and
// its spectrum worked out and painted a few times a second (every 15th frame at 60 frames a
// second), all through the window itself. Prints the ratio; the observer may cost at most a
// tenth of a frame.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "bench/FrameRatio.h"
#include "bench/FrameSupport.h"
#include "canvas/RasterCanvas.h"
#include "engine/SimulationState.h"
#include "plot/ImageBuffer.h"
#include "render/MainPicture.h"
#include "views/ObserverPowerPlot.h"
#include "views/ObserverTracePlot.h"
#include "views/ObserverWindow.h"

namespace {

constexpr double ObserverLimit = 1.10;
constexpr int PlotWidth = 1280;
constexpr int PlotHeight = 720;
constexpr int FramesPerSpectrum = 15;

class TFrame {
 public:
  explicit TFrame(bool observer)
      : Image(PlotWidth, PlotHeight, QImage::Format_RGB32),
        Mapping(MappingOf(PlotWidth, PlotHeight, 1.0)) {
    StartOnDefaultCircle(Simulation, ModelSizeLarge);
    if (observer) {
      TDisplaySettings display = Simulation.Display();
      display.Observer.Shown = true;
      display.Observer.Place = {0.9, 0.3};
      (void)Simulation.SetDisplay(display);
      // The window as the dock shows it beside the plot.
      Window = std::make_unique<TObserverForm>(Simulation);
      Window->resize(420, 520);
      Window->show();
      QApplication::processEvents();
    }
    // The steady picture, and a trace that is full: the eye has received a whole trace's ticks.
    const int ticks = State.ISize + (observer ? ObserverTraceTicksDefault : 0);
    for (int tick = 0; tick < ticks; ++tick) Simulation.RunTick();
  }

  void Tick() {
    Simulation.RunTick();
    if (Window) Window->ChargeTicked();
  }

  void Draw() {
    Image.fill(Qt::black);
    TRasterCanvas canvas(PixelBufferOf(Image));
    DrawMainOverlay({canvas, Mapping, {0.0, 0.0}, Simulation.Display().PlotResolution}, State,
                    Simulation.Display());
    if (!Window) return;
    // The trace is painted every frame; the spectrum as its timer would, a few times a second.
    Window->TracePlot->repaint();
    if (++Frames % FramesPerSpectrum == 0) {
      Window->RefreshSpectrum();
      Window->SpectrumPlot->repaint();
    }
  }

  const QImage& Picture() const { return Image; }

 private:
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Simulation{State, Display};
  QImage Image;
  TPlotMapping Mapping;
  std::unique_ptr<TObserverForm> Window;
  int Frames = 0;
};

void ObserverFrameRatio(benchmark::State& state) {
  TFrame without(false);
  TFrame with(true);
  AlternateTickAndDraw(state, without, with, "with_observer_ms");
}

BENCHMARK(ObserverFrameRatio)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
  // The observer window needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  TFrameRatioReporter reporter("observer frame ratio", "frame with the observer / without",
                               ObserverLimit);
  return RunFrameRatio(argc, argv, reporter);
}
