// SPDX-License-Identifier: GPL-3.0-or-later
// The option parser of every front-end: what each good line asks for in each mode, and for every
// bad one the code and the values its sentence shows, the texts exactly as typed.
#include "options/CommandLineOptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "engine/ModelLimits.h"

namespace {

using C = TRefusalCode;

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> arguments;
  std::istringstream words(line);
  for (std::string word; words >> word;) arguments.push_back(word);
  return arguments;
}

TCommandOptions Parse(const std::string& line) {
  return ParseCommandOptions(Split(line));
}

std::vector<std::string> ValueTexts(const TRefusal& refusal) {
  std::vector<std::string> texts;
  for (const TRefusalValue& v : refusal.Values) texts.push_back(RefusalValueText(v));
  return texts;
}

std::string Described(const TCommandOptions& o) {
  std::string text = RefusalCodeName(o.Refusal.Code);
  for (const std::string& v : ValueTexts(o.Refusal)) text += " [" + v + "]";
  return text;
}

TEST(CommandLineOptions, NoArgumentsStartTheAnimationAsItStarts) {
  const TCommandOptions o = ParseCommandOptions({});
  EXPECT_EQ(o.Action, TCommandAction::Start);
  EXPECT_EQ(o.Mode, TOptionsMode::Animation);
  EXPECT_TRUE(o.Language.empty());
  EXPECT_EQ(o.TrajectoryMode, tmMouse);
  // Nothing given: the window keeps its own start (a full screen, the screen's ratio, running).
  EXPECT_FALSE(o.Ticks.has_value());
  EXPECT_FALSE(o.Size.has_value());
  EXPECT_FALSE(o.PixelRatio.has_value());
  EXPECT_FALSE(o.ISize.has_value());
  EXPECT_FALSE(o.Smooth.has_value());
  EXPECT_TRUE(o.FieldLines);
  EXPECT_FALSE(o.WaveFronts || o.NodePoints || o.FieldArrows);
}

TEST(CommandLineOptions, ARenderTakesTheDefaultsOfWhatIsNotGiven) {
  const TCommandOptions o = Parse("--render out.png");
  ASSERT_EQ(o.Action, TCommandAction::Render) << Described(o);
  EXPECT_EQ(o.Mode, TOptionsMode::Render);
  EXPECT_EQ(o.RenderFile, "out.png");
  EXPECT_EQ(o.Output, TOutputKind::Png);
  EXPECT_EQ(o.TrajectoryMode, tmMouse);
  EXPECT_EQ(o.Ticks, DefaultTicks);
  EXPECT_EQ(o.Ticks, 300);
  EXPECT_EQ(o.FromTick, 0);
  EXPECT_EQ(o.Size, (TPixelSize{1280, 720}));
  EXPECT_EQ(o.PixelRatio, 1.0);
  EXPECT_FALSE(o.ISize.has_value());
  EXPECT_FALSE(o.Smooth.has_value());
  EXPECT_TRUE(o.FieldLines);
}

