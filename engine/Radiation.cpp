// SPDX-License-Identifier: GPL-3.0-or-later
// The radiated power of the charge: the Liénard–Wiechert pattern, the Liénard total, and the
// charge's velocity and acceleration as the animation gives them.
#include "engine/Radiation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double SphereFactor = 8.0 * Pi / 3.0;
// The speeds the tick records (FieldSimulation's velocity vector) are zero below RestSpeed and
// at most MaxBeta, where the pattern's (1 - n.beta)^-5 is still finite.

double Dot(TVector3 a, TVector3 b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

TVector3 Cross(TVector3 a, TVector3 b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

TVector3 InPlane(TVector2 v) { return {v.X, v.Y, 0.0}; }

struct TDirections {
  std::array<double, PatternDirectionCount> Cos{};
  std::array<double, PatternDirectionCount> Sin{};
};

const TDirections& Directions() {
  static const TDirections table = [] {
    TDirections t;
    for (int k = 0; k < PatternDirectionCount; ++k) {
      const double phi = 2.0 * Pi * k / PatternDirectionCount;
      t.Cos[static_cast<std::size_t>(k)] = std::cos(phi);
      t.Sin[static_cast<std::size_t>(k)] = std::sin(phi);
    }
    return t;
  }();
  return table;
}

// The velocity the tick records for a sample: its speed capped as the engine caps it, along its
// unit tangent.
TVector2 SampleBeta(const TPathSample& sample) {
  const double speed = std::min(std::fabs(sample.Beta), MaxBeta);
  const double length = std::sqrt(sample.DirX * sample.DirX + sample.DirY * sample.DirY);
  if (!(speed >= RestSpeed) || !(length > 0.0)) return {};
  return {speed * sample.DirX / length, speed * sample.DirY / length};
}

// A change of beta smaller than this per tick is the rounding of positions and directions (a
// charge dragged at a steady speed, the slanted exit of the bending magnet), not an acceleration:
// a pattern drawn to full size from it would be noise.
constexpr double MinBetaChangePerTick = 1e-9;

// d(beta) / d(ct) from the change of beta over ticks ticks, in 1 / model unit.
TVector3 BetaDotOf(TVector2 before, TVector2 after, int ticks, double waveVelocity) {
  const double dx = (after.X - before.X) / ticks;
  const double dy = (after.Y - before.Y) / ticks;
  if (!(std::sqrt(dx * dx + dy * dy) >= MinBetaChangePerTick)) return {};
  return {dx / waveVelocity, dy / waveVelocity, 0.0};
}

// Centred difference over the ticks before and after.
TChargeMotion MotionOf(TVector2 beta, TVector2 before, TVector2 after, double waveVelocity) {
  return {InPlane(beta), BetaDotOf(before, after, 2, waveVelocity)};
}

// The velocity of the next tick, by the rules of the tick's MoveCharge.
TVector2 NextTickBeta(const TSimulationState& state, TVector2 now) {
  const TPath& path = state.PathGeneration.Path;
  const int last = LastUsableSample(path);
  if (!IsPathMode(state.TrajectoryMode) || last < 0) return now;
  int next = state.FrameIndex < last ? state.FrameIndex + 1 : last + 1;
  if (next > last) {
    if (state.TrajectoryMode == tmStraightLine) return {};
    if (!IsClosedPath(state.TrajectoryMode)) return now;
    next = 0;
  }
  return SampleBeta(path.Samples[static_cast<std::size_t>(std::max(next, 0))]);
}

}  // namespace

double PowerPerSolidAngle(TVector3 beta, TVector3 betaDot, TVector3 n) {
  const double a = Dot(n, betaDot);
  const double b = 1.0 - Dot(n, beta);
  const double b2 = b * b;
  const double numerator = b2 * Dot(betaDot, betaDot) + 2.0 * a * b * Dot(beta, betaDot) -
                           (1.0 - Dot(beta, beta)) * a * a;
  // Mathematically >= 0 (a squared length); rounding may leave a hair below.
  return std::max(0.0, numerator / (b2 * b2 * b));
}

double TotalPower(TVector3 beta, TVector3 betaDot) {
  const double gamma2 = 1.0 / (1.0 - Dot(beta, beta));
  const TVector3 across = Cross(beta, betaDot);
  return SphereFactor * gamma2 * gamma2 * gamma2 *
         (Dot(betaDot, betaDot) - Dot(across, across));
}

double LarmorPower(TVector3 betaDot) { return SphereFactor * Dot(betaDot, betaDot); }

TVector3 PatternDirection(int k) {
  const TDirections& d = Directions();
  const auto i = static_cast<std::size_t>(((k % PatternDirectionCount) + PatternDirectionCount) %
                                          PatternDirectionCount);
  return {d.Cos[i], d.Sin[i], 0.0};
}

bool TRadiationPattern::Radiates() const {
  return std::any_of(Values.begin(), Values.end(), [](double v) { return v > 0.0; });
}

void TRadiationPattern::Clear() {
  Values.fill(0.0);
  Power = 0.0;
  Larmor = 0.0;
}

// The in-plane form of PowerPerSolidAngle with the per-motion parts taken out of the loop:
// one multiply-add chain and one division per direction.
void AddMotion(TRadiationPattern& pattern, const TChargeMotion& motion, double weight) {
  const TVector3 beta = motion.Beta;
  const TVector3 dot = motion.BetaDot;
  const double accel2 = Dot(dot, dot);
  if (!(accel2 > 0.0) || weight == 0.0) return;
  const double beta2 = Dot(beta, beta);
  const double betaDotBeta = 2.0 * Dot(beta, dot);
  const double transverse = 1.0 - beta2;
  const TDirections& d = Directions();
  for (std::size_t k = 0; k < static_cast<std::size_t>(PatternDirectionCount); ++k) {
    const double a = d.Cos[k] * dot.X + d.Sin[k] * dot.Y;
    const double b = 1.0 - (d.Cos[k] * beta.X + d.Sin[k] * beta.Y);
    const double b2 = b * b;
    const double numerator = b2 * accel2 + a * b * betaDotBeta - transverse * a * a;
    pattern.Values[k] += weight * std::max(0.0, numerator / (b2 * b2 * b));
  }
  pattern.Power += weight * TotalPower(beta, dot);
  pattern.Larmor += weight * LarmorPower(dot);
}

TChargeMotion CurrentMotion(const TSimulationState& state) {
  const TFieldSimulation& field = state.FieldSimulation;
  const double w = field.WaveVelocity;
  if (!(w > 0.0) || field.ChargeHistoryCount() == 0) return {};
  const TVector2 now = field.ChargeHistory(0).Beta;
  if (state.TrajectoryMode == tmMouse) {
    const TVector2 old = field.ChargeHistory(MouseRateTicks).Beta;
    return {InPlane(now), BetaDotOf(old, now, MouseRateTicks, w)};
  }
  return MotionOf(now, field.ChargeHistory(1).Beta, NextTickBeta(state, now), w);
}

void InstantaneousPattern(const TSimulationState& state, TRadiationPattern& pattern) {
  pattern.Clear();
  AddMotion(pattern, CurrentMotion(state), 1.0);
}

void PathAveragePattern(const TSimulationState& state, TRadiationPattern& pattern) {
  pattern.Clear();
  const int mode = state.TrajectoryMode;
  const TPath& path = state.PathGeneration.Path;
  const double w = state.FieldSimulation.WaveVelocity;
  const int last = LastUsableSample(path);
  if (!IsPathMode(mode) || last < 0 || !(w > 0.0)) return;

  // The velocities tick by tick: beta[0 .. ticks - 1].
  const auto sample = [&](int i) { return SampleBeta(path.Samples[static_cast<std::size_t>(i)]); };
  int ticks = last + 1;
  const auto betaAt = [&](int tick) -> TVector2 {
    if (IsClosedPath(mode)) return sample(((tick % ticks) + ticks) % ticks);
    if (mode == tmStraightLine) {
      // At rest on sample 0 after the reset, then samples 1 .. last, then stopped.
      if (tick <= 0 || tick > last) return {};
      return sample(tick);
    }
    return sample(std::clamp(tick, 0, last));
  };
  if (mode == tmStraightLine) ticks = last + 2;

  const double weight = 1.0 / ticks;
  for (int tick = 0; tick < ticks; ++tick) {
    AddMotion(pattern, MotionOf(betaAt(tick), betaAt(tick - 1), betaAt(tick + 1), w), weight);
  }
}

void TMotionAverage::Resize(int capacity) {
  Ring.assign(static_cast<std::size_t>(std::max(1, capacity)), TChargeMotion{});
  Clear();
}

void TMotionAverage::Clear() {
  Next = 0;
  Filled = 0;
  Accelerated = 0;
  Sum.Clear();
  MeanPattern.Clear();
}

namespace {
bool Accelerates(const TChargeMotion& motion) {
  const TVector3& d = motion.BetaDot;
  return d.X != 0.0 || d.Y != 0.0 || d.Z != 0.0;
}
}  // namespace

void TMotionAverage::Add(const TChargeMotion& motion) {
  if (Ring.empty()) Resize(1);
  TChargeMotion& slot = Ring[static_cast<std::size_t>(Next)];
  if (Filled == static_cast<int>(Ring.size())) {
    AddMotion(Sum, slot, -1.0);
    if (Accelerates(slot)) --Accelerated;
  } else {
    ++Filled;
  }
  slot = motion;
  AddMotion(Sum, motion, 1.0);
  if (Accelerates(motion)) ++Accelerated;
  Next = Next + 1 < static_cast<int>(Ring.size()) ? Next + 1 : 0;
  // Adding and taking away leaves rounding behind: a still charge must show exactly nothing,
  // and once per round of the ring the sum starts afresh from the motions it holds.
  if (Accelerated == 0) {
    Sum.Clear();
  } else if (Next == 0) {
    Recompute();
  }
  UpdateMean();
}

void TMotionAverage::Recompute() {
  Sum.Clear();
  for (int i = 0; i < Filled; ++i) AddMotion(Sum, Ring[static_cast<std::size_t>(i)], 1.0);
}

void TMotionAverage::UpdateMean() {
  MeanPattern.Clear();
  if (Filled == 0) return;
  const double scale = 1.0 / Filled;
  for (std::size_t k = 0; k < MeanPattern.Values.size(); ++k) {
    MeanPattern.Values[k] = std::max(0.0, Sum.Values[k] * scale);
  }
  MeanPattern.Power = Sum.Power * scale;
  MeanPattern.Larmor = Sum.Larmor * scale;
}
