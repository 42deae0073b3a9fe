// The exact field of the charge from its recorded history: the emission time by bisection over
// the ticks and a safeguarded Newton step inside one tick, then the Liénard–Wiechert field.
#include "engine/RetardedField.h"

#include <algorithm>
#include <cmath>

namespace {

// MaxBeta also caps the cubic between two ticks, which may run a little faster than its ends:
// 1 - n.beta and 1 - beta^2 stay away from zero.
// Closer to the charge than this many wave steps the field counts as undefined (it grows as
// 1 / R^2 without bound).
constexpr double OnChargeSteps = 1e-9;
// Newton inside one tick stops when the bracket, the step, or the error the step is estimated
// to leave is below this fraction of a tick. The step is still taken, and Newton's error squares
// with every step, so what is left after a step of 1e-9 is far below the rounding of the time
// itself (about 1e-16 of a tick).
constexpr double TickTolerance = 1e-9;
constexpr int MaxNewtonSteps = 60;

// The charge at a moment between two recorded ticks, per tick: position, velocity, acceleration.
struct TPathPoint {
  TVector2 Pos;
  TVector2 Velocity;
  TVector2 Acceleration;
};

// Cubic Hermite interpolation between the older record (u = 0) and the newer (u = 1), the
// velocities being w beta per tick. The search for the emission time needs no acceleration, and
// leaves it out: the field arrows search a thousand points a frame.
template <bool WithAcceleration = true>
TPathPoint Hermite(const TChargeRecord& older, const TChargeRecord& newer, double w, double u) {
  const double u2 = u * u;
  const double u3 = u2 * u;
  const double h00 = 2.0 * u3 - 3.0 * u2 + 1.0;
  const double h10 = u3 - 2.0 * u2 + u;
  const double h01 = -2.0 * u3 + 3.0 * u2;
  const double h11 = u3 - u2;
  const double d00 = 6.0 * u2 - 6.0 * u;
  const double d10 = 3.0 * u2 - 4.0 * u + 1.0;
  const double d11 = 3.0 * u2 - 2.0 * u;
  const TVector2 p0 = older.Pos;
  const TVector2 p1 = newer.Pos;
  const TVector2 v0{w * older.Beta.X, w * older.Beta.Y};
  const TVector2 v1{w * newer.Beta.X, w * newer.Beta.Y};
  TPathPoint point;
  point.Pos = {h00 * p0.X + h10 * v0.X + h01 * p1.X + h11 * v1.X,
               h00 * p0.Y + h10 * v0.Y + h01 * p1.Y + h11 * v1.Y};
  // h01' = -h00' and h01'' = -h00''.
  point.Velocity = {d00 * (p0.X - p1.X) + d10 * v0.X + d11 * v1.X,
                    d00 * (p0.Y - p1.Y) + d10 * v0.Y + d11 * v1.Y};
  if constexpr (WithAcceleration) {
    const double a00 = 12.0 * u - 6.0;
    const double a10 = 6.0 * u - 4.0;
    const double a11 = 6.0 * u - 2.0;
    point.Acceleration = {a00 * (p0.X - p1.X) + a10 * v0.X + a11 * v1.X,
                          a00 * (p0.Y - p1.Y) + a10 * v0.Y + a11 * v1.Y};
  }
  return point;
}

// sqrt rather than hypot: the library's hypot guards against overflows that model distances
// never reach, at several times the cost, and the field arrows evaluate a thousand points a frame.
double Length(double x, double y) { return std::sqrt(x * x + y * y); }

double Distance(TVector2 a, TVector2 b) { return Length(a.X - b.X, a.Y - b.Y); }

// The moment of emission, found; Older and Newer are the records around it and U its place
// between them (0 at Older).
struct TEmission {
  double TicksAgo = 0.0;
  const TChargeRecord* Older = nullptr;
  const TChargeRecord* Newer = nullptr;
  double U = 0.0;
};

// f(k) = |P - x(now - k)| - c k falls monotonically with k while the charge is slower than
// the wave, so the tick holding its root is found by bisection, and the root inside it by
// Newton's method kept inside the bracket (g' = n.v - c < 0).
// With a hint (the tick of an emission found for a point nearby), the bracket is first widened
// from that tick by doubling steps, which for the neighbouring points of a grid takes two or three
// evaluations instead of the bisection's log2 ISize; the tick found is the same either way, the
// root of a monotonic f being one, so the result does not depend on the hint.
bool FindEmission(const TFieldSimulation& field, int ISize, TVector2 point, TEmission& emission,
                  TRetardedSearch* hint) {
  const double w = field.WaveVelocity;
  const int last = std::min(ISize, field.ChargeHistoryCount() - 1);
  if (last < 1 || !(w > 0.0)) return false;
  const auto f = [&](int k) { return Distance(point, field.ChargeHistory(k).Pos) - w * k; };

  // f(0) = |P - x(now)|, compared squared against the charge's own point; its root is taken
  // only where it is needed, which with a hint is seldom.
  const TVector2 now = field.ChargeHistory(0).Pos;
  const double nowSquared = (point.X - now.X) * (point.X - now.X) +
                            (point.Y - now.Y) * (point.Y - now.Y);
  const double onCharge = OnChargeSteps * w;
  if (!(nowSquared > onCharge * onCharge)) return false;
  int lo = 0;
  int hi = last;
  double fLo = 0.0;
  double fHi = 0.0;
  int start = hint ? hint->Tick : -1;
  if (start >= 0 && start < last) {
    // One Newton step in whole ticks from the hint, with f'(k) = n.v - c at its record, lands
    // within a tick or two of the root for the neighbouring points of a grid.
    const TChargeRecord& record = field.ChargeHistory(start);
    const TVector2 d{point.X - record.Pos.X, point.Y - record.Pos.Y};
    const double r = Length(d.X, d.Y);
    // f'(k) r = w (d.beta - r), so that the step takes one division.
    const double slopeR = w * (d.X * record.Beta.X + d.Y * record.Beta.Y - r);
    if (r > 0.0 && slopeR < 0.0) {
      const double guess = start - (r - w * start) * r / slopeR;
      if (guess >= 0.0 && guess < last) start = static_cast<int>(guess);
    }
    const double fStart = f(start);
    if (fStart > 0.0) {
      // The root lies further back: step back until f falls to zero, at most to the oldest tick.
      lo = start;
      fLo = fStart;
      for (int step = 1;; step *= 2) {
        const int k = std::min(last, lo + step);
        const double fk = f(k);
        if (fk <= 0.0) {
          hi = k;
          fHi = fk;
          break;
        }
        if (k == last) return false;  // beyond the history
        lo = k;
        fLo = fk;
      }
    } else {
      hi = start;
      fHi = fStart;
      for (int step = 1;; step *= 2) {
        const int k = std::max(0, hi - step);
        const double fk = k == 0 ? std::sqrt(nowSquared) : f(k);
        if (fk > 0.0) {
          lo = k;
          fLo = fk;
          break;
        }
        hi = k;
        fHi = fk;
      }
    }
  } else {
    fLo = std::sqrt(nowSquared);
    fHi = f(last);
    if (!(fHi <= 0.0)) return false;
  }
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    const double fMid = f(mid);
    if (fMid > 0.0) {
      lo = mid;
      fLo = fMid;
    } else {
      hi = mid;
      fHi = fMid;
    }
  }

