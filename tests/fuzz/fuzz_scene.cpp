// SPDX-License-Identifier: GPL-3.0-or-later
// Random texts through the scene reader. A text it takes must write and read back as the same
// scene, and apply to a simulation without a refusal (the reader ran the commands' checks); a
// text it refuses must say why with a code.
//
// Input: the scene file's bytes as they are.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/SimulationCommands.h"
#include "scene/SceneCommands.h"
#include "scene/SceneJson.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// Models the reader takes go up to a million nodes; building those for every input would leave
// the fuzzer little time for the reader itself.
constexpr long long MaxAppliedNodes = 100000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TSceneRead read = ReadScene(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!read) {
    if (read.Refusal.Refusal.Code == TRefusalCode::None) FuzzFailure("a refusal without a code");
    if (read.Refusal.Refusal.Code == TRefusalCode::SceneValueRefused && !read.Refusal.Cause)
      FuzzFailure("a refused value without the command's refusal");
    return 0;
  }
  const TSceneRead again = ReadScene(WriteScene(read.Scene));
  if (!again || !(again.Scene == read.Scene)) FuzzFailure("a written scene read back otherwise");

  const TModelSize& model = read.Scene.Model;
  if (static_cast<long long>(model.ISize + 1) * (model.JSize + 1) > MaxAppliedNodes) return 0;
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands commands(state, display);
  if (commands.Start()) FuzzFailure("the start-up model was refused");
  if (ApplyScene(read.Scene, commands)) FuzzFailure("a scene the reader took was refused");
  for (int tick = 0; tick < 3; ++tick) commands.RunTick();
  CheckSimulation(state);
  return 0;
}
