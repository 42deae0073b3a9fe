// SPDX-License-Identifier: GPL-3.0-or-later
// The stop signals: the handler only notes the signal and, for a caller with an event loop, writes
// a byte into a pipe that a socket notifier watches; everything else runs outside the handler.
#include "export/StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <stdexcept>

#include "app/GuardedCall.h"

namespace {

// Shared with the handler, which may touch nothing else: a lock-free atomic and a descriptor.
std::atomic<int> Caught{0};
std::atomic<int> WakeFd{-1};
std::atomic<bool> Active{false};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void CatchStopSignal(int signal) {
  const int savedErrno = errno;
  int none = 0;
  Caught.compare_exchange_strong(none, signal);
  const int fd = WakeFd.load();
  if (fd >= 0) {
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing more to do.
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = savedErrno;
}

}  // namespace

struct TStopSignals::TImpl {
  struct sigaction OldInterrupt {};
  struct sigaction OldTerminate {};
  int Pipe[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> Notifier;
  // Shared with the calls posted to the event loop: a call that runs after this object is gone
  // finds it expired, and one that destroys this object keeps the function alive while it runs.
  std::shared_ptr<std::function<void(int)>> OnSignal;
};

TStopSignals::TStopSignals(std::function<void(int signal)> onSignal)
    : Impl(std::make_unique<TImpl>()) {
  bool idle = false;
  if (!Active.compare_exchange_strong(idle, true))
    throw std::logic_error("stop signals are already being caught");
  Caught.store(0);
  if (onSignal) {
    if (::pipe2(Impl->Pipe, O_NONBLOCK | O_CLOEXEC) != 0) {
      Active.store(false);
      throw std::runtime_error("no pipe for the stop signals");
    }
    Impl->OnSignal = std::make_shared<std::function<void(int)>>(std::move(onSignal));
    Impl->Notifier = std::make_unique<QSocketNotifier>(Impl->Pipe[0], QSocketNotifier::Read);
    QObject::connect(Impl->Notifier.get(), &QSocketNotifier::activated, [impl = Impl.get()] {
      char bytes[16];
      while (::read(impl->Pipe[0], bytes, sizeof bytes) > 0) {
      }
      // Posted rather than called: the call may destroy this notifier, which is still emitting.
      const std::weak_ptr<std::function<void(int)>> target = impl->OnSignal;
      QMetaObject::invokeMethod(
          QCoreApplication::instance(),
          [target, signal = Caught.load()] {
            Guarded([&] {
              if (const auto call = target.lock()) (*call)(signal);
            });
          },
          Qt::QueuedConnection);
    });
    WakeFd.store(Impl->Pipe[1]);
  }
  struct sigaction action {};
  action.sa_handler = CatchStopSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted system calls go on; the next signal of the kind gets the default action.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  sigaction(SIGINT, &action, &Impl->OldInterrupt);
  sigaction(SIGTERM, &action, &Impl->OldTerminate);
}

TStopSignals::~TStopSignals() {
  sigaction(SIGINT, &Impl->OldInterrupt, nullptr);
  sigaction(SIGTERM, &Impl->OldTerminate, nullptr);
  WakeFd.store(-1);
  Impl->Notifier.reset();
  for (const int fd : Impl->Pipe)
    if (fd >= 0) ::close(fd);
  Active.store(false);
}

int TStopSignals::Received() const {
  return Caught.load();
}

const char* StopSignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    default:
      return "a signal";
  }
}
