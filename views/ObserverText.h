// SPDX-License-Identifier: GPL-3.0-or-later
// The observer window's texts that carry numbers: values with SI prefixes, the samples the trace
// left out, the undulator's two wavelengths, and the names of the two CSV files. Worded in the
// context TObserverForm of the catalogues, in the language installed.
#pragma once

#include <QString>
#include <utility>

#include "engine/ObserverFrequencies.h"

// The catalogues' context of every text of the observer window and its plots.
constexpr char ObserverContext[] = "TObserverForm";
QString ObserverWord(const char* english);

// Three significant digits with the SI prefix (atto .. exa) that keeps the figure from 1 to 999,
// then the unit: "41.0 ps", "2.45 GHz", "1.23 µm"; "0 s" for zero.
QString SiText(double value, const QString& unit);
// A plain number of three significant digits in the locale's form: "0.0123", "-2.50e-05".
QString ShortNumber(double value);

// One line: "Every sample received", or how many of the kept samples were left out and why.
QString LeftOutText(const TObserverTrace& trace);

// The model's wavelength c/f₁ = λu(1/β̄ − cos θ) over the span of θ, beside the dialog's
// λrad = λu/(2γ²)(1 + K²/2), both in metres (1 u = 1 m on the undulator).
QString UndulatorText(const TUndulatorLight& light);

// The lines under the spectrum: a closed path's own frequency f₀ in cycles per tick and in hertz,
// and the undulator's wavelengths; empty for a spectrum with neither.
QString SpectrumNoteText(const TObserverSpectrum& spectrum, double secondsPerTick);

// The trace's and the spectrum's files for the name the user chose: "eye.csv" (or "eye") gives
// "eye-trace.csv" and "eye-spectrum.csv" beside it.
std::pair<QString, QString> ObserverCsvPaths(const QString& chosen);
