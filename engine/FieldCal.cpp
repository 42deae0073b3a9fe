// SPDX-License-Identifier: GPL-3.0-or-later
// The field node engine: sizing and reset of the node table, the mouse velocity filter, the
// aberration of the emission directions and the per-tick aging and emission of the nodes.
#include "engine/FieldCal.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

// Two tail-row neighbours closer than this many ulps of their coordinates count as one point.
constexpr double CoincidenceUlps = 64.0;

std::size_t Count(int lastIndex) {
  return static_cast<std::size_t>(lastIndex) + 1;
}

}  // namespace

void TFieldSimulation::InitNodes(int ISize, int JSize, double ModelWidth) {
  const std::size_t rows = Count(ISize);
  const std::size_t lines = Count(JSize);
  RestDirections.resize(lines);
  EmitDirections.resize(lines);
  Nodes.resize(rows);
  for (std::size_t r = 0; r < rows; ++r) Nodes[r].resize(lines);
  ResetWaveFronts.resize(rows);
  ResetEmitPoints.resize(rows + 1);
  History.assign(rows, TChargeRecord{});
  HistoryNewest = 0;
  ThomasAngle = 0.0;

  WaveVelocity = ModelWidth / ISize;
  InvWaveVelocity = 1.0 / WaveVelocity;

  const double s = 2.0 * Pi / JSize;
  for (int j = 0; j <= JSize; ++j) {
    const double theta = j * s;
    RestDirections[j] = {std::cos(theta), std::sin(theta)};
  }
}

