// SPDX-License-Identifier: GPL-3.0-or-later
// How far the drawn field lines are from the exact field: the angle, at each node, between the
// line's direction there and the Liénard–Wiechert field.
#pragma once

#include <vector>

#include "engine/FieldCal.h"

// The model area over which nodes are compared.
struct TModelArea {
  double Left = -1.0;
  double Right = 1.0;
  double Bottom = -1.0;
  double Top = 1.0;
};

struct TAngleFigures {
  int Count = 0;              // nodes compared
  double Median = 0.0;        // degrees
  double Percentile95 = 0.0;  // degrees
};

// Angles in radians (0 ... pi / 2), one per node of rows 1 ... ISize - 2 of lines 0 ... JSize - 1
// that lies inside area, farther than minDistance from its emission point, where the exact
// field is known: between the line's direction at row r, taken from the nodes of rows r - 1 and
// r + 1, and E = E_v + E_a at the node of row r, either way along the line.
std::vector<double> FieldLineDeviations(const TFieldSimulation& field, int ISize, int JSize,
                                        const TModelArea& area, double minDistance);

// Median and 95th percentile (nearest rank) of angles in radians, in degrees.
TAngleFigures SummarizeAngles(std::vector<double> angles);
