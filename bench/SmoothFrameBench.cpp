// SPDX-License-Identifier: GPL-3.0-or-later
// Smooth lines and device pixels, frame by frame at 2000 x 200 on a 1920 x 1050 plot (tick plus
// complete redraw, on twin simulations running in step): the aliased frame, the smooth frame, the
// same segments through QPainter with anti-aliasing (as the painter canvas draws them, joined into
// polylines, and one segment at a time), and the aliased frame at device pixel ratio 2
// (3840 x 2100 pixels). Prints the smooth / aliased, QPainter / smooth and ratio-2 / ratio-1
// figures against their targets, QPainter's both ways, and what the canvases alone cost: beside a
// frame whose canvas draws nothing, and with one frame's calls replayed on both canvases.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <array>
#include <cstdio>
#include <string>

#include "bench/FrameSupport.h"

namespace {

constexpr int PlotWidth = 1920;
constexpr int PlotHeight = 1050;
constexpr TModelSizePreset Model{2000, 200, 20};

// The targets.
constexpr double SmoothOverAliasedMax = 1.8;
constexpr double PainterOverSmoothMin = 3.0;
constexpr double DoubleRatioOverSingleMax = 2.5;

enum TKind {
  Aliased,
  Smooth,
  PainterSmooth,
  PainterSegments,
  AliasedAtTwo,
  TickAlone,
  NoCanvas,
  ReplaySmooth,
  ReplayPainter,
  KindCount
};
const char* const KindNames[KindCount] = {
    "aliased", "smooth", "QPainter anti-aliased", "QPainter by segment", "aliased at ratio 2",
    "tick alone", "no canvas", "smooth, replayed", "QPainter, replayed"};

// Frames follow each other in short runs of each kind, the kinds taking turns, so that a change
// of the machine's load weighs on all of them.
constexpr int FramesPerTurn = 2;

struct TFigures {
  std::array<double, KindCount> Ms{};
  bool Valid = false;
};
TFigures Figures;

void SmoothFrames(benchmark::State& state) {
  TMainFrame aliased(Model, PlotWidth, PlotHeight);
  TMainFrame smooth(Model, PlotWidth, PlotHeight);
  TMainFrame painter(Model, PlotWidth, PlotHeight);
  TMainFrame segments(Model, PlotWidth, PlotHeight);
  TMainFrame atTwo(Model, PlotWidth, PlotHeight, 2.0);
  TMainFrame tickAlone(Model, PlotWidth, PlotHeight);
  TMainFrame noCanvas(Model, PlotWidth, PlotHeight);
  // One frame's calls, made again and again on two images of their own: the segments stay the
  // same, so the two canvases are timed on exactly the same work.
  TMainFrame replaySmooth(Model, PlotWidth, PlotHeight);
  TMainFrame replayPainter(Model, PlotWidth, PlotHeight);
  const TCallRecording calls = replaySmooth.Record();
  std::array<double, KindCount> seconds{};
  const auto run = [&](TKind kind, TMainFrame& frame) {
    const bool replay = kind == ReplaySmooth || kind == ReplayPainter;
    const double t0 = ThreadSeconds();
    for (int n = 0; n < FramesPerTurn; ++n) {
      if (!replay) frame.Tick();
      if (kind == PainterSmooth)
        frame.DrawPainter(true);
      else if (kind == PainterSegments)
        frame.DrawPainterSegments(true);
      else if (kind == NoCanvas)
        frame.DrawNowhere();
      else if (kind == ReplaySmooth)
        frame.ReplayRaster(calls);
      else if (kind == ReplayPainter)
        frame.ReplayPainter(calls);
      else if (kind != TickAlone)
        frame.DrawRaster(kind == Smooth);
      benchmark::DoNotOptimize(frame.Picture().constBits());
    }
    seconds[kind] += ThreadSeconds() - t0;
  };
  for (auto _ : state) {
    run(Aliased, aliased);
    run(Smooth, smooth);
    run(PainterSmooth, painter);
    run(PainterSegments, segments);
    run(AliasedAtTwo, atTwo);
    run(TickAlone, tickAlone);
    run(NoCanvas, noCanvas);
    run(ReplaySmooth, replaySmooth);
    run(ReplayPainter, replayPainter);
  }
  const double frames = static_cast<double>(state.iterations()) * FramesPerTurn;
  for (int kind = 0; kind < KindCount; ++kind) {
    Figures.Ms[kind] = 1e3 * seconds[kind] / frames;
    state.counters[std::string(KindNames[kind]) + " ms"] = Figures.Ms[kind];
  }
  Figures.Valid = true;
}

const char* Verdict(bool ok) {
  return ok ? "OK" : "MISSED";
}

}  // namespace

