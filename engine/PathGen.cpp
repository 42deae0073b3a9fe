// SPDX-License-Identifier: GPL-3.0-or-later
// The trajectory generator: the preset paths as chains of cubic Bezier segments, and their
// sampling at equal arc-length steps, one charge state per tick.
#include "engine/PathGen.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
// Handle length of a quarter circle of radius 1 drawn as one cubic Bezier segment.
constexpr double Kappa = 0.5522847;
// 1 - 2/pi: handles of a half-wave, so that its ends are horizontal.
constexpr double HalfWaveK = 0.3633802276324187;

// B'(t) = 3 [-(1-t)^2 P0 + (1-t)(1-3t) P1 + t(2-3t) P2 + t^2 P3].
TVector2 BezierDerivative(const TBezierSegment& s, double t) {
  const double u = 1.0 - t;
  const double c0 = -u * u;
  const double c1 = u * (1.0 - 3.0 * t);
  const double c2 = t * (2.0 - 3.0 * t);
  const double c3 = t * t;
  return {3.0 * (c0 * s.P0.X + c1 * s.P1.X + c2 * s.P2.X + c3 * s.P3.X),
          3.0 * (c0 * s.P0.Y + c1 * s.P1.Y + c2 * s.P2.Y + c3 * s.P3.Y)};
}

// Inner points at 0.3 and 0.7 of the way.
TBezierSegment StraightSegment(TVector2 a, TVector2 b) {
  return {a,
          {0.7 * a.X + 0.3 * b.X, 0.7 * a.Y + 0.3 * b.Y},
          {0.3 * a.X + 0.7 * b.X, 0.3 * a.Y + 0.7 * b.Y},
          b};
}

TBezierSegment HalfWaveSegment(TVector2 a, TVector2 b) {
  return {a, {a.X + HalfWaveK * (b.X - a.X), a.Y}, {b.X - HalfWaveK * (b.X - a.X), b.Y}, b};
}

// Q rotated about M by angle radians, counter-clockwise.
TVector2 RotatePoint(TVector2 m, TVector2 q, double angle) {
  const double dx = q.X - m.X;
  const double dy = q.Y - m.Y;
  return {m.X + (std::cos(angle) * dx - std::sin(angle) * dy),
          m.Y + (std::sin(angle) * dx + std::cos(angle) * dy)};
}

TBezierSegment RotateSegment(const TBezierSegment& s, double angle) {
  const TVector2 o{};
  return {RotatePoint(o, s.P0, angle), RotatePoint(o, s.P1, angle), RotatePoint(o, s.P2, angle),
          RotatePoint(o, s.P3, angle)};
}

TBezierSegment ShiftSegment(const TBezierSegment& s, double dx) {
  return {
      {s.P0.X + dx, s.P0.Y}, {s.P1.X + dx, s.P1.Y}, {s.P2.X + dx, s.P2.Y}, {s.P3.X + dx, s.P3.Y}};
}

// Quarter i (0 ... 3) of the circle of radius r about the origin, counter-clockwise from (r, 0).
TBezierSegment CircleQuarter(double r, int i) {
  const TBezierSegment first{{r, 0.0}, {r, Kappa * r}, {Kappa * r, r}, {0.0, r}};
  return i == 0 ? first : RotateSegment(first, i * Pi / 2.0);
}

// An upper bound of the arc length.
double ControlPolygonLength(const TBezierSegment& s) {
  return VectorLength({s.P1.X - s.P0.X, s.P1.Y - s.P0.Y}) +
         VectorLength({s.P2.X - s.P1.X, s.P2.Y - s.P1.Y}) +
         VectorLength({s.P3.X - s.P2.X, s.P3.Y - s.P2.Y});
}

double Speed(const TBezierSegment& s, double t) {
  return VectorLength(BezierDerivative(s, t));
}

// Arc length from t0 to t1 by Simpson's rule on |B'(t)|, one panel per 1/16 of the parameter:
// a step is mostly a few hundredths of a segment, where one panel is exact to about 1e-12 of
// it; a step longer than a short, steep segment (a tight undulator) needs the panels.
double ArcLength(const TBezierSegment& s, double t0, double t1) {
  const int panels = std::clamp(static_cast<int>(std::ceil(std::fabs(t1 - t0) * 16.0)), 1, 64);
  const double h = (t1 - t0) / panels;
  double sum = 0.0;
  for (int i = 0; i < panels; ++i) {
    const double a = t0 + i * h;
    sum += Speed(s, a) + 4.0 * Speed(s, a + 0.5 * h) + Speed(s, a + h);
  }
  return h / 6.0 * sum;
}

