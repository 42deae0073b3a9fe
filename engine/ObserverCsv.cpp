// SPDX-License-Identifier: GPL-3.0-or-later
// The observer's CSV text: printf's %.9g, its decimal point put back to '.' where the locale in
// force writes another (the desktop runs in the user's locale).
#include "engine/ObserverCsv.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

// Nine significant digits read back within a part in 10⁹, more than a plot of the samples shows;
// eighths of a tick stay exact up to 10⁸ ticks.
void AppendNumber(std::string& csv, double v) {
  char text[48];
  const int length = std::snprintf(text, sizeof text, "%.9g", v);
  if (length <= 0) return;
  std::string_view printed(text, static_cast<std::size_t>(length));
  const char* point = std::localeconv()->decimal_point;
  if (point == nullptr || std::strcmp(point, ".") == 0 || *point == '\0') {
    csv += printed;
    return;
  }
  const std::size_t at = printed.find(point);
  if (at == std::string_view::npos) {
    csv += printed;
    return;
  }
  csv += printed.substr(0, at);
  csv += '.';
  csv += printed.substr(at + std::strlen(point));
}

}  // namespace

void AppendObserverTraceRow(std::string& csv, const TObserverSample& sample, double tickOffset) {
  if (sample.Kind != TObserverSampleKind::Received) return;
  const double values[] = {sample.Tick + tickOffset, sample.Charge.X,    sample.Charge.Y,
                           sample.Field.X,           sample.Field.Y,     sample.Radiation.X,
                           sample.Radiation.Y};
  bool first = true;
  for (const double v : values) {
    if (!first) csv += ',';
    first = false;
    AppendNumber(csv, v);
  }
  csv += '\n';
}

std::string ObserverTraceCsv(const TObserverTrace& trace, double fromTick, double toTick) {
  std::string csv = ObserverTraceCsvHeader;
  for (int i = 0; i < trace.Count(); ++i) {
    const TObserverSample& sample = trace[i];
    if (sample.Tick >= fromTick && sample.Tick <= toTick) AppendObserverTraceRow(csv, sample);
  }
  return csv;
}

std::string ObserverSpectrumCsv(const TObserverSpectrum& spectrum) {
  std::string csv = ObserverSpectrumCsvHeader;
  const std::size_t bins = std::min(spectrum.Frequency.size(), spectrum.Power.size());
  // A fundamental of no positive size names no harmonics.
  const bool harmonics = spectrum.Fundamental && *spectrum.Fundamental > 0.0;
  for (std::size_t k = 0; k < bins; ++k) {
    AppendNumber(csv, spectrum.Frequency[k]);
    csv += ',';
    if (harmonics) AppendNumber(csv, spectrum.Frequency[k] / *spectrum.Fundamental);
    csv += ',';
    AppendNumber(csv, spectrum.Power[k]);
    csv += '\n';
  }
  return csv;
}

TObserverTraceRows::TObserverTraceRows(double tickOffset)
    : Csv(ObserverTraceCsvHeader), TickOffset(tickOffset) {}

void TObserverTraceRows::Take(const TObserverTrace& trace) {
  // The samples newer than the last one taken lie at the trace's end.
  int first = trace.Count();
  while (first > 0 && (!Taken || trace[first - 1].Tick > LastTick)) --first;
  for (int i = first; i < trace.Count(); ++i) AppendObserverTraceRow(Csv, trace[i], TickOffset);
  if (first < trace.Count()) {
    LastTick = trace[trace.Count() - 1].Tick;
    Taken = true;
  }
}
