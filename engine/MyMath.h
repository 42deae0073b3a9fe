// SPDX-License-Identifier: GPL-3.0-or-later
// Small numeric helpers shared by the engine and the field drawing.
#pragma once

#include <cmath>

struct TVector2 {
  double X = 0.0;
  double Y = 0.0;
};

// Pixel rectangle; all four edges count as inside for PointInRect.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

// (1 - f) * StartValue + f * EndValue with f = Index / Count in floating point.
inline double Interpolate(int Index, int Count, double StartValue, double EndValue) {
  const double f = static_cast<double>(Index) / static_cast<double>(Count);
  return (1.0 - f) * StartValue + f * EndValue;
}

inline bool PointInRect(int X, int Y, const TRect& Rect) {
  return Rect.Left <= X && X <= Rect.Right && Rect.Top <= Y && Y <= Rect.Bottom;
}

inline double VectorLength(TVector2 v) { return std::sqrt(v.X * v.X + v.Y * v.Y); }