// Newton steps that bring a first guess of the parameter to an arc length of exactly `length`
// from `from`: the samples are then `length` apart along the path, so that the charge's speed
// between two ticks is its Beta, which the field between the ticks relies on.
constexpr int ArcNewtonSteps = 3;

// A guess beyond the segment's end stays as it is when the rest of the segment is shorter than
// `length` (the step overshoots; only t >= 1 matters then), so that the cubic is never followed
// far outside the segment.
double ParameterAtArcLength(const TBezierSegment& s, double from, double length, double guess) {
  if (guess >= 1.0 && !(ArcLength(s, from, 1.0) > length)) return guess;
  double t = std::min(guess, 1.0);
  for (int i = 0; i < ArcNewtonSteps; ++i) {
    const double speed = Speed(s, t);
    if (!(speed > 0.0)) break;
    t -= (ArcLength(s, from, t) - length) / speed;
  }
  return std::isfinite(t) && t > from ? t : guess;
}

enum class TWalkResult { Done, BadSpeed, TooManySteps };

// What is left between the last sample and the end of the scaled path, in steps.
constexpr double ClosingSlack = 1e-5;

// The stepping both passes of SampleUniform share. Each step advances the parameter t by one
// Step of arc length (first guess Step / |B'(t)|, then refined), the first step of a segment
// only by what the previous segment left over.
// onStep(segment, newT) follows every step; onBack() follows the step
// that overshot the end of a segment, which is then taken back and carried into the next one.
// rem ends as the length left between the last sample inside the path and its end.
template <class OnStep, class OnBack>
TWalkResult WalkPath(const TPath& path, double step, long long maxSteps, double& rem, OnStep onStep,
                     OnBack onBack) {
  double t = 0.0;
  rem = 0.0;
  long long steps = 0;
  for (int i = 0; i < path.SegmentCount; ++i) {
    const TBezierSegment& segment = path.Segments[i];
    // Passed over with the carry unchanged, as if the neighbours joined directly.
    if (ControlPolygonLength(segment) < MinSegmentLength) continue;
    double dt = 0.0;
    while (t < 1.0) {
      const double from = t < 0.0 ? 0.0 : t;
      const double length = t < 0.0 ? step - rem : step;
      const double speed = Speed(segment, from);
      // A zero speed (a piece without length) would make every later parameter NaN.
      if (!(speed > 0.0) || !std::isfinite(length / speed)) return TWalkResult::BadSpeed;
      t = ParameterAtArcLength(segment, from, length, from + length / speed);
      dt = t - from;
      // dt is 0 only where the previous segment left exactly one step over.
      if (!std::isfinite(t) || dt < 0.0) return TWalkResult::BadSpeed;
      onStep(segment, t);
      if (++steps > maxSteps) return TWalkResult::TooManySteps;
    }
    onBack();
    t = t - dt;
    // At most the step that overshot, whatever the rounding of the two arc lengths.
    rem = std::clamp(ArcLength(segment, t, 1.0), 0.0, step);
    t = t - 1.0;
  }
  return TWalkResult::Done;
}

}  // namespace

TVector2 BezierPoint(const TBezierSegment& s, double t) {
  const double u = 1.0 - t;
  const double b0 = u * u * u;
  const double b1 = 3.0 * t * u * u;
  const double b2 = 3.0 * t * t * u;
  const double b3 = t * t * t;
  return {b0 * s.P0.X + b1 * s.P1.X + b2 * s.P2.X + b3 * s.P3.X,
          b0 * s.P0.Y + b1 * s.P1.Y + b2 * s.P2.Y + b3 * s.P3.Y};
}

void TPathGeneration::MakeLine(double StartX, double StopX) {
  Path.SegmentCount = 1;
  Path.Segments.resize(1);
  Path.Segments[0] = StraightSegment({StartX, 0.0}, {StopX, 0.0});
}

