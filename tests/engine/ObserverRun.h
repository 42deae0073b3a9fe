// SPDX-License-Identifier: GPL-3.0-or-later
// The eye's tests run the program's own commands: a model, a path, the eye shown at a place, and
// ticks. The circle's trace is held against the Liénard–Wiechert field of the exact circle that
// the sampled path stands for, worked out here on its own.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/SimulationCommands.h"

// The small model: 100 rows, a wave speed of 0.02 model units per tick.
constexpr TModelSize SmallModel{ModelSizeSmall.ISize, ModelSizeSmall.JSize,
                                ModelSizeSmall.WaveFrontSpacing};

struct TObserverRun {
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};

  // The model, then the eye, then the path: the trace starts with the path's reset, so that its
  // sample times are the ticks since the reset.
  void Start(const TModelSize& size, int mode, const TTrajectoryParameters& parameters,
             TVector2 eye, int traceTicks) {
    ASSERT_FALSE(Commands.Start());
    ASSERT_FALSE(Commands.ChooseModelSize(size));
    TDisplaySettings display = Display;
    display.Observer.Shown = true;
    display.Observer.Place = eye;
    display.Observer.TraceTicks = traceTicks;
    ASSERT_FALSE(Commands.SetDisplay(display));
    ASSERT_FALSE(Commands.ChooseTrajectory(mode, parameters));
  }
  void Run(int ticks) {
    for (int t = 0; t < ticks; ++t) Commands.RunTick();
  }
  // The eye hidden and shown again: a new trace from the next tick on.
  void RestartTrace() {
    TDisplaySettings display = Display;
    display.Observer.Shown = false;
    ASSERT_FALSE(Commands.SetDisplay(display));
    display.Observer.Shown = true;
    ASSERT_FALSE(Commands.SetDisplay(display));
  }
};

// The circle the sampled path stands for: its centre and mean radius, its period of P samples,
// passing sample 0 at tick 0 (the reset) and sample k at tick k.
struct TPathCircle {
  TVector2 Centre;
  double Radius = 0.0;
  double Omega = 0.0;  // radians per tick
  double Phase = 0.0;
  double WaveVelocity = 0.0;

  static TPathCircle Of(const TSimulationState& state) {
    TPathCircle c;
    const TPath& path = state.PathGeneration.Path;
    const int count = LastUsableSample(path) + 1;
    for (int i = 0; i < count; ++i) {
      c.Centre.X += path.Samples[static_cast<std::size_t>(i)].X / count;
      c.Centre.Y += path.Samples[static_cast<std::size_t>(i)].Y / count;
    }
    for (int i = 0; i < count; ++i) {
      const TPathSample& s = path.Samples[static_cast<std::size_t>(i)];
      c.Radius += std::hypot(s.X - c.Centre.X, s.Y - c.Centre.Y) / count;
    }
    c.Omega = 2.0 * std::numbers::pi / count;
    c.Phase = std::atan2(path.Samples[0].Y - c.Centre.Y, path.Samples[0].X - c.Centre.X);
    c.WaveVelocity = WaveVelocityOf(state.ISize);
    return c;
  }
  TVector2 Pos(double t) const {
    const double a = Phase + Omega * t;
    return {Centre.X + Radius * std::cos(a), Centre.Y + Radius * std::sin(a)};
  }

  // The field of a positive unit charge at p, t ticks after the reset (Gaussian units, lengths in
  // model units): t_r from |p − x(t_r)| = c (t − t_r) by bisection, then with n, R, β and
  // β̇ = a / c² (per unit of light travel) at t_r, κ = 1 − n·β:
  //   E = (n − β)(1 − β²) / (κ³ R²) + n × ((n − β) × β̇) / (κ³ R).
  // Returns t_r.
  double Field(TVector2 p, double t, TVector2& field, TVector2& radiation) const {
    const double w = WaveVelocity;
    double lo = 0.0;
    double hi = (std::hypot(p.X - Centre.X, p.Y - Centre.Y) + Radius) / w + 1.0;
    for (int step = 0; step < 80; ++step) {
      const double mid = 0.5 * (lo + hi);
      const TVector2 x = Pos(t - mid);
      (std::hypot(p.X - x.X, p.Y - x.Y) > w * mid ? lo : hi) = mid;
    }
    const double tr = t - 0.5 * (lo + hi);
    const double a = Phase + Omega * tr;
    const TVector2 x = Pos(tr);
    const double speed = Radius * Omega / w;
    const TVector2 beta{-speed * std::sin(a), speed * std::cos(a)};
    const double accel = Radius * Omega * Omega / (w * w);
    const TVector2 betaDot{-accel * std::cos(a), -accel * std::sin(a)};
    const double r = std::hypot(p.X - x.X, p.Y - x.Y);
    const TVector2 n{(p.X - x.X) / r, (p.Y - x.Y) / r};
    const double kappa = 1.0 - (n.X * beta.X + n.Y * beta.Y);
    const double k3 = kappa * kappa * kappa;
    const double b2 = beta.X * beta.X + beta.Y * beta.Y;
    const TVector2 nb{n.X - beta.X, n.Y - beta.Y};
    // In the plane (n − β) × β̇ = c e_z, and n × c e_z = c (n_y, −n_x).
    const double cz = (nb.X * betaDot.Y - nb.Y * betaDot.X) / (k3 * r);
    radiation = {n.Y * cz, -n.X * cz};
    const double v = (1.0 - b2) / (k3 * r * r);
    field = {nb.X * v + radiation.X, nb.Y * v + radiation.Y};
    return tr;
  }
};