  // s ticks further back than lo: u = 1 - s between the older record hi and the newer lo.
  const TChargeRecord& older = field.ChargeHistory(hi);
  const TChargeRecord& newer = field.ChargeHistory(lo);
  double a = 0.0;
  double b = 1.0;
  double s = fLo / (fLo - fHi);
  double lastNewtonStep = 0.0;  // the size of the Newton step before, none yet
  for (int step = 0; step < MaxNewtonSteps; ++step) {
    const TPathPoint x = Hermite<false>(older, newer, w, 1.0 - s);
    const TVector2 d{point.X - x.Pos.X, point.Y - x.Pos.Y};
    // The root of h = r^2 - (w (lo + s))^2 rather than of r - w (lo + s): the same root and
    // sign (both lengths are positive), without a square root in the loop. Going back in time
    // the charge moves by -v per tick, so dh/ds = 2 (d.v - w^2 (lo + s)), negative while the
    // charge is slower than the wave.
    const double travel = w * (lo + s);
    const double h = (d.X * d.X + d.Y * d.Y) - travel * travel;
    // On the root itself: the Newton step would stay there, at the bracket's end, and be
    // replaced by a bisection step away from it.
    if (h == 0.0) break;
    if (h > 0.0) {
      a = s;
    } else {
      b = s;
    }
    const double halfSlope = d.X * x.Velocity.X + d.Y * x.Velocity.Y - w * travel;
    double next = halfSlope < 0.0 ? s - 0.5 * h / halfSlope : 0.5 * (a + b);
    const bool newton = next > a && next < b;
    if (!newton) next = 0.5 * (a + b);
    // Newton's error squares with every step: once the steps are small (under a hundredth of
    // a tick, where the cubic barely bends), after a step of d1 that followed one of d0 the
    // error is about C d1^2 with C about d1 / d0^2, so d1^3 / d0^2 below the tolerance ends the
    // search one step before d1 itself would fall below it (two steps instead of three at most
    // points of the field arrows).
    const double size = std::fabs(next - s);
    const bool predicted = newton && size < lastNewtonStep && lastNewtonStep < 1e-2 &&
                           size * size * size < TickTolerance * lastNewtonStep * lastNewtonStep;
    const bool settled = size < TickTolerance || b - a < TickTolerance || predicted;
    lastNewtonStep = newton ? size : 0.0;
    s = next;
    if (settled) break;
  }

