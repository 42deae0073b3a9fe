// SPDX-License-Identifier: GPL-3.0-or-later
// A scene applied through the commands: a saved and read scene runs as the scene itself does,
// frame for frame, and a scene with any refused part changes nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "render/MainPicture.h"
#include "scene/SceneCommands.h"
#include "scene/SceneJson.h"

namespace {

constexpr TPictureSize LogicalSize{200, 120};

// FNV-1a, 64 bits, over the picture's bytes.
std::uint64_t PictureHash(const TSimulationCommands& commands) {
  TMainPictureFrame frame;
  EXPECT_FALSE(RenderMainPicture(frame, commands.State(), commands.Display(), LogicalSize, 1.0,
                                 DefaultMainRange(LogicalSize), TByteOrder::Bgra));
  std::uint64_t hash = 14695981039346656037ull;
  for (std::size_t k = 0; k < frame.PixelCount(); ++k)
    for (int byte = 0; byte < 4; ++byte) {
      hash ^= (frame.Pixels[k] >> (8 * byte)) & 0xFFu;
      hash *= 1099511628211ull;
    }
  return hash;
}

struct TRun {
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};
  TRun() { EXPECT_FALSE(Commands.Start()); }
};

TScene SceneOfKind(int mode) {
  TScene scene;
  scene.TrajectoryMode = mode;
  scene.Model = {100, 20, 10};
  scene.Display.ShowWaveFronts = true;
  scene.Display.ShowFieldVectors = mode == tmCircle;
  scene.Physics.LightAberration = mode != tmDipole;
  scene.SpeedPosition = 4;
  return scene;
}

TEST(SceneCommands, ASavedSceneRunsAsTheSceneItselfForEveryKind) {
  for (const int mode : {tmMouse, tmStraightLine, tmDipole, tmCircle, tmRaceTrack, tmUndulator, tmBending}) {
    SCOPED_TRACE(SceneTrajectoryName(mode));
    const TScene scene = SceneOfKind(mode);
    const TSceneRead read = ReadScene(WriteScene(scene));
    ASSERT_TRUE(read);
    TRun direct, saved;
    ASSERT_FALSE(ApplyScene(scene, direct.Commands));
    ASSERT_FALSE(ApplyScene(read.Scene, saved.Commands));
    for (int tick = 0; tick < 60; ++tick) {
      direct.Commands.RunTick();
      saved.Commands.RunTick();
    }
    EXPECT_EQ(saved.State.FrameIndex, direct.State.FrameIndex);
    EXPECT_EQ(PictureHash(saved.Commands), PictureHash(direct.Commands));
    // What runs is what the scene says.
    EXPECT_TRUE(SceneOf(saved.Commands, std::nullopt, true, "", "") == scene);
  }
}

TEST(SceneCommands, ASizeWhoseOldPathWouldNotFitIsTakenWithTheScenesPath) {
  // The dipole in force is crossed in less than two ticks at 5 rows; the scene's mouse mode has
  // no path to check, and the size is the scene's.
  TRun run;
  ASSERT_FALSE(run.Commands.ChooseTrajectory(tmDipole, run.Commands.Trajectory()));
  ASSERT_EQ(CheckTrajectory(tmDipole, run.Commands.Trajectory(), WaveVelocityOf(5)).Code,
            TRefusalCode::PathTooShort);
  TScene scene;
  scene.Model = {5, 1, 5};
  EXPECT_FALSE(ApplyScene(scene, run.Commands));
  EXPECT_EQ(run.Commands.ModelSize(), scene.Model);
}

struct TRefusedScene {
  const char* Name;
  TScene Scene;
  TRefusalCode Code;
};

TScene With(void (*change)(TScene&)) {
  TScene scene = SceneOfKind(tmStraightLine);
  change(scene);
  return scene;
}