TEST(CommandLineOptions, EveryOptionIsReadInEitherMode) {
  for (const char* render : {"--render film.WebM ", ""}) {
    SCOPED_TRACE(render);
    const TCommandOptions o = Parse(
        std::string(render) +
        "--trajectory undulator --ticks 120 --size 640x360 --scale 1.5 --model large "
        "--wavefronts --nodes --arrows --no-field-lines --aliased --language en");
    ASSERT_NE(o.Action, TCommandAction::Refuse) << Described(o);
    EXPECT_EQ(o.Mode, *render ? TOptionsMode::Render : TOptionsMode::Animation);
    EXPECT_EQ(o.Action, *render ? TCommandAction::Render : TCommandAction::Start);
    EXPECT_EQ(o.TrajectoryMode, tmUndulator);
    EXPECT_EQ(o.Ticks, 120);
    EXPECT_EQ(o.Size, (TPixelSize{640, 360}));
    EXPECT_EQ(o.PixelRatio, 1.5);
    EXPECT_EQ(o.ISize, ModelSizeLarge.ISize);
    EXPECT_EQ(o.JSize, ModelSizeLarge.JSize);
    EXPECT_EQ(o.WaveFrontSpacing, ModelSizeLarge.WaveFrontSpacing);
    EXPECT_TRUE(o.WaveFronts);
    EXPECT_TRUE(o.NodePoints);
    EXPECT_TRUE(o.FieldArrows);
    EXPECT_FALSE(o.FieldLines);
    EXPECT_EQ(o.Smooth, false);
    EXPECT_EQ(o.Language, "en");
  }
  const TCommandOptions video = Parse("--ticks 50 --from 20 --render=a.gif");
  ASSERT_EQ(video.Action, TCommandAction::Render) << Described(video);
  EXPECT_EQ(video.Output, TOutputKind::Gif);
  EXPECT_TRUE(video.IsVideo());
  EXPECT_EQ(video.FromTick, 20);
  const TCommandOptions attached = Parse("--model=300x30 --smooth --ticks=0 --size=20X30");
  ASSERT_EQ(attached.Action, TCommandAction::Start) << Described(attached);
  EXPECT_EQ(attached.ISize, 300);
  EXPECT_EQ(attached.JSize, 30);
  EXPECT_FALSE(attached.WaveFrontSpacing.has_value());  // the start-up spacing, checked with it
  EXPECT_EQ(attached.Smooth, true);
  EXPECT_EQ(attached.Ticks, 0);
  EXPECT_EQ(attached.Size, (TPixelSize{20, 30}));
}

// The animation takes only what was given; each option alone leaves the rest as it starts.
TEST(CommandLineOptions, TheAnimationTakesEachDisplayOptionAlone) {
  struct TRow {
    const char* Line;
    bool (*Holds)(const TCommandOptions&);
  };
  const TRow rows[] = {
      {"--wavefronts", [](const TCommandOptions& o) { return o.WaveFronts; }},
      {"--nodes", [](const TCommandOptions& o) { return o.NodePoints; }},
      {"--arrows", [](const TCommandOptions& o) { return o.FieldArrows; }},
      {"--no-field-lines", [](const TCommandOptions& o) { return !o.FieldLines; }},
      {"--smooth", [](const TCommandOptions& o) { return o.Smooth == true; }},
      {"--aliased", [](const TCommandOptions& o) { return o.Smooth == false; }},
      {"--trajectory circle", [](const TCommandOptions& o) { return o.TrajectoryMode == tmCircle; }},
      {"--model small", [](const TCommandOptions& o) { return o.ISize == ModelSizeSmall.ISize; }},
      {"--size 300x200", [](const TCommandOptions& o) { return o.Size == TPixelSize{300, 200}; }},
      {"--scale 2", [](const TCommandOptions& o) { return o.PixelRatio == 2.0 && !o.Size; }},
      {"--ticks 40", [](const TCommandOptions& o) { return o.Ticks == 40 && !o.Size; }},
      {"--language ja", [](const TCommandOptions& o) { return o.Language == "ja"; }},
      {"--caption", [](const TCommandOptions& o) { return o.Caption == true && !o.Theme; }},
      {"--no-caption", [](const TCommandOptions& o) { return o.Caption == false; }},
      {"--theme projector", [](const TCommandOptions& o) { return o.Theme == TTheme::Projector && !o.Caption; }},
      {"--theme=dark", [](const TCommandOptions& o) { return o.Theme == TTheme::Dark; }},
  };
  for (const TRow& row : rows) {
    const TCommandOptions o = Parse(row.Line);
    EXPECT_EQ(o.Action, TCommandAction::Start) << row.Line << ": " << Described(o);
    EXPECT_EQ(o.Mode, TOptionsMode::Animation) << row.Line;
    EXPECT_TRUE(row.Holds(o)) << row.Line;
  }
}

