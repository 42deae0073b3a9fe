// The command line's render as a script sees it: frames too large for a video refused as a bad
// command line, and a render stopped by SIGINT or SIGTERM leaving whatever had the file's name.
#include "export/RenderCommand.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "engine/AnimationStep.h"
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
    state.FieldSimulation.InitNodes(state.ISize, state.JSize, ModelWidth);
    ResetSimulation(state);
    TPictureGeometry geometry;
    geometry.LogicalSize = QSize(160, 90);
    geometry.Range = DefaultMainRange(geometry.LogicalSize);
    int asked = 0;
    EXPECT_FALSE(RecordTickVideo(path, state, geometry, 0, 200, [&] { return ++asked > 20; }));
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
