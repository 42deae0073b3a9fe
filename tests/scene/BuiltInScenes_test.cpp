// SPDX-License-Identifier: GPL-3.0-or-later
// The lessons in scenes/: each reads, has its texts in English and Japanese, and applies whole to
// a fresh simulation that then runs.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <set>
#include <string>

#include "BuiltInSceneTexts.h"
#include "scene/SceneCommands.h"
#include "scene/SceneJson.h"

namespace {

TEST(BuiltInScenes, EveryLessonReadsAppliesAndRuns) {
  ASSERT_GE(std::size(BuiltInSceneTexts), 8u);
  for (const TBuiltInSceneText& file : BuiltInSceneTexts) {
    SCOPED_TRACE(file.Name);
    const TSceneRead read = ReadScene(file.Text);
    ASSERT_TRUE(read) << RefusalCodeName(read.Refusal.Refusal.Code) << " " << read.Refusal.Path;
    const TScene& scene = read.Scene;
    EXPECT_FALSE(scene.Title.empty());
    EXPECT_GT(scene.Notes.size(), 100u);
    const TSceneTranslation* ja = SceneTranslation(scene, "ja");
    ASSERT_NE(ja, nullptr);
    EXPECT_FALSE(ja->Title.empty());
    EXPECT_FALSE(ja->Notes.empty());
    TSimulationState state;
    TDisplaySettings display;
    TSimulationCommands commands(state, display);
    ASSERT_FALSE(commands.Start());
    ASSERT_FALSE(ApplyScene(scene, commands));
    TScene applied = SceneOf(commands, scene.View, scene.Running, scene.Title, scene.Notes);
    applied.Translations = scene.Translations;
    EXPECT_TRUE(applied == scene);
    for (int tick = 0; tick < 50; ++tick) commands.RunTick();
  }
}

// The eye's lesson: the eye shown outside the circle, where the light it receives arrives within
// the kept history.
TEST(BuiltInScenes, TheEyesLessonShowsTheEyeOutsideTheOrbitReceiving) {
  const TBuiltInSceneText* lesson = nullptr;
  for (const TBuiltInSceneText& file : BuiltInSceneTexts)
    if (std::string(file.Name) == "synchrotron-eye.json") lesson = &file;
  ASSERT_NE(lesson, nullptr);
  const TSceneRead read = ReadScene(lesson->Text);
  ASSERT_TRUE(read);
  const TObserverSettings& eye = read.Scene.Display.Observer;
  EXPECT_TRUE(eye.Shown);
  EXPECT_EQ(read.Scene.TrajectoryMode, tmCircle);
  EXPECT_EQ(read.Scene.Trajectory.CircleBeta, 0.9);
  EXPECT_GT(std::hypot(eye.Place.X, eye.Place.Y), read.Scene.Trajectory.CircleRadius);
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands commands(state, display);
  ASSERT_FALSE(commands.Start());
  ASSERT_FALSE(ApplyScene(read.Scene, commands));
  for (int tick = 0; tick < 200; ++tick) commands.RunTick();
  const TObserverTrace& trace = state.ObserverTrace;
  EXPECT_EQ(trace.Count(), 200 * ObserverSubTicks);
  EXPECT_GT(trace.Count() - trace.BeforeResetCount() - trace.BeyondHistoryCount(), 0);
  EXPECT_EQ(trace.BeyondHistoryCount(), 0);
}

// The Lessons menus of both front-ends list scenes/index.json's stems: each lesson once, and
// nothing that is not one.
TEST(BuiltInScenes, TheIndexListsEveryLessonOnce) {
  const auto index = nlohmann::json::parse(BuiltInSceneIndex, nullptr, false);
  ASSERT_TRUE(index.is_object() && index.contains("lessons") && index["lessons"].is_array());
  std::set<std::string> files;
  for (const TBuiltInSceneText& file : BuiltInSceneTexts) files.insert(file.Name);
  std::set<std::string> listed;
  for (const auto& stem : index["lessons"]) {
    ASSERT_TRUE(stem.is_string());
    EXPECT_TRUE(listed.insert(stem.get<std::string>() + ".json").second) << stem;
  }
  EXPECT_EQ(listed, files);
}

}  // namespace