// The table a charge leaves after moving uniformly with InitVel for ISize ticks and arriving at
// StartPos. Stepping the emission and aging ISize times would cost ISize^2 node updates; with
// Beta and VelocityDir constant the emission directions are constant too, so the node of row r
// is its emission point (the charge position r + 1 ticks before the end) plus r displacements
// of w * direction, computed below from the newest emission point. The charge positions are
// accumulated tick by tick, and the wavefront marks are stepped on one line only (they are the same
// on every line), so that the result equals the stepped pre-run to rounding.
void TFieldSimulation::ResetNodes(int ISize, int JSize, TVector2 StartPos, TVector2 InitVel,
                                  double ModelWidth, int WaveFrontSpacing) {
  const double w = WaveVelocity;
  const double speed = std::sqrt(InitVel.X * InitVel.X + InitVel.Y * InitVel.Y);

  PrevChargePos = {StartPos.X - ISize * w * InitVel.X, StartPos.Y - ISize * w * InitVel.Y};
  ChargePos = PrevChargePos;
  VelocityDir = speed > RestSpeed ? TVector2{InitVel.X / speed, InitVel.Y / speed} : TVector2{};
  Beta = speed;
  // Uniform motion carries the rest frame without turning it.
  ThomasAngle = 0.0;

  // Wavefront marks: every WaveFrontSpacing-th row at the start, then ISize shifts by one row
  // (rows 0 .. ISize - 1; the tail row keeps its mark), row 0 taking the mark of row
  // WaveFrontSpacing after each shift. Stepped, that costs ISize^2 moves: minutes for a tall
  // model of one line. In closed form: the mark that row 0 takes repeats the start's period S, so
  // after the shifts row r holds the mark of ISize - r; with S = ISize, row 0 copies the tail's
  // mark every time, so every row is marked.
  std::vector<std::uint8_t>& marks = ResetWaveFronts;
  const int spacing = WaveFrontSpacing;
  for (int r = 0; r < ISize; ++r) {
    marks[r] = (spacing >= ISize || (ISize - r) % spacing == 0) ? 1 : 0;
  }
  marks[ISize] = (ISize % spacing == 0) ? 1 : 0;

  // ResetEmitPoints[k]: the charge position before pre-run tick k (1 ... ISize); entry ISize + 1
  // is where it ends. A tick moves the charge and then emits, so pre-run tick k emits from
  // ResetEmitPoints[k + 1] and the last one from the charge's present position: row r then comes
  // from where the charge was r ticks ago, as after any tick, and as the charge's history
  // records it. Emitted a step earlier, the rows would lag the charge by one step, and the
  // first tick would make up for it with a jump of two steps: a kink on every line.
  const TVector2 tickStep{w * InitVel.X, w * InitVel.Y};
  ResetEmitPoints[1] = ChargePos;
  for (int k = 2; k <= ISize + 1; ++k) {
    ResetEmitPoints[k] = {ResetEmitPoints[k - 1].X + tickStep.X,
                          ResetEmitPoints[k - 1].Y + tickStep.Y};
  }

  UpdateEmitDirections(JSize);

  // Seen from the newest emission point, row r of a line lies r * w * (direction - V) away
  // (with emission points at the origin: r * w * direction). A line that moves with the charge
  // (direction = V) thus stays exactly at that point, as it does when stepped, which the tail
  // rule below relies on.
  const TVector2 newest = TrackEmissionPoint ? ResetEmitPoints[ISize + 1] : TVector2{};
  const TVector2 drift = TrackEmissionPoint ? tickStep : TVector2{};
  double radius = 0.0;
  for (int r = 0; r < ISize; ++r) {
    if (r > 0) radius += w;
    const TVector2 emit = TrackEmissionPoint ? ResetEmitPoints[ISize + 1 - r] : TVector2{};
    const double age = r;
    TFieldNode* row = Nodes[r].data();
    for (int j = 0; j <= JSize; ++j) {
      const TEmitDirection& e = EmitDirections[j];
      TFieldNode& n = row[j];
      n.VX = w * e.X;
      n.VY = w * e.Y;
      n.X = newest.X + age * (n.VX - drift.X);
      n.Y = newest.Y + age * (n.VY - drift.Y);
      n.Angle = e.Angle;
      n.Radius = radius;
      n.EmitX = emit.X;
      n.EmitY = emit.Y;
      n.WaveFront = marks[r];
    }
  }

  // The tail row moves with its own velocity during the pre-run and keeps that position where
  // the rule below cannot give it a direction.
  for (TFieldNode& tail : Nodes[ISize]) {
    for (int tick = 0; tick < ISize; ++tick) {
      tail.X += tail.VX;
      tail.Y += tail.VY;
    }
    tail.WaveFront = marks[ISize];
  }

  ChargePos = ResetEmitPoints[ISize + 1];
  PrevChargePos = {ChargePos.X - tickStep.X, ChargePos.Y - tickStep.Y};

  // The history holds the same uniform motion: the ISize pre-run ticks and the arrival.
  const TVector2 beta = BetaVector();
  const int recorded = std::min(ISize + 1, ChargeHistoryCount());
  for (int k = 0; k < recorded; ++k) {
    History[static_cast<std::size_t>(k)] = {ResetEmitPoints[k + 1], beta};
  }
  HistoryNewest = std::max(recorded - 1, 0);

  // Tail: 2 * ModelWidth beyond the oldest node along the last piece of its line, so that the
  // far part of every line runs on out of the plot, with the initial velocity, by which it drifts
  // on while its line gives no direction.
  for (int j = 0; j <= JSize; ++j) {
    if (PlaceTail(ISize, j, ModelWidth)) {
      Nodes[ISize][j].VX = tickStep.X;
      Nodes[ISize][j].VY = tickStep.Y;
    }
  }
}

bool TFieldSimulation::PlaceTail(int ISize, int j, double modelWidth) {
  const TFieldNode& last = Nodes[ISize - 1][j];
  const TFieldNode& before = Nodes[ISize - 2][j];
  const double dx = last.X - before.X;
  const double dy = last.Y - before.Y;
  const double m = std::sqrt(dx * dx + dy * dy);
  // Nodes that coincide to the rounding of their coordinates (a line moving with the charge)
  // give no direction; the tail then stays where it was rather than point at random.
  const double rounding =
      CoincidenceUlps * DBL_EPSILON *
      (std::fabs(last.X) + std::fabs(last.Y) + std::fabs(before.X) + std::fabs(before.Y));
  if (!(m > 1e-30 && m > rounding)) return false;
  TFieldNode& tail = Nodes[ISize][j];
  tail.X = last.X + 2.0 * modelWidth * dx / m;
  tail.Y = last.Y + 2.0 * modelWidth * dy / m;
  return true;
}

void TFieldSimulation::RecordCharge(TVector2 pos, TVector2 beta) {
  const int count = ChargeHistoryCount();
  if (count == 0) return;
  HistoryNewest = HistoryNewest + 1 < count ? HistoryNewest + 1 : 0;
  History[static_cast<std::size_t>(HistoryNewest)] = {pos, beta};
}

