// SPDX-License-Identifier: GPL-3.0-or-later
// The exact field of the charge from its recorded history: the tick of the emission by the signs
// of a squared distance, the moment inside it by Newton's method, then the Liénard–Wiechert field.
#include "engine/RetardedField.h"

#include <algorithm>
#include <cmath>

namespace {

// MaxBeta also caps the cubic between two ticks, which may run a little faster than its ends:
// 1 - n.beta and 1 - beta^2 stay away from zero.
// Closer to the charge than this many wave steps the field counts as undefined (it grows as
// 1 / R^2 without bound).
constexpr double OnChargeSteps = 1e-9;
// Newton inside one tick stops when the bracket or the step is below this fraction of a tick. The
// step is still taken, and Newton's error squares with every step, so what is left after a step
// of 1e-9 is far below the rounding of the time itself (about 1e-16 of a tick).
constexpr double TickTolerance = 1e-9;
// It stops as well once the error a step leaves is estimated below this fraction of a tick: the
// rounding of the time, not TickTolerance. Near a kink the field changes by a ten-millionth for
// 1e-9 of a tick, which now and then moves an arrow's end by a pixel; settled to its rounding, the
// time is the root whichever start the search had.
constexpr double SettledTicks = 1e-15;
constexpr int MaxNewtonSteps = 60;

// A velocity that changed at once shows in two records as a step that is one end's velocity
// rather than the mean of both: a start from rest moves by the new velocity in its first tick,
// a stop not at all in the tick after it. The cubic through such records must outrun both ends to
// make up the step (from rest to 0.8 it reaches 1.07 c in the middle of the tick) or run back
// (a stop), and the radiation of that path reverses its sign in part of the kink. Such records
// are taken for what they say: the velocity jumped at a record, and the charge ran straight
// between them at the step's velocity; the jump's pulse is thinner than any point can show.
// A smooth path has step ~ (v0 + v1) / 2, with both ends about |v1 - v0| / 2 off it; a jump has
// one end on the step (JumpNearShare) and the other a sizeable part of the speed off it
// (JumpFarShare), which a smooth path, turning its velocity by well under a radian per tick, never
// has.
constexpr double JumpNearShare = 0.25;
constexpr double JumpFarShare = 0.25;

[[gnu::always_inline]] inline bool VelocityJumped(TVector2 step, TVector2 v0, TVector2 v1) {
  const auto gap2 = [&](TVector2 v) {
    return (step.X - v.X) * (step.X - v.X) + (step.Y - v.Y) * (step.Y - v.Y);
  };
  const double off0 = gap2(v0);
  const double off1 = gap2(v1);
  const double nearer = std::min(off0, off1);
  const double farther = std::max(off0, off1);
  const double speed2 = std::max(v0.X * v0.X + v0.Y * v0.Y, v1.X * v1.X + v1.Y * v1.Y);
  return farther > JumpFarShare * JumpFarShare * speed2 &&
         nearer <= JumpNearShare * JumpNearShare * farther;
}

// Whether the cubic's speed |x'(s)| = |C1 + 2 C2 s + 3 C3 s^2| passes the wave speed w inside
// the tick. The mouse records a velocity that lags its steps (the mean of the last four): pulled
// from rest to the speed limit, the cubic through its first ticks runs at up to 1.43 c, and its
// radiation flips sign from one half of a tick to the next. Only where the triangle inequality,
// |x'| <= |C1| + m with m = 2 |C2| + 3 |C3| (each bounded by |x| + |y|, no root), leaves room
// above w are the speeds sampled; the smooth paths never come near it.
constexpr int SpeedSamples = 8;

[[gnu::always_inline]] inline bool OutrunsLight(const TPathPiece& piece, double w) {
  const double m = 2.0 * (std::fabs(piece.C2.X) + std::fabs(piece.C2.Y)) +
                   3.0 * (std::fabs(piece.C3.X) + std::fabs(piece.C3.Y));
  const double room = w - m;
  if (room > 0.0 && piece.C1.X * piece.C1.X + piece.C1.Y * piece.C1.Y <= room * room) return false;
  for (int k = 1; k < SpeedSamples; ++k) {
    const double s = static_cast<double>(k) / SpeedSamples;
    const double vx = piece.C1.X + s * (2.0 * piece.C2.X + s * 3.0 * piece.C3.X);
    const double vy = piece.C1.Y + s * (2.0 * piece.C2.Y + s * 3.0 * piece.C3.Y);
    if (vx * vx + vy * vy > w * w) return true;
  }
  return false;
}

[[gnu::always_inline]] inline TPathPiece PieceOf(const TChargeRecord& older,
                                                 const TChargeRecord& newer, double w) {
  const TVector2 v0{w * older.Beta.X, w * older.Beta.Y};
  const TVector2 v1{w * newer.Beta.X, w * newer.Beta.Y};
  const TVector2 step{newer.Pos.X - older.Pos.X, newer.Pos.Y - older.Pos.Y};
  // The straight step between the records: no faster than the charge's own steps. A charge
  // that is where it was one tick before stayed there: the mouse let go keeps its place while
  // its recorded velocity falls over four ticks, and a cubic would run out and back each time.
  const TPathPiece straight{newer.Pos, {-step.X, -step.Y}, {}, {}};
  if ((step.X == 0.0 && step.Y == 0.0) || VelocityJumped(step, v0, v1)) return straight;
  const TVector2 d{older.Pos.X - newer.Pos.X + v1.X, older.Pos.Y - newer.Pos.Y + v1.Y};
  const TVector2 g{v1.X - v0.X, v1.Y - v0.Y};
  const TVector2 c3{g.X - 2.0 * d.X, g.Y - 2.0 * d.Y};
  const TPathPiece cubic{newer.Pos, {-v1.X, -v1.Y}, {d.X - c3.X, d.Y - c3.Y}, c3};
  return OutrunsLight(cubic, w) ? straight : cubic;
}

// x(s) and dx/ds; the velocity per tick is -dx/ds.
[[gnu::always_inline]] inline void PositionAndSlope(const TPathPiece& piece, double s, TVector2& x,
                                                    TVector2& slope) {
  x = {piece.X0.X + s * (piece.C1.X + s * (piece.C2.X + s * piece.C3.X)),
       piece.X0.Y + s * (piece.C1.Y + s * (piece.C2.Y + s * piece.C3.Y))};
  slope = {piece.C1.X + s * (2.0 * piece.C2.X + s * 3.0 * piece.C3.X),
           piece.C1.Y + s * (2.0 * piece.C2.Y + s * 3.0 * piece.C3.Y)};
}

// sqrt rather than hypot: the library's hypot guards against overflows that model distances
// never reach, at several times the cost, and the field arrows evaluate a thousand points a frame.
double Length(double x, double y) {
  return std::sqrt(x * x + y * y);
}

// h = |P - x|^2 - travel^2 for the charge at x: the sign of f = |P - x| - travel (both lengths
// are positive) without its square root.
// A travel below zero (an emission after the observer's moment, which only the present tick can
// hold when the observer's clock is set back) leaves f = |P - x| - travel positive: h = |P - x|^2.
[[gnu::always_inline]] inline double SquaredGap(TVector2 point, TVector2 x, double travel) {
  const double dx = point.X - x.X;
  const double dy = point.Y - x.Y;
  return (dx * dx + dy * dy) - (travel > 0.0 ? travel * travel : 0.0);
}

// The records k = 0 .. ISize ticks back, as the ring buffer holds them, with the piece of path
// between records lo + 1 and lo worked out when it is asked for ...
struct TRingRecords {
  const TFieldSimulation& Field;
  const TChargeRecord& operator[](int k) const { return Field.ChargeHistory(k); }
  TPathPiece Piece(int lo, double w) const {
    return PieceOf(Field.ChargeHistory(lo + 1), Field.ChargeHistory(lo), w);
  }
};

// ... and as the sampler lays them out, in order of age, with every piece worked out once.
struct TAgedRecords {
  const TChargeRecord* Records;
  const TPathPiece* Pieces;
  const TChargeRecord& operator[](int k) const { return Records[k]; }
  const TPathPiece& Piece(int lo, double) const { return Pieces[lo]; }
};

// The tick that holds the emission: h > 0 at Lo ticks ago (record Newer), h <= 0 at Lo + 1
// (record Older), with h(k) = |P - x_k|^2 - (w k)^2.
struct TBracket {
  int Lo = 0;
  double HLo = 0.0;
  double HHi = 0.0;
  const TChargeRecord* Newer = nullptr;
  const TChargeRecord* Older = nullptr;
};

// f(k) = |P - x(now - k)| - c k falls monotonically with k while the charge is slower than
// the wave, so the tick holding its root is found by bisection on the signs of h.
// With a hint (the tick of an emission found for a point nearby), a guess from that tick's record
// and the tick after the guess are tried first, and widened by doubling steps where the root lies
// beyond them: for the neighbouring points of a grid that takes two evaluations instead of the
// bisection's log2 ISize. The tick found is the same either way, the root of a monotonic f being
// one, so the result does not depend on the hint. Leaves the tick found in the hint; false, the
// hint unchanged, when P lies beyond the history or on the charge.
template <class TRecords>
bool BracketEmission(const TRecords& records, int last, double w, TVector2 point, double back,
                     TBracket& bracket, TRetardedSearch* hint) {
  if (last < 1 || !(w > 0.0)) return false;
  const auto hAt = [&](int k) { return SquaredGap(point, records[k].Pos, w * (k - back)); };

  // h(0) = |P - x(now)|^2, against the charge's own point.
  const double hNow = hAt(0);
  const double onCharge = OnChargeSteps * w;
  if (!(hNow > onCharge * onCharge)) return false;
  int lo = 0;
  int hi = last;
  double hLo = hNow;
  double hHi = 0.0;
  int start = hint ? hint->Tick : -1;
  if (start >= 0 && start < last) {
    // From the hint's record k0, the charge taken as moving uniformly: h(k0 + e) = a e^2 + b e + c
    // with c = |d|^2 - (w k0)^2, b = 2 (d.v - w^2 k0), a = |v|^2 - w^2, d = P - x_k0, v = w beta
    // per tick. The Newton step e1 = -c / b corrected to the second order, e = e1 - a e1^2 / b,
    // lands within a fraction of a tick of the root for the neighbouring points of a grid,
    // without the root of the quadratic.
    const TChargeRecord& record = records[start];
    const double dx = point.X - record.Pos.X;
    const double dy = point.Y - record.Pos.Y;
    const double travel = w * (start - back);
    const double c = (dx * dx + dy * dy) - travel * travel;
    const double halfB = w * (dx * record.Beta.X + dy * record.Beta.Y) - w * travel;
    if (halfB < 0.0) {
      const double a =
          w * w * (record.Beta.X * record.Beta.X + record.Beta.Y * record.Beta.Y - 1.0);
      const double inverseB = 0.5 / halfB;
      const double e1 = -c * inverseB;
      const double guess = start + e1 - a * e1 * e1 * inverseB;
      if (guess >= 0.0 && guess < last) start = static_cast<int>(guess);
    }
    const double hStart = start == 0 ? hNow : hAt(start);
    const double hNext = hAt(start + 1);
    if (hStart > 0.0 && hNext <= 0.0) {
      lo = start;
      hi = start + 1;
      hLo = hStart;
      hHi = hNext;
    } else if (hStart > 0.0) {
      // The root lies further back: step back until h falls to zero, at most to the oldest tick.
      lo = start + 1;
      hLo = hNext;
      if (lo == last) return false;  // beyond the history
      for (int step = 1;; step *= 2) {
        const int k = std::min(last, lo + step);
        const double hk = hAt(k);
        if (hk <= 0.0) {
          hi = k;
          hHi = hk;
          break;
        }
        if (k == last) return false;
        lo = k;
        hLo = hk;
      }
    } else {
      hi = start;
      hHi = hStart;
      for (int step = 1;; step *= 2) {
        const int k = std::max(0, hi - step);
        const double hk = k == 0 ? hNow : hAt(k);
        if (hk > 0.0) {
          lo = k;
          hLo = hk;
          break;
        }
        hi = k;
        hHi = hk;
      }
    }
  } else {
    hHi = hAt(last);
    if (!(hHi <= 0.0)) return false;
  }
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    const double hMid = hAt(mid);
    if (hMid > 0.0) {
      lo = mid;
      hLo = hMid;
    } else {
      hi = mid;
      hHi = hMid;
    }
  }