  if (hint) hint->Tick = lo;
  emission.TicksAgo = lo + s;
  emission.Older = &older;
  emission.Newer = &newer;
  emission.U = 1.0 - s;
  return true;
}

}  // namespace

bool RetardedTime(const TFieldSimulation& field, int ISize, TVector2 point, double& ticksAgo) {
  TEmission emission;
  if (!FindEmission(field, ISize, point, emission, nullptr)) return false;
  ticksAgo = emission.TicksAgo;
  return true;
}

bool RetardedField(const TFieldSimulation& field, int ISize, TVector2 point, TVector2& velocityPart,
                   TVector2& accelerationPart) {
  TRetardedSearch none;
  return RetardedField(field, ISize, point, velocityPart, accelerationPart, none);
}

bool RetardedField(const TFieldSimulation& field, int ISize, TVector2 point, TVector2& velocityPart,
                   TVector2& accelerationPart, TRetardedSearch& search) {
  TEmission emission;
  if (!FindEmission(field, ISize, point, emission, &search)) return false;
  const double w = field.WaveVelocity;
  const TPathPoint x = Hermite(*emission.Older, *emission.Newer, w, emission.U);

  const TVector2 d{point.X - x.Pos.X, point.Y - x.Pos.Y};
  const double r = Length(d.X, d.Y);
  if (!(r > 0.0)) return false;
  // Reciprocals once: the field arrows evaluate a thousand points a frame, and divisions are
  // the slowest of the arithmetic here.
  const double invR = 1.0 / r;
  const double invW = 1.0 / w;
  const TVector2 n{d.X * invR, d.Y * invR};

  TVector2 beta{x.Velocity.X * invW, x.Velocity.Y * invW};
  const double speed = Length(beta.X, beta.Y);
  if (speed > MaxBeta) beta = {beta.X * MaxBeta / speed, beta.Y * MaxBeta / speed};
  // Per model unit of light travel: (delta beta per tick) / w = acceleration per tick^2 / w^2.
  const TVector2 betaDot{x.Acceleration.X * invW * invW, x.Acceleration.Y * invW * invW};

  const double beta2 = beta.X * beta.X + beta.Y * beta.Y;
  const double kappa = 1.0 - (n.X * beta.X + n.Y * beta.Y);
  const double invKappa3R = 1.0 / (kappa * kappa * kappa * r);
  const TVector2 nMinusBeta{n.X - beta.X, n.Y - beta.Y};

  const double velocityScale = (1.0 - beta2) * invKappa3R * invR;
  velocityPart = {nMinusBeta.X * velocityScale, nMinusBeta.Y * velocityScale};

  // In the plane (n - beta) x betaDot is along z, c e_z; then n x (c e_z) = c (n.y, -n.x).
  const double c = (nMinusBeta.X * betaDot.Y - nMinusBeta.Y * betaDot.X) * invKappa3R;
  accelerationPart = {n.Y * c, -n.X * c};
  return true;
}
