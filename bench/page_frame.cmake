# SPDX-License-Identifier: GPL-3.0-or-later
# The page's frame natively (tick and whole picture in RGBA at the large model, 1600 x 900): the
# baseline web/bench/page-frame.mjs compares the same frame in the browser with. Core only.
halvoran_benchmark(page_frame_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PageFrameBench.cpp
  LIBS halvoran_render)
