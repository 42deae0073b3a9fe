// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PictureScale.h"

#include "engine/SimulationState.h"

namespace {
constexpr double SpeedOfLight = 299792458.0;  // m/s
}

double MetresOf(TLengthUnit unit) {
  switch (unit) {
    case TLengthUnit::Kilometre: return 1000.0;
    case TLengthUnit::Millimetre: return 0.001;
    case TLengthUnit::Metre: break;
  }
  return 1.0;
}

TPictureScale PictureScaleOf(int trajectoryMode, const TScaleUnit& unit) {
  if (trajectoryMode == tmUndulator || trajectoryMode == tmBending) return {1.0, true};
  return {unit.Scale * MetresOf(unit.Unit) / ModelWidth, false};
}

double SecondsPerTick(int iSize, const TPictureScale& scale) {
  if (iSize <= 0) return 0.0;
  return WaveVelocityOf(iSize) * scale.MetresPerUnit / SpeedOfLight;
}
