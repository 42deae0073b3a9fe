# SPDX-License-Identifier: GPL-3.0-or-later
# Toolchain of the WebAssembly build of the core (Debian's emscripten, its programs run under node):
#   cmake -S . -B build-wasm -DCMAKE_TOOLCHAIN_FILE=cmake/Emscripten.cmake -DCMAKE_BUILD_TYPE=Release
# Every compiler, linker and run setting of it is here; the project's lists, seeing EMSCRIPTEN,
# only choose what to build (the core alone, GoogleTest from its sources).

# Emscripten's loader sees node's fetch() (node 18 and later) and then fetches the .wasm beside the
# .js by its file path, which fails: the programs run with node's fetch off.
find_program(HALVORAN_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${HALVORAN_NODE} --no-experimental-fetch)

include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# The linker runs emscripten's JavaScript optimizer, which needs Debian's acorn from there.
set(HALVORAN_NODE_PATH /usr/share/nodejs)
set(ENV{NODE_PATH} ${HALVORAN_NODE_PATH})
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${HALVORAN_NODE_PATH})

# The core throws nothing: compiled without exceptions, a throw anywhere is a compile error rather
# than an abort of the whole module at run time. Build it as Release (CMake's -O3 -DNDEBUG, which
# the link line carries too, so that the linker optimises at the same level).
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
# Memory grows with the model (the large model's node tables, the tests' 2000 x 200 runs). The
# stack is 5 MB (the engine's tests pass in 64 KB, later emscriptens' default), checked at every
# change of the stack pointer so that an overflow aborts rather than writes over the heap.
# EXIT_RUNTIME: main's return is the exit status, with stdout flushed before it.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-sALLOW_MEMORY_GROWTH=1 -sTOTAL_STACK=5242880 -sSTACK_OVERFLOW_CHECK=2 -sEXIT_RUNTIME=1")
