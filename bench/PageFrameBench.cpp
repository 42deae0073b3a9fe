// SPDX-License-Identifier: GPL-3.0-or-later
// The page's frame without the browser: the tick plus the whole main picture (ground, frame,
// marker, field lines) drawn into RGBA pixels as the browser's module draws them, at the large
// model on a 1600 x 900 plot at ratio 1 on the default circle. web/bench/page-frame.mjs runs
// this beside the same frame in headless Chromium and prints page / native.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/SimulationCommands.h"
#include "render/MainPicture.h"

namespace {

constexpr TPictureSize Plot{1600, 900};
constexpr TModelSizePreset Model = ModelSizeLarge;
// The median batch's mean: the machine is shared, and a batch that another program slowed is
// no part of the frame's cost. The browser's side measures the same batches.
constexpr int Batches = 15;
constexpr int FramesPerBatch = 20;

}  // namespace

int main() {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands commands(state, display);
  // The default circle and the large model are always taken.
  if (commands.Start() ||
      commands.ChooseModelSize({Model.ISize, Model.JSize, Model.WaveFrontSpacing}) ||
      commands.ChooseTrajectory(tmCircle, commands.Trajectory())) {
    std::fprintf(stderr, "page_frame_bench: the large model on the default circle was refused\n");
    return 1;
  }
  const TPictureSize device = DevicePixelsOf(Plot, 1.0);
  const auto pixels = std::make_unique<std::uint32_t[]>(static_cast<std::size_t>(device.Width) *
                                                        static_cast<std::size_t>(device.Height));
  const TPixelBuffer buffer{pixels.get(), device.Width, device.Height, device.Width,
                            TByteOrder::Rgba};
  const TMainRange range = DefaultMainRange(Plot);
  const auto frame = [&] {
    commands.RunTick();
    RenderMainPictureInto(buffer, state, display, 1.0, range);
  };
  // Every row emitted once: the steady picture with its kinks, as the page shows it running.
  for (int tick = 0; tick < Model.ISize; ++tick) frame();

  std::vector<double> batchMs;
  for (int batch = 0; batch < Batches; ++batch) {
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < FramesPerBatch; ++k) frame();
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    batchMs.push_back(spent.count() / FramesPerBatch);
  }
  std::nth_element(batchMs.begin(), batchMs.begin() + Batches / 2, batchMs.end());
  std::printf("page frame native: %.3f ms per tick+frame (%dx%d model, %dx%d plot at ratio 1, "
              "circle)\n",
              batchMs[Batches / 2], Model.ISize, Model.JSize, Plot.Width, Plot.Height);
  return 0;
}
