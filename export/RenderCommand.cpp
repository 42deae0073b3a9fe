// SPDX-License-Identifier: GPL-3.0-or-later
// The --render run: model, options and trajectory as the window would set them, the ticks, the
// file.
#include "export/RenderCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <exception>
#include <optional>
#include <string>

#include "app/FileWriting.h"
#include "app/GuardedCall.h"
#include "app/RefusalText.h"
#include "engine/ObserverCsv.h"
#include "engine/ObserverFrequencies.h"
#include "engine/SimulationCommands.h"
#include "export/PictureFile.h"
#include "export/StopSignals.h"
#include "export/TickVideo.h"
#include "export/VideoRecorder.h"
#include "fft/FftwRealFft.h"
#include "scene/SceneCommands.h"
#include "scene/SceneJson.h"

namespace {

// bytes written whole to path, or nothing of them under its name: a plain file is written beside
// it and renamed into place when complete, a device or a pipe written into. False with the
// system's reason in reason.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString& reason) {
  QSaveFile whole(path);
  QFile direct(path);
  const bool device = IsDeviceOrPipe(path);
  QFileDevice& file = device ? static_cast<QFileDevice&>(direct) : whole;
  if (!file.open(QIODevice::WriteOnly)) {
    reason = file.errorString();
    return false;
  }
  if (!WriteWhole(file, bytes) || !file.flush()) {
    reason = file.errorString();
    whole.cancelWriting();
    return false;
  }
  if (!device && !whole.commit()) {
    reason = whole.errorString();
    return false;
  }
  return true;
}

// The eye's files of a render: what it received over the ticks --from .. --ticks, and the
// spectrum of that. The trace starts afresh at --from, long enough for the spectrum's ticks; its
// rows are taken as the ticks run, so that a run longer than a trace holds loses none.
class TEyeFiles {
 public:
  TEyeFiles(const TCommandLine& line, TSimulationState& state, const TDisplaySettings& display)
      : Options(line.Options), State(state), Display(display), FromTick(line.FromTick),
        TraceTicks(std::clamp(line.Ticks - line.FromTick, ObserverTraceTicksMin,
                              ObserverTraceTicksMax)) {}

  // Between two ticks, after the one and before the next (and once after the last).
  void Poll() {
    if (!Rows && State.TicksSinceReset == FromTick) {
      State.ObserverTrace.Clear(TraceTicks);
      State.ObserverTrace.SampleStart(State.FieldSimulation, State.ISize, Place(),
                                      State.TicksSinceReset);
      Rows.emplace(static_cast<double>(FromTick));
    }
    if (Rows) Rows->Take(State.ObserverTrace);
  }

  // Each file asked for, after the picture or the video: ExitSuccess, or ExitWriteFailed with
  // the reason of every file that could not be written in message.
  int Write(QString& message) {
    QStringList failures;
    const auto write = [&](const std::string& file, const std::string& text) {
      if (file.empty()) return;
      const QString path = QString::fromStdString(file);
      QString reason;
      if (WriteWholeFile(path, QByteArray::fromStdString(text), reason)) return;
      failures << RefusalText(Refused(
          TRefusalCode::CsvNotWritten,
          {TRefusalValue::OfText(QDir::toNativeSeparators(path).toStdString()),
           TRefusalValue::OfText(reason.toStdString())}));
    };
    const std::string none = ObserverTraceCsvHeader;
    write(Options.ObserverCsvFile, Rows ? Rows->Text() : none);
    if (!Options.SpectrumCsvFile.empty()) {
      TFftwRealFft fft;
      write(Options.SpectrumCsvFile,
            ObserverSpectrumCsv(SpectrumOf(State.ObserverTrace, State, Place(), fft)));
    }
    if (failures.isEmpty()) return ExitSuccess;
    message = failures.join(QStringLiteral("; "));
    return ExitWriteFailed;
  }

 private:
  TVector2 Place() const { return Display.Observer.Place; }

  const TCommandOptions& Options;
  TSimulationState& State;
  const TDisplaySettings& Display;
  const int FromTick;
  const int TraceTicks;
  std::optional<TObserverTraceRows> Rows;
};

}  // namespace

TScene CommandLineScene(const TCommandLine& line, const TSimulationCommands& simulation) {
  const TCommandOptions& o = line.Options;
  // Without a scene every option holds its value, given or not, as it always has.
  const bool every = !line.Scene;
  TScene scene = line.Scene ? *line.Scene : SceneOf(simulation, std::nullopt, true, {}, {});
  if (every) scene.Trajectory = TTrajectoryParameters{};
  if (line.ISize) scene.Model.ISize = *line.ISize;
  if (line.JSize) scene.Model.JSize = *line.JSize;
  if (line.WaveFrontSpacing) scene.Model.WaveFrontSpacing = *line.WaveFrontSpacing;
  if (every || o.Gave("--trajectory")) scene.TrajectoryMode = line.TrajectoryMode;
  if (every || o.Gave("--no-field-lines")) scene.Display.ShowFieldLines = line.FieldLines;
  if (every || o.Gave("--wavefronts")) scene.Display.ShowWaveFronts = line.WaveFronts;
  if (every || o.Gave("--nodes")) scene.Display.ShowNodePoints = line.NodePoints;
  if (every || o.Gave("--arrows")) scene.Display.ShowFieldVectors = line.FieldArrows;
  if (line.Smooth) scene.Display.SmoothLines = *line.Smooth;
  if (line.Caption) scene.Display.ShowCaption = *line.Caption;
  if (o.Observer) {
    scene.Display.Observer.Shown = true;
    scene.Display.Observer.Place = *o.Observer;
  }
  return scene;
}

