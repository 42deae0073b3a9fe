// SPDX-License-Identifier: GPL-3.0-or-later
// A tick allocates nothing: the node tables are sized by InitNodes only. Global operator new is
// replaced in this binary to count allocations while a test asks for it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "engine/SimulationState.h"

namespace {
bool CountAllocations = false;
long Allocations = 0;
}  // namespace

// GCC sees std::free on memory from operator new once these replacements are inlined and
// warns, although both sides are the replacements below.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  if (CountAllocations) ++Allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
#if defined(__cpp_exceptions)
  throw std::bad_alloc();
#else
  // Built without exceptions (the WebAssembly core), as the library's own operator new then does.
  std::abort();
#endif
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
#pragma GCC diagnostic pop

namespace {

template <class F>
long AllocationsDuring(F&& work) {
  Allocations = 0;
  CountAllocations = true;
  work();
  CountAllocations = false;
  return Allocations;
}

TEST(NoAllocation, TheCounterSeesAnAllocation) {
  EXPECT_EQ(AllocationsDuring([] { std::vector<int> v(10); }), 1);
}

TEST(NoAllocation, TicksAndResetsAllocateNothing) {
  TSimulationState state;
  TFieldSimulation& sim = state.FieldSimulation;
  const int iSize = ModelSizeLarge.ISize;
  const int jSize = ModelSizeLarge.JSize;
  const int spacing = ModelSizeLarge.WaveFrontSpacing;
  sim.InitNodes(iSize, jSize, ModelWidth);
  sim.ResetNodes(iSize, jSize, {0.0, 0.0}, {0.0, 0.0}, ModelWidth, spacing);

  const long duringTicks = AllocationsDuring([&] {
    for (int tick = 0; tick < 50; ++tick) {
      sim.ChargePos.X += 0.002;
      sim.UpdateMouseVelocity(tmMouse);
      sim.AdvanceCharge();
      sim.UpdateEmitDirections(jSize);
      sim.AdvanceNodes(iSize, jSize, spacing);
    }
  });
  EXPECT_EQ(duringTicks, 0);
  // The undulator and bending runs reset inside a tick; the reset's working storage is sized
  // by InitNodes too.
  const long duringReset = AllocationsDuring([&] {
    sim.ResetNodes(iSize, jSize, {-1.0, 0.0}, {0.95, 0.0}, ModelWidth, spacing);
  });
  EXPECT_EQ(duringReset, 0);
}

}  // namespace
