// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's --scene and --save-scene: a saved scene renders the picture its options render,
// options beside --scene change it, and bad files end the run as the command line's faults do.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "app/CommandLine.h"
#include "export/RenderCommand.h"

namespace {

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int RunLine(const QStringList& arguments, QString& message) {
  TCommandLine line = ParseCommandLine(arguments);
  ReadCommandLineScene(line);
  if (line.Action == TCommandAction::Refuse) {
    message = line.Message;
    return ExitUsage;
  }
  if (line.Options.SavesScene()) return RunSaveSceneCommand(line, message);
  return RunRenderCommand(line, message);
}

const QStringList Picture{"--ticks", "40", "--size", "160x100"};

TEST(SceneCommandLine, ASavedSceneRendersAsItsOptionsDo) {
  QTemporaryDir dir;
  const QString scene = dir.filePath("a.json");
  const QStringList options{"--trajectory", "circle", "--model", "small", "--wavefronts", "--aliased"};
  QString message;
  ASSERT_EQ(RunLine(options + QStringList{"--save-scene", scene}, message), ExitSuccess) << message.toStdString();
  ASSERT_EQ(RunLine(QStringList{"--scene", scene, "--render", dir.filePath("scene.png")} + Picture, message),
            ExitSuccess)
      << message.toStdString();
  ASSERT_EQ(RunLine(options + QStringList{"--render", dir.filePath("options.png")} + Picture, message),
            ExitSuccess);
  const QByteArray picture = Contents(dir.filePath("scene.png"));
  EXPECT_FALSE(picture.isEmpty());
  EXPECT_EQ(picture, Contents(dir.filePath("options.png")));
}

TEST(SceneCommandLine, OptionsBesideASceneChangeOnlyWhatTheyName) {
  QTemporaryDir dir;
  const QString first = dir.filePath("first.json");
  const QString second = dir.filePath("second.json");
  QString message;
  ASSERT_EQ(RunLine({"--trajectory", "circle", "--model", "small", "--wavefronts", "--save-scene", first}, message),
            ExitSuccess);
  ASSERT_EQ(RunLine({"--scene", first, "--trajectory", "line", "--save-scene", second}, message), ExitSuccess);
  const TSceneRead read = ReadScene(Contents(second).toStdString());
  ASSERT_TRUE(read);
  EXPECT_EQ(read.Scene.TrajectoryMode, tmStraightLine);
  EXPECT_EQ(read.Scene.Model, (TModelSize{ModelSizeSmall.ISize, ModelSizeSmall.JSize, ModelSizeSmall.WaveFrontSpacing}));
  EXPECT_TRUE(read.Scene.Display.ShowWaveFronts) << "kept from the scene";
}

TEST(SceneCommandLine, BadFilesEndTheRunWithTheirReason) {
  QTemporaryDir dir;
  const QString bad = dir.filePath("bad.json");
  {
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": "halvoran-scene", "version": 1, "trajectory": {"mode": "line", "LineBeta": 1.2}})");
  }
  struct TRow {
    QStringList Arguments;
    int Status;
    QString Message;
  };
  const TRow rows[] = {
      {{"--scene", bad, "--render", dir.filePath("a.png")}, ExitUsage,
       bad + ": trajectory.LineBeta: The speed must be below the wave speed: at most 0.9999 of it (1.200 was given)."},
      {{"--scene", dir.filePath("none.json"), "--render", dir.filePath("a.png")}, ExitUsage,
       "The scene file \"" + dir.filePath("none.json") + "\" cannot be read: No such file or directory"},
      {{"--save-scene", dir.filePath("no/such/folder.json")}, ExitWriteFailed, ""},
      // A model and path the engine refuses are not saved.
      {{"--model", "5x1", "--trajectory", "dipole", "--save-scene", dir.filePath("b.json")}, ExitUsage, ""},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Arguments.join(' ').toStdString());
    QString message;
    EXPECT_EQ(RunLine(row.Arguments, message), row.Status);
    EXPECT_FALSE(message.isEmpty());
    if (!row.Message.isEmpty()) {
      EXPECT_EQ(message.toStdString(), row.Message.toStdString());
    }
  }
  EXPECT_FALSE(QFile::exists(dir.filePath("a.png")));
  EXPECT_FALSE(QFile::exists(dir.filePath("b.json")));
}

}  // namespace
