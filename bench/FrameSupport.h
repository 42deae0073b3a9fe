// What the frame benchmarks share: plot mappings without a window, and processor time.
#pragma once

#include <ctime>

#include "engine/AnimationStep.h"
#include "engine/SimulationState.h"
#include "engine/Trajectories.h"
#include "plot/PlotMapping.h"

// A plot of width x height pixels showing x from -halfWidth to halfWidth at equal scales.
inline TPlotMapping MappingOf(int width, int height, double halfWidth) {
  TPlotMapping mapping;
  mapping.PlotRect = {0, 0, width, height};
  mapping.DrawArea = mapping.PlotRect;
  const double halfHeight = halfWidth * height / width;
  mapping.Horizontal = {false, -halfWidth, halfWidth};
  mapping.Vertical = {false, -halfHeight, halfHeight};
  return mapping;
}

// Processor time of this thread: the machine is shared, and waiting for a core is no part of a
// frame's cost.
inline double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// The charge on the default circle in a model of the given size, reset as the circle command
// leaves it.
inline void StartOnDefaultCircle(TSimulationState& state, const TModelSizePreset& size) {
  state.ISize = size.ISize;
  state.JSize = size.JSize;
  state.WaveFrontSpacing = size.WaveFrontSpacing;
  state.TrajectoryMode = tmCircle;
  TFieldSimulation& field = state.FieldSimulation;
  field.InitNodes(state.ISize, state.JSize, ModelWidth);
  BuildTrajectory(state.PathGeneration, tmCircle, field, field.WaveVelocity);
  ResetSimulation(state);
}
