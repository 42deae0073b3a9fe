// SPDX-License-Identifier: GPL-3.0-or-later
// The simulation's commands: check the whole set of values, then apply all of it.
#include "engine/SimulationCommands.h"

#include "engine/AnimationStep.h"
#include "engine/Trajectories.h"

TSimulationCommands::TSimulationCommands(TSimulationState& state, TDisplaySettings& display)
    : Simulation(state), DisplaySettings(display) {}

TModelSize TSimulationCommands::ModelSize() const {
  return {Simulation.ISize, Simulation.JSize, Simulation.WaveFrontSpacing};
}

TPhysicsOptions TSimulationCommands::Physics() const {
  const TFieldSimulation& field = Simulation.FieldSimulation;
  return {field.LightAberration, field.TrackEmissionPoint, field.ThomasPrecession};
}

void TSimulationCommands::Rebuild() {
  TSimulationState& s = Simulation;
  s.FieldSimulation.InitNodes(s.ISize, s.JSize, ModelWidth);
  BuildTrajectory(s.PathGeneration, s.TrajectoryMode, s.Trajectory, WaveVelocityOf(s.ISize));
  ResetSimulation(s);
  // Another path or model: what the eye received before belongs to a different picture.
  s.ObserverTrace.Clear(DisplaySettings.Observer.TraceTicks);
}

TRefusal TSimulationCommands::Start() {
  const TSimulationState& s = Simulation;
  if (TRefusal refusal = CheckModelSize(ModelSize())) return refusal;
  if (TRefusal refusal = CheckTrajectory(s.TrajectoryMode, s.Trajectory, WaveVelocityOf(s.ISize)))
    return refusal;
  Rebuild();
  return {};
}

TRefusal TSimulationCommands::ChooseTrajectory(int mode, const TTrajectoryParameters& parameters) {
  TSimulationState& s = Simulation;
  if (mode == tmMouse) {
    s.TrajectoryMode = tmMouse;
    Reset();
    s.ObserverTrace.Clear(DisplaySettings.Observer.TraceTicks);
    return {};
  }
  if (TRefusal refusal = CheckTrajectory(mode, parameters, WaveVelocityOf(s.ISize))) return refusal;
  s.TrajectoryMode = mode;
  s.Trajectory = parameters;
  BuildTrajectory(s.PathGeneration, mode, s.Trajectory, WaveVelocityOf(s.ISize));
  Reset();
  s.ObserverTrace.Clear(DisplaySettings.Observer.TraceTicks);
  return {};
}

TRefusal TSimulationCommands::ChooseModelSize(const TModelSize& size) {
  TSimulationState& s = Simulation;
  if (TRefusal refusal = CheckModelSize(size)) return refusal;
  // The path is sampled one tick's travel at a time, β times the wave speed, and the wave speed
  // follows the rows: at another size the old samples would run the charge at another speed
  // than its dialog says, so the path is checked and sampled again.
  if (TRefusal refusal = CheckTrajectory(s.TrajectoryMode, s.Trajectory, WaveVelocityOf(size.ISize)))
    return refusal;
  s.ISize = size.ISize;
  s.JSize = size.JSize;
  s.WaveFrontSpacing = size.WaveFrontSpacing;
  Rebuild();
  return {};
}

void TSimulationCommands::Reset() {
  ResetSimulation(Simulation);
}

TTickReport TSimulationCommands::RunTick(std::optional<TVector2> cursor) {
  // Mouse mode alone pulls the charge; a cursor in another mode means nothing.
  if (Simulation.TrajectoryMode != tmMouse) cursor.reset();
  const TTickReport report{::RunTick(Simulation, cursor)};
  const TObserverSettings& observer = DisplaySettings.Observer;
  if (observer.Shown) {
    Simulation.ObserverTrace.SampleTick(Simulation.FieldSimulation, Simulation.ISize,
                                        observer.Place, Simulation.TicksSinceReset);
  }
  return report;
}

void TSimulationCommands::SetPhysics(const TPhysicsOptions& options) {
  TFieldSimulation& field = Simulation.FieldSimulation;
  field.LightAberration = options.LightAberration;
  field.TrackEmissionPoint = options.TrackEmissionPoint;
  field.ThomasPrecession = options.ThomasPrecession;
}

TRefusal TSimulationCommands::SetPlotResolution(int pixels) {
  if (TRefusal refusal = CheckPlotResolution(pixels)) return refusal;
  DisplaySettings.PlotResolution = pixels;
  return {};
}

TRefusal TSimulationCommands::SetSpeedPosition(int position) {
  if (TRefusal refusal = CheckSpeedPosition(position)) return refusal;
  Simulation.TimerInterval = TimerIntervalOfSpeed(position);
  return {};
}

TRefusal TSimulationCommands::SetDisplay(const TDisplaySettings& display) {
  if (TRefusal refusal = CheckPlotResolution(display.PlotResolution)) return refusal;
  if (TRefusal refusal = CheckZoomSettings(display.Zoom)) return refusal;
  if (TRefusal refusal = CheckTheme(display.Theme)) return refusal;
  if (TRefusal refusal = CheckScaleUnit(display.ScaleUnit)) return refusal;
  if (TRefusal refusal = CheckObserver(display.Observer)) return refusal;
  const TObserverSettings& was = DisplaySettings.Observer;
  const TObserverSettings& now = display.Observer;
  // A trace holds what one eye received: another place, length, or an eye shown again starts a
  // new one.
  if (now.Shown && (!was.Shown || now.Place.X != was.Place.X || now.Place.Y != was.Place.Y ||
                    now.TraceTicks != was.TraceTicks))
    Simulation.ObserverTrace.Clear(now.TraceTicks);
  DisplaySettings = display;
  return {};
}
