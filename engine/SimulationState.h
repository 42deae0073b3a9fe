// The one simulation state shared by every window: model size, trajectory kind, display and
// physics options, animation values, and the two engine objects.
#pragma once

#include "engine/FieldCal.h"
#include "engine/PathGen.h"

enum TTrajectoryMode : int {
  tmMouse = 1,
  tmStraightLine = 2,
  tmDipole = 3,
  tmCircle = 4,
  tmRaceTrack = 5,
  tmUndulator = 6,
  tmBending = 7,
};

// The modes whose charge follows a sampled path, every mode but the mouse.
inline bool IsPathMode(int trajectoryMode) {
  return trajectoryMode >= tmStraightLine && trajectoryMode <= tmBending;
}

// The dipole, the circle and the race track: paths whose last usable sample lies one step
// before sample 0, so that the charge runs on from it to sample 0 as from any sample to the next.
inline bool IsClosedPath(int trajectoryMode) {
  return trajectoryMode == tmDipole || trajectoryMode == tmCircle ||
         trajectoryMode == tmRaceTrack;
}

constexpr double ModelWidth = 2.0;  // model units across the main plot (x from -1 to 1)
constexpr int PlotResolutionMin = 10;
constexpr int PlotResolutionMax = 100;
constexpr int PlotResolutionDefault = 10;

struct TModelSizePreset {
  int ISize;
  int JSize;
  int WaveFrontSpacing;
};
constexpr TModelSizePreset ModelSizeLarge{400, 40, 20};
constexpr TModelSizePreset ModelSizeMedium{200, 40, 10};
constexpr TModelSizePreset ModelSizeSmall{100, 20, 10};

// Created by whoever runs the program (or a test) before any window, and handed to the windows
// by reference. The physics switches live in FieldSimulation (LightAberration,
// TrackEmissionPoint), the trajectory parameters too (CircleRadius ... BendAngle).
struct TSimulationState {
  TFieldSimulation FieldSimulation;
  TPathGeneration PathGeneration;

  int ISize = 200;  // emission ticks kept per field line
  int JSize = 40;   // number of field-line directions
  int TrajectoryMode = tmMouse;
  int FrameIndex = 0;      // ticks since the last reset; index into the sample table
  int TimerInterval = 10;  // milliseconds; the wave speed window sets it at start-up
  int WaveFrontSpacing = 5;  // rows between drawn wavefronts

  bool ShowFieldLines = true;
  bool ShowWaveFronts = false;
  bool ShowNodePoints = false;
  bool ShowFieldVectors = false;  // arrows of the exact field over the plots
  bool SmoothLines = true;        // anti-aliased lines and disc edges in every plot
  int PlotResolution = PlotResolutionDefault;  // pixels
  double AspectRatio = 0.0;  // plot height / width: the main plot's vertical half-range

  bool StopAfterTick = false;
  bool Dragging = false;
  int MouseX = 0;  // cursor over the plot, device pixels of its picture
  int MouseY = 0;
  TVector2 MouseStep;
  double MouseStepLength = 0.0;

  double ZoomScale = 16.0;
  int ZoomTracking = 1;  // 0 off, 1 on particle motion, 2 on initial velocity
};