void TPathGeneration::MakeCircle(double Radius) {
  Path.SegmentCount = 4;
  Path.Segments.resize(4);
  for (int i = 0; i < 4; ++i) Path.Segments[i] = CircleQuarter(Radius, i);
}

// A counter-clockwise loop from (h + R, 0), h = Straight / 2: quarter arc, upper straight
// towards -x, two quarter arcs, lower straight towards +x, quarter arc.
void TPathGeneration::MakeRaceTrack(double Radius, double Straight) {
  const double h = Straight / 2.0;
  Path.SegmentCount = 6;
  Path.Segments.resize(6);
  Path.Segments[0] = ShiftSegment(CircleQuarter(Radius, 0), h);
  Path.Segments[1] = StraightSegment({h, Radius}, {-h, Radius});
  Path.Segments[2] = ShiftSegment(CircleQuarter(Radius, 1), -h);
  Path.Segments[3] = ShiftSegment(CircleQuarter(Radius, 2), -h);
  Path.Segments[4] = StraightSegment({-h, -Radius}, {h, -Radius});
  Path.Segments[5] = ShiftSegment(CircleQuarter(Radius, 3), h);
}

// Entry straight from x = -1.0 to -0.8, N periods of two half-waves swinging between y = 0 and
// y = Amplitude, exit straight to x = 1.0. N is cut down when the periods would end right of
// x = 1.0.
void TPathGeneration::MakeUndulator(int Periods, double Amplitude, double Period) {
  int n = Periods;
  if (Periods * Period - 0.8 > 1.0) n = static_cast<int>(std::trunc(1.8 / Period));

  Path.SegmentCount = 2 * n + 2;
  Path.Segments.resize(static_cast<std::size_t>(Path.SegmentCount));
  Path.Segments[0] = StraightSegment({-1.0, 0.0}, {-0.8, 0.0});
  for (int i = 1; i <= 2 * n; ++i) {
    const double ax = Path.Segments[i - 1].P3.X;
    const double bx = ax + Period / 2.0;
    const bool rising = (i % 2) == 1;
    Path.Segments[i] =
        HalfWaveSegment({ax, rising ? 0.0 : Amplitude}, {bx, rising ? Amplitude : 0.0});
  }
  Path.Segments[2 * n + 1] = StraightSegment({-0.8 + n * Period, 0.0}, {1.0, 0.0});
}

// Entry straight to x = -0.2, an arc turning left by AngleDeg on a circle of radius Radius about
// (-0.2, Radius), and an exit straight of length 1.5 along the exit direction. The arc is one
// segment up to a quarter turn and two equal ones beyond, each with handles of (4/3) tan(b/4) R
// for its turn of b radians (Kappa R for a quarter): the curvature stays within 0.1 % of 1/R up
// to 45 degrees a segment, 0.4 % at 60 and 2 % at 90, so that the acceleration v^2 / R of a
// charge in the magnet's uniform field is the same all along it. (Handles scaled linearly from
// the quarter circle, (2b/pi) Kappa R, left the curvature 15 % low and 8 % high at 45 degrees,
// and one segment for a half turn 25 % low and 12 % high.)
void TPathGeneration::MakeBending(double Radius, double AngleDeg) {
  const double a = Pi * AngleDeg / 180.0;
  const int pieces = std::fabs(a) > Pi / 2.0 ? 2 : 1;
  const double b = a / pieces;
  const double hf = 4.0 / 3.0 * std::tan(b / 4.0);
  const TVector2 m{-0.2, Radius};
  const TVector2 start{-0.2, 0.0};

  Path.SegmentCount = pieces + 2;
  Path.Segments.resize(static_cast<std::size_t>(Path.SegmentCount));
  Path.Segments[0] = StraightSegment({-1.0, 0.0}, start);

  for (int i = 0; i < pieces; ++i) {
    const double from = i * b;
    TBezierSegment& arc = Path.Segments[static_cast<std::size_t>(i + 1)];
    arc.P0 = RotatePoint(m, start, from);
    arc.P1 = RotatePoint(m, {-0.2 + Radius * hf, 0.0}, from);
    arc.P2 = RotatePoint(m, {-0.2 - Radius * hf, 0.0}, from + b);
    arc.P3 = RotatePoint(m, start, from + b);
  }
  // Exactly where the arcs end, so that the segments join without a gap.
  const TVector2 exitStart = Path.Segments[static_cast<std::size_t>(pieces)].P3;
  Path.Segments[static_cast<std::size_t>(pieces + 1)] = StraightSegment(
      exitStart, {exitStart.X + 1.5 * std::cos(a), exitStart.Y + 1.5 * std::sin(a)});
}

