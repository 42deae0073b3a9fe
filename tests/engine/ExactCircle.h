// SPDX-License-Identifier: GPL-3.0-or-later
// A charge on an exact circle, fed to the engine tick by tick as the window's tick would feed
// a path sample: the circle's own position and velocity, not a sampled Bézier path.
#pragma once

#include <cmath>

#include "engine/FieldCal.h"

struct TExactCircle {
  double Beta = 0.9;
  double Radius = 0.2;
  double WaveVelocity = 0.01;  // model units per tick

  // Counter-clockwise, radians per tick.
  double Omega() const { return Beta * WaveVelocity / Radius; }
  TVector2 Pos(double tick) const {
    return {Radius * std::cos(Omega() * tick), Radius * std::sin(Omega() * tick)};
  }
  TVector2 Dir(double tick) const { return {-std::sin(Omega() * tick), std::cos(Omega() * tick)}; }

  // Starts the charge at rest at Pos(0), then runs ticks 1 ... ticks on the circle.
  void Feed(TFieldSimulation& sim, int iSize, int jSize, int ticks) const {
    sim.InitNodes(iSize, jSize, 2.0);
    sim.ResetNodes(iSize, jSize, Pos(0.0), {0.0, 0.0}, 2.0, 5);
    for (int tick = 1; tick <= ticks; ++tick) {
      sim.ChargePos = Pos(tick);
      sim.VelocityDir = Dir(tick);
      sim.Beta = Beta;
      sim.AdvanceCharge();
      sim.UpdateEmitDirections(jSize);
      sim.AdvanceNodes(iSize, jSize, 5);
    }
  }
};
