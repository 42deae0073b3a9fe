// SPDX-License-Identifier: GPL-3.0-or-later
// SIGINT and SIGTERM caught while a file is being written, so that the writer ends it cleanly
// rather than being killed half way: the command line stops between frames and leaves no file,
// the window finishes its video and closes.
#pragma once

#include <functional>
#include <memory>

class TStopSignals {
 public:
  // Catches SIGINT and SIGTERM until destroyed; the handlers before are put back then. Only the
  // first signal of each kind is caught: a second one ends the program as it always did, for a
  // stop that is slow to come. onSignal, when given, is called with the signal's number from the
  // event loop of the thread that made this object, never from the signal handler, inside
  // Guarded; it may destroy this object. One object at a time: a second one throws
  // std::logic_error.
  explicit TStopSignals(std::function<void(int signal)> onSignal = {});
  ~TStopSignals();
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

  // The first signal caught, or 0.
  int Received() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl;
};

// "SIGINT" or "SIGTERM" for the signals caught here.
const char* StopSignalName(int signal);
