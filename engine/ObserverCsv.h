// SPDX-License-Identifier: GPL-3.0-or-later
// The observer's two CSV files as text, for the command line's --observer-csv and --spectrum-csv
// and for the front-ends' "Save as CSV": what the eye received, sample by sample, and its
// spectrum. Numbers with nine significant digits and '.' for the decimal point whatever the
// locale; lines end in '\n'; the first line names the columns.
#pragma once

#include <string>

#include "engine/Observer.h"
#include "engine/ObserverFrequencies.h"

// tick: observer time in ticks (eighths between ticks); charge_x, charge_y: the charge at that
// moment, model units; ex, ey: the field received, ex_rad, ey_rad: its radiation part, both in
// the field arrows' unit e/unit² (a positive unit charge, Gaussian units).
constexpr const char* ObserverTraceCsvHeader = "tick,charge_x,charge_y,ex,ey,ex_rad,ey_rad\n";
// frequency: cycles per tick; harmonic: frequency / f₀ of a closed path, empty for any other;
// power: |Êx|² + |Êy|², the largest 1.
constexpr const char* ObserverSpectrumCsvHeader = "frequency,harmonic,power\n";

// The row of sample, its tick plus tickOffset; nothing for a sample left out (sent before the
// last reset or before the kept history), which the file leaves out too.
void AppendObserverTraceRow(std::string& csv, const TObserverSample& sample,
                            double tickOffset = 0.0);

// The header and the row of every received sample of trace from fromTick to toTick (the trace's
// own ticks, both included), oldest first.
std::string ObserverTraceCsv(const TObserverTrace& trace, double fromTick, double toTick);

// The header and one row per bin of spectrum, lowest frequency first.
std::string ObserverSpectrumCsv(const TObserverSpectrum& spectrum);

// The trace file gathered while the ticks run, for a run longer than a trace holds: each Take
// appends the rows of the samples that arrived since the one before, so that taking after every
// tick (or at least once within the trace's length) keeps every row.
class TObserverTraceRows {
 public:
  // tickOffset: added to every sample's tick (the run's tick at which the trace began).
  explicit TObserverTraceRows(double tickOffset = 0.0);
  void Take(const TObserverTrace& trace);
  const std::string& Text() const { return Csv; }

 private:
  std::string Csv;
  double TickOffset;
  bool Taken = false;
  double LastTick = 0.0;  // the newest sample taken, in the trace's ticks
};
