// SPDX-License-Identifier: GPL-3.0-or-later
// The radiation power pattern window: the angular distribution of the power the charge radiates
// in the plane of motion, of the current tick or averaged over the motion, with the total power
// and its ratio to Larmor's non-relativistic power.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include "engine/DisplaySettings.h"
#include "engine/Radiation.h"
#include "engine/RadiationPatternTracker.h"
#include "engine/SimulationState.h"
#include "plot/PlotSurface.h"

class QLabel;
class QRadioButton;

class TRadiationPatternForm : public QWidget {
  Q_OBJECT
 public:
  // As a window of its own: placed once, at the top-right corner of the screen; stays on top;
  // shown with show(). Put in a dock, it is a panel that the dock places.
  explicit TRadiationPatternForm(const TSimulationState& state, QWidget* parent = nullptr);
  ~TRadiationPatternForm() override;

  TPlotSurface& Chart1() { return *Chart; }
  TPointSeries& Series1() { return Chart->Series1(); }
  // The pattern as a closed curve: the point r_k n_k for every direction n_k of the pattern and
  // the first point again, r_k proportional to the power towards n_k, the largest
  // CurveRadius x PatternScale. Its markers are hidden: they would smear the curve into a band.
  TPointSeries& Series2() { return *Chart->Series2(); }

  // What the main window tells the window: after every tick; after every reset; after a
  // trajectory was chosen or the model size changed (after the reset that follows it).
  void ChargeTicked();
  void SimulationReset();
  void MotionChanged();
  // The curve's colour for the theme's ground: aqua on black, a dark teal on the projector's
  // light ground, where aqua would all but vanish.
  void ApplyTheme(TTheme theme);

  enum class TPatternMode { Instantaneous, Averaged };
  TPatternMode Mode() const;
  void rbtnInstantaneousClick();
  void rbtnAveragedClick();

  // The pattern the curve shows now.
  const TRadiationPattern& ShownPattern() const { return *Shown; }
  // "Power 1.23E+03 = 14.2 x Larmor", or "No radiation" when the pattern is empty.
  static QString PowerText(const TRadiationPattern& pattern);

  // Half-extent of the axes, model units (the longer side of a plot that is not square shows
  // more at the same scale). 0 until the first pattern appears: both ranges are empty and
  // every value maps to the centre of the plot. Then 1.
  double PatternScale = 0.0;
  static constexpr double CurveRadius = 0.9;

  QRadioButton* rbtnInstantaneous = nullptr;
  QRadioButton* rbtnAveraged = nullptr;
  QLabel* LabelPower = nullptr;

  static constexpr int OuterWidth = 300;
  static constexpr int OuterHeight = 300;
  static constexpr int OuterTop = 50;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // A new language: the tooltips are written again.
  void changeEvent(QEvent* event) override;

 private:
  void RetranslateUi();
  void FormCreate();
  void FormShow();
  void RefitToFrame();
  // Both axes at +-PatternScale on the shorter side of the plot, at the same scale on the other.
  void ApplyRanges();
  // Recomputes what the current mode shows (the instantaneous pattern, or picks the average)
  // and puts it on the curve and the text.
  void Refresh();
  void ShowPattern(const TRadiationPattern& pattern);

  TPlotSurface* Chart = nullptr;
  TRadiationPatternTracker Patterns;
  TRadiationPattern NoPattern;  // shown until the first refresh
  const TRadiationPattern* Shown = &NoPattern;
  TColor CurveColour = ColorRGB(0, 255, 255);  // as ApplyTheme sets it for the dark theme
  bool Framed = false;  // the first show has fitted the frame into the corner
  QRect CreatedOuter;
  QSize FrameAllowed;
};
