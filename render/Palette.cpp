// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Palette.h"

#include "render/FieldDrawing.h"

namespace {

constexpr TPalette Dark{
    .Ground = ColorRGB(0, 0, 0),
    .FieldLine = FieldLineColor,
    .WaveFront = WaveFrontColor,
    .NodePoint = NodePointColor,
    .Trajectory = TrajectoryColor,
    .Text = ColorRGB(235, 235, 235),
    .PanelFill = ColorRGB(24, 24, 24),
    .PanelEdge = ColorRGB(96, 96, 96),
    .LineWidth = 1.0,
};

// Hues kept from the dark theme (field lines blue, wavefronts red, path gold) so that a lesson's
// words ("the blue lines") hold in both, darkened until each stands out against the light ground.
constexpr TPalette Projector{
    .Ground = ColorRGB(250, 250, 246),
    .FieldLine = ColorRGB(0, 72, 170),
    .WaveFront = ColorRGB(196, 0, 72),
    .NodePoint = ColorRGB(20, 20, 20),
    .Trajectory = ColorRGB(150, 100, 0),
    .Text = ColorRGB(10, 10, 10),
    .PanelFill = ColorRGB(255, 255, 255),
    .PanelEdge = ColorRGB(120, 120, 120),
    .LineWidth = 2.0,
};

}  // namespace

const TPalette& PaletteOf(TTheme theme) { return theme == TTheme::Projector ? Projector : Dark; }
