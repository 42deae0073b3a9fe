// SPDX-License-Identifier: GPL-3.0-or-later
// soak: every trajectory kind at every model-size preset for many ticks, run by hand. Every 1,000
// ticks it checks that each node is finite and reads the resident memory; after the first 1,000
// ticks that memory must stay flat. Prints one table row per case; the exit status is 1 if any case
// failed.
//
//   soak [ticks per case, default 1000000]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <unistd.h>

#include "engine/SimulationCommands.h"

namespace {

constexpr long long CheckEvery = 1000;
// Growth of the resident memory after the first check that still counts as flat: the C library
// may take a few pages for itself (stdio buffers, the allocator's bookkeeping).
constexpr long long FlatToleranceKiB = 256;

struct TKind {
  int Mode;
  const char* Name;
};
constexpr TKind Kinds[] = {{tmMouse, "mouse"},           {tmStraightLine, "straight line"},
                           {tmDipole, "dipole"},         {tmCircle, "circle"},
                           {tmRaceTrack, "race track"},  {tmUndulator, "undulator"},
                           {tmBending, "bending magnet"}};

struct TPreset {
  TModelSizePreset Size;
  const char* Name;
};
constexpr TPreset Presets[] = {
    {ModelSizeSmall, "small"}, {ModelSizeMedium, "medium"}, {ModelSizeLarge, "large"}};

long long ResidentKiB() {
  long long pages = 0;
  long long resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%lld %lld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

bool AllFinite(const TSimulationState& state) {
  for (const auto& row : state.FieldSimulation.Nodes)
    for (const TFieldNode& n : row)
      if (!std::isfinite(n.X) || !std::isfinite(n.Y) || !std::isfinite(n.VX) ||
          !std::isfinite(n.VY) || !std::isfinite(n.EmitX) || !std::isfinite(n.EmitY))
        return false;
  const TFieldSimulation& field = state.FieldSimulation;
  return std::isfinite(field.ChargePos.X) && std::isfinite(field.ChargePos.Y) &&
         std::isfinite(field.Beta);
}

// The hand on the mouse: drags of random length towards a cursor that wanders across the plot,
// now and then a jump to a far corner (the charge must then keep below the wave speed), and
// stops during which the charge is let go.
class TWanderingHand {
 public:
  explicit TWanderingHand(unsigned seed) : Random(seed) {}

  // Where the charge is pulled this tick; none while it is let go.
  std::optional<TVector2> Next() {
    if (--Remaining <= 0) {
      Dragging = !Dragging;
      Remaining = std::uniform_int_distribution<int>(1, Dragging ? 3000 : 800)(Random);
      if (std::uniform_int_distribution<int>(0, 9)(Random) == 0) {
        Cursor = {Coin(Random) ? 1.5 : -1.5, Coin(Random) ? 1.0 : -1.0};
      }
    }
    if (!Dragging) return std::nullopt;
    std::normal_distribution<double> step(0.0, 0.01);
    Cursor.X = std::clamp(Cursor.X + step(Random), -1.5, 1.5);
    Cursor.Y = std::clamp(Cursor.Y + step(Random), -1.0, 1.0);
    return Cursor;
  }

 private:
  std::mt19937 Random;
  std::bernoulli_distribution Coin{0.5};
  TVector2 Cursor;
  bool Dragging = false;
  int Remaining = 0;
};

struct TResult {
  bool Finite = true;
  long long FirstKiB = 0;  // after the first CheckEvery ticks
  long long PeakKiB = 0;
  double Seconds = 0.0;
};

TResult RunCase(const TKind& kind, const TPreset& preset, long long ticks) {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands simulation(state, display);
  TRefusal refusal = simulation.ChooseModelSize(
      {preset.Size.ISize, preset.Size.JSize, preset.Size.WaveFrontSpacing});
  if (!refusal) refusal = simulation.ChooseTrajectory(kind.Mode, simulation.Trajectory());
  if (refusal) {
    std::fprintf(stderr, "%s refused: %s\n", kind.Name, RefusalCodeName(refusal.Code));
    return {false, 0, 0, 0.0};
  }

  TWanderingHand hand(12345u + static_cast<unsigned>(kind.Mode));
  TResult result;
  const auto start = std::chrono::steady_clock::now();
  for (long long tick = 1; tick <= ticks; ++tick) {
    simulation.RunTick(kind.Mode == tmMouse ? hand.Next() : std::nullopt);
    if (tick % CheckEvery != 0) continue;
    if (!AllFinite(state)) {
      result.Finite = false;
      break;
    }
    const long long resident = ResidentKiB();
    if (tick == CheckEvery) result.FirstKiB = resident;
    result.PeakKiB = std::max(result.PeakKiB, resident);
  }
  result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  long long ticks = 1000000;
  if (argc > 1) {
    char* end = nullptr;
    ticks = std::strtoll(argv[1], &end, 10);
    if (*end != '\0' || ticks < CheckEvery) {
      std::fprintf(stderr, "usage: soak [ticks per case, at least %lld]\n", CheckEvery);
      return 2;
    }
  }
  std::printf("Soak: %lld ticks per case, checked every %lld ticks.\n\n", ticks, CheckEvery);
  std::printf("| kind | model size | ticks | nodes finite | resident after %lld ticks (KiB) | "
              "growth since (KiB) | seconds | result |\n",
              CheckEvery);
  std::printf("|---|---|---|---|---|---|---|---|\n");
  std::fflush(stdout);
  bool allPassed = true;
  for (const TKind& kind : Kinds) {
    for (const TPreset& preset : Presets) {
      const TResult r = RunCase(kind, preset, ticks);
      const long long growth = r.PeakKiB - r.FirstKiB;
      const bool passed = r.Finite && growth <= FlatToleranceKiB;
      allPassed = allPassed && passed;
      std::printf("| %s | %s (%d x %d) | %lld | %s | %lld | %lld | %.1f | %s |\n", kind.Name,
                  preset.Name, preset.Size.ISize, preset.Size.JSize, ticks,
                  r.Finite ? "yes" : "NO", r.FirstKiB, growth, r.Seconds,
                  passed ? "pass" : "FAIL");
      std::fflush(stdout);
    }
  }
  return allPassed ? 0 : 1;
}
