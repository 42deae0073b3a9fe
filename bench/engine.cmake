# SPDX-License-Identifier: GPL-3.0-or-later
# One engine tick and one reset beside a plain copy of the same node table.
halvoran_benchmark(engine_tick_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/EngineTickBench.cpp
  LIBS halvoran_engine)
