// SPDX-License-Identifier: GPL-3.0-or-later
// The --render run: model, options and trajectory as the window would set them, the ticks, the
// file.
#include "export/RenderCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <exception>
#include <string>

#include "app/FileWriting.h"
#include "app/GuardedCall.h"
#include "app/RefusalText.h"
#include "engine/SimulationCommands.h"
#include "export/PictureFile.h"
#include "export/StopSignals.h"
#include "export/TickVideo.h"
#include "export/VideoRecorder.h"
#include "scene/SceneCommands.h"
#include "scene/SceneJson.h"

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
  const auto stopRequested = [&stopSignals] { return stopSignals.Received() != 0; };
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
  const QByteArray bytes = QByteArray::fromStdString(WriteScene(scene));
  const QString& path = line.SaveSceneFile;
  const auto failed = [&](const QString& reason) {
    message = RefusalText(Refused(TRefusalCode::SceneNotWritten,
                                  {TRefusalValue::OfText(QDir::toNativeSeparators(path).toStdString()),
                                   TRefusalValue::OfText(reason.toStdString())}));
    return ExitWriteFailed;
  };
  // A device or a pipe is written into; any other name keeps what it holds until the scene is
  // complete.
  QSaveFile whole(path);
  QFile direct(path);
  const bool device = IsDeviceOrPipe(path);
  QFileDevice& file = device ? static_cast<QFileDevice&>(direct) : whole;
  if (!file.open(QIODevice::WriteOnly)) return failed(file.errorString());
  if (!WriteWhole(file, bytes) || !file.flush()) {
    const QString reason = file.errorString();
    whole.cancelWriting();
    return failed(reason);
  }
  if (!device && !whole.commit()) return failed(whole.errorString());
  return ExitSuccess;
}
