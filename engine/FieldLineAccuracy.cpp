// SPDX-License-Identifier: GPL-3.0-or-later
// The angle between the drawn field lines and the exact field, node by node.
#include "engine/FieldLineAccuracy.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "engine/RetardedField.h"

std::vector<double> FieldLineDeviations(const TFieldSimulation& field, int ISize, int JSize,
                                        const TModelArea& area, double minDistance) {
  std::vector<double> angles;
  if (ISize < 3 || JSize < 1) return angles;
  if (field.Nodes.size() != static_cast<std::size_t>(ISize) + 1) return angles;
  for (int r = 1; r <= ISize - 2; ++r) {
    for (int j = 0; j < JSize; ++j) {
      const TFieldNode& n = field.Nodes[r][j];
      if (n.X < area.Left || n.X > area.Right || n.Y < area.Bottom || n.Y > area.Top) continue;
      if (!(std::hypot(n.X - n.EmitX, n.Y - n.EmitY) > minDistance)) continue;
      const TFieldNode& inner = field.Nodes[r - 1][j];
      const TFieldNode& outer = field.Nodes[r + 1][j];
      const double lx = outer.X - inner.X;
      const double ly = outer.Y - inner.Y;
      TVector2 ev;
      TVector2 ea;
      if (!RetardedField(field, ISize, {n.X, n.Y}, ev, ea)) continue;
      const double ex = ev.X + ea.X;
      const double ey = ev.Y + ea.Y;
      if (!(std::hypot(lx, ly) > 0.0) || !(std::hypot(ex, ey) > 0.0)) continue;
      // A drawn line has no arrow: its direction is read either way along it.
      angles.push_back(std::atan2(std::fabs(lx * ey - ly * ex), std::fabs(lx * ex + ly * ey)));
    }
  }
  return angles;
}

TAngleFigures SummarizeAngles(std::vector<double> angles) {
  TAngleFigures figures;
  figures.Count = static_cast<int>(angles.size());
  if (angles.empty()) return figures;
  std::sort(angles.begin(), angles.end());
  const auto rank = [&](double fraction) {
    const double index = std::ceil(fraction * static_cast<double>(angles.size())) - 1.0;
    return angles[static_cast<std::size_t>(std::max(index, 0.0))];
  };
  constexpr double Degrees = 180.0 / std::numbers::pi;
  figures.Median = rank(0.5) * Degrees;
  figures.Percentile95 = rank(0.95) * Degrees;
  return figures;
}
