// SPDX-License-Identifier: GPL-3.0-or-later
// The scene file: what is written reads back as the same scene, and every kind of damage is
// refused with its code and the key at fault.
#include <gtest/gtest.h>

#include <string>

#include "scene/SceneJson.h"

namespace {

std::string Minimal(const std::string& more = "", const std::string& mode = "line") {
  return R"({"format": "halvoran-scene", "version": 1, "trajectory": {"mode": ")" + mode +
         "\"}" + more + "}";
}

// A scene of every kind of value, away from the defaults.
TScene Unusual() {
  TScene scene;
  scene.TrajectoryMode = tmUndulator;
  scene.Trajectory.UndBeta = 0.9;
  scene.Trajectory.UndPeriods = 3;
  scene.Trajectory.LineStartX = 1.0 / 3.0;
  scene.Model = {100, 20, 10};
  scene.Display.ShowWaveFronts = true;
  scene.Display.SmoothLines = false;
  scene.Display.PlotResolution = 37;
  scene.Display.Zoom = {1e-300, ztInitialVelocity};
  scene.Display.ShowCaption = false;
  scene.Display.ScaleUnit = {10, TLengthUnit::Kilometre};
  scene.Display.Observer = {true, {-0.25, 1.0 / 3.0}, 2048, true};
  scene.Physics.ThomasPrecession = false;
  scene.SpeedPosition = 3;
  scene.View = TSceneView{-0.1, 0.9999, -1.0 / 3.0, 0.5};
  scene.Running = false;
  scene.Title = "Undulator \"light\"";
  scene.Notes = "Line one.\n\nLine two: λu, β, γ.";
  scene.Translations = {{"ja", "アンジュレータ", "周期 λu。"}};
  return scene;
}

TEST(SceneJson, WhatIsWrittenReadsBackAsTheSameSceneAndTheSameText) {
  TScene everyMode[] = {TScene{}, Unusual(), Unusual(), Unusual(), Unusual(), Unusual(), Unusual()};
  const int modes[] = {tmMouse, tmUndulator, tmStraightLine, tmDipole, tmCircle, tmRaceTrack, tmBending};
  for (int k = 0; k < 7; ++k) {
    TScene& scene = everyMode[k];
    scene.TrajectoryMode = modes[k];
    SCOPED_TRACE(SceneTrajectoryName(scene.TrajectoryMode));
    const std::string text = WriteScene(scene);
    const TSceneRead read = ReadScene(text);
    ASSERT_TRUE(read) << RefusalCodeName(read.Refusal.Refusal.Code) << " " << read.Refusal.Path;
    EXPECT_TRUE(read.Scene == scene);
    EXPECT_EQ(WriteScene(read.Scene), text);
  }
}

TEST(SceneJson, DoublesReadBackBitForBit) {
  for (const double v : {0.1, 1.0 / 3.0, 1e-300, 0.9999, -0.5, 123456789.123456789, 5e-324}) {
    TScene scene;
    scene.Trajectory.LineStartX = v;
    const TSceneRead read = ReadScene(WriteScene(scene));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.Scene.Trajectory.LineStartX, v) << v;
  }
}

TEST(SceneJson, TheFileIsIndentedOrderedAndEndsInANewline) {
  const std::string text = WriteScene(TScene{});
  EXPECT_EQ(text.rfind("{\n  \"format\": \"halvoran-scene\",\n  \"version\": 1,\n", 0), 0u) << text;
  EXPECT_EQ(text.back(), '\n');
  EXPECT_LT(text.find("\"trajectory\""), text.find("\"model\""));
  EXPECT_LT(text.find("\"display\""), text.find("\"animation\""));
  EXPECT_EQ(text.find("\"view\""), std::string::npos) << "no view range: the start-up one";
  EXPECT_NE(text.find("\"ZoomTracking\": \"motion\""), std::string::npos);
}