  if (hint) hint->Tick = lo;
  bracket = {lo, hLo, hHi, &records[lo], &records[lo + 1]};
  return true;
}

// The emission inside the bracket's tick: s ticks back from its newer record, on piece, the
// bracket's piece of path.
//
// Newton's method on h(s) = |P - x(s)|^2 - (w (lo + s))^2, kept inside the tick (h' < 0 there).
// It starts near the root of the cubic that takes h's values and slopes at both ends of the tick,
// far closer than the secant through the ends: h is of the sixth degree in s, but its terms beyond
// the second carry the path's acceleration, and that start misses the root by about 1e-8 of a tick
// (1e-6 at worst over the arrows of the large model), so that one Newton step settles it. Depends
// on nothing but the bracket, so that the emission is the same whichever hint found the bracket.
[[gnu::always_inline]] inline double RefineEmission(double w, TVector2 point, double back,
                                                    const TBracket& bracket,
                                                    const TPathPiece& piece) {
  // The travel from the emission s ticks back from record lo to the observer's moment, back
  // ticks before the present: w (lo - back + s).
  const double lo = bracket.Lo - back;
  const TChargeRecord& newer = *bracket.Newer;
  const TChargeRecord& older = *bracket.Older;
  double a = 0.0;
  double b = 1.0;
  const double hLo = bracket.HLo;
  const double hHi = bracket.HHi;
  // The secant's root, s0 = hLo / D with D = hLo - hHi, where the step below does not apply.
  const double drop = hLo - hHi;
  double s = hLo / drop;
  {
    // dh/ds / 2 = -(P - x).x' - w^2 (lo + s) at the ends, where x' = -v of the record.
    const double g0 =
        2.0 * w *
        ((point.X - newer.Pos.X) * newer.Beta.X + (point.Y - newer.Pos.Y) * newer.Beta.Y - w * lo);
    const double g1 = 2.0 * w *
                      ((point.X - older.Pos.X) * older.Beta.X +
                       (point.Y - older.Pos.Y) * older.Beta.Y - w * (lo + 1));
    // The cubic H(s) = hLo + s (g0 + s (A + s B)) with H(1) = hHi, H'(1) = g1.
    const double cubicA = 3.0 * (hHi - hLo) - 2.0 * g0 - g1;
    const double cubicB = 2.0 * (hLo - hHi) + g0 + g1;
    // One Newton step on the cubic from the secant's root: the secant misses by about
    // h'' / (8 h'), a few thousandths of a tick, and the step squares that. With s0 = hLo / D,
    // H(s0) D^3 = value and H'(s0) D^2 = slope below, so that the step's result
    // s0 - H(s0) / H'(s0) = (hLo slope - value) / (D slope) takes one division, not three.
    const double drop2 = drop * drop;
    const double value =
        hLo * drop2 * drop + hLo * (g0 * drop2 + hLo * (cubicA * drop + hLo * cubicB));
    const double slope = g0 * drop2 + hLo * (2.0 * cubicA * drop + 3.0 * cubicB * hLo);
    if (g0 < 0.0 && g1 < 0.0 && slope < 0.0) {
      const double next = (hLo * slope - value) / (drop * slope);
      if (next > a && next < b) s = next;
    }
  }
  for (int step = 0; step < MaxNewtonSteps; ++step) {
    TVector2 x;
    TVector2 slope;
    PositionAndSlope(piece, s, x, slope);
    const TVector2 d{point.X - x.X, point.Y - x.Y};
    // The root of h = r^2 - (w (lo + s))^2 rather than of r - w (lo + s): the same root and
    // sign, without a square root in the loop. dh/ds = -2 (d.x' + w^2 (lo + s)), negative while
    // the charge is slower than the wave.
    const double travel = w * (lo + s);
    const double h = (d.X * d.X + d.Y * d.Y) - (travel > 0.0 ? travel * travel : 0.0);
    // On the root itself: the Newton step would stay there, at the bracket's end, and be
    // replaced by a bisection step away from it.
    if (h == 0.0) break;
    if (h > 0.0) {
      a = s;
    } else {
      b = s;
    }
    const double halfSlope = -(d.X * slope.X + d.Y * slope.Y) - w * travel;
    double next = halfSlope < 0.0 ? s - 0.5 * h / halfSlope : 0.5 * (a + b);
    const bool newton = next > a && next < b;
    if (!newton) next = 0.5 * (a + b);
    const double size = std::fabs(next - s);
    bool settled = size < TickTolerance || b - a < TickTolerance;
    // A Newton step of size e leaves an error of about e^2 |h''| / (2 |h'|), the step standing
    // for the error before it: once the steps are small (under a hundredth of a tick, where that
    // holds), an estimate below SettledTicks ends the search. From the cubic's root this is the
    // first step at nearly every point of the field arrows.
    if (newton && !settled && size < 1e-2) {
      // h'' / 2 = |x'|^2 - (P - x).x'' - w^2, x'' = 2 C2 + 6 C3 s.
      const double halfCurvature = (slope.X * slope.X + slope.Y * slope.Y) -
                                   (d.X * (2.0 * piece.C2.X + 6.0 * piece.C3.X * s) +
                                    d.Y * (2.0 * piece.C2.Y + 6.0 * piece.C3.Y * s)) -
                                   w * w;
      settled = std::fabs(halfCurvature) * size * size < SettledTicks * 2.0 * -halfSlope;
    }
    s = next;
    if (settled) break;
  }
  return s;
}

