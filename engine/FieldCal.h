// SPDX-License-Identifier: GPL-3.0-or-later
// The field node engine: the node table of the field of a moving point charge, its reset to
// uniform motion, the aberration of the emission directions and the per-tick emission and aging.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/MyMath.h"

struct TEmitDirection {
  double X = 0.0;
  double Y = 0.0;
  double Angle = 0.0;
};

// One node: emitted Radius / WaveVelocity ticks ago from (EmitX, EmitY) along Angle, moving
// (VX, VY) per tick, so (X, Y) = (EmitX, EmitY) + Radius * (cos Angle, sin Angle).
struct TFieldNode {
  double X = 0.0;
  double Y = 0.0;
  double VX = 0.0;
  double VY = 0.0;
  double Angle = 0.0;
  double Radius = 0.0;
  double EmitX = 0.0;
  double EmitY = 0.0;
  std::uint8_t WaveFront = 0;
};

// Below this speed (units of the wave speed) the charge counts as at rest: no aberration, no
// direction of motion.
constexpr double RestSpeed = 1e-6;
// The largest speed the engine uses, so that gamma and 1 / (1 - n.beta) stay finite.
constexpr double MaxBeta = 0.9999;

// The charge at one tick: position (model units) and velocity beta (units of the wave speed).
struct TChargeRecord {
  TVector2 Pos;
  TVector2 Beta;
};

// Nodes[row][line]: row = age in ticks (0 = this tick's emission, ISize = the far tail that keeps
// every line running out of the plot), line 0..JSize (line JSize repeats the direction of line 0).
// Aging hands each row's storage on to the next row index: a pointer into Nodes[r], r < ISize - 1,
// taken before a tick points into Nodes[r + 1] after it.
class TFieldSimulation {
 public:
  double WaveVelocity = 0.0;  // model units per tick, ModelWidth / ISize
  double InvWaveVelocity = 0.0;
  std::vector<TVector2> RestDirections;
  std::vector<TEmitDirection> EmitDirections;
  std::vector<std::vector<TFieldNode>> Nodes;
  TVector2 PrevChargePos;
  TVector2 ChargePos;
  double Beta = 0.0;  // charge speed in units of the wave speed
  TVector2 VelocityDir;

  bool LightAberration = true;
  bool TrackEmissionPoint = true;
  // Carry the rest-frame emission directions along with the rest frame that successive boosts
  // reach, which turns against the plot when the motion turns (Thomas precession).
  bool ThomasPrecession = true;
  // Radians, in (-pi, pi]: the rotation of the charge's rest frame against the plot, accumulated
  // per tick by AdvanceCharge; 0 after InitNodes and ResetNodes and while the option is off.
  double ThomasAngle = 0.0;

  // Charge displacements of the last four ticks in mouse mode, newest first.
  std::array<double, 4> StepHistoryX{};
  std::array<double, 4> StepHistoryY{};

  // The charge's position and velocity of the last ISize + 1 ticks, 0 = this tick: sized by
  // InitNodes, filled by ResetNodes with the uniform motion it assumes, written every tick by
  // RecordCharge. ticksAgo beyond ChargeHistoryCount() - 1 is clamped to the oldest entry.
  const TChargeRecord& ChargeHistory(int ticksAgo) const;
  int ChargeHistoryCount() const;
  void RecordCharge(TVector2 pos, TVector2 beta);

  // The velocity vector of this tick, Beta x VelocityDir in units of the wave speed: zero below
  // the rest speed (the mouse filter's (1, 1) at rest), at most the aberration's speed cap.
  TVector2 BetaVector() const;
  // After the charge has moved and before UpdateEmitDirections: the Thomas step from the
  // velocity of the previous tick (the newest history entry) to this one, then RecordCharge.
  void AdvanceCharge();

  void InitNodes(int ISize, int JSize, double ModelWidth);
  void ResetNodes(int ISize, int JSize, TVector2 StartPos, TVector2 InitVel, double ModelWidth,
                  int WaveFrontSpacing);
  void UpdateMouseVelocity(int TrajectoryMode);
  void UpdateEmitDirections(int JSize);
  void AdvanceNodes(int ISize, int JSize, int WaveFrontSpacing);

 private:
  // Puts the tail node of line j 2 * modelWidth beyond the line's oldest node along its last
  // piece, so that the line runs on out of the plot the way it was going; false (the tail left
  // as it was) where the two oldest nodes coincide to rounding.
  bool PlaceTail(int ISize, int j, double modelWidth);
  // Working storage of ResetNodes, sized by InitNodes: the wavefront marks of one line and
  // the charge positions of the ticks before the reset.
  std::vector<std::uint8_t> ResetWaveFronts;
  std::vector<TVector2> ResetEmitPoints;
  // Ring buffer of ChargeHistory, ISize + 1 entries; HistoryNewest indexes this tick's entry.
  std::vector<TChargeRecord> History;
  int HistoryNewest = 0;
};

// Inline: the field arrows read the history a dozen times for each of a thousand points a frame.
inline const TChargeRecord& TFieldSimulation::ChargeHistory(int ticksAgo) const {
  static const TChargeRecord none{};
  const int count = ChargeHistoryCount();
  if (count == 0) return none;
  const int k = std::clamp(ticksAgo, 0, count - 1);
  const int index = HistoryNewest >= k ? HistoryNewest - k : HistoryNewest - k + count;
  return History[static_cast<std::size_t>(index)];
}

inline int TFieldSimulation::ChargeHistoryCount() const {
  return static_cast<int>(History.size());
}