TRefusal ApplyCommandLine(const TCommandLine& line, TSimulationCommands& simulation) {
  if (line.Scene) {
    if (TRefusal refusal = ApplyScene(CommandLineScene(line, simulation), simulation)) return refusal;
    if (!line.Theme) return {};
    TDisplaySettings display = simulation.Display();
    display.Theme = *line.Theme;
    return simulation.SetDisplay(display);
  }
  TModelSize size = simulation.ModelSize();
  if (line.ISize) size.ISize = *line.ISize;
  if (line.JSize) size.JSize = *line.JSize;
  if (line.WaveFrontSpacing) size.WaveFrontSpacing = *line.WaveFrontSpacing;
  if (TRefusal refusal = simulation.ChooseModelSize(size)) return refusal;
  TDisplaySettings display = simulation.Display();
  display.ShowFieldLines = line.FieldLines;
  display.ShowWaveFronts = line.WaveFronts;
  display.ShowNodePoints = line.NodePoints;
  display.ShowFieldVectors = line.FieldArrows;
  if (line.Smooth) display.SmoothLines = *line.Smooth;
  if (line.Caption) display.ShowCaption = *line.Caption;
  if (line.Theme) display.Theme = *line.Theme;
  if (line.Options.Observer) {
    display.Observer.Shown = true;
    display.Observer.Place = *line.Options.Observer;
  }
  if (TRefusal refusal = simulation.SetDisplay(display)) return refusal;
  return simulation.ChooseTrajectory(line.TrajectoryMode, TTrajectoryParameters{});
}

int RunRenderCommand(const TCommandLine& line, QString& message) {
  if (line.IsVideo()) {
    const QString tooLarge = VideoSizeRefusal(DevicePixelsOf(line.Size, line.PixelRatio));
    if (!tooLarge.isEmpty()) {
      message = QCoreApplication::translate("Messages", "--size %1x%2 at --scale %3: %4")
                    .arg(line.Size.width())
                    .arg(line.Size.height())
                    .arg(line.PixelRatio)
                    .arg(tooLarge);
      return ExitUsage;
    }
  }
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands simulation(state, display);
  if (TRefusal refusal = ApplyCommandLine(line, simulation)) {
    message = RefusalText(refusal);
    return ExitUsage;
  }
  TPictureGeometry geometry;
  geometry.LogicalSize = line.Size;
  geometry.PixelRatio = line.PixelRatio;
  geometry.Range = DefaultMainRange(line.Size);
  if (line.Scene && line.Scene->View) {
    const TSceneView& view = *line.Scene->View;
    geometry.Range.Horizontal = {false, view.XMin, view.XMax};
    geometry.Range.Vertical = {false, view.YMin, view.YMax};
  }
  // Caught for the whole run, so that Ctrl+C or a kill stops it between ticks and the file is
  // abandoned unwritten, rather than killing it half way through the video.
  const TStopSignals stopSignals;
  std::optional<TEyeFiles> eyeFiles;
  if (line.Options.WritesObserverFiles()) eyeFiles.emplace(line, state, display);
  // Asked between every two ticks, by the video as by the picture: the eye's rows are taken then.
  const auto stopRequested = [&stopSignals, &eyeFiles] {
    if (eyeFiles) eyeFiles->Poll();
    return stopSignals.Received() != 0;
  };
  bool written = false;
  try {
    if (line.IsVideo()) {
      written = RecordTickVideo(line.RenderFile, simulation, geometry, line.FromTick, line.Ticks,
                                stopRequested);
    } else {
      for (int tick = 0; tick < line.Ticks && !stopRequested(); ++tick) simulation.RunTick();
      if (!stopRequested()) {
        SaveMainPicture(line.RenderFile, state, display, geometry);
        written = true;
      }
    }
  } catch (const std::exception& error) {
    message = QString::fromStdString(error.what());
    return ExitWriteFailed;
  }
  if (!written) {
    const int signal = stopSignals.Received();
    message =
        QCoreApplication::translate("Messages", "Could not write \"%1\": stopped by %2")
            .arg(QDir::toNativeSeparators(line.RenderFile), QLatin1String(StopSignalName(signal)));
    return ExitStopped + signal;
  }
  if (eyeFiles) return eyeFiles->Write(message);
  return ExitSuccess;
}

int RunSaveSceneCommand(const TCommandLine& line, QString& message) {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands simulation(state, display);
  if (TRefusal refusal = simulation.Start()) {
    message = RefusalText(refusal);
    return ExitUsage;
  }
  TScene scene = CommandLineScene(line, simulation);
  // Checked as the window and the render would apply it: a file that they would refuse is not
  // written.
  if (TRefusal refusal = ApplyScene(scene, simulation)) {
    message = RefusalText(refusal);
    return ExitUsage;
  }
  const QString& path = line.SaveSceneFile;
  QString reason;
  if (WriteWholeFile(path, QByteArray::fromStdString(WriteScene(scene)), reason)) return ExitSuccess;
  message = RefusalText(Refused(TRefusalCode::SceneNotWritten,
                                {TRefusalValue::OfText(QDir::toNativeSeparators(path).toStdString()),
                                 TRefusalValue::OfText(reason.toStdString())}));
  return ExitWriteFailed;
}
