// SPDX-License-Identifier: GPL-3.0-or-later
// Checks of a trajectory, a model size and the settings before they replace the current ones.
// They work on scratch copies only and never on the real generator or node table.
#include "engine/ModelLimits.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "engine/AnimationSpeed.h"
#include "engine/FieldCal.h"
#include "engine/PathGen.h"
#include "engine/SimulationState.h"

namespace {

using TKind = TRefusalValue::TKind;

TRefusalValue Number(double v) {
  return TRefusalValue::OfNumber(v);
}
TRefusalValue Count(double v) {
  return TRefusalValue::OfCount(v);
}

struct TNamedValue {
  TParameter Name;
  double Value;
};

TRefusal CheckFinite(std::initializer_list<TNamedValue> values) {
  for (const TNamedValue& v : values) {
    if (!std::isfinite(v.Value)) return Refused(TRefusalCode::NotFinite, {Number(v.Value)}, v.Name);
  }
  return {};
}

// Above 0, and at most the engine's cap: at the wave speed and beyond, γ and 1 / (1 − n·β)
// have no value and the field lines would fold into shock cones.
TRefusal CheckSpeed(double beta) {
  if (!(beta > 0.0)) return Refused(TRefusalCode::SpeedNotPositive, {Number(beta)});
  if (!(beta <= MaxBeta)) return Refused(TRefusalCode::SpeedTooHigh, {Number(MaxBeta), Number(beta)});
  return {};
}

TRefusal CheckNotZero(TParameter name, double value) {
  if (value != 0.0) return {};
  return Refused(TRefusalCode::MustNotBeZero, {}, name);
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
TRefusal CheckSampling(const TPathGeneration& path, double beta, double waveVelocity) {
  const double step = beta * waveVelocity;
  const double limit = static_cast<double>(MaxPathSamples);
  if (!(step > 0.0)) return Refused(TRefusalCode::SpeedTooLowToMove, {Number(beta)});

  double length = 0.0;
  for (const TBezierSegment& s : path.Path.Segments) length += EstimateLength(s);
  if (!std::isfinite(length) || !std::isfinite(step)) return Refused(TRefusalCode::PathTooLarge);
  const double estimate = length / step;
  if (!(estimate <= limit)) {
    return Refused(TRefusalCode::PathTooLongEstimate,
                   {Number(beta), Count(estimate), Count(limit)});
  }

  const long long samples = path.CountSamples(step, MaxPathSamples);
  if (samples == 0) return Refused(TRefusalCode::PathPieceWithoutDirection);
  if (samples > MaxPathSamples) return Refused(TRefusalCode::PathTooLong, {Number(beta), Count(limit)});
  if (samples < 2) return Refused(TRefusalCode::PathTooShort, {Number(beta)});
  return {};
}

}  // namespace

TRefusal CheckTrajectory(int trajectoryMode, const TTrajectoryParameters& parameters,
                         double waveVelocity) {
  if (!(waveVelocity > 0.0) || !std::isfinite(waveVelocity))
    return Refused(TRefusalCode::WaveSpeedNotPositive, {Number(waveVelocity)});
  const TTrajectoryParameters& p = parameters;
  TPathGeneration scratch;
  double beta = 0.0;
  TRefusal refusal;
  // The first refusal of a chain of checks, or none.
  const auto first = [&refusal](std::initializer_list<TRefusal> checks) {
    for (const TRefusal& check : checks) {
      if (check) {
        refusal = check;
        return true;
      }
    }
    return false;
  };

  switch (trajectoryMode) {
    case tmMouse:
      return {};

    case tmStraightLine:
      beta = p.LineBeta;
      if (first({CheckFinite({{TParameter::Speed, beta},
                              {TParameter::StartPosition, p.LineStartX},
                              {TParameter::StopPosition, p.LineStopX}}),
                 CheckSpeed(beta)}))
        return refusal;
      if (p.LineStartX == p.LineStopX)
        return Refused(TRefusalCode::PositionsEqual, {Number(p.LineStartX)});
      scratch.MakeLine(p.LineStartX, p.LineStopX);
      break;

    case tmDipole:
      // A negative amplitude mirrors the circle: the oscillation starts downwards.
      beta = p.DipoleBeta;
      if (first({CheckFinite({{TParameter::Speed, beta},
                              {TParameter::OscillationAmplitude, p.DipoleAmplitude}}),
                 CheckSpeed(beta), CheckNotZero(TParameter::OscillationAmplitude, p.DipoleAmplitude)}))
        return refusal;
      scratch.MakeCircle(p.DipoleAmplitude);
      break;

    case tmCircle:
      // A negative radius is the same circle, started on the opposite side.
      beta = p.CircleBeta;
      if (first({CheckFinite({{TParameter::Speed, beta}, {TParameter::CircleRadius, p.CircleRadius}}),
                 CheckSpeed(beta), CheckNotZero(TParameter::CircleRadius, p.CircleRadius)}))
        return refusal;
      scratch.MakeCircle(p.CircleRadius);
      break;

    case tmRaceTrack:
      // Both negative is the same track turned by half a turn; mixed signs make the straights
      // run against the arcs, so the charge would reverse at every joint.
      beta = p.RaceBeta;
      if (first({CheckFinite({{TParameter::Speed, beta},
                              {TParameter::BendingRadius, p.RaceRadius},
                              {TParameter::StraightSection, p.RaceStraight}}),
                 CheckSpeed(beta), CheckNotZero(TParameter::BendingRadius, p.RaceRadius),
                 CheckNotZero(TParameter::StraightSection, p.RaceStraight)}))
        return refusal;
      if ((p.RaceRadius > 0.0) != (p.RaceStraight > 0.0))
        return Refused(TRefusalCode::RaceTrackSigns, {Number(p.RaceRadius), Number(p.RaceStraight)});
      scratch.MakeRaceTrack(p.RaceRadius, p.RaceStraight);
      break;

    case tmUndulator: {
      beta = p.UndBeta;
      if (first({CheckFinite({{TParameter::Speed, beta},
                              {TParameter::UndulatorPeriod, p.UndPeriod},
                              {TParameter::OscillationAmplitude, p.UndAmplitude}}),
                 CheckSpeed(beta)}))
        return refusal;
      if (!(p.UndPeriod > 0.0))
        return Refused(TRefusalCode::UndulatorPeriodNotPositive, {Number(p.UndPeriod)});
      if (p.UndPeriods < 1) return Refused(TRefusalCode::TooFewPeriods, {Count(1), Count(p.UndPeriods)});
      // The periods the generator keeps: all of them, or as many as fit between x = -0.8 and
      // x = 1.0. Worked out in floating point, since 1.8 / period may not fit an int.
      double periods = p.UndPeriods;
      if (p.UndPeriods * p.UndPeriod - 0.8 > 1.0) periods = std::trunc(1.8 / p.UndPeriod);
      const double maxPeriods = static_cast<double>((MaxPathSegments - 2) / 2);
      if (periods > maxPeriods)
        return Refused(TRefusalCode::TooManyPeriods, {Count(periods), Count(maxPeriods)});
      scratch.MakeUndulator(p.UndPeriods, UndulatorSwing(p), p.UndPeriod);
      break;
    }

    case tmBending:
      // Both negative bends to the right; mixed signs would turn the charge back at the entry.
      beta = p.BendBeta;
      if (first({CheckFinite({{TParameter::Speed, beta},
                              {TParameter::BendingRadius, p.BendRadius},
                              {TParameter::BendingAngle, p.BendAngle}}),
                 CheckSpeed(beta), CheckNotZero(TParameter::BendingRadius, p.BendRadius),
                 CheckNotZero(TParameter::BendingAngle, p.BendAngle)}))
        return refusal;
      if ((p.BendRadius > 0.0) != (p.BendAngle > 0.0))
        return Refused(TRefusalCode::BendingSigns, {Number(p.BendRadius), Number(p.BendAngle)});
      if (std::fabs(p.BendAngle) > MaxBendAngle)
        return Refused(TRefusalCode::BendingAngleRange, {Number(MaxBendAngle), Number(p.BendAngle)});
      scratch.MakeBending(p.BendRadius, p.BendAngle);
      break;

    default:
      return Refused(TRefusalCode::UnknownTrajectory, {Count(trajectoryMode)});
  }

  return CheckSampling(scratch, beta, waveVelocity);
}

TRefusal CheckModelSize(long long iSize, long long jSize, long long waveFrontSpacing) {
  if (iSize < 2) return Refused(TRefusalCode::TooFewRows, {Count(2), Count(static_cast<double>(iSize))});
  if (jSize < 1) return Refused(TRefusalCode::TooFewLines, {Count(1), Count(static_cast<double>(jSize))});
  if (waveFrontSpacing < 1)
    return Refused(TRefusalCode::WaveFrontSpacingTooSmall,
                   {Count(1), Count(static_cast<double>(waveFrontSpacing))});
  if (waveFrontSpacing > iSize)
    return Refused(TRefusalCode::RowsBelowWaveFrontSpacing,
                   {Count(static_cast<double>(waveFrontSpacing)), Count(static_cast<double>(iSize))});
  // Either size alone beyond the bound settles it; below it the product fits in 64 bits.
  const bool tooLarge =
      iSize >= MaxModelNodes || jSize >= MaxModelNodes || (iSize + 1) * (jSize + 1) > MaxModelNodes;
  if (tooLarge) {
    const double nodes = (static_cast<double>(iSize) + 1.0) * (static_cast<double>(jSize) + 1.0);
    return Refused(TRefusalCode::ModelTooLarge,
                   {Count(static_cast<double>(iSize)), Count(static_cast<double>(jSize)), Count(nodes),
                    Count(static_cast<double>(MaxModelNodes))});
  }
  return {};
}

TRefusal CheckPlotResolution(long long pixels) {
  if (pixels >= PlotResolutionMin && pixels <= PlotResolutionMax) return {};
  return Refused(TRefusalCode::PlotResolutionRange,
                 {Count(PlotResolutionMin), Count(PlotResolutionMax), Count(static_cast<double>(pixels))});
}

TRefusal CheckSpeedPosition(long long position) {
  if (position >= SpeedPositionMin && position <= SpeedPositionMax) return {};
  return Refused(TRefusalCode::SpeedPositionRange,
                 {Count(SpeedPositionMin), Count(SpeedPositionMax), Count(static_cast<double>(position))});
}

TRefusal CheckZoomSettings(const TZoomSettings& zoom) {
  if (!(zoom.Scale >= MinZoomScale && zoom.Scale <= MaxZoomScale))
    return Refused(TRefusalCode::ZoomScaleRange,
                   {Number(MinZoomScale), Number(MaxZoomScale), Number(zoom.Scale)});
  if (zoom.Tracking != ztOff && zoom.Tracking != ztParticleMotion && zoom.Tracking != ztInitialVelocity)
    return Refused(TRefusalCode::ZoomTrackingUnknown, {Count(zoom.Tracking)});
  return {};
}

TRefusal CheckTheme(TTheme theme) {
  if (theme != TTheme::Dark && theme != TTheme::Projector)
    return Refused(TRefusalCode::ThemeUnknown, {Count(static_cast<int>(theme))});
  return {};
}

TRefusal CheckScaleUnit(const TScaleUnit& unit) {
  bool knownScale = false;
  for (const int scale : ScaleUnitScales) knownScale = knownScale || unit.Scale == scale;
  const int code = static_cast<int>(unit.Unit);
  if (!knownScale || code < 0 || code > static_cast<int>(TLengthUnit::Millimetre))
    return Refused(TRefusalCode::ScaleUnitUnknown, {Count(unit.Scale), Count(code)});
  return {};
}

TRefusal CheckObserver(const TObserverSettings& observer) {
  const auto within = [](double v) { return std::fabs(v) <= ObserverPlaceLimit; };
  if (!within(observer.Place.X) || !within(observer.Place.Y)) {
    return Refused(TRefusalCode::ObserverPlaceRange, {Number(ObserverPlaceLimit),
                                                      Number(observer.Place.X),
                                                      Number(observer.Place.Y)});
  }
  if (observer.TraceTicks < ObserverTraceTicksMin || observer.TraceTicks > ObserverTraceTicksMax) {
    return Refused(TRefusalCode::ObserverTraceTicksRange,
                   {Count(ObserverTraceTicksMin), Count(ObserverTraceTicksMax),
                    Count(observer.TraceTicks)});
  }
  return {};
}
