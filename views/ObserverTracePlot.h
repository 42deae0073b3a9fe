// SPDX-License-Identifier: GPL-3.0-or-later
// The observer's trace: the field the eye receives against observer time over the trace's
// ticks, as two signed components across the line from the path's centre to the eye (the
// radiation part and the whole field), with the samples left out drawn as gaps. The time axis is
// labelled in ticks and in seconds.
#pragma once

#include <QWidget>
#include <utility>

#include "engine/SimulationCommands.h"

class TObserverTracePlot : public QWidget {
  Q_OBJECT
 public:
  explicit TObserverTracePlot(const TSimulationCommands& commands, QWidget* parent = nullptr);

  // The ticks the plot spans: the trace's TraceTicks up to the last tick sampled, from tick 0
  // while the trace is still filling, so that it fills from the left and then scrolls.
  static std::pair<double, double> TickSpan(const TObserverTrace& trace);

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Paint();
  const TSimulationCommands& Commands;
};
