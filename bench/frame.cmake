# SPDX-License-Identifier: GPL-3.0-or-later
# One animation frame (tick and complete redraw of a maximised plot) at the large preset and at
# 2000 x 200, through the raster canvas and through QPainter.
halvoran_benchmark(frame_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FrameBench.cpp
  LIBS halvoran_render)
