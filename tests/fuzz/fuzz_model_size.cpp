// SPDX-License-Identifier: GPL-3.0-or-later
// Random model sizes through the engine's check and the model size command; a size they
// accept is built, reset and run for 10 ticks with the charge dragged, and the
// table must have that shape and hold only finite nodes.
//
// Input: ISize, JSize, wavefront spacing, option bits (1 light aberration, 2 emission point
// tracking, 4 Thomas precession), then the cursor's x and y in model units.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "engine/SimulationCommands.h"
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
  const auto held = [](long long v) {
    return static_cast<int>(
        std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
  };
  // Sizes beyond an int are refused by the check before any cast could wrap them.
  const TRefusal direct = CheckModelSize(rows, lines, held(spacing));
  if (direct) return 0;

  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands commands(state, display);
  if (commands.Start()) FuzzFailure("the start-up model was refused");
  commands.SetPhysics({(options & 1) != 0, (options & 2) != 0, (options & 4) != 0});
  if (commands.ChooseModelSize({held(rows), held(lines), held(spacing)}))
    FuzzFailure("a size the check accepts was refused by the command");
  CheckSimulation(state);

  for (int tick = 0; tick < Ticks; ++tick) commands.RunTick(cursor);
  CheckSimulation(state);
  return 0;
}
