// SPDX-License-Identifier: GPL-3.0-or-later
// The observer's spectrum: the power of the trace's radiation part against frequency, on a
// linear or a logarithmic axis, with the lines theory predicts drawn over it (thin lines, or
// shaded spans where a line is spread over a band) and labelled by harmonic. The frequency axis
// is labelled in cycles per tick and in hertz, and for closed paths in harmonics of f₀.
#pragma once

#include <QWidget>

#include "engine/ObserverFrequencies.h"
#include "engine/SimulationCommands.h"

class TObserverPowerPlot : public QWidget {
  Q_OBJECT
 public:
  // Draws spectrum, which its owner keeps and recomputes.
  TObserverPowerPlot(const TSimulationCommands& commands, const TObserverSpectrum& spectrum,
                        QWidget* parent = nullptr);

  // The highest frequency shown, cycles per tick: a quarter beyond the last bin of noticeable
  // power, with room for four harmonics of a closed path's f₀ and for the undulator's first
  // line; at most the highest bin. 0 for a spectrum with nothing in it.
  static double UpperFrequency(const TObserverSpectrum& spectrum);
  // The decades the logarithmic axis spans below the largest power (1): down to the least
  // power shown, from 3 to 12.
  static int LogDecades(const TObserverSpectrum& spectrum, double upper);

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Paint();
  const TSimulationCommands& Commands;
  const TObserverSpectrum& Spectrum;
};