TVector2 TFieldSimulation::BetaVector() const {
  if (!(std::fabs(Beta) >= RestSpeed)) return {};
  const double speed = std::fabs(Beta) < MaxBeta ? Beta : std::copysign(MaxBeta, Beta);
  const double length = VectorLength(VelocityDir);
  if (!(length > 0.0)) return {};
  return {speed * VelocityDir.X / length, speed * VelocityDir.Y / length};
}

// Successive boosts from beta0 to beta1 turn the rest frame against the plot by
//   dtheta = gamma^2 / (gamma + 1) (dbeta x beta)_z   radians,
// the Thomas rotation omega_T dt = gamma^2 / (gamma + 1) (a x v) dt / c^2 over one tick, with
// beta and gamma taken at the middle of the tick: a counter-clockwise turn of the velocity turns
// the rest frame clockwise.
void TFieldSimulation::AdvanceCharge() {
  const TVector2 beta1 = BetaVector();
  if (ThomasPrecession && ChargeHistoryCount() > 0) {
    const TVector2 beta0 = ChargeHistory(0).Beta;
    const TVector2 change{beta1.X - beta0.X, beta1.Y - beta0.Y};
    const TVector2 mean{0.5 * (beta0.X + beta1.X), 0.5 * (beta0.Y + beta1.Y)};
    const double gamma2 = 1.0 / (1.0 - (mean.X * mean.X + mean.Y * mean.Y));
    const double gamma = std::sqrt(gamma2);
    ThomasAngle += gamma2 / (gamma + 1.0) * (change.X * mean.Y - change.Y * mean.X);
    if (ThomasAngle > Pi) ThomasAngle -= 2.0 * Pi;
    if (ThomasAngle <= -Pi) ThomasAngle += 2.0 * Pi;
  } else {
    ThomasAngle = 0.0;
  }
  RecordCharge(ChargePos, beta1);
}

// Velocity from the mean displacement of the last four ticks, in units of WaveVelocity.
void TFieldSimulation::UpdateMouseVelocity(int TrajectoryMode) {
  if (TrajectoryMode != 1) return;

  StepHistoryX[0] = ChargePos.X - PrevChargePos.X;
  StepHistoryY[0] = ChargePos.Y - PrevChargePos.Y;
  const double vx = (StepHistoryX[0] + StepHistoryX[1] + StepHistoryX[2] + StepHistoryX[3]) *
                    (InvWaveVelocity * 0.25);
  const double vy = (StepHistoryY[0] + StepHistoryY[1] + StepHistoryY[2] + StepHistoryY[3]) *
                    (InvWaveVelocity * 0.25);
  Beta = std::sqrt(vx * vx + vy * vy);
  // A charge at rest has no direction; (1, 1) is what the direction reads then.
  VelocityDir = Beta > RestSpeed ? TVector2{vx / Beta, vy / Beta} : TVector2{1.0, 1.0};
  if (Beta > MaxBeta) Beta = MaxBeta;
  PrevChargePos = ChargePos;

  for (int i = 3; i >= 1; --i) {
    StepHistoryX[i] = StepHistoryX[i - 1];
    StepHistoryY[i] = StepHistoryY[i - 1];
  }
}

// Aberration of an emission that is isotropic in the rest frame, with a = u.r along the motion
// and q = u x r across it: a' = (a + b) / (1 + b a), q' = q / (gamma (1 + b a)), so that
// (a', q') is again a unit vector, crowded towards the motion as b grows. The rest directions
// are first turned by ThomasAngle, the rest frame's rotation against the plot.
void TFieldSimulation::UpdateEmitDirections(int JSize) {
  const double b = std::fabs(Beta) < MaxBeta ? Beta : MaxBeta;
  const double gamma = 1.0 / std::sqrt(1.0 - b * b);

  // Unturned, the rest directions are used as they stand, so that the picture without the
  // precession (and of any motion along a line) stays exactly what it was. Turned, line JSize
  // takes line 0's direction, so that the wavefront stays closed.
  const bool turned = ThomasAngle != 0.0;
  const double turnCos = turned ? std::cos(ThomasAngle) : 1.0;
  const double turnSin = turned ? std::sin(ThomasAngle) : 0.0;
  const auto rest = [&](int j) {
    if (!turned) return RestDirections[j];
    const TVector2 r = RestDirections[j == JSize ? 0 : j];
    return TVector2{turnCos * r.X - turnSin * r.Y, turnSin * r.X + turnCos * r.Y};
  };

  if (std::fabs(Beta) < RestSpeed || !LightAberration) {
    for (int j = 0; j <= JSize; ++j) {
      const TVector2 r = rest(j);
      EmitDirections[j].X = r.X;
      EmitDirections[j].Y = r.Y;
    }
  } else {
    const TVector2 u = VelocityDir;
    for (int j = 0; j <= JSize; ++j) {
      const TVector2 r = rest(j);
      const double a = u.X * r.X + u.Y * r.Y;
      const double q = u.X * r.Y - u.Y * r.X;
      const double k = 1.0 / (1.0 + b * a);
      const double aPrime = (a + b) * k;
      const double qPrime = k * q / gamma;
      EmitDirections[j].X = aPrime * u.X - qPrime * u.Y;
      EmitDirections[j].Y = aPrime * u.Y + qPrime * u.X;
    }
  }

  // Straight up or down gets exactly +-pi/2, whatever rounding left in X.
  for (int j = 0; j <= JSize; ++j) {
    TEmitDirection& e = EmitDirections[j];
    if (std::fabs(e.X) > 1e-6) {
      e.Angle = std::atan2(e.Y, e.X);
    } else {
      e.Angle = e.Y > 0.0 ? Pi / 2.0 : -Pi / 2.0;
    }
  }
}

