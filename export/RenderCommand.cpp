// SPDX-License-Identifier: GPL-3.0-or-later
// The --render run: model, options and trajectory as the window would set them, the ticks, the
// file.
#include "export/RenderCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <exception>
#include <string>

#include "app/GuardedCall.h"
#include "app/RefusalText.h"
#include "engine/SimulationCommands.h"
#include "export/PictureFile.h"
#include "export/StopSignals.h"
#include "export/TickVideo.h"
#include "export/VideoRecorder.h"

TRefusal ApplyCommandLine(const TCommandLine& line, TSimulationCommands& simulation) {
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