TEST(CommandLineOptions, NamesAndSuffixes) {
  struct TRow {
    const char* Line;
    int Mode;
    TOutputKind Output;
  };
  const TRow rows[] = {
      {"--render a.png --trajectory mouse", tmMouse, TOutputKind::Png},
      {"--render a.PNG --trajectory line", tmStraightLine, TOutputKind::Png},
      {"--render a.svg --trajectory dipole", tmDipole, TOutputKind::Svg},
      {"--render a.b.mp4 --trajectory circle", tmCircle, TOutputKind::Mp4},
      {"--render dir/a.gif --trajectory racetrack", tmRaceTrack, TOutputKind::Gif},
      {"--render a.wEbM --trajectory bending", tmBending, TOutputKind::WebM},
      // The suffix is the file's own: dots in a folder or before the name do not count.
      {"--render ./a.png", tmMouse, TOutputKind::Png},
      {"--render dir.v2/a.svg", tmMouse, TOutputKind::Svg},
      {"--render a..gif", tmMouse, TOutputKind::Gif},
      {"--render .hidden.png", tmMouse, TOutputKind::Png},  // hidden, but named by the user
  };
  for (const TRow& row : rows) {
    const TCommandOptions o = Parse(row.Line);
    ASSERT_EQ(o.Action, TCommandAction::Render) << row.Line << ": " << Described(o);
    EXPECT_EQ(o.TrajectoryMode, row.Mode) << row.Line;
    EXPECT_EQ(o.Output, row.Output) << row.Line;
  }
}

// Each bound is taken, the next value beyond it refused with both bounds named.
TEST(CommandLineOptions, BoundsAreInclusive) {
  struct TRow {
    const char* Line;
    bool Taken;
  };
  const TRow rows[] = {
      {"--render a.png --ticks 0", true},
      {"--render a.png --ticks 100000", true},
      {"--render a.png --ticks 100001", false},
      {"--render a.png --size 16x8192", true},
      {"--render a.png --size 8192x16", true},
      {"--render a.png --size 15x720", false},
      {"--render a.png --size 720x8193", false},
      {"--render a.png --scale 1", true},
      {"--render a.png --scale 4.0", true},
      {"--render a.png --scale 0.999", false},
      {"--render a.png --scale 4.001", false},
      {"--render a.gif --ticks 5 --from 5", true},
      {"--render a.gif --ticks 5 --from 6", false},
      // The picture's memory: at most as many device pixels as 8192 x 8192, in either mode.
      {"--render a.png --size 4096x4096 --scale 2", true},
      {"--render a.png --size 4097x4096 --scale 2", false},
      {"--size 8192x8192", true},
      {"--size 8192x8192 --scale 1.01", false},
  };
  for (const TRow& row : rows) {
    const TCommandOptions o = Parse(row.Line);
    EXPECT_EQ(o.Action != TCommandAction::Refuse, row.Taken) << row.Line << ": " << Described(o);
  }
  EXPECT_EQ(Parse("--render a.png --ticks 100000").Ticks, MaxTicks);
  EXPECT_EQ(Parse("--render a.png --scale 4").PixelRatio, MaxPixelRatio);
}

struct TRefusedRow {
  std::vector<std::string> Arguments;
  TRefusalCode Code;
  std::vector<std::string> Values;  // as the sentence shows them
};

void ExpectRefusals(const std::vector<TRefusedRow>& rows) {
  for (const TRefusedRow& row : rows) {
    std::string line;
    for (const std::string& a : row.Arguments) line += "'" + a + "' ";
    SCOPED_TRACE(line);
    const TCommandOptions o = ParseCommandOptions(row.Arguments);
    ASSERT_EQ(o.Action, TCommandAction::Refuse);
    EXPECT_EQ(o.Refusal.Code, row.Code) << Described(o);
    EXPECT_EQ(ValueTexts(o.Refusal), row.Values);
    EXPECT_TRUE(o.RefusedOption.empty()) << o.RefusedOption;
  }
}

