#pragma once
// Ctrl-C (SIGINT), SIGTERM and SIGHUP all mean "stop". While a cancellable run is under way the
// run is asked to stop and ends cleanly on its own; at any other moment, on a second signal, or
// when the run has not stopped within a few seconds, the program removes the temporary files it
// is writing and ends at once with status 1 and a message. No partial file is left behind.

#include <atomic>

namespace ardelon::cli {

// Installs the handlers; a signal that was ignored when the program started (nohup) stays
// ignored.
void installInterruptHandlers();

// While alive, a signal sets `cancel` instead of ending the program.
class CancellableSection {
  public:
    explicit CancellableSection(std::atomic<bool>& cancel);
    ~CancellableSection();
    CancellableSection(const CancellableSection&) = delete;
    CancellableSection& operator=(const CancellableSection&) = delete;
};

}  // namespace ardelon::cli