// The Liénard–Wiechert field at point from the emission s ticks back on piece; false on the
// charge.
bool FieldOnPiece(double invW, TVector2 point, const TPathPiece& piece, double s,
                  TVector2& velocityPart, TVector2& accelerationPart) {
  TVector2 x;
  TVector2 slope;
  PositionAndSlope(piece, s, x, slope);
  // d2x/ds2, which is the acceleration per tick^2 as well: both time derivatives change sign.
  const TVector2 acceleration{2.0 * piece.C2.X + 6.0 * piece.C3.X * s,
                              2.0 * piece.C2.Y + 6.0 * piece.C3.Y * s};

  const TVector2 d{point.X - x.X, point.Y - x.Y};
  const double r = Length(d.X, d.Y);
  if (!(r > 0.0)) return false;

  TVector2 beta{-slope.X * invW, -slope.Y * invW};
  // The cap's square root only near the cap: below MaxBeta^2 (1 - 1e-9), far more than the
  // rounding of a root, the root is below MaxBeta.
  const double speed2 = beta.X * beta.X + beta.Y * beta.Y;
  if (speed2 > MaxBeta * MaxBeta * (1.0 - 1e-9)) {
    const double speed = std::sqrt(speed2);
    if (speed > MaxBeta) beta = {beta.X * MaxBeta / speed, beta.Y * MaxBeta / speed};
  }
  // Per model unit of light travel: (delta beta per tick) / w = acceleration per tick^2 / w^2.
  const TVector2 betaDot{acceleration.X * invW * invW, acceleration.Y * invW * invW};

  // With d = R n both parts take a single division: (1 - n.beta)^3 R^2 = (R - d.beta)^3 / R, so
  //   E_v = (d - R beta)(1 - beta^2) / (R - d.beta)^3,
  //   E_a = d x ((d - R beta) x betaDot) / (R - d.beta)^3.
  const double beta2 = beta.X * beta.X + beta.Y * beta.Y;
  const double q = r - (d.X * beta.X + d.Y * beta.Y);
  const double inverseQ3 = 1.0 / (q * q * q);
  const TVector2 dMinusRBeta{d.X - r * beta.X, d.Y - r * beta.Y};

  const double velocityScale = (1.0 - beta2) * inverseQ3;
  velocityPart = {dMinusRBeta.X * velocityScale, dMinusRBeta.Y * velocityScale};

  // In the plane (d - R beta) x betaDot is along z, c e_z; then d x (c e_z) = c (d.y, -d.x).
  const double c = (dMinusRBeta.X * betaDot.Y - dMinusRBeta.Y * betaDot.X) * inverseQ3;
  accelerationPart = {d.Y * c, -d.X * c};
  return true;
}