// Every refusal of a line, with the option and the text as typed among its values.
TEST(CommandLineOptions, EveryBadLineIsRefusedWithItsCodeAndValues) {
  ExpectRefusals({
      {{"--bogus"}, C::UnknownOption, {"--bogus"}},
      {{"--=x"}, C::UnknownOption, {"--"}},
      {{"-h"}, C::UnexpectedArgument, {"-h"}},
      {{"picture.png"}, C::UnexpectedArgument, {"picture.png"}},
      {{""}, C::UnexpectedArgument, {""}},
      {{"--render"}, C::MissingValue, {"--render"}},
      {{"--render", "a.png", "--ticks"}, C::MissingValue, {"--ticks"}},
      {{"--language"}, C::MissingValue, {"--language"}},
      {{"--help=me"}, C::TakesNoValue, {"--help"}},
      {{"--wavefronts=yes"}, C::TakesNoValue, {"--wavefronts"}},
      {{"--aliased="}, C::TakesNoValue, {"--aliased"}},
      {{"--no-caption=1"}, C::TakesNoValue, {"--no-caption"}},
      {{"--caption", "--no-caption"}, C::ExcludeEachOther, {"--caption", "--no-caption"}},
      {{"--theme", "light"}, C::UnknownTrajectoryName, {"--theme", "light", "dark|projector"}},
      {{"--theme"}, C::MissingValue, {"--theme"}},
      {{"--render", "a.bmp"}, C::BadSuffix, {"--render", "a.bmp"}},
      {{"--render", "noSuffix"}, C::BadSuffix, {"--render", "noSuffix"}},
      {{"--render", "dir.v2/a"}, C::BadSuffix, {"--render", "dir.v2/a"}},
      {{"--render", "a.png/"}, C::BadSuffix, {"--render", "a.png/"}},
      {{"--render="}, C::EmptyFileName, {"--render"}},
      {{"--render", "a.png", "--trajectory", "spiral"}, C::UnknownTrajectoryName, {"--trajectory", "spiral", "mouse|line|dipole|circle|undulator|racetrack|bending"}},
      {{"--trajectory", "Circle"}, C::UnknownTrajectoryName, {"--trajectory", "Circle", "mouse|line|dipole|circle|undulator|racetrack|bending"}},
      {{"--render", "a.png", "--ticks", "-1"}, C::NotAWholeNumber, {"--ticks", "-1"}},
      {{"--render", "a.png", "--ticks", "1e3"}, C::NotAWholeNumber, {"--ticks", "1e3"}},
      {{"--render", "a.png", "--ticks", " 5"}, C::NotAWholeNumber, {"--ticks", " 5"}},
      {{"--render", "a.png", "--ticks="}, C::NotAWholeNumber, {"--ticks", ""}},
      {{"--render", "a.png", "--ticks", "100001"}, C::OutOfRange, {"--ticks", "100001", "0", "100000"}},
      {{"--render", "a.png", "--ticks", "99999999999"}, C::OutOfRange, {"--ticks", "99999999999", "0", "100000"}},
      {{"--render", "a.png", "--ticks", "0000000000001"}, C::OutOfRange, {"--ticks", "0000000000001", "0", "100000"}},
      {{"--render", "a.png", "--size", "1280"}, C::NotAPair, {"--size", "1280"}},
      {{"--render", "a.png", "--size", "-1280x720"}, C::NotAPair, {"--size", "-1280x720"}},
      {{"--render", "a.png", "--size", "10x20x30"}, C::NotAPair, {"--size", "10x20x30"}},
      {{"--render", "a.png", "--size", "x720"}, C::NotAPair, {"--size", "x720"}},
      {{"--render", "a.png", "--size", "15x720"}, C::OutOfRange, {"--size", "15", "16", "8192"}},
      {{"--render", "a.png", "--size", "1280x8193"}, C::OutOfRange, {"--size", "8193", "16", "8192"}},
      {{"--render", "a.png", "--scale", "0.5"}, C::OutOfRange, {"--scale", "0.5", "1", "4"}},
      {{"--render", "a.png", "--scale", "9"}, C::OutOfRange, {"--scale", "9", "1", "4"}},
      {{"--render", "a.png", "--scale", "nan"}, C::NotANumber, {"--scale", "nan"}},
      {{"--render", "a.png", "--scale", "1,5"}, C::NotANumber, {"--scale", "1,5"}},
      {{"--render", "a.png", "--scale", "1."}, C::NotANumber, {"--scale", "1."}},
      {{"--render", "a.png", "--scale", ".5"}, C::NotANumber, {"--scale", ".5"}},
      {{"--render", "a.png", "--scale", "1e0"}, C::NotANumber, {"--scale", "1e0"}},
      {{"--render", "a.png", "--scale", std::string(400, '9')}, C::NotANumber, {"--scale", std::string(400, '9')}},
      {{"--render", "a.png", "--size", "8192x8192", "--scale", "2"}, C::TooManyDevicePixels, {"8192", "8192", "2", "8192", "8192"}},
      {{"--render", "a.png", "--model", "huge"}, C::UnknownModelName, {"--model", "huge", "small|medium|large"}},
      {{"--model", "10x"}, C::UnknownModelName, {"--model", "10x", "small|medium|large"}},
      {{"--model", "1234567890x40"}, C::OutOfRange, {"--model", "1234567890", "0", "999999999"}},
      {{"--render", "a.mp4", "--ticks", "10", "--from", "11"}, C::FromAfterTicks, {"11", "10"}},
      {{"--render", "a.mp4", "--from", "301"}, C::FromAfterTicks, {"301", "300"}},
      {{"--render", "a.png", "--from", "2"}, C::OnlyForVideos, {"--from"}},
      {{"--render", "a.png", "--smooth", "--aliased"}, C::ExcludeEachOther, {"--smooth", "--aliased"}},
      {{"--aliased", "--smooth"}, C::ExcludeEachOther, {"--smooth", "--aliased"}},
      {{"--help", "--smooth", "--aliased"}, C::ExcludeEachOther, {"--smooth", "--aliased"}},
      {{"--from", "5"}, C::NeedsRender, {"--from"}},
      {{"--ticks", "10", "--from", "5"}, C::NeedsRender, {"--from"}},
      {{"--language", "de"}, C::UnknownLanguage, {"--language", "de"}},
      {{"--language", "EN"}, C::UnknownLanguage, {"--language", "EN"}},
      {{"--scene="}, C::EmptyFileName, {"--scene"}},
      {{"--save-scene"}, C::MissingValue, {"--save-scene"}},
      {{"--render", "a.png", "--save-scene", "a.json"}, C::ExcludeEachOther, {"--render", "--save-scene"}},
      {{"--save-scene", "a.json", "--from", "1"}, C::NeedsRender, {"--from"}},
      {Split("--scene a.json --scene b.json"), C::GivenTwice, {"--scene"}},
  });
}

