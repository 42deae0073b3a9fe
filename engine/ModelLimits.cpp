// Checks of a trajectory and a model size before they replace the current ones. They work on
// scratch copies only and never on the real generator or node table.
#include "engine/ModelLimits.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "engine/PathGen.h"
#include "engine/SimulationState.h"

namespace {

// Fixed with three decimals in the range people type, scientific outside it (1.00E-12).
std::string Number(double v) {
  if (std::isnan(v)) return "not a number";
  if (std::isinf(v)) return v > 0 ? "infinity" : "minus infinity";
  char text[64];
  const double a = std::fabs(v);
  if (a == 0.0 || (a >= 0.001 && a < 1e7)) {
    std::snprintf(text, sizeof text, "%.3f", v);
  } else {
    std::snprintf(text, sizeof text, "%.2E", v);
  }
  return text;
}

// Counts: whole numbers, scientific when very large.
std::string Count(double v) {
  char text[64];
  if (std::fabs(v) < 1e7) {
    std::snprintf(text, sizeof text, "%.0f", v);
  } else {
    std::snprintf(text, sizeof text, "%.2E", v);
  }
  return text;
}

struct TNamedValue {
  const char* Name;
  double Value;
};

std::string CheckFinite(std::initializer_list<TNamedValue> values) {
  for (const TNamedValue& v : values) {
    if (!std::isfinite(v.Value)) {
      return std::string("The ") + v.Name + " must be a finite number (" + Number(v.Value) +
             " was given).";
    }
  }
  return {};
}

std::string CheckSpeed(double beta) {
  if (beta > 0.0) return {};
  return "The speed must be greater than 0 (" + Number(beta) + " was given).";
}

std::string CheckNotZero(const char* name, double value) {
  if (value != 0.0) return {};
  return std::string("The ") + name + " must not be 0.";
}

// Length of a segment from the chords of a fine subdivision: a bound on the stepping before
// any stepping is done.
double EstimateLength(const TBezierSegment& s) {
  constexpr int Pieces = 64;
  double length = 0.0;
  TVector2 from = s.P0;
  for (int i = 1; i <= Pieces; ++i) {
    const TVector2 to = BezierPoint(s, static_cast<double>(i) / Pieces);
    length += std::hypot(to.X - from.X, to.Y - from.Y);  // no overflow of the squares
    from = to;
  }
  return length;
}

// The stepping of the built path: it must end, give at least two samples (the animation reads
// samples 0 ... SampleCount - 2) and no more than the table may hold.
std::string CheckSampling(const TPathGeneration& path, double beta, double waveVelocity) {
  const double step = beta * waveVelocity;
  const std::string speed = Number(beta);
  const std::string limit = Count(static_cast<double>(MaxPathSamples));
  const std::string tooLong = "The path is too long for the speed " + speed + ": it would take ";
  if (!(step > 0.0)) return "The speed " + speed + " is too low to move the charge.";

  double length = 0.0;
  for (const TBezierSegment& s : path.Path.Segments) length += EstimateLength(s);
  if (!std::isfinite(length) || !std::isfinite(step)) return "The path is too large to compute.";
  const double estimate = length / step;
  if (!(estimate <= static_cast<double>(MaxPathSamples))) {
    return tooLong + "about " + Count(estimate) + " ticks (at most " + limit + ").";
  }

  const long long samples = path.CountSamples(step, MaxPathSamples);
  if (samples == 0) return "The path has a piece without a direction; change its dimensions.";
  if (samples > MaxPathSamples) return tooLong + "more than " + limit + " ticks.";
  if (samples < 2) {
    return "The path is too short for the speed " + speed +
           ": the charge would cross it in less than two ticks.";
  }
  return {};
}

}  // namespace

