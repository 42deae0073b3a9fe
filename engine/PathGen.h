// SPDX-License-Identifier: GPL-3.0-or-later
// The trajectory generator: preset paths as chains of cubic Bezier segments, sampled at equal
// arc-length steps into one charge state per tick.
#pragma once

#include <vector>

#include "engine/MyMath.h"

// B(t) = (1-t)^3 P0 + 3t(1-t)^2 P1 + 3t^2(1-t) P2 + t^3 P3.
struct TBezierSegment {
  TVector2 P0;
  TVector2 P1;
  TVector2 P2;
  TVector2 P3;
};

// A segment whose control polygon is shorter than this (model units) holds no sample: the
// sampling passes over it. Such pieces arise where an undulator's periods end at, or a rounding
// error short of, the exit x = 1.0; their speed is zero or nearly so and would turn the stepping
// into NaN.
constexpr double MinSegmentLength = 1e-9;

// The point of segment s at parameter t.
TVector2 BezierPoint(const TBezierSegment& s, double t);

struct TPathSample {
  double X = 0.0;
  double Y = 0.0;
  double DirX = 0.0;  // unit tangent
  double DirY = 0.0;
  double Beta = 0.0;
};

struct TPath {
  int SegmentCount = 0;
  std::vector<TBezierSegment> Segments;
  int SampleCount = 0;
  std::vector<TPathSample> Samples;  // entries 0 .. SampleCount - 2 are used
};

// The last sample the animation reads: SampleCount - 2, never past the stored table; -1 when
// there is none.
inline int LastUsableSample(const TPath& path) {
  const long long stored = static_cast<long long>(path.Samples.size());
  const long long count = path.SampleCount < stored ? path.SampleCount : stored;
  return static_cast<int>(count < 1 ? -1 : count - 2);
}

class TPathGeneration {
 public:
  TPath Path;

  void MakeLine(double StartX, double StopX);
  void MakeCircle(double Radius);
  void MakeRaceTrack(double Radius, double Straight);
  void MakeUndulator(int Periods, double Amplitude, double Period);
  void MakeBending(double Radius, double AngleDeg);
  void SampleUniform(double Step, double Beta);
  void MakeDipole();

  // The SampleCount that SampleUniform(Step, ...) would give the current path, without changing
  // anything: 0 when the stepping meets a zero or non-finite speed (a piece of the path without
  // length), Limit + 1 as soon as the count is known to exceed Limit. Checks run it on a scratch
  // generator before a path replaces the real one.
  long long CountSamples(double Step, long long Limit) const;
};
