// field-accuracy, run by hand: for each preset trajectory at its default parameters and the
// default model size, how far the drawn field lines are from the exact field, with the Thomas
// precession and without. Prints one row per preset (docs/model.md holds the last table).
#include <algorithm>
#include <cstdio>

#include "engine/AnimationStep.h"
#include "engine/FieldLineAccuracy.h"
#include "engine/SimulationState.h"
#include "engine/Trajectories.h"

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
// Ticks past the model size, so that every row of the table comes from the path.
constexpr int ExtraTicks = 50;

struct TRun {
  TAngleFigures Figures;
  int Ticks = 0;
};

// The preset from its reset on, until the whole table comes from the path, or, for the runs
// that restart (undulator, bending magnet), until the last tick of the pass.
TRun Measure(int mode, bool thomas) {
  TSimulationState state;
  state.ISize = ModelSizeMedium.ISize;
  state.JSize = ModelSizeMedium.JSize;
  state.WaveFrontSpacing = ModelSizeMedium.WaveFrontSpacing;
  TFieldSimulation& field = state.FieldSimulation;
  field.ThomasPrecession = thomas;
  field.InitNodes(state.ISize, state.JSize, ModelWidth);
  state.TrajectoryMode = mode;
  BuildTrajectory(state.PathGeneration, mode, field, field.WaveVelocity);
  ResetSimulation(state);

  int ticks = state.ISize + ExtraTicks;
  if (mode == tmUndulator || mode == tmBending) {
    ticks = std::min(ticks, state.PathGeneration.Path.SampleCount - 2);
  }
  for (int tick = 0; tick < ticks; ++tick) RunTick(state, {});
  TRun run;
  run.Ticks = ticks;
  run.Figures =
      SummarizeAngles(FieldLineDeviations(field, state.ISize, state.JSize, Plot, NearEmission));
  return run;
}

}  // namespace

int main() {
  std::printf(
      "Angle between the drawn field lines and the exact field at the nodes inside the\n"
      "plot (x -1 ... 1, y -0.53 ... 0.53) farther than %.2f from their emission point;\n"
      "model size %d x %d, each preset at its default parameters. Degrees.\n\n",
      NearEmission, ModelSizeMedium.ISize, ModelSizeMedium.JSize);
  std::printf(
      "| Trajectory | Ticks | Nodes | Thomas on: median | 95th pct. "
      "| Thomas off: median | 95th pct. |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
  for (const TPreset& preset : Presets) {
    const TRun on = Measure(preset.Mode, true);
    const TRun off = Measure(preset.Mode, false);
    std::printf("| %s | %d | %d | %.2f | %.2f | %.2f | %.2f |\n", preset.Name, on.Ticks,
                on.Figures.Count, on.Figures.Median, on.Figures.Percentile95, off.Figures.Median,
                off.Figures.Percentile95);
  }
  return 0;
}
