// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's side of the command line: the core's values in Qt's types, the arguments handed
// over as UTF-8, and the refusals worded in one line in either language. The parser's own checks
// are tested in tests/options.
#include <gtest/gtest.h>

#include <QStringList>

#include "app/CommandLine.h"
#include "app/Language.h"
#include "engine/SimulationState.h"

namespace {

TCommandLine Parse(const char* line) {
  return ParseCommandLine(QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

TEST(CommandLine, TheCoresValuesInQtsTypes) {
  const TCommandLine line = Parse(
      "--render film.WebM --trajectory circle --ticks 120 --from 20 --size 640x360 --scale 1.5 "
      "--model 300x30 --wavefronts --nodes --arrows --no-field-lines --aliased --language en");
  ASSERT_EQ(line.Action, TCommandAction::Render) << line.Message.toStdString();
  EXPECT_EQ(line.RenderFile, "film.WebM");
  EXPECT_EQ(line.Output, TOutputKind::WebM);
  EXPECT_TRUE(line.IsVideo());
  EXPECT_EQ(line.TrajectoryMode, tmCircle);
  EXPECT_EQ(line.Ticks, 120);
  EXPECT_EQ(line.FromTick, 20);
  EXPECT_EQ(line.Size, QSize(640, 360));
  EXPECT_EQ(line.PixelRatio, 1.5);
  EXPECT_EQ(line.ISize, 300);
  EXPECT_EQ(line.JSize, 30);
  EXPECT_FALSE(line.WaveFrontSpacing.has_value());
  EXPECT_TRUE(line.WaveFronts && line.NodePoints && line.FieldArrows);
  EXPECT_FALSE(line.FieldLines);
  EXPECT_EQ(line.Smooth, false);
  EXPECT_EQ(line.Language, "en");
  EXPECT_TRUE(line.Message.isEmpty());

  // The window's start: the render's defaults in the plain fields, what was given in Options.
  const TCommandLine start = Parse("--wavefronts --ticks 40");
  ASSERT_EQ(start.Action, TCommandAction::Start) << start.Message.toStdString();
  EXPECT_EQ(start.Options.Mode, TOptionsMode::Animation);
  EXPECT_TRUE(start.WaveFronts);
  EXPECT_EQ(start.Ticks, 40);
  EXPECT_EQ(start.Options.Ticks, 40);
  EXPECT_EQ(start.Size, QSize(1280, 720));
  EXPECT_FALSE(start.Options.Size.has_value());
  EXPECT_TRUE(ParseCommandLine({}).Language.isEmpty());
}

// A file name or a value beyond ASCII reaches the core and comes back as typed.
TEST(CommandLine, ArgumentsAreHandedOverAsUtf8) {
  const QString file = QString::fromUtf8("図/電場 ①.png");
  const TCommandLine line = ParseCommandLine({QStringLiteral("--render"), file});
  ASSERT_EQ(line.Action, TCommandAction::Render) << line.Message.toStdString();
  EXPECT_EQ(line.RenderFile, file);
  const TCommandLine refused =
      ParseCommandLine({QStringLiteral("--trajectory"), QString::fromUtf8("円")});
  EXPECT_EQ(refused.Message,
            QString::fromUtf8("--trajectory: '円' is not "
                              "mouse|line|dipole|circle|undulator|racetrack|bending"));
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_EQ(Parse("--help").Action, TCommandAction::Help);
  EXPECT_EQ(Parse("--version").Action, TCommandAction::Version);
  EXPECT_FALSE(ProgramVersion().isEmpty());
  const QString usage = CommandLineUsage(QStringLiteral("halvoran-radiation"));
  for (const char* option : {"--render", "--trajectory", "--ticks", "--from", "--size", "--scale",
                             "--model", "--wavefronts", "--nodes", "--arrows", "--no-field-lines",
                             "--smooth", "--aliased", "--language", "--help", "--version",
                             "mouse|line|dipole", "small|medium|large", "100000", "8192"}) {
    EXPECT_TRUE(usage.contains(QLatin1String(option))) << option;
  }
}

// A refusal in one line in each language, the option and the text as typed, a model's refusal
// after the option it came from.
TEST(CommandLine, RefusalsAreWordedInTheLanguageInstalled) {
  struct TRow {
    const char* Line;
    const char* English;
    const char* Japanese;
  };
  const TRow rows[] = {
      {"--bogus", "unknown option '--bogus'", "'--bogus' というオプションはありません"},
      {"--render a.png --ticks %1", "--ticks: '%1' is not a whole number",
       "--ticks: '%1' は整数ではありません"},
      {"--render a.png --scale 9", "--scale: 9 is outside 1 .. 4",
       "--scale: 9 は 1 から 4 までの範囲の外です"},
      {"--render .png", "--render: '.png' has no file name before its suffix",
       "--render: '.png' には拡張子の前にファイル名がありません"},
      {"--ticks 5 --ticks 6", "--ticks is given twice", "--ticks が二度指定されています"},
      {"--smooth --aliased", "--smooth and --aliased exclude each other",
       "--smooth と --aliased は一緒に指定できません"},
      {"--from 2", "--from needs --render FILE", "--from は --render FILE と一緒にしか使えません"},
      {"--model 0x40",
       "--model: The number of field points per field line must be at least 2 (0 was given).",
       "--model: 電気力線 1 本あたりの点の数は 2 以上でなければなりません（0 が与えられました）。"},
      {"--render a.png --size 8192x8192 --scale 2",
       "--size 8192x8192 at --scale 2 needs more than 8192 x 8192 device pixels",
       "--scale 2 での --size 8192x8192 には 8192 × 8192 を超えるデバイスピクセルが要ります"},
  };
  TTranslations translations;
  for (const TLanguage language : {TLanguage::English, TLanguage::Japanese}) {
    translations.Install(language);
    for (const TRow& row : rows) {
      const TCommandLine line = Parse(row.Line);
      ASSERT_EQ(line.Action, TCommandAction::Refuse) << row.Line;
      const char* expected = language == TLanguage::English ? row.English : row.Japanese;
      EXPECT_EQ(line.Message, QString::fromUtf8(expected)) << row.Line;
      // Worded again from the core's values, as the program does once its catalogue is in.
      EXPECT_EQ(CommandLineRefusalText(line.Options), line.Message) << row.Line;
    }
  }
  translations.Install(TLanguage::English);
}

}  // namespace
