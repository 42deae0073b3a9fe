# SPDX-License-Identifier: GPL-3.0-or-later
# One animation frame with and without the zoom view at the large model.
halvoran_benchmark(zoom_frame_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ZoomFrameBench.cpp
  LIBS halvoran_views)
