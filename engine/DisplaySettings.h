// SPDX-License-Identifier: GPL-3.0-or-later
// What the user chooses about the picture rather than the simulation: which layers are drawn,
// how finely, how smooth, and the magnified view's scale and tracking. The picture reads it; the
// commands check and change it.
#pragma once

#include "engine/Observer.h"

constexpr int PlotResolutionMin = 10;
constexpr int PlotResolutionMax = 100;
constexpr int PlotResolutionDefault = 10;

// The magnified view: its scale is the main plot's width over its own, and each zoom press
// multiplies or divides it by ZoomStep (deliberately not √2); a scale beyond the bounds would
// overflow the view's axis ranges.
constexpr double ZoomScaleDefault = 16.0;
constexpr double ZoomStep = 1.414;
constexpr double MaxZoomScale = 1e300;
constexpr double MinZoomScale = 1e-300;

enum TZoomTracking : int {
  ztOff = 0,
  ztParticleMotion = 1,
  ztInitialVelocity = 2,
};

struct TZoomSettings {
  double Scale = ZoomScaleDefault;
  int Tracking = ztParticleMotion;
};

// The look of every picture: dark (light lines on black, as on a monitor in a dark room) or
// projector (dark, thicker lines on a light ground, readable in a lit classroom).
enum class TTheme : int { Dark = 0, Projector = 1 };

// What the plot's width stands for on paths whose dialogs give no length unit: the default plot
// (2 plot units wide) is Scale x Unit wide. The undulator and the bending magnet set their own
// scale (one plot unit is one metre) and ignore it.
enum class TLengthUnit : int { Kilometre = 0, Metre = 1, Millimetre = 2 };
constexpr int ScaleUnitScales[] = {1, 10, 100};
struct TScaleUnit {
  int Scale = 100;  // one of ScaleUnitScales
  TLengthUnit Unit = TLengthUnit::Metre;
  friend bool operator==(const TScaleUnit&, const TScaleUnit&) = default;
};

struct TDisplaySettings {
  bool ShowFieldLines = true;
  bool ShowWaveFronts = false;
  bool ShowNodePoints = false;
  bool ShowFieldVectors = false;  // arrows of the exact field over the plots
  bool SmoothLines = true;        // anti-aliased lines and disc edges in every plot
  int PlotResolution = PlotResolutionDefault;  // logical pixels between subdivision points
  TZoomSettings Zoom;
  bool ShowCaption = true;  // the caption, its key to the colours and the scale bar
  TTheme Theme = TTheme::Dark;
  TScaleUnit ScaleUnit;
  TObserverSettings Observer;  // the eye and its window
};