TEST(SceneJson, LeftOutKeysHaveTheirStartUpValues) {
  const TSceneRead read = ReadScene(Minimal());
  ASSERT_TRUE(read);
  TScene expected;
  expected.TrajectoryMode = tmStraightLine;
  EXPECT_TRUE(read.Scene == expected);
}

// A scene written before the eye was kept leaves it as the program starts: not shown.
TEST(SceneJson, TheEyeIsReadFromTheDisplayAndHiddenWhereLeftOut) {
  const TSceneRead old = ReadScene(Minimal(R"(, "display": {"ShowCaption": false})"));
  ASSERT_TRUE(old);
  EXPECT_TRUE(old.Scene.Display.Observer == TObserverSettings{});
  EXPECT_FALSE(old.Scene.Display.Observer.Shown);
  const TSceneRead read = ReadScene(Minimal(
      R"(, "display": {"ObserverShown": true, "ObserverX": 0.9, "ObserverY": -10, "ObserverTraceTicks": 64, "ObserverLogPower": true})"));
  ASSERT_TRUE(read) << RefusalCodeName(read.Refusal.Refusal.Code) << " " << read.Refusal.Path;
  EXPECT_TRUE(read.Scene.Display.Observer == (TObserverSettings{true, {0.9, -10.0}, 64, true}));
  const std::string text = WriteScene(read.Scene);
  EXPECT_LT(text.find("\"PlotWidthUnit\""), text.find("\"ObserverShown\""));
  EXPECT_LT(text.find("\"ObserverShown\""), text.find("\"ObserverX\""));
  EXPECT_LT(text.find("\"ObserverY\""), text.find("\"ObserverTraceTicks\""));
  EXPECT_LT(text.find("\"ObserverTraceTicks\""), text.find("\"ObserverLogPower\""));
  EXPECT_LT(text.find("\"ObserverLogPower\""), text.find("\"physics\""));
}

TEST(SceneJson, AByteOrderMarkIsTaken) {
  EXPECT_TRUE(ReadScene("\xEF\xBB\xBF" + Minimal()));
}

struct TDamaged {
  const char* Name;
  std::string Text;
  TRefusalCode Code;
  std::string Path;
  TRefusalCode Cause = TRefusalCode::None;
};

