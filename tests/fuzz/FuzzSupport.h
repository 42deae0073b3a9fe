// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the engine fuzz targets: inputs are short texts of numbers, so that the seed
// corpus is readable and a finding can be read as the values that caused it.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/SimulationState.h"

// Reads numbers one after another from the fuzzer's bytes, in the C library's syntax (so "nan",
// "inf", "1e400" and hexadecimal floats all reach the code under test). A token that is not a
// number is skipped and the fallback returned.
class TNumberReader {
 public:
  TNumberReader(const std::uint8_t* data, std::size_t size)
      : Text(reinterpret_cast<const char*>(data), size), Cursor(Text.c_str()) {}

  double Real(double fallback) {
    char* end = nullptr;
    const double value = std::strtod(Cursor, &end);
    return Advance(end) ? value : fallback;
  }

  long long Integer(long long fallback) {
    char* end = nullptr;
    const long long value = std::strtoll(Cursor, &end, 10);
    return Advance(end) ? value : fallback;
  }

 private:
  bool Advance(char* end) {
    if (end != Cursor) {
      Cursor = end;
      return true;
    }
    if (*Cursor != '\0') ++Cursor;
    return false;
  }

  std::string Text;  // a NUL byte ends the input early, as it would any C text
  const char* Cursor;
};

// Stops the run with a message: libFuzzer reports the abort as a crash and keeps the input.
[[noreturn]] inline void FuzzFailure(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// The node table has the shape of ISize and JSize, and every node, the charge and its speed are
// finite numbers.
inline void CheckSimulation(const TSimulationState& state) {
  const TFieldSimulation& field = state.FieldSimulation;
  if (field.Nodes.size() != static_cast<std::size_t>(state.ISize) + 1)
    FuzzFailure("node table rows differ from ISize + 1");
  for (const auto& row : field.Nodes) {
    if (row.size() != static_cast<std::size_t>(state.JSize) + 1)
      FuzzFailure("node table lines differ from JSize + 1");
    for (const TFieldNode& n : row) {
      if (!std::isfinite(n.X) || !std::isfinite(n.Y) || !std::isfinite(n.VX) ||
          !std::isfinite(n.VY) || !std::isfinite(n.Angle) || !std::isfinite(n.Radius) ||
          !std::isfinite(n.EmitX) || !std::isfinite(n.EmitY))
        FuzzFailure("a node is not finite");
    }
  }
  if (!std::isfinite(field.ChargePos.X) || !std::isfinite(field.ChargePos.Y) ||
      !std::isfinite(field.Beta))
    FuzzFailure("the charge is not finite");
}
