// SPDX-License-Identifier: GPL-3.0-or-later
// The lessons in scenes/: each reads, has its texts in English and Japanese, and applies whole to
// a fresh simulation that then runs.
#include <gtest/gtest.h>

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

}  // namespace
