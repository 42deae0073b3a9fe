// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's render as a script sees it: frames too large for a video refused as a bad
// command line, the simulation set up as the window's start sets it up, and a render stopped by
// SIGINT or SIGTERM leaving whatever had the file's name.
#include "export/RenderCommand.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "engine/SimulationCommands.h"
#include "export/StopSignals.h"
#include "export/TickVideo.h"

namespace {

TCommandLine RenderLine(const QString& file, QSize size, double ratio, int ticks) {
  TCommandLine line = ParseCommandLine(
      {QStringLiteral("--render"), file, QStringLiteral("--size"),
       QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), QStringLiteral("--scale"),
       QString::number(ratio), QStringLiteral("--ticks"), QString::number(ticks)});
  EXPECT_EQ(line.Action, TCommandAction::Render) << line.Message.toStdString();
  return line;
}

TEST(RenderCommand, AVideoFrameLargerThan4KIsABadCommandLine) {
  const struct {
    const char* File;
    QSize Size;
    double Ratio;
    int Status;
  } rows[] = {
      {"huge.webm", {8192, 8192}, 1.0, ExitUsage},
      {"huge.mp4", {2000, 2000}, 2.0, ExitUsage},    // 4000 x 4000 device pixels
      {"tall.gif", {1080, 1920}, 2.0, ExitSuccess},  // 4K on its side
  };
  QTemporaryDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.File);
    const QString path = dir.filePath(QLatin1String(row.File));
    QString message;
    EXPECT_EQ(RunRenderCommand(RenderLine(path, row.Size, row.Ratio, 1), message), row.Status)
        << message.toStdString();
    EXPECT_EQ(QFile::exists(path), row.Status == ExitSuccess);
    if (row.Status == ExitUsage) {
      EXPECT_TRUE(message.startsWith(QStringLiteral("--size"))) << message.toStdString();
      EXPECT_TRUE(message.contains(QStringLiteral("3840 x 2160"))) << message.toStdString();
      EXPECT_FALSE(message.contains(QLatin1Char('\n')));
    }
  }
}

// The window's start and the render set the simulation up alike: the model, every display
// switch and the trajectory with its default parameters, and the engine's refusal of a model and
// a path that do not go together.
TEST(RenderCommand, TheCommandLineIsAppliedThroughTheSimulationsCommands) {
  struct TRow {
    QStringList Arguments;
    TModelSize Model;
    int Mode;
    TDisplaySettings Display;
    TRefusalCode Refusal;
  };
  TDisplaySettings allOn;
  allOn.ShowWaveFronts = allOn.ShowNodePoints = allOn.ShowFieldVectors = true;
  allOn.ShowFieldLines = allOn.SmoothLines = false;
  const TRow rows[] = {
      {{}, TModelSize{}, tmMouse, TDisplaySettings{}, TRefusalCode::None},
      {{"--model", "large", "--trajectory", "undulator", "--wavefronts", "--nodes", "--arrows",
        "--no-field-lines", "--aliased"},
       {ModelSizeLarge.ISize, ModelSizeLarge.JSize, ModelSizeLarge.WaveFrontSpacing},
       tmUndulator, allOn, TRefusalCode::None},
      {{"--model", "300x30", "--trajectory", "circle", "--smooth"}, {300, 30, 5}, tmCircle,
       TDisplaySettings{}, TRefusalCode::None},
      // Five rows: the dipole's swing is crossed in less than two ticks.
      {{"--model", "5x1", "--trajectory", "dipole"}, {5, 1, 5}, tmMouse, TDisplaySettings{},
       TRefusalCode::PathTooShort},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Arguments.join(' ').toStdString());
    const TCommandLine line = ParseCommandLine(row.Arguments);
    ASSERT_EQ(line.Action, TCommandAction::Start) << line.Message.toStdString();
    TSimulationState state;
    TDisplaySettings display;
    TSimulationCommands simulation(state, display);
    EXPECT_EQ(ApplyCommandLine(line, simulation).Code, row.Refusal);
    EXPECT_EQ(simulation.ModelSize(), row.Model);
    EXPECT_EQ(state.TrajectoryMode, row.Mode);
    EXPECT_EQ(simulation.Trajectory(), TTrajectoryParameters{});
    EXPECT_EQ(display.ShowWaveFronts, row.Display.ShowWaveFronts);
    EXPECT_EQ(display.ShowNodePoints, row.Display.ShowNodePoints);
    EXPECT_EQ(display.ShowFieldVectors, row.Display.ShowFieldVectors);
    EXPECT_EQ(display.ShowFieldLines, row.Display.ShowFieldLines);
    EXPECT_EQ(display.SmoothLines, row.Display.SmoothLines);
  }
}

// A stop asked for after a few ticks: the video is abandoned, and the file of its name stays.
TEST(RenderCommand, AStoppedVideoLeavesTheFileOfItsName) {
  for (const char* name : {"film.mp4", "film.webm", "film.gif"}) {
    SCOPED_TRACE(name);
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(name));
    {
      QFile earlier(path);
      ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
      earlier.write("earlier");
    }
    TSimulationState state;
    TDisplaySettings display;
    TSimulationCommands simulation(state, display);
    ASSERT_FALSE(simulation.Start());
    TPictureGeometry geometry;
    geometry.LogicalSize = QSize(160, 90);
    geometry.Range = DefaultMainRange(geometry.LogicalSize);
    int asked = 0;
    EXPECT_FALSE(RecordTickVideo(path, simulation, geometry, 0, 200, [&] { return ++asked > 20; }));
    EXPECT_EQ(asked, 21);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QLatin1String(name)});
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), QByteArray("earlier"));
  }
}

TEST(StopSignals, TheFirstSignalIsNotedAndTheOldHandlersComeBack) {
  static int oldHandlerCalls = 0;
  const auto oldInterrupt = std::signal(SIGINT, [](int) { ++oldHandlerCalls; });
  const auto oldTerminate = std::signal(SIGTERM, [](int) { ++oldHandlerCalls; });
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(StopSignalName(signal));
    {
      const TStopSignals stop;
      EXPECT_EQ(stop.Received(), 0);
      std::raise(signal);
      EXPECT_EQ(stop.Received(), signal);
      EXPECT_EQ(oldHandlerCalls, 0);
    }
    std::raise(signal);
    EXPECT_EQ(oldHandlerCalls, 1);
    oldHandlerCalls = 0;
  }
  std::signal(SIGINT, oldInterrupt);
  std::signal(SIGTERM, oldTerminate);
}

}  // namespace
