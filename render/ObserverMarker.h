// SPDX-License-Identifier: GPL-3.0-or-later
// The eye on the main plot: an almond outline with a filled pupil where the observer stands, and
// a thin line to it from the point where the charge sent what the eye receives now (the retarded
// position), so that the delay of the light can be seen in every picture.
#pragma once

#include "engine/DisplaySettings.h"
#include "engine/SimulationState.h"
#include "render/FieldDrawing.h"

// The eye's size on the screen, logical pixels: 12 across, 7 high, the pupil 4 across.
constexpr int ObserverEyeHalfWidth = 6;
constexpr int ObserverEyeHalfHeight = 3;
constexpr int ObserverPupilHalfSize = 2;

// The line, then the eye, over what view's canvas holds, in view.Theme's colours; nothing where
// observer is not shown. The line is left out where the eye receives nothing from the kept
// history (it sits on the charge, or farther than the history reaches).
void DrawObserverMarker(const TFieldView& view, const TSimulationState& state,
                        const TObserverSettings& observer);
