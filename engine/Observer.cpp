// SPDX-License-Identifier: GPL-3.0-or-later
// What the eye receives: the exact field at a fixed point against observer time, eight samples a
// tick, kept over the trace's ticks.
#include "engine/Observer.h"

#include <algorithm>

#include "engine/RetardedField.h"
#include "engine/SimulationState.h"

bool ReceiveAt(const TFieldSimulation& field, int ISize, TVector2 place, double ticksBack,
               TObserverReception& reception) {
  TRetardedEmission emission;
  if (!RetardedEmissionBefore(field, ISize, place, ticksBack, emission)) return false;
  reception.Radiation = emission.AccelerationPart;
  reception.Field = {emission.VelocityPart.X + emission.AccelerationPart.X,
                     emission.VelocityPart.Y + emission.AccelerationPart.Y};
  reception.Emission = emission.Position;
  reception.Charge = ChargeBetweenTicks(field, ticksBack);
  reception.EmissionTicksAgo = emission.TicksAgo;
  return true;
}

namespace {

TObserverSample SampleAt(const TFieldSimulation& field, int ISize, TVector2 place,
                         int ticksSinceReset, double ticksBack, double tick) {
  TObserverSample sample;
  sample.Tick = tick;
  TObserverReception reception;
  if (!ReceiveAt(field, ISize, place, ticksBack, reception)) {
    sample.Kind = TObserverSampleKind::BeyondHistory;
    sample.Charge = ChargeBetweenTicks(field, ticksBack);
    return sample;
  }
  sample.Charge = reception.Charge;
  // The history before the reset is the uniform motion the reset assumed, not the charge's; a
  // hair of rounding over the reset's own record still counts as sent at the reset.
  if (reception.EmissionTicksAgo > ticksSinceReset + 1e-9) {
    sample.Kind = TObserverSampleKind::BeforeReset;
    return sample;
  }
  sample.Field = reception.Field;
  sample.Radiation = reception.Radiation;
  return sample;
}

}  // namespace

void TObserverTrace::Clear(int traceTicks) {
  Length = std::clamp(traceTicks, ObserverTraceTicksMin, ObserverTraceTicksMax);
  Ring.assign(static_cast<std::size_t>(Length) * ObserverSubTicks + 1, TObserverSample{});
  Oldest = 0;
  Size = 0;
  TickCount = 0;
  BeforeReset = 0;
  BeyondHistory = 0;
}

void TObserverTrace::Append(const TObserverSample& sample) {
  if (Ring.empty()) Clear(Length);
  const int capacity = Capacity();
  if (Size < capacity) {
    Ring[static_cast<std::size_t>((Oldest + Size) % capacity)] = sample;
    ++Size;
  } else {
    Tally(Ring[static_cast<std::size_t>(Oldest)], -1);
    Ring[static_cast<std::size_t>(Oldest)] = sample;
    Oldest = (Oldest + 1) % capacity;
  }
  Tally(sample, +1);
}

void TObserverTrace::Tally(const TObserverSample& sample, int step) {
  if (sample.Kind == TObserverSampleKind::BeforeReset) BeforeReset += step;
  if (sample.Kind == TObserverSampleKind::BeyondHistory) BeyondHistory += step;
}

void TObserverTrace::SampleStart(const TFieldSimulation& field, int ISize, TVector2 place,
                                 int ticksSinceReset) {
  Append(SampleAt(field, ISize, place, ticksSinceReset, 0.0, static_cast<double>(TickCount)));
}

void TObserverTrace::SampleTick(const TFieldSimulation& field, int ISize, TVector2 place,
                                int ticksSinceReset) {
  const double now = static_cast<double>(TickCount + 1);
  for (int k = ObserverSubTicks - 1; k >= 0; --k) {
    const double back = static_cast<double>(k) / ObserverSubTicks;
    Append(SampleAt(field, ISize, place, ticksSinceReset, back, now - back));
  }
  ++TickCount;
}

int TObserverTrace::Count() const {
  return Size;
}

const TObserverSample& TObserverTrace::operator[](int index) const {
  return Ring[static_cast<std::size_t>((Oldest + index) % Capacity())];
}


TVector2 ObserverAcross(TVector2 pathCentre, TVector2 place) {
  const TVector2 d{place.X - pathCentre.X, place.Y - pathCentre.Y};
  const double length = VectorLength(d);
  if (!(length > 0.0)) return {0.0, 1.0};
  return {-d.Y / length, d.X / length};
}

TVector2 PathCentreOf(const TSimulationState& state) {
  if (!IsPathMode(state.TrajectoryMode)) return {};
  const TPath& path = state.PathGeneration.Path;
  const int last = LastUsableSample(path);
  if (last < 0) return {};
  TVector2 sum;
  for (int i = 0; i <= last; ++i) {
    sum.X += path.Samples[static_cast<std::size_t>(i)].X;
    sum.Y += path.Samples[static_cast<std::size_t>(i)].Y;
  }
  return {sum.X / (last + 1), sum.Y / (last + 1)};
}
