# SPDX-License-Identifier: GPL-3.0-or-later
# The animation's tick rate at the large model with and without recording a video.
halvoran_benchmark(recording_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RecordingBench.cpp
  LIBS halvoran_mainwindow)