// RetardedField on the records 0 .. last ticks back; invW = 1 / w.
template <class TRecords>
bool FieldAt(const TRecords& records, int last, double w, double invW, TVector2 point,
             TVector2& velocityPart, TVector2& accelerationPart, TRetardedSearch& search) {
  TBracket bracket;
  if (!BracketEmission(records, last, w, point, 0.0, bracket, &search)) return false;
  const TPathPiece& piece = records.Piece(bracket.Lo, w);
  const double s = RefineEmission(w, point, 0.0, bracket, piece);
  return FieldOnPiece(invW, point, piece, s, velocityPart, accelerationPart);
}

int LastUsable(const TFieldSimulation& field, int ISize) {
  return std::min(ISize, field.ChargeHistoryCount() - 1);
}

}  // namespace

bool RetardedTime(const TFieldSimulation& field, int ISize, TVector2 point, double& ticksAgo) {
  TBracket bracket;
  if (!BracketEmission(TRingRecords{field}, LastUsable(field, ISize), field.WaveVelocity, point,
                       0.0, bracket, nullptr)) {
    return false;
  }
  const TRingRecords records{field};
  ticksAgo = bracket.Lo + RefineEmission(field.WaveVelocity, point, 0.0, bracket,
                                         records.Piece(bracket.Lo, field.WaveVelocity));
  return true;
}