TEST(SceneJson, EveryDamageIsRefusedWithItsCodeAndKey) {
  using C = TRefusalCode;
  const std::string deep = R"({"format": "halvoran-scene", "version": 1, "trajectory": {"mode": "line"}, "translations": {"ja": {"title": [[]]}}})";
  const TDamaged table[] = {
      {"huge", std::string(MaxSceneBytes + 1, ' '), C::SceneTooLarge, ""},
      {"binary", std::string("{\"format\": \"\xFF\xFE\"}"), C::SceneNotUtf8, ""},
      {"overlong UTF-8", "{\"title\": \"\xC0\xAF\"}", C::SceneNotUtf8, ""},
      {"truncated", Minimal().substr(0, 40), C::SceneNotJson, ""},
      {"empty", "", C::SceneNotJson, ""},
      {"trailing comma", R"({"format": "halvoran-scene",})", C::SceneNotJson, ""},
      {"deeply nested", std::string(100000, '[') + std::string(100000, ']'), C::SceneTooDeep, ""},
      {"nested one level too deep", deep, C::SceneTooDeep, ""},
      {"an array", "[]", C::SceneNotAScene, ""},
      {"another format", R"({"format": "halvoran-plot", "version": 1})", C::SceneNotAScene, "format"},
      {"no format", R"({"version": 1})", C::SceneMissingKey, "format"},
      {"no version", R"({"format": "halvoran-scene"})", C::SceneMissingKey, "version"},
      {"version 0", R"({"format": "halvoran-scene", "version": 0})", C::SceneNotAScene, "version"},
      {"newer, with new keys", R"({"format": "halvoran-scene", "version": 2, "observer": {}})",
       C::SceneNewerVersion, "version"},
      {"version as text", R"({"format": "halvoran-scene", "version": "1"})", C::SceneWrongType, "version"},
      {"no trajectory", R"({"format": "halvoran-scene", "version": 1})", C::SceneMissingKey, "trajectory.mode"},
      {"no mode", R"({"format": "halvoran-scene", "version": 1, "trajectory": {}})", C::SceneMissingKey,
       "trajectory.mode"},
      {"unknown mode", Minimal("", "spiral"), C::SceneValueRefused, "trajectory.mode", C::UnknownTrajectory},
      {"unknown key", Minimal(R"(, "colour": 3)"), C::SceneUnknownKey, "colour"},
      {"unknown key in a section", Minimal(R"(, "model": {"KSize": 3})"), C::SceneUnknownKey, "model.KSize"},
      {"key twice", Minimal(R"(, "title": "a", "title": "b")"), C::SceneKeyTwice, "title"},
      {"key twice in a section", Minimal(R"(, "physics": {"ThomasPrecession": true, "ThomasPrecession": false})"),
       C::SceneKeyTwice, "physics.ThomasPrecession"},
      {"number as text", Minimal(R"(, "model": {"ISize": "100"})"), C::SceneWrongType, "model.ISize"},
      {"fraction for a count", Minimal(R"(, "model": {"ISize": 100.5})"), C::SceneWrongType, "model.ISize"},
      {"number for a switch", Minimal(R"(, "display": {"ShowWaveFronts": 1})"), C::SceneWrongType,
       "display.ShowWaveFronts"},
      {"section not an object", Minimal(R"(, "physics": true)"), C::SceneWrongType, "physics"},
      {"title not a text", Minimal(R"(, "title": null)"), C::SceneWrongType, "title"},
      {"bad language", Minimal(R"(, "translations": {"JA": {}})"), C::SceneUnknownKey, "translations.JA"},
      {"unknown key in a translation", Minimal(R"(, "translations": {"ja": {"text": ""}})"), C::SceneUnknownKey,
       "translations.ja.text"},
      {"view without a bound", Minimal(R"(, "view": {"XMin": -1, "XMax": 1, "YMin": -1})"),
       C::SceneMissingKey, "view.YMax"},
      {"empty view", Minimal(R"(, "view": {"XMin": 1, "XMax": 1, "YMin": -1, "YMax": 1})"),
       C::SceneViewEmpty, "view.XMax"},
      {"number too large for a double", Minimal(R"(, "view": {"XMin": 1e400})"), C::SceneNotJson, ""},
      // The commands' own checks, with the key they are about.
      {"section twice", Minimal(R"(, "model": {}, "trajectory": {"mode": "line", "LineBeta": 1.2})"),
       C::SceneKeyTwice, "trajectory"},
      {"too fast", R"({"format": "halvoran-scene", "version": 1, "trajectory": {"mode": "line", "LineBeta": 1.2}})",
       C::SceneValueRefused, "trajectory.LineBeta", C::SpeedTooHigh},
      {"equal ends", R"({"format": "halvoran-scene", "version": 1, "trajectory": {"mode": "line", "LineStopX": -0.5}})",
       C::SceneValueRefused, "trajectory.LineStopX", C::PositionsEqual},
      {"bend too far", R"({"format": "halvoran-scene", "version": 1, "trajectory": {"mode": "bending", "BendAngle": 270}})",
       C::SceneValueRefused, "trajectory.BendAngle", C::BendingAngleRange},
      {"no periods", R"({"format": "halvoran-scene", "version": 1, "trajectory": {"mode": "undulator", "UndPeriods": 0}})",
       C::SceneValueRefused, "trajectory.UndPeriods", C::TooFewPeriods},
      {"one row", Minimal(R"(, "model": {"ISize": 1})"), C::SceneValueRefused, "model.ISize", C::TooFewRows},
      {"rows beyond an int", Minimal(R"(, "model": {"ISize": 99999999999999999999})"), C::SceneWrongType,
       "model.ISize"},
      {"huge model", Minimal(R"(, "model": {"ISize": 4000000000, "JSize": 400})"), C::SceneValueRefused, "model",
       C::ModelTooLarge},
      {"coarse plot", Minimal(R"(, "display": {"PlotResolution": 5})"), C::SceneValueRefused,
       "display.PlotResolution", C::PlotResolutionRange},
      {"zoom far out", Minimal(R"(, "display": {"ZoomScale": 0})"), C::SceneValueRefused, "display.ZoomScale",
       C::ZoomScaleRange},
      {"unknown tracking", Minimal(R"(, "display": {"ZoomTracking": "charge"})"), C::SceneValueRefused,
       "display.ZoomTracking", C::ZoomTrackingUnknown},
      {"plot width in cm", Minimal(R"(, "display": {"PlotWidthUnit": "cm"})"), C::SceneValueRefused,
       "display.PlotWidthUnit", C::ScaleUnitUnknown},
      {"plot width 50", Minimal(R"(, "display": {"PlotWidth": 50})"), C::SceneValueRefused,
       "display.PlotWidth", C::ScaleUnitUnknown},
      {"speed 11", Minimal(R"(, "animation": {"SpeedPosition": 11})"), C::SceneValueRefused,
       "animation.SpeedPosition", C::SpeedPositionRange},
      {"eye far off", Minimal(R"(, "display": {"ObserverX": 10.5})"), C::SceneValueRefused,
       "display.ObserverX", C::ObserverPlaceRange},
      {"eye far below", Minimal(R"(, "display": {"ObserverX": -10, "ObserverY": -11})"),
       C::SceneValueRefused, "display.ObserverY", C::ObserverPlaceRange},
      {"short trace", Minimal(R"(, "display": {"ObserverTraceTicks": 63})"), C::SceneValueRefused,
       "display.ObserverTraceTicks", C::ObserverTraceTicksRange},
      {"trace beyond an int", Minimal(R"(, "display": {"ObserverTraceTicks": 99999999999})"),
       C::SceneValueRefused, "display.ObserverTraceTicks", C::ObserverTraceTicksRange},
      {"eye shown as a number", Minimal(R"(, "display": {"ObserverShown": 1})"), C::SceneWrongType,
       "display.ObserverShown"},
      {"eye's place as text", Minimal(R"(, "display": {"ObserverY": "0.3"})"), C::SceneWrongType,
       "display.ObserverY"},
      {"eye in a section of its own", Minimal(R"(, "display": {"Observer": {}})"), C::SceneUnknownKey,
       "display.Observer"},
  };
  for (const TDamaged& row : table) {
    SCOPED_TRACE(row.Name);
    const TSceneRead read = ReadScene(row.Text);
    ASSERT_FALSE(read);
    EXPECT_STREQ(RefusalCodeName(read.Refusal.Refusal.Code), RefusalCodeName(row.Code));
    EXPECT_EQ(read.Refusal.Path, row.Path);
    EXPECT_STREQ(RefusalCodeName(read.Refusal.Cause.Code), RefusalCodeName(row.Cause));
    EXPECT_TRUE(read.Scene == TScene{}) << "nothing of a refused text is taken";
  }
}

TEST(SceneJson, AValueRefusedByItsCommandKeepsTheCommandsValues) {
  const TSceneRead read = ReadScene(
      R"({"format": "halvoran-scene", "version": 1, "trajectory": {"mode": "circle", "CircleBeta": 1.5}})");
  ASSERT_EQ(read.Refusal.Refusal.Code, TRefusalCode::SceneValueRefused);
  ASSERT_EQ(read.Refusal.Refusal.Values.size(), 1u);
  EXPECT_EQ(RefusalValueText(read.Refusal.Refusal.Values[0]), "trajectory.CircleBeta");
  ASSERT_EQ(read.Refusal.Cause.Code, TRefusalCode::SpeedTooHigh);
  ASSERT_EQ(read.Refusal.Cause.Values.size(), 2u);
  EXPECT_EQ(RefusalValueText(read.Refusal.Cause.Values[1]), "1.500");
}

}  // namespace
