// The --render run: model, options and trajectory as the window would set them, the ticks, the
// file.
#include "export/RenderCommand.h"

#include <QDir>
#include <exception>
#include <string>

#include "app/GuardedCall.h"
#include "engine/AnimationStep.h"
#include "engine/ModelLimits.h"
#include "engine/Trajectories.h"
#include "export/PictureFile.h"
#include "export/StopSignals.h"
#include "export/TickVideo.h"
#include "export/VideoRecorder.h"

namespace {

// The state as the window leaves it after choosing the model, the display options and the
// trajectory: nodes sized, path built, reset. Empty on success, else the engine's refusal.
std::string Prepare(const TCommandLine& line, TSimulationState& state) {
  if (line.ISize) state.ISize = *line.ISize;
  if (line.JSize) state.JSize = *line.JSize;
  if (line.WaveFrontSpacing) state.WaveFrontSpacing = *line.WaveFrontSpacing;
  std::string refusal = CheckModelSize(state.ISize, state.JSize, state.WaveFrontSpacing);
  if (!refusal.empty()) return refusal;
  state.ShowFieldLines = line.FieldLines;
  state.ShowWaveFronts = line.WaveFronts;
  state.ShowNodePoints = line.NodePoints;
  state.ShowFieldVectors = line.FieldArrows;
  if (line.Smooth) state.SmoothLines = *line.Smooth;
  state.AspectRatio = static_cast<double>(line.Size.height()) / line.Size.width();

  TFieldSimulation& field = state.FieldSimulation;
  field.InitNodes(state.ISize, state.JSize, ModelWidth);
  state.TrajectoryMode = line.TrajectoryMode;
  if (state.TrajectoryMode != tmMouse) {
    refusal = CheckTrajectory(state.TrajectoryMode, field, field.WaveVelocity);
    if (!refusal.empty()) return refusal;
    BuildTrajectory(state.PathGeneration, state.TrajectoryMode, field, field.WaveVelocity);
  }
  ResetSimulation(state);
  return {};
}

}  // namespace

int RunRenderCommand(const TCommandLine& line, QString& message) {
  if (line.IsVideo()) {
    const QString tooLarge = VideoSizeRefusal(DevicePixelsOf(line.Size, line.PixelRatio));
    if (!tooLarge.isEmpty()) {
      message = QStringLiteral("--size %1x%2 at --scale %3: %4")
                    .arg(line.Size.width())
                    .arg(line.Size.height())
                    .arg(line.PixelRatio)
                    .arg(tooLarge);
      return ExitUsage;
    }
  }
  TSimulationState state;
  const std::string refusal = Prepare(line, state);
  if (!refusal.empty()) {
    message = QString::fromStdString(refusal);
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
      written = RecordTickVideo(line.RenderFile, state, geometry, line.FromTick, line.Ticks,
                                stopRequested);
    } else {
      for (int tick = 0; tick < line.Ticks && !stopRequested(); ++tick) RunTick(state, {});
      if (!stopRequested()) {
        SaveMainPicture(line.RenderFile, state, geometry);
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
        QStringLiteral("Could not write \"%1\": stopped by %2")
            .arg(QDir::toNativeSeparators(line.RenderFile), QLatin1String(StopSignalName(signal)));
    return ExitStopped + signal;
  }
  return ExitSuccess;
}