bool RetardedEmissionBefore(const TFieldSimulation& field, int ISize, TVector2 point,
                            double ticksBack, TRetardedEmission& emission) {
  const double w = field.WaveVelocity;
  if (!(ticksBack >= 0.0 && ticksBack < 1.0)) return false;
  const TRingRecords records{field};
  TBracket bracket;
  if (!BracketEmission(records, LastUsable(field, ISize), w, point, ticksBack, bracket, nullptr))
    return false;
  const TPathPiece piece = records.Piece(bracket.Lo, w);
  const double s = RefineEmission(w, point, ticksBack, bracket, piece);
  if (!FieldOnPiece(1.0 / w, point, piece, s, emission.VelocityPart, emission.AccelerationPart))
    return false;
  TVector2 slope;
  PositionAndSlope(piece, s, emission.Position, slope);
  emission.TicksAgo = bracket.Lo + s;
  return true;
}

TVector2 ChargeBetweenTicks(const TFieldSimulation& field, double ticksBack) {
  if (field.ChargeHistoryCount() < 2) return field.ChargeHistory(0).Pos;
  const double s = std::clamp(ticksBack, 0.0, 1.0);
  const TPathPiece piece = PieceOf(field.ChargeHistory(1), field.ChargeHistory(0), field.WaveVelocity);
  TVector2 x;
  TVector2 slope;
  PositionAndSlope(piece, s, x, slope);
  return x;
}

