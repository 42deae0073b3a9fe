// SPDX-License-Identifier: GPL-3.0-or-later
// The animation's pace while it is recorded: the main window at the large model (400 x 40) on a
// 1280 x 720 plot, the charge dragged round a circle, with and without recording to an MP4 file
// in alternating rounds. The target (at least 0.9 x): the tick rate the window's thread sustains,
// ticks back to back per second of that thread's processor time, which a shared machine's load
// does not blur. Also printed: ticks per second of wall time at the window's own timer, as the
// user sees them, with the encoder's thread competing for the processor. And a 4K video from the
// command line: its time and the peak memory it adds with the encoder's memory bounded, against
// x264's own choice of threads and look-ahead (the bound its test holds is 600 MB).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "app/GuardedCall.h"
#include "bench/FrameSupport.h"
#include "engine/SimulationState.h"
#include "export/VideoRecorder.h"
#include "mainwindow/MainWindow.h"
#include "plot/MainPictureImage.h"
#include "tests/support/PeakMemory.h"

namespace {

constexpr double TargetRatio = 0.9;
constexpr int PacedRounds = 8;
constexpr int PacedRoundMs = 750;
constexpr int UnpacedRounds = 6;
constexpr int UnpacedTicks = 30;

// The window at the large model, running, with the charge dragged round a circle of 0.4 model
// units: a moving charge draws kinked lines, as a recorded lesson would.
class TRecordedWindow {
 public:
  TRecordedWindow() : Form(std::make_unique<TMainForm1>(State)) {
    Form->resize(1280, 720 + Form->height() - Form->Chart1->height());
    Form->show();
    Form->MnuMdlLargeClick();
    Form->CursorSource = [this] {
      const double angle = 0.05 * static_cast<double>(State.FrameIndex);
      return QPoint(Form->Chart1->ValueToPixelX(0.4 * std::cos(angle)),
                    Form->Chart1->ValueToPixelY(0.4 * std::sin(angle)));
    };
    Form->Dragging = true;
    Form->AskRecordingFile = [this] { return Dir.filePath(QStringLiteral("bench.mp4")); };
    Form->ShowRecordingReport = [this](const QString& text) { Report = text; };
    SetErrorPresenter([](const QString& text) {
      std::fprintf(stderr, "error: %s\n", text.toLocal8Bit().constData());
    });
  }
  ~TRecordedWindow() { SetErrorPresenter({}); }

  void SetRecording(bool on) {
    if (Form->Recording() != on) Form->MnuRecordAnimationClick();
  }

  // Ticks per second of the window's own timer over a stretch of ms.
  double PacedRate(int ms) {
    Form->SpeedRunButtonClick();
    const int start = State.FrameIndex;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    const double seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
    Form->MnuPauseClick();
    return static_cast<double>(State.FrameIndex - start) / seconds;
  }

  // Processor seconds of this thread for ticks, each with its complete picture, back to back.
  double TickSeconds(int ticks) {
    const double start = ThreadSeconds();
    for (int i = 0; i < ticks; ++i) {
      Form->Timer1Timer();
      Form->Chart1->FlushRedraw();
    }
    return ThreadSeconds() - start;
  }

  QString Report;

