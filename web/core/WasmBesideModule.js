// SPDX-License-Identifier: GPL-3.0-or-later
// Put inside the module's factory (--pre-js). Under node the .wasm is read as a file, which the
// module's own file: URL of it is not: its path beside the module is taken instead. A page
// fetches it from the URL as it is.
if (typeof process == 'object' && typeof process.versions == 'object' &&
    typeof process.versions.node == 'string' && !Module['locateFile']) {
  Module['locateFile'] = (path, directory) => directory + path;
}
