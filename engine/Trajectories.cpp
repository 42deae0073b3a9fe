// SPDX-License-Identifier: GPL-3.0-or-later
// The path calls of each trajectory kind: one constructor, the sampler at Step = beta * wave
// speed, and for the dipole the fold of the sampled circle onto the y axis.
#include "engine/Trajectories.h"

#include "engine/SimulationState.h"

void BuildTrajectory(TPathGeneration& generator, int trajectoryMode,
                     const TTrajectoryParameters& parameters, double waveVelocity) {
  const TTrajectoryParameters& p = parameters;
  const double w = waveVelocity;
  switch (trajectoryMode) {
    case tmStraightLine:
      generator.MakeLine(p.LineStartX, p.LineStopX);
      generator.SampleUniform(p.LineBeta * w, p.LineBeta);
      break;
    case tmDipole:
      generator.MakeCircle(p.DipoleAmplitude);
      generator.SampleUniform(p.DipoleBeta * w, p.DipoleBeta);
      generator.MakeDipole();
      break;
    case tmCircle:
      generator.MakeCircle(p.CircleRadius);
      generator.SampleUniform(p.CircleBeta * w, p.CircleBeta);
      break;
    case tmRaceTrack:
      generator.MakeRaceTrack(p.RaceRadius, p.RaceStraight);
      generator.SampleUniform(p.RaceBeta * w, p.RaceBeta);
      break;
    case tmUndulator:
      generator.MakeUndulator(p.UndPeriods, UndulatorSwing(p), p.UndPeriod);
      generator.SampleUniform(p.UndBeta * w, p.UndBeta);
      break;
    case tmBending:
      generator.MakeBending(p.BendRadius, p.BendAngle);
      generator.SampleUniform(p.BendBeta * w, p.BendBeta);
      break;
    default:
      break;  // mouse mode has no path
  }
}