// Two passes of the same stepping: the first counts the n samples inside the path of length
// L = n Step + rem (rem the length left after the last one); the path is then scaled about the
// origin to the length n Step + Slack, f = (n Step + Slack) / L, so that a closed path loops
// with its closing step one Step long like every other (the charge would otherwise jump by up
// to rem once a lap, and the eye would see the kink as a flash of radiation). The second pass
// stores the samples: position at the new parameter, direction at the old one. The overshoot of
// the last segment stays in the table as its last entry.
void TPathGeneration::SampleUniform(double Step, double Beta) {
  // Without a positive step the parameter never reaches the end of a segment.
  const auto leaveEmpty = [this] {
    Path.SampleCount = 0;
    Path.Samples.clear();
  };
  if (!(Step > 0.0) || !std::isfinite(Step)) return leaveEmpty();

  long long count = 0;
  double rem = 0.0;
  const TWalkResult counted = WalkPath(
      Path, Step, LLONG_MAX, rem, [&count](const TBezierSegment&, double) { ++count; },
      [&count] { --count; });
  if (counted != TWalkResult::Done || count + 1 > INT_MAX) return leaveEmpty();

  Path.SampleCount = static_cast<int>(count + 1);
  // The last sample a hair inside the end, so that the rounding of the arc lengths cannot move it
  // past the end and the count of the second pass is the count of the first.
  const double slack = ClosingSlack * Step;
  const double inside = static_cast<double>(count) * Step;
  const double f = inside > 0.0 ? (inside + slack) / (inside + rem) : 1.0;
  for (TBezierSegment& s : Path.Segments) {
    for (TVector2* p : {&s.P0, &s.P1, &s.P2, &s.P3}) {
      p->X *= f;
      p->Y *= f;
    }
  }

  Path.Samples.resize(static_cast<std::size_t>(Path.SampleCount));
  long long index = -1;
  const long long sampleCount = Path.SampleCount;
  double scaledRem = 0.0;
  const TWalkResult filled = WalkPath(
      Path, Step, LLONG_MAX, scaledRem,
      [&](const TBezierSegment& segment, double t) {
        ++index;
        if (index < 0 || index >= sampleCount) return;
        // The direction of motion where the charge is, not where the step started: a velocity
        // one step behind the position bends every field line of a turning path.
        const TVector2 p = BezierPoint(segment, t);
        const TVector2 d = BezierDerivative(segment, t);
        const double speed = std::sqrt(d.X * d.X + d.Y * d.Y);
        Path.Samples[static_cast<std::size_t>(index)] = {p.X, p.Y, d.X / speed, d.Y / speed, Beta};
      },
      [&index] { --index; });
  if (filled != TWalkResult::Done) return leaveEmpty();
}

// On the sampled circle: keep the y motion of the uniform circular motion, so the charge
// oscillates harmonically along y with the speed |DirY| * Beta.
void TPathGeneration::MakeDipole() {
  for (int i = 0; i < Path.SampleCount; ++i) {
    TPathSample& s = Path.Samples[static_cast<std::size_t>(i)];
    s.X = 0.0;
    s.DirX = 0.0;
    s.Beta = std::fabs(s.DirY) * s.Beta;
    s.DirY = s.DirY > 0.0 ? 1.0 : -1.0;
  }
}

long long TPathGeneration::CountSamples(double Step, long long Limit) const {
  if (!(Step > 0.0) || !std::isfinite(Step)) return 0;
  long long count = 0;
  double rem = 0.0;
  // Each segment takes one step more than it keeps samples, so this many steps always suffice
  // to tell a count at the limit from one beyond it.
  const long long maxSteps = Limit + Path.SegmentCount + 1;
  const TWalkResult result = WalkPath(
      Path, Step, maxSteps, rem, [&count](const TBezierSegment&, double) { ++count; },
      [&count] { --count; });
  if (result == TWalkResult::BadSpeed) return 0;
  if (result == TWalkResult::TooManySteps || count + 1 > Limit) return Limit + 1;
  return count + 1;
}
