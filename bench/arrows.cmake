# SPDX-License-Identifier: GPL-3.0-or-later
# One animation frame with and without the field arrows at the large model on a maximised plot.
halvoran_benchmark(arrows_frame_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ArrowsFrameBench.cpp
  LIBS halvoran_render)
