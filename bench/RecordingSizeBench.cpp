// SPDX-License-Identifier: GPL-3.0-or-later
// The size of a live recording: the default circle (beta 0.9) at 1920 x 1032, four seconds of
// ticks at 60 a second, recorded with the live H.264 settings of before (ultrafast, CRF 20: the
// baseline) and with today's, in alternating rounds. Printed: the bytes and their ratio (target
// at most 0.2), the SSIM of the decoded luma against the pictures drawn (target at least 0.98),
// the encoder's processor and wall time per picture against the baseline's, and the pictures the
// live recorder drops when they come at the animation's pace.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>
#include <thread>

#include "engine/SimulationCommands.h"
#include "export/FfmpegVideoWriter.h"
#include "export/VideoFormatTraits.h"
#include "export/VideoRecorder.h"
#include "plot/MainPictureImage.h"
#include "tests/export/LumaSimilarity.h"

namespace {

const QSize PictureSize(1920, 1032);
constexpr int Rate = 60;
constexpr int FirstTick = 60;  // the field has filled most of the picture
constexpr int Pictures = 4 * Rate;
constexpr int Rounds = 2;
constexpr double TargetSizeRatio = 0.2;
constexpr double TargetSsim = 0.98;
// The live H.264 settings of before.
const TH264Quality BaselineQuality{"ultrafast", "20", ""};

double Seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// The pictures of the default circle from FirstTick on, one a call.
class TCircleScene {
 public:
  TCircleScene() : Simulation(State, Display) {
    (void)Simulation.ChooseModelSize(Simulation.ModelSize());
    (void)Simulation.ChooseTrajectory(tmCircle, Simulation.Trajectory());
    for (int tick = 0; tick < FirstTick; ++tick) Simulation.RunTick();
  }
  QImage Next() {
    Simulation.RunTick();
    return RenderMainPicture(State, Display, PictureSize, 1.0, DefaultMainRange(PictureSize));
  }