// The eye: its place read as X,Y in either mode, its files only beside a render that shows it,
// and --from beside a picture only for them.
TEST(CommandLineOptions, TheObserverAndItsFiles) {
  struct TRow {
    const char* Line;
    TCommandAction Action;
    double X, Y;
    const char* TraceFile;
    const char* SpectrumFile;
    int From;
  };
  const TRow rows[] = {
      {"--observer 0.9,0", TCommandAction::Start, 0.9, 0.0, "", "", 0},
      {"--observer=-0.5,-1.25 --render a.png", TCommandAction::Render, -0.5, -1.25, "", "", 0},
      {"--observer 10,-10 --render a.mp4", TCommandAction::Render, 10.0, -10.0, "", "", 0},
      {"--render a.png --observer 1,2 --observer-csv t.csv --spectrum-csv s.csv --from 10 --ticks 20",
       TCommandAction::Render, 1.0, 2.0, "t.csv", "s.csv", 10},
      {"--render a.svg --observer 0,0.3 --spectrum-csv=s.csv --from 300", TCommandAction::Render,
       0.0, 0.3, "", "s.csv", 300},
      // The spectrum's ticks fill one trace; the trace's rows have no such bound.
      {"--render a.png --observer 0,0 --spectrum-csv s.csv --ticks 5000 --from 904",
       TCommandAction::Render, 0.0, 0.0, "", "s.csv", 904},
      {"--render a.png --observer 0,0 --observer-csv t.csv --ticks 100000",
       TCommandAction::Render, 0.0, 0.0, "t.csv", "", 0},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Line);
    const TCommandOptions o = Parse(row.Line);
    ASSERT_EQ(o.Action, row.Action) << Described(o);
    ASSERT_TRUE(o.Observer.has_value());
    EXPECT_EQ(o.Observer->X, row.X);
    EXPECT_EQ(o.Observer->Y, row.Y);
    EXPECT_EQ(o.ObserverCsvFile, row.TraceFile);
    EXPECT_EQ(o.SpectrumCsvFile, row.SpectrumFile);
    EXPECT_EQ(o.FromTick, row.From);
    EXPECT_EQ(o.WritesObserverFiles(), *row.TraceFile || *row.SpectrumFile);
    EXPECT_TRUE(o.Gave("--observer"));
  }
  EXPECT_FALSE(Parse("--render a.png").Observer.has_value());

  ExpectRefusals({
      {{"--observer", "0.9"}, C::NotAPoint, {"--observer", "0.9"}},
      {{"--observer", "0.9;0"}, C::NotAPoint, {"--observer", "0.9;0"}},
      {{"--observer", "1,2,3"}, C::NotAPoint, {"--observer", "1,2,3"}},
      {{"--observer", "+1,0"}, C::NotAPoint, {"--observer", "+1,0"}},
      {{"--observer", "--1,0"}, C::NotAPoint, {"--observer", "--1,0"}},
      {{"--observer", "1e1,0"}, C::NotAPoint, {"--observer", "1e1,0"}},
      {{"--observer", "0,.5"}, C::NotAPoint, {"--observer", "0,.5"}},
      {{"--observer", "0,-"}, C::NotAPoint, {"--observer", "0,-"}},
      {{"--observer", "0,1,5"}, C::NotAPoint, {"--observer", "0,1,5"}},
      {{"--observer="}, C::NotAPoint, {"--observer", ""}},
      {{"--observer"}, C::MissingValue, {"--observer"}},
      {Split("--observer 0,0 --observer 1,1"), C::GivenTwice, {"--observer"}},
      {{"--observer-csv="}, C::EmptyFileName, {"--observer-csv"}},
      {{"--observer-csv", "t.csv"}, C::NeedsObserver, {"--observer-csv"}},
      {{"--render", "a.png", "--spectrum-csv", "s.csv"}, C::NeedsObserver, {"--spectrum-csv"}},
      {{"--observer", "0,0", "--observer-csv", "t.csv"}, C::NeedsRender, {"--observer-csv"}},
      {{"--observer", "0,0", "--spectrum-csv", "s.csv", "--save-scene", "a.json"}, C::NeedsRender, {"--spectrum-csv"}},
      {{"--render", "a.png", "--observer", "0,0", "--from", "2"}, C::OnlyForVideos, {"--from"}},
      {{"--render", "a.png", "--observer", "0,0", "--observer-csv", "t.csv", "--from", "301"}, C::FromAfterTicks, {"301", "300"}},
  });

  // The place is checked as the display's commands check it, and refused in their words.
  for (const char* place : {"10.000001,0", "-10.5,3", "0,11"}) {
    SCOPED_TRACE(place);
    const TCommandOptions o = Parse(std::string("--observer ") + place);
    ASSERT_EQ(o.Action, TCommandAction::Refuse);
    EXPECT_EQ(o.Refusal.Code, C::ObserverPlaceRange) << Described(o);
    EXPECT_EQ(o.RefusedOption, "--observer");
    TObserverSettings observer;
    ASSERT_EQ(std::sscanf(place, "%lf,%lf", &observer.Place.X, &observer.Place.Y), 2);
    EXPECT_EQ(ValueTexts(o.Refusal), ValueTexts(CheckObserver(observer)));
  }
  const TCommandOptions tooLong =
      Parse("--render a.png --observer 0,0 --spectrum-csv s.csv --ticks 5000 --from 903");
  ASSERT_EQ(tooLong.Action, TCommandAction::Refuse);
  EXPECT_EQ(tooLong.Refusal.Code, C::ObserverTraceTicksRange) << Described(tooLong);
  EXPECT_EQ(tooLong.RefusedOption, "--spectrum-csv");
  EXPECT_EQ(ValueTexts(tooLong.Refusal), (std::vector<std::string>{"0", "4096", "4097"}));
}

