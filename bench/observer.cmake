# SPDX-License-Identifier: GPL-3.0-or-later
# One animation frame with and without the observer and its window's work at the large model.
halvoran_benchmark(observer_frame_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ObserverFrameBench.cpp
  LIBS halvoran_views)
