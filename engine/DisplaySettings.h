// SPDX-License-Identifier: GPL-3.0-or-later
// What the user chooses about the picture rather than the simulation: which layers are drawn,
// how finely, how smooth, and the magnified view's scale and tracking. The picture reads it; the
// commands check and change it.
#pragma once

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

struct TDisplaySettings {
  bool ShowFieldLines = true;
  bool ShowWaveFronts = false;
  bool ShowNodePoints = false;
  bool ShowFieldVectors = false;  // arrows of the exact field over the plots
  bool SmoothLines = true;        // anti-aliased lines and disc edges in every plot
  int PlotResolution = PlotResolutionDefault;  // logical pixels between subdivision points
  TZoomSettings Zoom;
};