 private:
  TSimulationState State;
  QTemporaryDir Dir;
  std::unique_ptr<TMainForm1> Form;
};

void RecordingRates(benchmark::State& state) {
  for (auto _ : state) {
    TRecordedWindow window;
    double plain = 0.0;
    double recorded = 0.0;
    // Alternating rounds, each kind first in every other one, so that a neighbour's load on the
    // shared machine falls on both.
    for (int round = 0; round < 2 * PacedRounds; ++round) {
      const bool recording = (round % 2 == 0) == (round / 2 % 2 == 0);
      window.SetRecording(recording);
      (recording ? recorded : plain) += window.PacedRate(PacedRoundMs);
    }
    double plainSeconds = 0.0;
    double recordedSeconds = 0.0;
    for (int round = 0; round < UnpacedRounds; ++round) {
      window.SetRecording(false);
      plainSeconds += window.TickSeconds(UnpacedTicks);
      window.SetRecording(true);
      recordedSeconds += window.TickSeconds(UnpacedTicks);
    }
    window.SetRecording(false);
    const double ticks = static_cast<double>(UnpacedRounds * UnpacedTicks);
    const double unpacedPlain = plainSeconds > 0.0 ? ticks / plainSeconds : 0.0;
    const double unpacedRecorded = recordedSeconds > 0.0 ? ticks / recordedSeconds : 0.0;

    state.counters["paced_plain_tps"] = plain / PacedRounds;
    state.counters["paced_recording_tps"] = recorded / PacedRounds;
    state.counters["paced_ratio"] = plain > 0.0 ? recorded / plain : 0.0;
    state.counters["thread_plain_tps"] = unpacedPlain;
    state.counters["thread_recording_tps"] = unpacedRecorded;
    state.counters["thread_ratio"] = unpacedPlain > 0.0 ? unpacedRecorded / unpacedPlain : 0.0;
    if (!window.Report.isEmpty()) {
      std::printf("last recording: %s\n", window.Report.toLocal8Bit().constData());
    }
  }
}

constexpr int CompactFirstTick = 60;
constexpr int CompactLastTick = 100;

// The command line's state for the default circle, reset at tick 0.
void PrepareCircle(TSimulationCommands& simulation) {
  (void)simulation.ChooseModelSize(simulation.ModelSize());
  (void)simulation.ChooseTrajectory(tmCircle, simulation.Trajectory());
}

// Seconds to render and record the ticks into an MP4 file at path, and the peak memory added.
std::pair<double, double> RecordCompact(const QString& path, bool bounded) {
  const QSize size(3840, 2160);
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands simulation(state, display);
  PrepareCircle(simulation);
  ResetPeakResident();
  const long long before = PeakResidentBytes();
  QElapsedTimer clock;
  clock.start();
  {
    TVideoRecorderOptions options;
    options.Live = false;
    options.BoundEncoderMemory = bounded;
    TVideoRecorder recorder(path, size, 60, options);
    for (int tick = 1; tick <= CompactLastTick; ++tick) {
      simulation.RunTick();
      if (tick < CompactFirstTick) continue;
      const QImage picture = RenderMainPicture(state, display, size, 1.0, DefaultMainRange(size));
      while (!recorder.AddFrame(picture)) QThread::msleep(1);
    }
    recorder.Finish();
  }
  return {static_cast<double>(clock.nsecsElapsed()) * 1e-9,
          static_cast<double>(PeakResidentBytes() - before) / (1024.0 * 1024.0)};
}

void CompactRecording(benchmark::State& state) {
  for (auto _ : state) {
    QTemporaryDir dir;
    // Each first in one of two rounds, so that a neighbour's load falls on both.
    double ownSeconds = 0.0, boundSeconds = 0.0, ownPeak = 0.0, boundPeak = 0.0;
    for (int round = 0; round < 2; ++round) {
      for (const bool bounded : {round == 0, round != 0}) {
        const auto [seconds, peak] =
            RecordCompact(dir.filePath(QStringLiteral("compact.mp4")), bounded);
        (bounded ? boundSeconds : ownSeconds) += seconds;
        double& peakOf = bounded ? boundPeak : ownPeak;
        peakOf = std::max(peakOf, peak);
      }
    }
    state.counters["compact_own_s"] = ownSeconds / 2;
    state.counters["compact_bound_s"] = boundSeconds / 2;
    state.counters["compact_own_mb"] = ownPeak;
    state.counters["compact_bound_mb"] = boundPeak;
  }
}

// The console output, then the ratios against the target.
class TRecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      for (const auto& [name, counter] : run.counters) Figures[name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    if (Figures.count("compact_bound_s") != 0) {
      const double own = Figures["compact_own_s"];
      const double ownMb = Figures["compact_own_mb"];
      std::printf(
          "4K command-line MP4 of %d frames, bounded encoder vs x264's own choice: %.1f s vs "
          "%.1f s = %.2f x the time; peak memory added %.0f MB vs %.0f MB = %.2f x (bound 600 MB) "
          "%s\n",
          CompactLastTick - CompactFirstTick + 1, Figures["compact_bound_s"], own,
          own > 0.0 ? Figures["compact_bound_s"] / own : 0.0, Figures["compact_bound_mb"], ownMb,
          ownMb > 0.0 ? Figures["compact_bound_mb"] / ownMb : 0.0,
          Figures["compact_bound_mb"] < 600.0 ? "OK" : "TOO LARGE");
    }
    if (Figures.count("thread_ratio") == 0) return;
    const double ratio = Figures["thread_ratio"];
    std::printf(
        "recording 400x40 at 1280x720, ticks per second of the window's thread: %.1f recorded vs "
        "%.1f plain = %.2f x (target >= %.2f) %s\n",
        Figures["thread_recording_tps"], Figures["thread_plain_tps"], ratio, TargetRatio,
        ratio >= TargetRatio ? "OK" : "TOO SLOW");
    std::printf(
        "recording 400x40 at 1280x720, ticks per second of wall time at the window's "
        "timer: %.1f recorded vs %.1f plain = %.2f x\n",
        Figures["paced_recording_tps"], Figures["paced_plain_tps"], Figures["paced_ratio"]);
  }

 private:
  std::map<std::string, double> Figures;
};

}  // namespace

int main(int argc, char** argv) {
  // The window needs no screen: the offscreen platform unless the caller chose one.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::RegisterBenchmark("Recording/400x40", RecordingRates)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("CompactRecording/3840x2160", CompactRecording)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TRecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