// Row r of the new table is row r - 1 moved by one tick; the oldest emitted row drops out, the
// tail runs on beyond the new oldest row, and row 0 is this tick's emission.
void TFieldSimulation::AdvanceNodes(int ISize, int JSize, int WaveFrontSpacing) {
  const double w = WaveVelocity;
  const std::size_t lines = Count(JSize);

  // Aging re-indexes the rows, so the rows are rotated rather than copied: rows 0 .. ISize - 2
  // become rows 1 .. ISize - 1 by moving their vectors (a pointer swap each), and the storage of
  // the dropped row ISize - 1 comes round as row 0, to be overwritten by this tick's emission.
  // The tail row ISize stays where it is. Each row is then moved in place, one read and one
  // write of the table per tick. All nodes of a row were emitted in the same tick, so they
  // share one Radius.
  const auto firstRow = Nodes.begin();
  std::rotate(firstRow, firstRow + (ISize - 1), firstRow + ISize);
  for (int r = 1; r < ISize; ++r) {
    TFieldNode* row = Nodes[r].data();
    const double radius = row[0].Radius + w;
    for (std::size_t j = 0; j < lines; ++j) {
      row[j].X += row[j].VX;
      row[j].Y += row[j].VY;
      row[j].Radius = radius;
    }
  }

  // The mark is read after the shift, so the marks repeat every WaveFrontSpacing rows. Row
  // WaveFrontSpacing (at least 1) is an aged row or the tail, never the row written below.
  const TFieldNode* markRow = Nodes[WaveFrontSpacing].data();
  const TVector2 emit = TrackEmissionPoint ? ChargePos : TVector2{};
  TFieldNode* newest = Nodes[0].data();
  for (std::size_t j = 0; j < lines; ++j) {
    const TEmitDirection& e = EmitDirections[j];
    TFieldNode& n = newest[j];
    n.WaveFront = markRow[j].WaveFront;
    n.X = emit.X;
    n.Y = emit.Y;
    n.EmitX = emit.X;
    n.EmitY = emit.Y;
    n.VX = w * e.X;
    n.VY = w * e.Y;
    n.Angle = e.Angle;
    n.Radius = 0.0;
  }

  // Beyond the oldest row lies field emitted before the kept history, which the table no
  // longer holds. A tail that only drifted with the velocity of the last reset would be right
  // for as long as the charge kept that velocity; on a closed path it wanders off to one side,
  // and the straight pieces out to it cut across the whole plot. So each line runs on along its
  // own last piece: in uniform motion that is the straight line the drifting tail followed (the
  // line moves by w V per tick, and so does this tail, to rounding). A line whose two oldest
  // nodes coincide gives no direction, and its tail drifts on. Placed after this tick's
  // emission, which is the second oldest row of a model of two rows.
  const double modelWidth = static_cast<double>(ISize) * w;
  for (std::size_t j = 0; j < lines; ++j) {
    if (PlaceTail(ISize, static_cast<int>(j), modelWidth)) continue;
    TFieldNode& tail = Nodes[ISize][j];
    tail.X += tail.VX;
    tail.Y += tail.VY;
  }
}
