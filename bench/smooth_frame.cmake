# SPDX-License-Identifier: GPL-3.0-or-later
# Smooth against aliased frames, QPainter's anti-aliasing on the same segments, and the aliased
# frame at device pixel ratio 2, at 2000 x 200.
halvoran_benchmark(smooth_frame_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SmoothFrameBench.cpp
  LIBS halvoran_render)