// The parser only names the scene files; the options given beside --scene are listed so that
// only they change it.
TEST(CommandLineOptions, SceneFilesAreNamedAndTheOptionsGivenListed) {
  struct TRow {
    std::string Line;
    TCommandAction Action;
    std::string Scene;
    std::string Save;
    std::vector<std::string> Given;
  };
  const TRow rows[] = {
      {"--scene lesson.json", TCommandAction::Start, "lesson.json", "", {"--scene"}},
      {"--scene=a.json --render b.png", TCommandAction::Render, "a.json", "", {"--scene", "--render"}},
      {"--trajectory circle --save-scene out.json", TCommandAction::Start, "", "out.json",
       {"--trajectory", "--save-scene"}},
      {"--save-scene=out --scene in --wavefronts", TCommandAction::Start, "in", "out",
       {"--save-scene", "--scene", "--wavefronts"}},
      {"--help --save-scene out.json", TCommandAction::Help, "", "out.json", {"--help", "--save-scene"}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Line);
    const TCommandOptions o = Parse(row.Line);
    EXPECT_EQ(o.Action, row.Action) << Described(o);
    EXPECT_EQ(o.SceneFile, row.Scene);
    EXPECT_EQ(o.SaveSceneFile, row.Save);
    EXPECT_EQ(o.GivenOptions, row.Given);
    EXPECT_EQ(o.SavesScene(), !row.Save.empty());
  }
  EXPECT_TRUE(Parse("--scene a --nodes").Gave("--nodes"));
  EXPECT_FALSE(Parse("--scene a --nodes").Gave("--wavefronts"));
}