TEST(SceneCommands, ASceneWithARefusedPartChangesNothing) {
  const TRefusedScene table[] = {
      {"too fast", With([](TScene& s) { s.Trajectory.LineBeta = 1.0; }), TRefusalCode::SpeedTooHigh},
      {"no rows", With([](TScene& s) { s.Model.ISize = 1; }), TRefusalCode::TooFewRows},
      {"coarse plot", With([](TScene& s) { s.Display.PlotResolution = 101; }),
       TRefusalCode::PlotResolutionRange},
      {"tracking 7", With([](TScene& s) { s.Display.Zoom.Tracking = 7; }),
       TRefusalCode::ZoomTrackingUnknown},
      {"speed 0", With([](TScene& s) { s.SpeedPosition = 0; }), TRefusalCode::SpeedPositionRange},
      {"view upside down", With([](TScene& s) { s.View = TSceneView{-1, 1, 1, -1}; }),
       TRefusalCode::SceneViewEmpty},
      {"unknown mode", With([](TScene& s) { s.TrajectoryMode = 99; }), TRefusalCode::UnknownTrajectory},
  };
  for (const TRefusedScene& row : table) {
    SCOPED_TRACE(row.Name);
    TRun run;
    ASSERT_FALSE(run.Commands.ChooseTrajectory(tmCircle, run.Commands.Trajectory()));
    for (int tick = 0; tick < 25; ++tick) run.Commands.RunTick();
    const TScene before = SceneOf(run.Commands, std::nullopt, true, "", "");
    const std::uint64_t picture = PictureHash(run.Commands);
    EXPECT_STREQ(RefusalCodeName(ApplyScene(row.Scene, run.Commands).Code), RefusalCodeName(row.Code));
    EXPECT_TRUE(SceneOf(run.Commands, std::nullopt, true, "", "") == before);
    EXPECT_EQ(run.State.FrameIndex, 25);
    EXPECT_EQ(PictureHash(run.Commands), picture);
  }
}

}  // namespace

namespace {

// The theme is the room's, not the lesson's: a scene leaves it as it was, and the refusals of
// the display's new choices leave everything as it was.
TEST(SceneCommands, ASceneKeepsTheThemeAndTakesCaptionAndScale) {
  TRun run;
  TDisplaySettings projector = run.Commands.Display();
  projector.Theme = TTheme::Projector;
  ASSERT_FALSE(run.Commands.SetDisplay(projector));
  TScene scene = SceneOfKind(tmCircle);
  scene.Display.ShowCaption = false;
  scene.Display.ScaleUnit = {1, TLengthUnit::Kilometre};
  ASSERT_FALSE(ApplyScene(scene, run.Commands));
  EXPECT_EQ(run.Commands.Display().Theme, TTheme::Projector);
  EXPECT_FALSE(run.Commands.Display().ShowCaption);
  EXPECT_EQ(run.Commands.Display().ScaleUnit, (TScaleUnit{1, TLengthUnit::Kilometre}));

  const std::pair<TDisplaySettings (*)(TDisplaySettings), TRefusalCode> refused[] = {
      {[](TDisplaySettings d) { d.Theme = static_cast<TTheme>(7); return d; }, TRefusalCode::ThemeUnknown},
      {[](TDisplaySettings d) { d.ScaleUnit.Scale = 50; return d; }, TRefusalCode::ScaleUnitUnknown},
      {[](TDisplaySettings d) { d.ScaleUnit.Unit = static_cast<TLengthUnit>(3); return d; },
       TRefusalCode::ScaleUnitUnknown},
  };
  for (const auto& [change, code] : refused) {
    const std::uint64_t before = PictureHash(run.Commands);
    EXPECT_EQ(run.Commands.SetDisplay(change(run.Commands.Display())).Code, code);
    EXPECT_EQ(PictureHash(run.Commands), before);
    EXPECT_EQ(run.Commands.Display().ScaleUnit, (TScaleUnit{1, TLengthUnit::Kilometre}));
  }
}

}  // namespace
