// SPDX-License-Identifier: GPL-3.0-or-later
// One animation tick and one reset of the simulation.
#include "engine/AnimationStep.h"

#include <climits>
#include <cmath>
#include <cstddef>

namespace {

void TakeSample(TFieldSimulation& field, const TPathSample& sample) {
  field.ChargePos = {sample.X, sample.Y};
  field.VelocityDir = {sample.DirX, sample.DirY};
  field.Beta = sample.Beta;
}

}  // namespace

void PullChargeTowards(TSimulationState& state, TVector2 cursor) {
  TFieldSimulation& field = state.FieldSimulation;
  state.MouseStep = {(cursor.X - field.ChargePos.X) * MousePullFraction,
                     (cursor.Y - field.ChargePos.Y) * MousePullFraction};
  state.MouseStepLength = VectorLength(state.MouseStep);
  // A step that is not a number would carry the charge off the model for good.
  if (!std::isfinite(state.MouseStepLength)) {
    state.MouseStep = {};
    return;
  }
  const double limit = MouseSpeedLimit * field.WaveVelocity;
  if (!(limit >= state.MouseStepLength)) {
    const double scale = limit / state.MouseStepLength;
    state.MouseStep.X *= scale;
    state.MouseStep.Y *= scale;
  }
  field.ChargePos.X += state.MouseStep.X;
  field.ChargePos.Y += state.MouseStep.Y;
}

TChargeMove MoveCharge(TSimulationState& state, std::optional<TVector2> cursor) {
  // Saturates rather than overflowing after years of mouse mode.
  if (state.FrameIndex < INT_MAX) ++state.FrameIndex;

  TFieldSimulation& field = state.FieldSimulation;
  const TPath& path = state.PathGeneration.Path;
  const int mode = state.TrajectoryMode;

  if (mode == tmMouse) {
    if (cursor) PullChargeTowards(state, *cursor);
    field.UpdateMouseVelocity(state.TrajectoryMode);
    return TChargeMove::Moved;
  }
  if (!IsPathMode(mode)) return TChargeMove::Moved;

  const int last = LastUsableSample(path);
  if (last < 0) return TChargeMove::Moved;

  const bool pastTheEnd = state.FrameIndex > last || state.FrameIndex < 0;
  if (pastTheEnd && IsClosedPath(mode)) {
    // Entry SampleCount - 2 lies one step before sample 0, so the loop has no jump.
    state.FrameIndex = 0;
  } else if (pastTheEnd) {
    switch (mode) {
      case tmStraightLine:
        // The charge stops at the end of the line and stays there at rest.
        state.FrameIndex = last;
        TakeSample(field, path.Samples[static_cast<std::size_t>(last)]);
        field.Beta = 0.0;
        return TChargeMove::Moved;
      case tmUndulator:
      case tmBending:
        state.FrameIndex = 0;
        return TChargeMove::Restart;
      default:
        break;
    }
  }
  TakeSample(field, path.Samples[static_cast<std::size_t>(state.FrameIndex)]);
  return TChargeMove::Moved;
}

void EmitAndAdvance(TSimulationState& state) {
  TFieldSimulation& field = state.FieldSimulation;
  // The engine reads rows 0 .. ISize and lines 0 .. JSize; sizes that do not match the table
  // (set without InitNodes) must not send it out of bounds.
  if (state.ISize < 2 || state.JSize < 1) return;
  if (field.Nodes.size() != static_cast<std::size_t>(state.ISize) + 1) return;
  if (field.Nodes[0].size() != static_cast<std::size_t>(state.JSize) + 1) return;
  if (field.EmitDirections.size() != static_cast<std::size_t>(state.JSize) + 1) return;
  ++state.TicksSinceReset;
  field.AdvanceCharge();
  field.UpdateEmitDirections(state.JSize);
  field.AdvanceNodes(state.ISize, state.JSize, state.WaveFrontSpacing);
}

TResetStart ResetStartOf(const TSimulationState& state) {
  TResetStart start;
  const TPath& path = state.PathGeneration.Path;
  if (!IsPathMode(state.TrajectoryMode) || LastUsableSample(path) < 0) return start;
  const TPathSample& first = path.Samples[0];
  start.StartPos = {first.X, first.Y};
  // The velocity of the path the charge then runs, not the parameters: a dialog may hold edits
  // the user has not confirmed, and a reset at another speed than the samples' would send a
  // false kink out along every line at each new pass.
  if (state.TrajectoryMode == tmUndulator || state.TrajectoryMode == tmBending)
    start.InitVel = {first.DirX * first.Beta, first.DirY * first.Beta};
  return start;
}

void ResetSimulation(TSimulationState& state) {
  state.FrameIndex = 0;
  state.TicksSinceReset = 0;
  const TResetStart start = ResetStartOf(state);
  TFieldSimulation& field = state.FieldSimulation;
  if (state.ISize < 2 || state.JSize < 1) return;
  if (field.Nodes.size() != static_cast<std::size_t>(state.ISize) + 1) return;
  field.ResetNodes(state.ISize, state.JSize, start.StartPos, start.InitVel, ModelWidth,
                   state.WaveFrontSpacing);
}

bool RunTick(TSimulationState& state, std::optional<TVector2> cursor) {
  const bool restart = MoveCharge(state, cursor) == TChargeMove::Restart;
  if (restart) {
    ResetSimulation(state);
    // The reset has emitted at the start: this tick goes on to the next sample, as the first
    // tick after any reset does. Emitting at the start again would hold the charge there for a
    // tick and send a stop-and-start kink out along every line at each new pass.
    MoveCharge(state, cursor);
  }
  EmitAndAdvance(state);
  return restart;
}