// A second copy of an option would silently replace the first; the user is told which option,
// before its value is read and before anything else about the line.
TEST(CommandLineOptions, AnOptionGivenTwiceIsRefused) {
  ExpectRefusals({
      {Split("--render a.png --ticks 10 --ticks 20"), C::GivenTwice, {"--ticks"}},
      {Split("--render a.png --ticks=10 --ticks 10"), C::GivenTwice, {"--ticks"}},
      {Split("--render a.png --ticks 10 --ticks ten"), C::GivenTwice, {"--ticks"}},
      {Split("--render a.png --render b.png"), C::GivenTwice, {"--render"}},
      // Two models are refused, not merged: a preset's spacing (20) never stays with 10 rows.
      {Split("--render a.png --model large --model 10x10"), C::GivenTwice, {"--model"}},
      {Split("--wavefronts --wavefronts"), C::GivenTwice, {"--wavefronts"}},
      {Split("--smooth --smooth"), C::GivenTwice, {"--smooth"}},
      {Split("--language en --language ja"), C::GivenTwice, {"--language"}},
      {Split("--help --help"), C::GivenTwice, {"--help"}},
      {Split("--ticks 5 --ticks 5"), C::GivenTwice, {"--ticks"}},
      // An unknown option is refused as unknown, not as repeated.
      {Split("--bogus --bogus"), C::UnknownOption, {"--bogus"}},
  });
}

