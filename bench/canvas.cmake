# SPDX-License-Identifier: GPL-3.0-or-later
# The raster canvas against QPainter's aliased polylines, 16,000 and 400,000 short segments.
halvoran_benchmark(canvas_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CanvasBench.cpp
  LIBS halvoran_plot)
