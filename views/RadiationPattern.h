// The radiation power pattern window: the frame of a pattern plot, a red marker at the origin and
// an empty pattern curve. No part of the program computes a pattern yet, so its scale stays 0.
#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

#include "engine/SimulationState.h"
#include "plot/PlotSurface.h"

class TRadiationPatternForm : public QWidget {
  Q_OBJECT
 public:
  // Placed once, at the top-right corner of the screen; stays on top; shown with show().
  explicit TRadiationPatternForm(TSimulationState& state, QWidget* parent = nullptr);
  ~TRadiationPatternForm() override;

  TPlotSurface& Chart1() { return *Chart; }
  TPointSeries& Series1() { return Chart->Series1(); }
  TPointSeries& Series2() { return *Chart->Series2(); }

  // Half-extent of both axes, model units. With 0 both ranges are empty and every value maps to
  // the centre of the plot.
  double PatternScale = 0.0;

  // One value per field-line direction, the closing copy of direction 0 included; filled with 0.1
  // and kept for a pattern computation, which nothing performs yet.
  std::vector<double> PowerPattern;
  std::vector<double> PowerPatternPrevious;

  static constexpr int OuterWidth = 300;
  static constexpr int OuterHeight = 300;
  static constexpr int OuterTop = 50;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate(const TSimulationState& state);
  void FormShow();
  void RefitToFrame();

  TPlotSurface* Chart = nullptr;
  bool Framed = false;  // the first show has fitted the frame into the corner
  QRect CreatedOuter;
  QSize FrameAllowed;
};
