# SPDX-License-Identifier: GPL-3.0-or-later
# The radiation power pattern: its mean over the longest preset path at 2000 x 200, and the
# pattern of one tick (and the pattern window's tick) against one frame at 400 x 40.
halvoran_benchmark(pattern_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PatternBench.cpp
  LIBS halvoran_views)
