// SPDX-License-Identifier: GPL-3.0-or-later
// Random trajectories: a kind and its parameters go through the trajectory command; what it
// accepts is built, sampled, reset and run for 1,000 ticks, and the
// field must stay finite with the animation inside the sample table.
//
// Input: mode, model size preset (0 small, 1 medium, 2 large), four parameters, option bits
// (1 light aberration, 2 emission point tracking, 4 Thomas precession). The parameters of a kind,
// in order: line speed, start, stop; dipole speed, amplitude; circle speed, radius; race track
// speed, radius, straight; undulator speed, period, amplitude, number of periods; bending speed,
// radius, angle; mouse mode: the cursor's x and y, in model units, while the charge is dragged.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

#include "engine/SimulationCommands.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

constexpr int Ticks = 1000;
constexpr TModelSizePreset Presets[] = {ModelSizeSmall, ModelSizeMedium, ModelSizeLarge};

int SaturatedInt(long long value) {
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

void SetParameters(TTrajectoryParameters& p, int mode, const double v[4]) {
  switch (mode) {
    case tmStraightLine:
      p.LineBeta = v[0], p.LineStartX = v[1], p.LineStopX = v[2];
      break;
    case tmDipole:
      p.DipoleBeta = v[0], p.DipoleAmplitude = v[1];
      break;
    case tmCircle:
      p.CircleBeta = v[0], p.CircleRadius = v[1];
      break;
    case tmRaceTrack:
      p.RaceBeta = v[0], p.RaceRadius = v[1], p.RaceStraight = v[2];
      break;
    case tmUndulator:
      p.UndBeta = v[0], p.UndPeriod = v[1], p.UndAmplitude = v[2];
      p.UndPeriods = std::isfinite(v[3]) ? SaturatedInt(static_cast<long long>(
                                               std::fmax(std::fmin(v[3], 1e18), -1e18)))
                                         : 0;
      break;
    case tmBending:
      p.BendBeta = v[0], p.BendRadius = v[1], p.BendAngle = v[2];
      break;
    default:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TNumberReader input(data, size);
  const int mode = SaturatedInt(input.Integer(tmCircle));
  const long long preset = input.Integer(1);
  double v[4];
  for (double& value : v) value = input.Real(0.0);
  const long long options = input.Integer(7);

  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands commands(state, display);
  const TModelSizePreset& size3 = Presets[static_cast<unsigned long long>(preset) % 3];
  if (commands.Start() || commands.ChooseModelSize({size3.ISize, size3.JSize, size3.WaveFrontSpacing}))
    FuzzFailure("a preset model size was refused");
  commands.SetPhysics({(options & 1) != 0, (options & 2) != 0, (options & 4) != 0});

  TTrajectoryParameters parameters;
  SetParameters(parameters, mode, v);
  if (commands.ChooseTrajectory(mode, parameters)) return 0;
  std::optional<TVector2> cursor;
  if (mode == tmMouse) {
    // The cursor comes from a pixel of the plot: always a finite number.
    cursor = TVector2{};
    if (std::isfinite(v[0]) && std::isfinite(v[1])) cursor = TVector2{v[0], v[1]};
  } else {
    const int samples = state.PathGeneration.Path.SampleCount;
    if (samples < 2 || static_cast<std::size_t>(samples) != state.PathGeneration.Path.Samples.size())
      FuzzFailure("an accepted path has fewer than two samples or a wrong count");
  }
  CheckSimulation(state);

  for (int tick = 1; tick <= Ticks; ++tick) {
    commands.RunTick(cursor);
    if (mode != tmMouse &&
        (state.FrameIndex < 0 || state.FrameIndex > state.PathGeneration.Path.SampleCount - 2))
      FuzzFailure("the frame index left the usable samples");
    if (tick % 100 == 0) CheckSimulation(state);
  }
  return 0;
}
