// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of the observer: one animation frame (tick and main picture of a 1280 x 720 plot) with
// the eye shown and its window's work, against the same frame without them, at the large model
// (400 rows x 40 lines) with the charge on the default circle. The eye's share is its eight
// samples a tick, its marker and line in the picture, the trace drawn into a window-sized image
// every frame, and the spectrum, worked out a few times a second (every 15th frame at 60 frames
// a second). Prints the ratio; the observer may cost at most a tenth of a frame.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include "bench/FrameRatio.h"
#include "bench/FrameSupport.h"
#include "canvas/RasterCanvas.h"
#include "engine/ObserverSpectrum.h"
#include "engine/SimulationState.h"
#include "fft/FftwRealFft.h"
#include "plot/ImageBuffer.h"
#include "render/MainPicture.h"

namespace {

constexpr double ObserverLimit = 1.10;
constexpr int PlotWidth = 1280;
constexpr int PlotHeight = 720;
constexpr int TraceWidth = 420;
constexpr int TraceHeight = 160;
constexpr int FramesPerSpectrum = 15;

class TFrame {
 public:
  explicit TFrame(bool observer)
      : Observer(observer),
        Image(PlotWidth, PlotHeight, QImage::Format_RGB32),
        Trace(TraceWidth, TraceHeight, QImage::Format_RGB32),
        Mapping(MappingOf(PlotWidth, PlotHeight, 1.0)) {
    StartOnDefaultCircle(Simulation, ModelSizeLarge);
    if (observer) {
      TDisplaySettings display = Simulation.Display();
      display.Observer.Shown = true;
      display.Observer.Place = {0.9, 0.3};
      (void)Simulation.SetDisplay(display);
    }
    // The steady picture, and a trace that is full: the eye has received a whole trace's ticks.
    const int ticks = State.ISize + (observer ? ObserverTraceTicksDefault : 0);
    for (int tick = 0; tick < ticks; ++tick) Simulation.RunTick();
  }

  void Tick() { Simulation.RunTick(); }

  void Draw() {
    Image.fill(Qt::black);
    TRasterCanvas canvas(PixelBufferOf(Image));
    DrawMainOverlay({canvas, Mapping, {0.0, 0.0}, Simulation.Display().PlotResolution}, State,
                    Simulation.Display());
    if (!Observer) return;
    DrawTrace();
    if (++Frames % FramesPerSpectrum == 0) {
      Spectrum = SpectrumOf(State.ObserverTrace, State, Simulation.Display().Observer.Place, Fft);
      benchmark::DoNotOptimize(Spectrum.Power.data());
    }
  }

  const QImage& Picture() const { return Image; }

 private:
  // The window's trace: both curves over the trace's samples, one point per sample, as a window
  // that does not thin them out would draw them.
  void DrawTrace() {
    const TObserverTrace& trace = State.ObserverTrace;
    const TVector2 across = ObserverAcross(PathCentreOf(State), Simulation.Display().Observer.Place);
    const int count = trace.Count();
    QPolygonF radiation;
    QPolygonF whole;
    radiation.reserve(count);
    whole.reserve(count);
    for (int i = 0; i < count; ++i) {
      const TObserverSample& sample = trace[i];
      const double x = TraceWidth * static_cast<double>(i) / std::max(1, count - 1);
      radiation.append({x, TraceHeight * 0.5 - (sample.Radiation.X * across.X +
                                               sample.Radiation.Y * across.Y)});
      whole.append({x, TraceHeight * 0.5 - (sample.Field.X * across.X + sample.Field.Y * across.Y)});
    }
    Trace.fill(Qt::black);
    QPainter painter(&Trace);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::yellow, 1.0));
    painter.drawPolyline(radiation);
    painter.setPen(QPen(Qt::cyan, 1.0));
    painter.drawPolyline(whole);
  }

  bool Observer;
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Simulation{State, Display};
  QImage Image;
  QImage Trace;
  TPlotMapping Mapping;
  TFftwRealFft Fft;
  TObserverSpectrum Spectrum;
  int Frames = 0;
};

void ObserverFrameRatio(benchmark::State& state) {
  TFrame without(false);
  TFrame with(true);
  AlternateFrames(
      state,
      [&] {
        without.Tick();
        without.Draw();
        benchmark::DoNotOptimize(without.Picture().constBits());
      },
      [&] {
        with.Tick();
        with.Draw();
        benchmark::DoNotOptimize(with.Picture().constBits());
      },
      "with_observer_ms");
}

BENCHMARK(ObserverFrameRatio)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
  TFrameRatioReporter reporter("observer frame ratio", "frame with the observer / without",
                               ObserverLimit);
  return RunFrameRatio(argc, argv, reporter);
}