std::string CheckTrajectory(int trajectoryMode, const TTrajectoryParameters& parameters,
                            double waveVelocity) {
  if (!(waveVelocity > 0.0) || !std::isfinite(waveVelocity)) {
    return "The wave speed must be greater than 0 (" + Number(waveVelocity) + " was given).";
  }
  const TTrajectoryParameters& p = parameters;
  TPathGeneration scratch;
  double beta = 0.0;
  std::string error;

  switch (trajectoryMode) {
    case tmMouse:
      return {};

    case tmStraightLine:
      beta = p.LineBeta;
      error = CheckFinite(
          {{"speed", beta}, {"start position", p.LineStartX}, {"stop position", p.LineStopX}});
      if (error.empty()) error = CheckSpeed(beta);
      if (!error.empty()) return error;
      if (p.LineStartX == p.LineStopX) {
        return "The start and stop positions must differ (both are " + Number(p.LineStartX) + ").";
      }
      scratch.MakeLine(p.LineStartX, p.LineStopX);
      break;

    case tmDipole:
      // A negative amplitude mirrors the circle: the oscillation starts downwards.
      beta = p.DipoleBeta;
      error = CheckFinite({{"speed", beta}, {"oscillation amplitude", p.DipoleAmplitude}});
      if (error.empty()) error = CheckSpeed(beta);
      if (error.empty()) error = CheckNotZero("oscillation amplitude", p.DipoleAmplitude);
      if (!error.empty()) return error;
      scratch.MakeCircle(p.DipoleAmplitude);
      break;

    case tmCircle:
      // A negative radius is the same circle, started on the opposite side.
      beta = p.CircleBeta;
      error = CheckFinite({{"speed", beta}, {"circle radius", p.CircleRadius}});
      if (error.empty()) error = CheckSpeed(beta);
      if (error.empty()) error = CheckNotZero("circle radius", p.CircleRadius);
      if (!error.empty()) return error;
      scratch.MakeCircle(p.CircleRadius);
      break;

    case tmRaceTrack:
      // Both negative is the same track turned by half a turn; mixed signs make the straights
      // run against the arcs, so the charge would reverse at every joint.
      beta = p.RaceBeta;
      error = CheckFinite({{"speed", beta},
                           {"bending radius", p.RaceRadius},
                           {"straight section", p.RaceStraight}});
      if (error.empty()) error = CheckSpeed(beta);
      if (error.empty()) error = CheckNotZero("bending radius", p.RaceRadius);
      if (error.empty()) error = CheckNotZero("straight section", p.RaceStraight);
      if (!error.empty()) return error;
      if ((p.RaceRadius > 0.0) != (p.RaceStraight > 0.0)) {
        return "The bending radius and the straight section must have the same sign (" +
               Number(p.RaceRadius) + " and " + Number(p.RaceStraight) + " were given).";
      }
      scratch.MakeRaceTrack(p.RaceRadius, p.RaceStraight);
      break;

    case tmUndulator: {
      beta = p.UndBeta;
      error = CheckFinite({{"speed", beta},
                           {"undulator period", p.UndPeriod},
                           {"oscillation amplitude", p.UndAmplitude}});
      if (error.empty()) error = CheckSpeed(beta);
      if (!error.empty()) return error;
      if (!(p.UndPeriod > 0.0)) {
        return "The undulator period must be greater than 0 (" + Number(p.UndPeriod) +
               " was given).";
      }
      if (p.UndPeriods < 1) {
        return "The number of periods must be at least 1 (" + std::to_string(p.UndPeriods) +
               " was given).";
      }
      // The periods the generator keeps: all of them, or as many as fit between x = -0.8 and
      // x = 1.0. Worked out in floating point, since 1.8 / period may not fit an int.
      double periods = p.UndPeriods;
      if (p.UndPeriods * p.UndPeriod - 0.8 > 1.0) periods = std::trunc(1.8 / p.UndPeriod);
      const double maxPeriods = static_cast<double>((MaxPathSegments - 2) / 2);
      if (periods > maxPeriods) {
        return "The undulator would have " + Count(periods) + " periods; at most " +
               Count(maxPeriods) + " fit.";
      }
      scratch.MakeUndulator(p.UndPeriods, UndulatorSwing(p), p.UndPeriod);
      break;
    }

    case tmBending:
      // Both negative bends to the right; mixed signs would turn the charge back at the entry.
      beta = p.BendBeta;
      error = CheckFinite(
          {{"speed", beta}, {"bending radius", p.BendRadius}, {"bending angle", p.BendAngle}});
      if (error.empty()) error = CheckSpeed(beta);
      if (error.empty()) error = CheckNotZero("bending radius", p.BendRadius);
      if (error.empty()) error = CheckNotZero("bending angle", p.BendAngle);
      if (!error.empty()) return error;
      if ((p.BendRadius > 0.0) != (p.BendAngle > 0.0)) {
        return "The bending radius and angle must have the same sign (" + Number(p.BendRadius) +
               " and " + Number(p.BendAngle) + " were given).";
      }
      if (std::fabs(p.BendAngle) > MaxBendAngle) {
        return "The bending angle must lie between -180 and 180 degrees (" + Number(p.BendAngle) +
               " was given).";
      }
      scratch.MakeBending(p.BendRadius, p.BendAngle);
      break;

    default:
      return "Unknown trajectory kind " + std::to_string(trajectoryMode) + ".";
  }

  return CheckSampling(scratch, beta, waveVelocity);
}

std::string CheckModelSize(long long iSize, long long jSize, int waveFrontSpacing) {
  if (iSize < 2) {
    return "The number of field points per field line must be at least 2 (" +
           std::to_string(iSize) + " was given).";
  }
  if (jSize < 1) {
    return "The number of field lines must be at least 1 (" + std::to_string(jSize) +
           " was given).";
  }
  if (waveFrontSpacing < 1) {
    return "The wavefront spacing must be at least 1 (" + std::to_string(waveFrontSpacing) +
           " was given).";
  }
  if (waveFrontSpacing > iSize) {
    return "The number of field points per field line must be at least " +
           std::to_string(waveFrontSpacing) +
           ", the number of field points between two wavefronts (" + std::to_string(iSize) +
           " was given).";
  }
  // Either size alone beyond the bound settles it; below it the product fits in 64 bits.
  const bool tooLarge =
      iSize >= MaxModelNodes || jSize >= MaxModelNodes || (iSize + 1) * (jSize + 1) > MaxModelNodes;
  if (tooLarge) {
    const double nodes = (static_cast<double>(iSize) + 1.0) * (static_cast<double>(jSize) + 1.0);
    return "A model of " + std::to_string(iSize) + " field points x " + std::to_string(jSize) +
           " field lines is too large: it needs " + Count(nodes) + " nodes, at most " +
           Count(static_cast<double>(MaxModelNodes)) + ".";
  }
  return {};
}
