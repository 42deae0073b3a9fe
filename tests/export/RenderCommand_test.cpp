// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's render as a script sees it: frames too large for a video refused as a bad
// command line, the simulation set up as the window's start sets it up, and a render stopped by
// SIGINT or SIGTERM leaving whatever had the file's name.
#include "export/RenderCommand.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
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

QStringList CsvLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
  return lines;
}

int RunLine(const QStringList& arguments, QString& message) {
  const TCommandLine line = ParseCommandLine(arguments);
  EXPECT_EQ(line.Action, TCommandAction::Render) << line.Message.toStdString();
  return RunRenderCommand(line, message);
}

const QStringList EyeOnCircle{"--trajectory", "circle", "--model", "small", "--observer", "0.9,0",
                              "--size", "160x90"};

// The eye's files beside a picture: the trace's rows over --from .. --ticks only, in eighths of a
// tick, and the spectrum of those ticks with the circle's harmonics.
TEST(RenderCommand, TheEyesFilesCoverTheTicksFromTo) {
  QTemporaryDir dir;
  const QString trace = dir.filePath("trace.csv");
  const QString spectrum = dir.filePath("spectrum.csv");
  QString message;
  ASSERT_EQ(RunLine(EyeOnCircle + QStringList{"--render", dir.filePath("a.png"), "--observer-csv", trace,
                                          "--spectrum-csv", spectrum, "--from", "100", "--ticks", "300"},
                message),
            ExitSuccess)
      << message.toStdString();
  EXPECT_TRUE(QFile::exists(dir.filePath("a.png")));
  const QStringList rows = CsvLines(trace);
  ASSERT_GT(rows.size(), 1000);
  EXPECT_EQ(rows[0], QStringLiteral("tick,charge_x,charge_y,ex,ey,ex_rad,ey_rad"));
  double last = -1.0;
  for (qsizetype i = 1; i < rows.size(); ++i) {
    const QStringList fields = rows[i].split(QLatin1Char(','));
    ASSERT_EQ(fields.size(), 7) << rows[i].toStdString();
    const double tick = fields[0].toDouble();
    EXPECT_GE(tick, 100.0);
    EXPECT_LE(tick, 300.0);
    EXPECT_GT(tick, last) << "each sample once, in order";
    EXPECT_EQ(tick * ObserverSubTicks, std::round(tick * ObserverSubTicks));
    last = tick;
  }
  EXPECT_EQ(last, 300.0);
  const QStringList bins = CsvLines(spectrum);
  ASSERT_GT(bins.size(), 100);
  EXPECT_EQ(bins[0], QStringLiteral("frequency,harmonic,power"));
  double strongest = 0.0;
  for (qsizetype i = 1; i < bins.size(); ++i) {
    const QStringList fields = bins[i].split(QLatin1Char(','));
    ASSERT_EQ(fields.size(), 3);
    EXPECT_FALSE(fields[1].isEmpty()) << "the circle has a fundamental";
    strongest = std::max(strongest, fields[2].toDouble());
  }
  EXPECT_EQ(strongest, 1.0);
  // Up to the sampling's Nyquist frequency, 4 cycles a tick.
  EXPECT_DOUBLE_EQ(bins.back().split(QLatin1Char(','))[0].toDouble(), ObserverSubTicks / 2.0);
}

