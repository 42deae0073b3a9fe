// The command-line parser: what each good line asks for, and a one-line reason with the usage
// exit status for every bad one.
#include <gtest/gtest.h>

#include <QStringList>

#include "app/CommandLine.h"
#include "engine/SimulationState.h"

namespace {

TCommandLine Parse(const char* line) {
  return ParseCommandLine(QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

TEST(CommandLine, NoArgumentsOrOnlyALanguageOpenTheWindow) {
  EXPECT_EQ(ParseCommandLine({}).Action, TCommandAction::Start);
  const TCommandLine english = Parse("--language en");
  EXPECT_EQ(english.Action, TCommandAction::Start);
  EXPECT_EQ(english.Language, "en");
  EXPECT_EQ(Parse("--language=ja").Language, "ja");
  EXPECT_TRUE(ParseCommandLine({}).Language.isEmpty());
}

TEST(CommandLine, HelpAndVersionEndAtOnce) {
  EXPECT_EQ(Parse("--help").Action, TCommandAction::Help);
  EXPECT_EQ(Parse("--render a.png --help").Action, TCommandAction::Help);
  EXPECT_EQ(Parse("--version").Action, TCommandAction::Version);
  EXPECT_FALSE(ProgramVersion().isEmpty());
  const QString usage = CommandLineUsage(QStringLiteral("halvoran-radiation"));
  for (const char* option : {"--render", "--trajectory", "--ticks", "--from", "--size", "--scale",
                             "--model", "--wavefronts", "--nodes", "--arrows", "--no-field-lines", "--smooth",
                             "--aliased", "--language", "--help", "--version"}) {
    EXPECT_TRUE(usage.contains(QLatin1String(option))) << option;
  }
}

TEST(CommandLine, RenderDefaults) {
  const TCommandLine line = Parse("--render out.png");
  ASSERT_EQ(line.Action, TCommandAction::Render);
  EXPECT_EQ(line.RenderFile, "out.png");
  EXPECT_EQ(line.Output, TOutputKind::Png);
  EXPECT_EQ(line.TrajectoryMode, tmMouse);
  EXPECT_EQ(line.Ticks, 300);
  EXPECT_EQ(line.FromTick, 0);
  EXPECT_EQ(line.Size, QSize(1280, 720));
  EXPECT_EQ(line.PixelRatio, 1.0);
  EXPECT_FALSE(line.ISize.has_value());
  EXPECT_TRUE(line.FieldLines);
  EXPECT_FALSE(line.WaveFronts);
  EXPECT_FALSE(line.NodePoints);
  EXPECT_FALSE(line.FieldArrows);
  EXPECT_FALSE(line.Smooth.has_value());
}

TEST(CommandLine, EveryRenderOptionIsRead) {
  const TCommandLine line = Parse(
      "--render film.WebM --trajectory undulator --ticks 120 --from 20 --size 640x360 --scale 1.5 "
      "--model large --wavefronts --nodes --arrows --no-field-lines --aliased --language en");
  ASSERT_EQ(line.Action, TCommandAction::Render) << line.Message.toStdString();
  EXPECT_EQ(line.Output, TOutputKind::WebM);
  EXPECT_TRUE(line.IsVideo());
  EXPECT_EQ(line.TrajectoryMode, tmUndulator);
  EXPECT_EQ(line.Ticks, 120);
  EXPECT_EQ(line.FromTick, 20);
  EXPECT_EQ(line.Size, QSize(640, 360));
  EXPECT_EQ(line.PixelRatio, 1.5);
  EXPECT_EQ(line.ISize, ModelSizeLarge.ISize);
  EXPECT_EQ(line.JSize, ModelSizeLarge.JSize);
  EXPECT_EQ(line.WaveFrontSpacing, ModelSizeLarge.WaveFrontSpacing);
  EXPECT_TRUE(line.WaveFronts);
  EXPECT_TRUE(line.NodePoints);
  EXPECT_TRUE(line.FieldArrows);
  EXPECT_FALSE(line.FieldLines);
  EXPECT_EQ(line.Smooth, false);
  EXPECT_EQ(line.Language, "en");

  const TCommandLine custom = Parse("--render=x.svg --model=300x30 --smooth --ticks=0");
  ASSERT_EQ(custom.Action, TCommandAction::Render) << custom.Message.toStdString();
  EXPECT_EQ(custom.Output, TOutputKind::Svg);
  EXPECT_EQ(custom.ISize, 300);
  EXPECT_EQ(custom.JSize, 30);
  EXPECT_FALSE(custom.WaveFrontSpacing.has_value());  // the start-up spacing
  EXPECT_EQ(custom.Smooth, true);
  EXPECT_EQ(custom.Ticks, 0);

  // Two models are refused, not merged: a preset's spacing (20) never stays with 10 rows.
  const TCommandLine later = Parse("--render=x.png --model large --model 10x10");
  EXPECT_EQ(later.Action, TCommandAction::Refuse);
  EXPECT_EQ(later.Message, "--model is given twice");
}

// A custom size takes the start-up spacing, with which it was checked: a preset's spacing of 20
// would not fit 10 rows, and a preset before it is refused rather than left to lend its spacing.
TEST(CommandLine, ACustomModelTakesTheStartUpSpacing) {
  const TCommandLine line = Parse("--render a.png --model 10x40");
  ASSERT_EQ(line.Action, TCommandAction::Render) << line.Message.toStdString();
  EXPECT_EQ(line.ISize, 10);
  EXPECT_EQ(line.JSize, 40);
  EXPECT_FALSE(line.WaveFrontSpacing.has_value());
  EXPECT_EQ(Parse("--render a.png --model large --model 10x40").Action, TCommandAction::Refuse);
}

TEST(CommandLine, NamesAndSuffixes) {
  struct Row {
    const char* line;
    int mode;
    TOutputKind output;
  };
  const Row rows[] = {
      {"--render a.png --trajectory mouse", tmMouse, TOutputKind::Png},
      {"--render a.PNG --trajectory line", tmStraightLine, TOutputKind::Png},
      {"--render a.svg --trajectory dipole", tmDipole, TOutputKind::Svg},
      {"--render a.b.mp4 --trajectory circle", tmCircle, TOutputKind::Mp4},
      {"--render dir/a.gif --trajectory racetrack", tmRaceTrack, TOutputKind::Gif},
      {"--render a.webm --trajectory bending", tmBending, TOutputKind::WebM},
      // The suffix is the file's own: dots in a folder or before the name do not count.
      {"--render ./a.png", tmMouse, TOutputKind::Png},
      {"--render dir.v2/a.svg", tmMouse, TOutputKind::Svg},
      {"--render a..gif", tmMouse, TOutputKind::Gif},
      {"--render .hidden.png", tmMouse, TOutputKind::Png},  // hidden, but named by the user
  };
  for (const Row& row : rows) {
    const TCommandLine line = Parse(row.line);
    ASSERT_EQ(line.Action, TCommandAction::Render) << row.line;
    EXPECT_EQ(line.TrajectoryMode, row.mode) << row.line;
    EXPECT_EQ(line.Output, row.output) << row.line;
  }
}

TEST(CommandLine, BoundsAreInclusive) {
  EXPECT_EQ(Parse("--render a.png --ticks 100000").Ticks, MaxTicks);
  EXPECT_EQ(Parse("--render a.png --size 16x8192").Size, QSize(16, 8192));
  EXPECT_EQ(Parse("--render a.png --scale 4").PixelRatio, 4.0);
  EXPECT_EQ(Parse("--render a.gif --ticks 5 --from 5").FromTick, 5);
}

// Every bad line is refused with a one-line message that names what was wrong.
TEST(CommandLine, BadLinesAreRefusedWithTheirReason) {
  struct Row {
    const char* line;
    const char* named;  // the message holds this
  };
  const Row rows[] = {
      {"--bogus", "--bogus"},
      {"-h", "-h"},
      {"picture.png", "picture.png"},
      {"--render", "needs a value"},
      {"--render a.bmp", "a.bmp"},
      {"--render noSuffix", "noSuffix"},
      {"--render dir.v2/a", "does not end in"},
      {"--render=", "empty"},
      {"--render a.png --trajectory spiral", "spiral"},
      {"--render a.png --ticks -1", "-1"},
      {"--render a.png --ticks 1e3", "1e3"},
      {"--render a.png --ticks 100001", "100001"},
      {"--render a.png --ticks 99999999999", "99999999999 is outside"},
      {"--render a.png --ticks", "needs a value"},
      {"--render a.png --ticks=", "--ticks"},
      {"--render a.png --size 1280", "1280"},
      {"--render a.png --size 15x720", "15"},
      {"--render a.png --size 1280x8193", "8193"},
      {"--render a.png --size -1280x720", "-1280x720"},
      {"--render a.png --scale 0.5", "0.5"},
      {"--render a.png --scale 4.01", "4.01"},
      {"--render a.png --scale nan", "nan"},
      {"--render a.png --scale 1,5", "1,5"},
      {"--render a.png --size 8192x8192 --scale 2", "device pixels"},
      {"--render a.png --model huge", "huge"},
      {"--render a.png --model 1x40", "--model"},
      {"--render a.png --model 2000000x2000", "--model"},
      {"--render a.mp4 --ticks 10 --from 11", "--from 11"},
      {"--render a.png --from 2", "--from"},
      {"--render a.png --smooth --aliased", "--smooth"},
      {"--render a.png --wavefronts=yes", "--wavefronts"},
      {"--arrows", "--render"},
      {"--ticks 10", "--render"},
      {"--language de", "de"},
      {"--language", "needs a value"},
      {"--help=me", "--help"},
  };
  for (const Row& row : rows) {
    const TCommandLine line = Parse(row.line);
    EXPECT_EQ(line.Action, TCommandAction::Refuse) << row.line;
    EXPECT_TRUE(line.Message.contains(QLatin1String(row.named)))
        << row.line << " -> " << line.Message.toStdString();
    EXPECT_FALSE(line.Message.contains(QLatin1Char('\n'))) << row.line;
  }
}

// A second copy of an option would silently replace the first; the user is told which option,
// before its value is read and before anything else about the line.
TEST(CommandLine, AnOptionGivenTwiceIsRefused) {
  struct Row {
    const char* line;
    const char* message;
  };
  const Row rows[] = {
      {"--render a.png --ticks 10 --ticks 20", "--ticks is given twice"},
      {"--render a.png --ticks=10 --ticks 10", "--ticks is given twice"},
      {"--render a.png --ticks 10 --ticks ten", "--ticks is given twice"},
      {"--render a.png --render b.png", "--render is given twice"},
      {"--render a.png --model small --model large", "--model is given twice"},
      {"--render a.png --wavefronts --wavefronts", "--wavefronts is given twice"},
      {"--render a.png --smooth --smooth", "--smooth is given twice"},
      {"--language en --language ja", "--language is given twice"},
      {"--help --help", "--help is given twice"},
      {"--ticks 5 --ticks 5", "--ticks is given twice"},  // before "needs --render"
      // Both line styles at once are as contradictory as one given twice, in either order and
      // whether or not the line renders.
      {"--render a.png --aliased --smooth", "--smooth and --aliased exclude each other"},
      {"--smooth --aliased", "--smooth and --aliased exclude each other"},
      {"--help --smooth --aliased", "--smooth and --aliased exclude each other"},
      // An unknown option is refused as unknown, not as repeated.
      {"--bogus --bogus", "unknown option '--bogus'"},
  };
  for (const Row& row : rows) {
    const TCommandLine line = Parse(row.line);
    EXPECT_EQ(line.Action, TCommandAction::Refuse) << row.line;
    EXPECT_EQ(line.Message, QLatin1String(row.message)) << row.line;
  }
}

// A name that is only a suffix would be written as a hidden file the user does not see.
TEST(CommandLine, AFileNameThatIsOnlyASuffixIsRefused) {
  for (const char* file :
       {".png", ".PNG", "dir/.png", "dir.v2/.svg", "/tmp/.mp4", "..webm", "./.gif"}) {
    const TCommandLine line = ParseCommandLine({QStringLiteral("--render"), QLatin1String(file)});
    EXPECT_EQ(line.Action, TCommandAction::Refuse) << file;
    EXPECT_EQ(line.Message,
              QStringLiteral("--render: '%1' has no file name before its suffix").arg(file))
        << file;
  }
}

// A value that looks like a placeholder stays as typed in the message.
TEST(CommandLine, TheMessageQuotesTheValueAsTyped) {
  const TCommandLine line = Parse("--render a.png --ticks %1");
  ASSERT_EQ(line.Action, TCommandAction::Refuse);
  EXPECT_EQ(line.Message, "--ticks: '%1' is not a whole number");
  EXPECT_EQ(Parse("--render a.png --ticks 100%1").Message,
            "--ticks: '100%1' is not a whole number");
}

}  // namespace