int main(int argc, char** argv) {
  // QPainter on a QImage needs no display; the application only keeps font set-up quiet.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::RegisterBenchmark("SmoothFrame/2000x200", SmoothFrames)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(3.0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!Figures.Valid || Figures.Ms[Aliased] <= 0.0 || Figures.Ms[Smooth] <= 0.0) return 0;
  const auto& ms = Figures.Ms;
  for (int kind = 0; kind < KindCount; ++kind)
    std::printf("%-22s %8.3f ms per frame\n", KindNames[kind], ms[kind]);
  const double smoothRatio = ms[Smooth] / ms[Aliased];
  const double painterRatio = ms[PainterSmooth] / ms[Smooth];
  const double doubleRatio = ms[AliasedAtTwo] / ms[Aliased];
  std::printf("smooth / aliased frame:        %.2f (target <= %.1f) %s\n", smoothRatio,
              SmoothOverAliasedMax, Verdict(smoothRatio <= SmoothOverAliasedMax));
  std::printf("QPainter anti-aliased / smooth: %.2f (target >= %.1f) %s\n", painterRatio,
              PainterOverSmoothMin, Verdict(painterRatio >= PainterOverSmoothMin));
  const double segmentRatio = ms[PainterSegments] / ms[Smooth];
  std::printf("QPainter by segment / smooth:   %.2f (target >= %.1f) %s\n", segmentRatio,
              PainterOverSmoothMin, Verdict(segmentRatio >= PainterOverSmoothMin));
  std::printf("ratio 2 / ratio 1 aliased:     %.2f (target <= %.1f) %s\n", doubleRatio,
              DoubleRatioOverSingleMax, Verdict(doubleRatio <= DoubleRatioOverSingleMax));
  // The drawing alone, the tick taken away from every frame.
  const double tick = ms[TickAlone];
  if (ms[Aliased] > tick && ms[Smooth] > tick && ms[AliasedAtTwo] > tick) {
    std::printf("drawing alone: smooth / aliased %.2f, QPainter / smooth %.2f, ratio 2 / 1 %.2f\n",
                (ms[Smooth] - tick) / (ms[Aliased] - tick),
                (ms[PainterSmooth] - tick) / (ms[Smooth] - tick),
                (ms[AliasedAtTwo] - tick) / (ms[Aliased] - tick));
  }
  // The canvases alone: what each adds to the frame that draws nowhere, which shares the tick
  // and the reading, mapping and cutting of the node table.
  const double shared = ms[NoCanvas];
  if (ms[Smooth] > shared && ms[PainterSmooth] > shared) {
    std::printf("canvases alone: QPainter anti-aliased / smooth %.2f (%.3f ms / %.3f ms)\n",
                (ms[PainterSmooth] - shared) / (ms[Smooth] - shared),
                ms[PainterSmooth] - shared, ms[Smooth] - shared);
  }
  // The same segments replayed: no tick, no node table, only the canvases' drawing.
  const double replayRatio = ms[ReplayPainter] / ms[ReplaySmooth];
  std::printf("same segments replayed, QPainter anti-aliased / smooth: %.2f (%.3f ms / %.3f ms)\n",
              replayRatio, ms[ReplayPainter], ms[ReplaySmooth]);
  return 0;
}
