// SPDX-License-Identifier: GPL-3.0-or-later
// The screen canvas against QPainter: the same short segments (field-line pieces of a few pixels,
// spread over a maximised 1920 x 1050 RGB32 plot), our raster canvas drawing them with MoveTo and
// LineTo as the field drawing does, QPainter with aliased drawPolyline of the same lines.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "canvas/RasterCanvas.h"
#include "plot/ImageBuffer.h"

namespace {

constexpr int ImageWidth = 1920;
constexpr int ImageHeight = 1050;
constexpr int PointsPerLine = 201;  // 200 segments per field line, as in the large model's rows

// Field lines: random walks of short steps (2 to 8 pixels) heading outward from a few centres,
// a few running off the image as the tails do.
std::vector<std::vector<QPoint>> MakeLines(int segments) {
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<std::vector<QPoint>> lines;
  const int lineCount = segments / (PointsPerLine - 1);
  for (int l = 0; l < lineCount; ++l) {
    std::vector<QPoint> line;
    double x = ImageWidth * (0.2 + 0.6 * unit(random));
    double y = ImageHeight * (0.2 + 0.6 * unit(random));
    double heading = 2.0 * M_PI * unit(random);
    for (int p = 0; p < PointsPerLine; ++p) {
      line.emplace_back(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
      heading += 0.3 * (unit(random) - 0.5);
      const double step = 2.0 + 6.0 * unit(random);
      x += step * std::cos(heading);
      y += step * std::sin(heading);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

const std::vector<std::vector<QPoint>>& Lines(int segments) {
  static std::map<int, std::vector<std::vector<QPoint>>> cache;
  auto it = cache.find(segments);
  if (it == cache.end()) it = cache.emplace(segments, MakeLines(segments)).first;
  return it->second;
}

void BM_RasterCanvas(benchmark::State& state) {
  const auto& lines = Lines(static_cast<int>(state.range(0)));
  QImage image(ImageWidth, ImageHeight, QImage::Format_RGB32);
  image.fill(Qt::black);
  for (auto _ : state) {
    TRasterCanvas canvas(PixelBufferOf(image));
    canvas.Pen.Color = ColorRGB(0, 200, 255);
    for (const auto& line : lines) {
      for (std::size_t i = 1; i < line.size(); ++i) {
        canvas.MoveTo(line[i - 1].x(), line[i - 1].y());
        canvas.LineTo(line[i].x(), line[i].y());
      }
    }
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_QPainterPolyline(benchmark::State& state) {
  const auto& lines = Lines(static_cast<int>(state.range(0)));
  QImage image(ImageWidth, ImageHeight, QImage::Format_RGB32);
  image.fill(Qt::black);
  for (auto _ : state) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(0, 200, 255), 1));
    for (const auto& line : lines) painter.drawPolyline(line.data(), static_cast<int>(line.size()));
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_RasterCanvas)->Arg(16000)->Arg(400000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QPainterPolyline)->Arg(16000)->Arg(400000)->Unit(benchmark::kMillisecond);

// Prints, after the usual table, how many times faster the raster canvas is at each size.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        Times[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const char* size : {"16000", "400000"}) {
      const auto raster = Times.find(std::string("BM_RasterCanvas/") + size);
      const auto painter = Times.find(std::string("BM_QPainterPolyline/") + size);
      if (raster == Times.end() || painter == Times.end()) continue;
      const TTimes r = raster->second, p = painter->second;
      if (r.Real <= 0.0 || r.Cpu <= 0.0) continue;
      // The machine may be shared: the CPU-time ratio is the steadier of the two.
      std::printf(
          "%s segments: raster canvas %.3f ms, QPainter %.3f ms (CPU); speed-up %.2f x CPU, "
          "%.2f x wall clock (target >= 3)\n",
          size, r.Cpu, p.Cpu, p.Cpu / r.Cpu, p.Real / r.Real);
    }
  }

 private:
  struct TTimes {
    double Real = 0.0;
    double Cpu = 0.0;
  };
  std::map<std::string, TTimes> Times;
};

}  // namespace

int main(int argc, char** argv) {
  // QPainter on a QImage needs no display; the application only keeps font set-up quiet.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
