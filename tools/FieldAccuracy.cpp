// SPDX-License-Identifier: GPL-3.0-or-later
// field-accuracy, run by hand: for each preset trajectory at its default parameters and the
// default model size, how far the drawn field lines are from the exact field, with the Thomas
// precession and without. Prints one row per preset (docs/model.md holds the last table).
#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "engine/FieldLineAccuracy.h"
#include "engine/SimulationCommands.h"

namespace {

struct TPreset {
  int Mode;
  const char* Name;
};
constexpr TPreset Presets[] = {
    {tmStraightLine, "straight line"}, {tmDipole, "dipole"},       {tmCircle, "circle"},
    {tmRaceTrack, "race track"},       {tmUndulator, "undulator"}, {tmBending, "bending magnet"},
};

// The main plot of a maximised window on a 1920 x 1050 screen: x from -1 to 1, y within 0.53.
constexpr TModelArea Plot{-1.0, 1.0, -0.53, 0.53};
// Right beside the emission point the lines are a few pixels long and their direction is
// decided by the rounding of the drawing, not by the model.
constexpr double NearEmission = 0.03;
// The straight line has stopped by then; its figures are pooled over this many ticks.
constexpr int LineTicks = 50;

struct TRun {
  TAngleFigures Figures;
  int FirstTick = 0;
  int LastTick = 0;
};

// The preset from its reset on. The figures are pooled over the ticks from the first at which
// every row of the table was emitted on the path (ISize ticks after the reset): over one lap of
// a closed path, to the end of the pass for the undulator and the bending magnet (which then
// restart), and over LineTicks ticks for the straight line.
TRun Measure(int mode, bool thomas) {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands simulation(state, display);
  TPhysicsOptions physics;
  physics.ThomasPrecession = thomas;
  simulation.SetPhysics(physics);
  // The presets at their defaults are always taken.
  (void)simulation.ChooseModelSize(
      {ModelSizeMedium.ISize, ModelSizeMedium.JSize, ModelSizeMedium.WaveFrontSpacing});
  (void)simulation.ChooseTrajectory(mode, simulation.Trajectory());
  const TFieldSimulation& field = state.FieldSimulation;

  const int lastSample = state.PathGeneration.Path.SampleCount - 2;
  TRun run;
  run.FirstTick = state.ISize;
  switch (mode) {
    case tmStraightLine:
      run.LastTick = run.FirstTick + LineTicks;
      break;
    case tmUndulator:
    case tmBending:
      run.LastTick = std::max(lastSample, run.FirstTick);
      break;
    default:
      run.LastTick = run.FirstTick + lastSample;  // one lap: samples 0 ... SampleCount - 2
      break;
  }

  std::vector<double> angles;
  for (int tick = 1; tick <= run.LastTick; ++tick) {
    simulation.RunTick();
    if (tick < run.FirstTick) continue;
    const std::vector<double> now =
        FieldLineDeviations(field, state.ISize, state.JSize, Plot, NearEmission);
    angles.insert(angles.end(), now.begin(), now.end());
  }
  run.Figures = SummarizeAngles(std::move(angles));
  return run;
}

}  // namespace

int main() {
  std::printf(
      "Angle between the drawn field lines and the exact field at the nodes inside the\n"
      "plot (x -1 ... 1, y -0.53 ... 0.53) farther than %.2f from their emission point,\n"
      "pooled over the ticks shown (counted from the reset; Nodes counts every node of every\n"
      "one of them); model size %d x %d, each preset at its default parameters. Degrees.\n\n",
      NearEmission, ModelSizeMedium.ISize, ModelSizeMedium.JSize);
  std::printf(
      "| Trajectory | Ticks | Nodes | Thomas on: median | 95th pct. "
      "| Thomas off: median | 95th pct. |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
  for (const TPreset& preset : Presets) {
    const TRun on = Measure(preset.Mode, true);
    const TRun off = Measure(preset.Mode, false);
    std::printf("| %s | %d-%d | %d | %.2f | %.2f | %.2f | %.2f |\n", preset.Name, on.FirstTick,
                on.LastTick, on.Figures.Count, on.Figures.Median, on.Figures.Percentile95,
                off.Figures.Median, off.Figures.Percentile95);
  }
  return 0;
}
