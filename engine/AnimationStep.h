// SPDX-License-Identifier: GPL-3.0-or-later
// What one animation tick and one reset do to the simulation, without any window: the window's
// timer and reset command call these, and so do the tests and the frame benchmark.
#pragma once

#include <optional>

#include "engine/SimulationState.h"

// The charge closes a fifth of its distance to the cursor per tick in mouse mode ...
constexpr double MousePullFraction = 0.2;
// ... but never moves faster than this fraction of the wave speed.
constexpr double MouseSpeedLimit = 0.99;

enum class TChargeMove {
  Moved,    // the charge took its step (or stays put by its mode's rule)
  Restart,  // an undulator or bending pass is used up: the caller pauses, resets and runs again
};

// Mouse mode while dragging: MouseStep := MousePullFraction x (cursor - ChargePos), limited in
// length to MouseSpeedLimit x WaveVelocity; ChargePos += MouseStep. cursor is in model units.
void PullChargeTowards(TSimulationState& state, TVector2 cursor);

// Steps 2 and 3 of a tick: FrameIndex += 1, then the charge moves by TrajectoryMode:
// - mouse: pulled towards cursor while it is dragged (a cursor given, model units), then
//   UpdateMouseVelocity (dragged or not);
// - straight line: the sample FrameIndex; past sample SampleCount - 2 the charge stays on that
//   sample at rest (Beta 0) with FrameIndex clamped there;
// - dipole, circle, race track: past sample SampleCount - 2 the path starts again at sample 0;
// - undulator, bending magnet: past sample SampleCount - 2 FrameIndex := 0 and Restart is
//   returned with nothing copied.
// A sample table of fewer than two usable samples leaves the charge where it is.
TChargeMove MoveCharge(TSimulationState& state, std::optional<TVector2> cursor);

// Steps 4 and 5 of a tick: the charge's velocity into its history and the Thomas precession
// (AdvanceCharge), aberrated emission directions, then aging and emission of the nodes.
// Does nothing if the node table does not have the shape of ISize and JSize.
void EmitAndAdvance(TSimulationState& state);

// Where the reset puts the charge and how it arrived: the first sample of the path in the
// trajectory modes (the origin in mouse mode or without a usable path), arriving with that
// sample's velocity for the undulator and the bending magnet (along +x at the path's speed, on
// their entry straight), otherwise from rest.
struct TResetStart {
  TVector2 StartPos;
  TVector2 InitVel;  // units of the wave speed
};
TResetStart ResetStartOf(const TSimulationState& state);

// FrameIndex := 0 and ResetNodes from ResetStartOf: the field of a charge in uniform motion.
void ResetSimulation(TSimulationState& state);

// The engine's part of one tick without the window's run control: MoveCharge, on Restart the
// reset and the move on to the next sample, then EmitAndAdvance. True when the tick started a
// new pass of an undulator or bending path (the reset happened).
bool RunTick(TSimulationState& state, std::optional<TVector2> cursor = std::nullopt);