// A video's ticks give the rows a picture's give, and a run longer than the trace holds keeps
// every row.
TEST(RenderCommand, TheEyesRowsAreGatheredAsTheTicksRun) {
  QTemporaryDir dir;
  QString message;
  const QStringList ticks{"--from", "90", "--ticks", "130"};
  ASSERT_EQ(RunLine(EyeOnCircle + ticks + QStringList{"--render", dir.filePath("a.png"), "--observer-csv",
                                                  dir.filePath("picture.csv")},
                message),
            ExitSuccess)
      << message.toStdString();
  ASSERT_EQ(RunLine(EyeOnCircle + ticks + QStringList{"--render", dir.filePath("a.gif"), "--observer-csv",
                                                  dir.filePath("video.csv")},
                message),
            ExitSuccess)
      << message.toStdString();
  const QStringList picture = CsvLines(dir.filePath("picture.csv"));
  EXPECT_GT(picture.size(), 100);
  EXPECT_EQ(CsvLines(dir.filePath("video.csv")), picture);

  constexpr int Ticks = ObserverTraceTicksMax + 600;
  ASSERT_EQ(RunLine(EyeOnCircle + QStringList{"--render", dir.filePath("long.png"), "--ticks",
                                          QString::number(Ticks), "--observer-csv", dir.filePath("long.csv")},
                message),
            ExitSuccess)
      << message.toStdString();
  const QStringList rows = CsvLines(dir.filePath("long.csv"));
  ASSERT_GT(rows.size(), 2);
  EXPECT_LT(rows[1].split(QLatin1Char(','))[0].toDouble(), 200.0) << "the first ticks kept";
  EXPECT_EQ(rows.back().split(QLatin1Char(','))[0].toDouble(), Ticks);
  // Once received, the small model's light keeps arriving: every sample after the first.
  const double first = rows[1].split(QLatin1Char(','))[0].toDouble();
  EXPECT_EQ(rows.size() - 1, std::lround((Ticks - first) * ObserverSubTicks) + 1);
}

// A file that cannot be written is told by its name, the others and the picture are written all
// the same, and nothing half-written is left.
TEST(RenderCommand, AnEyesFileThatCannotBeWrittenIsTold) {
  QTemporaryDir dir;
  const QString missing = dir.filePath("no-such-folder/trace.csv");
  const QString spectrum = dir.filePath("spectrum.csv");
  QString message;
  EXPECT_EQ(RunLine(EyeOnCircle + QStringList{"--render", dir.filePath("a.png"), "--ticks", "20",
                                          "--observer-csv", missing, "--spectrum-csv", spectrum},
                message),
            ExitWriteFailed);
  EXPECT_TRUE(message.contains(QStringLiteral("CSV"))) << message.toStdString();
  EXPECT_TRUE(message.contains(QDir::toNativeSeparators(missing))) << message.toStdString();
  EXPECT_FALSE(message.contains(QStringLiteral("spectrum.csv"))) << message.toStdString();
  EXPECT_TRUE(QFile::exists(dir.filePath("a.png")));
  EXPECT_EQ(CsvLines(spectrum).value(0), QStringLiteral("frequency,harmonic,power"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{"a.png", "spectrum.csv"}));
}

// --observer alone shows the eye, where the window and the render start, at its place.
TEST(RenderCommand, TheObserverOptionShowsTheEye) {
  for (const bool withScene : {false, true}) {
    SCOPED_TRACE(withScene);
    QTemporaryDir dir;
    QStringList arguments{"--observer", "-0.5,0.25"};
    if (withScene) {
      TScene scene;
      scene.TrajectoryMode = tmCircle;
      QFile file(dir.filePath("s.json"));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(QByteArray::fromStdString(WriteScene(scene)));
      file.close();
      arguments << "--scene" << dir.filePath("s.json");
    }
    TCommandLine line = ParseCommandLine(arguments);
    ReadCommandLineScene(line);
    ASSERT_EQ(line.Action, TCommandAction::Start) << line.Message.toStdString();
    TSimulationState state;
    TDisplaySettings display;
    TSimulationCommands simulation(state, display);
    ASSERT_FALSE(simulation.Start());
    ASSERT_FALSE(ApplyCommandLine(line, simulation));
    EXPECT_TRUE(display.Observer.Shown);
    EXPECT_EQ(display.Observer.Place.X, -0.5);
    EXPECT_EQ(display.Observer.Place.Y, 0.25);
    EXPECT_TRUE(CommandLineScene(line, simulation).Display.Observer == display.Observer);
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
