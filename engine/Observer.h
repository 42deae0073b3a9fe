// SPDX-License-Identifier: GPL-3.0-or-later
// The observer: a fixed point of the plane (the eye) and the field it receives, sampled several
// times per tick against observer time, for its window's trace and spectrum and for the CSV
// files.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/MyMath.h"

class TFieldSimulation;
struct TSimulationState;

// Samples per tick. The undulator's Doppler-compressed light reaches the eye with a period of
// about three ticks; eight samples a tick put its fundamental well below the sampling's Nyquist
// frequency of 4 cycles per tick, with room for its harmonics.
constexpr int ObserverSubTicks = 8;
// The trace's length in ticks: at most 4096 ticks (32768 samples, under 2 MB).
constexpr int ObserverTraceTicksMin = 64;
constexpr int ObserverTraceTicksMax = 4096;
constexpr int ObserverTraceTicksDefault = 1024;
// The eye stays within this many model units of the origin each way: the charge's history covers
// ISize ticks of light travel, one plot width, so an eye much farther off receives nothing.
constexpr double ObserverPlaceLimit = 10.0;

// What the user sets: shown or not, where, over how many ticks, and the spectrum's power axis.
struct TObserverSettings {
  bool Shown = false;
  TVector2 Place{0.9, 0.3};  // model units
  int TraceTicks = ObserverTraceTicksDefault;
  bool LogPower = false;
  friend bool operator==(const TObserverSettings& a, const TObserverSettings& b) {
    return a.Shown == b.Shown && a.Place.X == b.Place.X && a.Place.Y == b.Place.Y &&
           a.TraceTicks == b.TraceTicks && a.LogPower == b.LogPower;
  }
};

// What the eye receives at one moment of observer time. The field is that of a positive unit
// charge in the field arrows' unit e/unit² (Gaussian units, u the plot unit): Field = E_v + E_a,
// Radiation = E_a (engine/RetardedField.h).
struct TObserverReception {
  TVector2 Field;
  TVector2 Radiation;
  TVector2 Emission;            // where the charge was when it sent what arrives now
  TVector2 Charge;              // where the charge is at that moment of observer time
  double EmissionTicksAgo = 0;  // ticks before the present tick, the sub-tick offset included
};

// The received field at place at observer time (now - ticksBack), 0 <= ticksBack < 1: the
// emission time solved on the same cubic path pieces as the field arrows' (RetardedField with the
// observer's clock set back by ticksBack). False when the emission lies beyond the kept history
// or the eye sits on the charge.
bool ReceiveAt(const TFieldSimulation& field, int ISize, TVector2 place, double ticksBack,
               TObserverReception& reception);

enum class TObserverSampleKind : std::uint8_t {
  Received,       // the field below is what the eye receives
  BeforeReset,    // sent before the last reset, whose history is made up: left out (a gap)
  BeyondHistory,  // sent before the kept history begins (the eye too far off): left out
};

struct TObserverSample {
  double Tick = 0.0;  // observer time, ticks since the trace began (fractional between ticks)
  TObserverSampleKind Kind = TObserverSampleKind::Received;
  TVector2 Charge;     // the charge at that moment (model units)
  TVector2 Field;      // Received only
  TVector2 Radiation;  // Received only
};

// The last TraceTicks ticks of samples, oldest first; a ring that drops the oldest tick's
// samples as a new tick's arrive.
class TObserverTrace {
 public:
  // Empties the trace and sizes it for traceTicks ticks (clamped to the bounds above).
  void Clear(int traceTicks);
  // The ObserverSubTicks samples of the tick just run, at observer times Ticks + 1 - 7/8 ..
  // Ticks + 1 in order; then Ticks += 1. ticksSinceReset: the ticks run since the last reset
  // (an emission further back than that is BeforeReset).
  void SampleTick(const TFieldSimulation& field, int ISize, TVector2 place, int ticksSinceReset);
  // The samples of the trace as it starts: tick 0, the single sample at observer time 0.
  void SampleStart(const TFieldSimulation& field, int ISize, TVector2 place, int ticksSinceReset);

  int Count() const;
  const TObserverSample& operator[](int index) const;  // 0 = oldest kept
  int Capacity() const { return static_cast<int>(Ring.size()); }
  long long Ticks() const { return TickCount; }
  int TraceTicks() const { return Length; }
  // Of the samples kept: how many were left out, and why.
  int BeforeResetCount() const { return BeforeReset; }
  int BeyondHistoryCount() const { return BeyondHistory; }

 private:
  void Append(const TObserverSample& sample);
  // Keeps the counts of the samples left out as a sample comes (step +1) or goes (-1), so that
  // the window's line asks no walk over the ring at every frame.
  void Tally(const TObserverSample& sample, int step);
  std::vector<TObserverSample> Ring;
  int Oldest = 0;
  int Size = 0;
  int Length = ObserverTraceTicksDefault;
  long long TickCount = 0;
  int BeforeReset = 0;
  int BeyondHistory = 0;
};

// The fixed direction the trace's signed components are taken along: across the line from the
// path's centre to the eye, the unit vector (-d.y, d.x) / |d| for d = place - centre ((0, 1)
// where the eye sits on the centre).
TVector2 ObserverAcross(TVector2 pathCentre, TVector2 place);
// The centre of the path in force: the mean of its usable samples; the origin in mouse mode or
// without a path.
TVector2 PathCentreOf(const TSimulationState& state);
