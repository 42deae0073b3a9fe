// SPDX-License-Identifier: GPL-3.0-or-later
// A video of the animation without a window, for the command line's .mp4, .webm and .gif.
#pragma once

#include <QString>
#include <functional>

#include "engine/SimulationCommands.h"
#include "export/PictureFile.h"

// Runs the ticks of the simulation up to lastTick (it stands at tick 0, just reset) and writes the main
// picture of every tick firstTick .. lastTick as one frame of the video at path, in the format its
// suffix names. Rendering waits for the encoder: no frame is dropped. stopRequested is asked
// before every tick and before the video is finished; when it says stop, the video is abandoned
// and false returned. Throws EError naming the file and the reason. Either way, no unfinished
// file is left behind and path keeps what it held.
bool RecordTickVideo(
    const QString& path, TSimulationCommands& simulation, const TPictureGeometry& geometry, int firstTick,
    int lastTick, const std::function<bool()>& stopRequested = [] { return false; });