bool RetardedField(const TFieldSimulation& field, int ISize, TVector2 point, TVector2& velocityPart,
                   TVector2& accelerationPart) {
  TRetardedSearch none;
  return RetardedField(field, ISize, point, velocityPart, accelerationPart, none);
}

bool RetardedField(const TFieldSimulation& field, int ISize, TVector2 point, TVector2& velocityPart,
                   TVector2& accelerationPart, TRetardedSearch& search) {
  const double w = field.WaveVelocity;
  return FieldAt(TRingRecords{field}, LastUsable(field, ISize), w, 1.0 / w, point, velocityPart,
                 accelerationPart, search);
}

TRetardedFieldSampler::TRetardedFieldSampler(const TFieldSimulation& field, int ISize)
    : WaveVelocity(field.WaveVelocity),
      InverseWaveVelocity(1.0 / field.WaveVelocity),
      Last(LastUsable(field, ISize)) {
  if (Last < 1) return;
  Records.resize(static_cast<std::size_t>(Last) + 1);
  for (int k = 0; k <= Last; ++k) Records[static_cast<std::size_t>(k)] = field.ChargeHistory(k);
  // A piece is read by every point whose emission falls in its tick, a few hundred of them for
  // the ticks near the charge; worked out once here, its tests for jumps and for outrunning light
  // cost nothing per point.
  Pieces.resize(static_cast<std::size_t>(Last));
  for (std::size_t k = 0; k < Pieces.size(); ++k)
    Pieces[k] = PieceOf(Records[k + 1], Records[k], WaveVelocity);
}

bool TRetardedFieldSampler::Field(TVector2 point, TVector2& velocityPart,
                                  TVector2& accelerationPart, TRetardedSearch& search) const {
  return FieldAt(TAgedRecords{Records.data(), Pieces.data()}, Last, WaveVelocity, InverseWaveVelocity, point,
                 velocityPart, accelerationPart, search);
}