 private:
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Simulation;
};

struct TOutcome {
  double Bytes = 0.0;
  double Ssim = 0.0;
  double CpuPerPicture = 0.0;   // s of the process's processor time, the drawing left out
  double WallPerPicture = 0.0;  // s
};

// Records the scene as the live recorder does (its threads, the picture with a row more) with
// quality, or today's live settings when none; then decodes it and compares it with the scene
// drawn again.
TOutcome Record(const QString& path, const std::optional<TH264Quality>& quality) {
  TVideoWriterSettings settings;
  settings.Path = path;
  settings.Format = TVideoFormat::Mp4;
  settings.CodedSize = CodedPictureSize(TVideoFormat::Mp4, PictureSize);
  settings.FrameRate = Rate;
  settings.Live = true;
  settings.H264 = quality;
  settings.Threads = EncoderThreadsFor(TVideoFormat::Mp4, settings.CodedSize, true, true, 0);
  TOutcome outcome;
  double cpu = 0.0, wall = 0.0;
  {
    TFfmpegVideoWriter writer;
    writer.Open(settings);
    TCircleScene scene;
    QImage slot(settings.CodedSize.width(), settings.CodedSize.height() + 1, QImage::Format_RGB32);
    slot.fill(Qt::black);
    for (int k = 0; k < Pictures; ++k) {
      const QImage picture = scene.Next();
      for (int row = 0; row < picture.height(); ++row)
        std::copy_n(picture.constScanLine(row), picture.bytesPerLine(), slot.scanLine(row));
      const double cpuStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
      const double wallStart = Seconds(CLOCK_MONOTONIC);
      writer.Encode(slot, k);
      cpu += Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
      wall += Seconds(CLOCK_MONOTONIC) - wallStart;
    }
    const double cpuStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    const double wallStart = Seconds(CLOCK_MONOTONIC);
    writer.Finish();
    cpu += Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
    wall += Seconds(CLOCK_MONOTONIC) - wallStart;
  }
  outcome.Bytes = static_cast<double>(QFileInfo(path).size());
  outcome.CpuPerPicture = cpu / Pictures;
  outcome.WallPerPicture = wall / Pictures;

  TCircleScene scene;
  double ssim = 0.0;
  int decoded = 0;
  DecodeLuma(path, [&](int, const uint8_t* luma, int stride, int, int) {
    const std::vector<uint8_t> drawn = StudioLuma(scene.Next());
    ssim += LumaSsim(drawn.data(), PictureSize.width(), luma, stride, PictureSize.width(),
                     PictureSize.height());
    ++decoded;
  });
  outcome.Ssim = decoded == Pictures ? ssim / decoded : 0.0;
  return outcome;
}

// Pictures dropped by the live recorder when the scene is drawn at the animation's pace, one
// picture every 1/Rate s, and handed to it as the window hands its pictures.
long long DroppedAtPace(const QString& path, const std::optional<TH264Quality>& quality) {
  TVideoRecorderOptions options;
  options.H264 = quality;
  TVideoRecorder recorder(path, PictureSize, Rate, options);
  TCircleScene scene;
  const double start = Seconds(CLOCK_MONOTONIC);
  for (int k = 0; k < Pictures; ++k) {
    recorder.AddFrame(scene.Next());
    const double due = start + static_cast<double>(k + 1) / Rate;
    const double wait = due - Seconds(CLOCK_MONOTONIC);
    if (wait > 0.0) std::this_thread::sleep_for(std::chrono::duration<double>(wait));
  }
  return recorder.Finish().FramesDropped;
}

TOutcome Baseline, Today;
long long BaselineDropped = 0, TodayDropped = 0;

void RecordingSize(benchmark::State& state) {
  for (auto _ : state) {
    QTemporaryDir dir;
    Baseline = Today = TOutcome{};
    // Each first in one of the rounds, so that a neighbour's load falls on both.
    for (int round = 0; round < Rounds; ++round) {
      for (const bool today : {round % 2 == 0, round % 2 != 0}) {
        const TOutcome outcome =
            Record(dir.filePath(today ? QStringLiteral("today.mp4") : QStringLiteral("base.mp4")),
                   today ? std::nullopt : std::optional<TH264Quality>(BaselineQuality));
        TOutcome& sum = today ? Today : Baseline;
        sum.Bytes = outcome.Bytes;
        sum.Ssim = outcome.Ssim;
        sum.CpuPerPicture += outcome.CpuPerPicture / Rounds;
        sum.WallPerPicture += outcome.WallPerPicture / Rounds;
      }
    }
    TodayDropped = DroppedAtPace(dir.filePath(QStringLiteral("paced.mp4")), std::nullopt);
    BaselineDropped = DroppedAtPace(dir.filePath(QStringLiteral("paced.mp4")), BaselineQuality);
    state.counters["baseline_bytes"] = Baseline.Bytes;
    state.counters["today_bytes"] = Today.Bytes;
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("RecordingSize/1920x1032", RecordingSize)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (Baseline.Bytes <= 0.0) return 0;
  const double seconds = static_cast<double>(Pictures) / Rate;
  const double sizeRatio = Today.Bytes / Baseline.Bytes;
  std::printf(
      "live MP4 of the circle at 1920x1032, %d pictures at %d a second: %.0f bytes (%.1f Mbit/s) "
      "vs %.0f before (%.1f Mbit/s) = %.3f x the size (target <= %.2f) %s\n",
      Pictures, Rate, Today.Bytes, 8e-6 * Today.Bytes / seconds, Baseline.Bytes,
      8e-6 * Baseline.Bytes / seconds, sizeRatio, TargetSizeRatio,
      sizeRatio <= TargetSizeRatio ? "OK" : "TOO LARGE");
  std::printf("SSIM of luma against the pictures drawn: %.4f vs %.4f before (target >= %.2f) %s\n",
              Today.Ssim, Baseline.Ssim, TargetSsim, Today.Ssim >= TargetSsim ? "OK" : "TOO FAR");
  std::printf(
      "encoding per picture: %.1f ms of processor time vs %.1f = %.2f x; %.1f ms of wall time vs "
      "%.1f = %.2f x (a picture every %.1f ms)\n",
      1e3 * Today.CpuPerPicture, 1e3 * Baseline.CpuPerPicture,
      Today.CpuPerPicture / Baseline.CpuPerPicture, 1e3 * Today.WallPerPicture,
      1e3 * Baseline.WallPerPicture, Today.WallPerPicture / Baseline.WallPerPicture, 1e3 / Rate);
  std::printf(
      "drawn at the animation's pace, the live recorder dropped %lld of %d pictures vs %lld "
      "before\n",
      TodayDropped, Pictures, BaselineDropped);
  return 0;
}
