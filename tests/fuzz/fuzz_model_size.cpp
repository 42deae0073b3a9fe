// Random model sizes through the engine's check, as the custom size command does; a size the
// check accepts is built (InitNodes), reset and run for 10 ticks with the charge dragged, and the
// table must have that shape and hold only finite nodes.
//
// Input: ISize, JSize, wavefront spacing, option bits (1 light aberration, 2 emission point
// tracking, 4 Thomas precession), then the cursor's x and y in model units.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "engine/AnimationStep.h"
#include "engine/ModelLimits.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

constexpr int Ticks = 10;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TNumberReader input(data, size);
  const long long rows = input.Integer(200);
  const long long lines = input.Integer(40);
  const long long spacing = input.Integer(10);
  const long long options = input.Integer(7);
  // The cursor comes from a pixel of the plot: always a finite number.
  TVector2 cursor{input.Real(0.5), input.Real(0.25)};
  if (!std::isfinite(cursor.X) || !std::isfinite(cursor.Y)) cursor = {0.5, 0.25};

  // The spacing is an int in the state; the check sees what the state would hold.
  const int spacingHeld = static_cast<int>(
      std::clamp<long long>(spacing, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
  if (!CheckModelSize(rows, lines, spacingHeld).empty()) return 0;

  TSimulationState state;
  state.ISize = static_cast<int>(rows);
  state.JSize = static_cast<int>(lines);
  state.WaveFrontSpacing = spacingHeld;
  TFieldSimulation& field = state.FieldSimulation;
  field.LightAberration = (options & 1) != 0;
  field.TrackEmissionPoint = (options & 2) != 0;
  field.ThomasPrecession = (options & 4) != 0;
  field.InitNodes(state.ISize, state.JSize, ModelWidth);
  ResetSimulation(state);
  CheckSimulation(state);

  state.Dragging = true;
  for (int tick = 0; tick < Ticks; ++tick) RunTick(state, cursor);
  CheckSimulation(state);
  return 0;
}