// A name that is only a suffix would be written as a hidden file the user does not see.
TEST(CommandLineOptions, AFileNameThatIsOnlyASuffixIsRefused) {
  for (const char* file : {".png", ".PNG", "dir/.png", "dir.v2/.svg", "/tmp/.mp4", "..webm", "./.gif"})
    ExpectRefusals({{{"--render", file}, C::OnlySuffix, {"--render", file}}});
}

// A model the engine refuses is its own refusal, with the option it came from beside it.
TEST(CommandLineOptions, AModelTheEngineRefusesKeepsItsOwnRefusal) {
  struct TRow {
    const char* Model;
    TRefusalCode Code;
  };
  const TRow rows[] = {{"1x40", C::TooFewRows},
                       {"200x0", C::TooFewLines},
                       {"4x40", C::RowsBelowWaveFrontSpacing},
                       {"2000000x2000", C::ModelTooLarge}};
  for (const TRow& row : rows) {
    for (const char* render : {"--render a.png ", ""}) {
      const TCommandOptions o = Parse(std::string(render) + "--model " + row.Model);
      ASSERT_EQ(o.Action, TCommandAction::Refuse) << row.Model;
      EXPECT_EQ(o.Refusal.Code, row.Code) << row.Model << ": " << Described(o);
      EXPECT_EQ(o.RefusedOption, "--model") << row.Model;
      // The same refusal as the engine gives, with the start-up spacing.
      int iSize = 0;
      int jSize = 0;
      ASSERT_EQ(std::sscanf(row.Model, "%dx%d", &iSize, &jSize), 2);
      EXPECT_EQ(ValueTexts(o.Refusal),
                ValueTexts(CheckModelSize(iSize, jSize, TSimulationState{}.WaveFrontSpacing)));
    }
  }
  // A custom size takes the start-up spacing, with which it was checked.
  const TCommandOptions custom = Parse("--render a.png --model 10x40");
  ASSERT_EQ(custom.Action, TCommandAction::Render) << Described(custom);
  EXPECT_EQ(custom.ISize, 10);
  EXPECT_FALSE(custom.WaveFrontSpacing.has_value());
}

// Nothing of a refused line is taken, not even what came before the fault; a text that looks
// like a place holder stays as typed.
TEST(CommandLineOptions, ARefusedLineTakesNothingAndQuotesAsTyped) {
  const TCommandOptions o = Parse("--language en --wavefronts --ticks %1");
  ASSERT_EQ(o.Action, TCommandAction::Refuse);
  EXPECT_EQ(ValueTexts(o.Refusal), (std::vector<std::string>{"--ticks", "%1"}));
  EXPECT_TRUE(o.Language.empty());
  EXPECT_FALSE(o.WaveFronts);
  EXPECT_EQ(o.Refusal.Parameter, TParameter::None);
}

TEST(CommandLineOptions, HelpAndVersionWinOverTheRest) {
  EXPECT_EQ(Parse("--help").Action, TCommandAction::Help);
  EXPECT_EQ(Parse("--render a.png --help").Action, TCommandAction::Help);
  EXPECT_EQ(Parse("--version --help").Action, TCommandAction::Help);
  EXPECT_EQ(Parse("--version").Action, TCommandAction::Version);
  // Read to the end all the same: a fault after them is refused.
  EXPECT_EQ(Parse("--help --bogus").Action, TCommandAction::Refuse);
  // Checks of the whole line come after them.
  EXPECT_EQ(Parse("--help --from 5").Action, TCommandAction::Help);
  EXPECT_EQ(TrajectoryNames(), "mouse|line|dipole|circle|undulator|racetrack|bending");
  EXPECT_EQ(ModelNames(), "small|medium|large");
}

}  // namespace
