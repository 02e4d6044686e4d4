#include "cli/Interruption.h"

#include <unistd.h>

#include <csignal>

#include "cli/CliSupport.h"
#include "project/ReplacingFile.h"

namespace ardelon::cli {
namespace {

// How long a cancelled run may take to reach its next check before the program ends anyway.
constexpr unsigned kGraceSeconds = 5;

std::atomic<std::atomic<bool>*> cancelFlag{nullptr};
std::atomic<int> stopRequests{0};

[[noreturn]] void endNow() {
    removeTemporaryFiles();
    static constexpr char kMessage[] =
        "\nardelon-cli: interrupted; unfinished files were removed.\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    ::_exit(kFailure);
}

extern "C" void onStopSignal(int signal) {
    if (signal != SIGALRM) {
        std::atomic<bool>* cancel = cancelFlag.load();
        if (cancel != nullptr && stopRequests.fetch_add(1) == 0) {
            cancel->store(true);
            ::alarm(kGraceSeconds);
            return;
        }
    }
    endNow();
}

}  // namespace

void installInterruptHandlers() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGALRM}) {
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN &&
            signal != SIGALRM) {
            continue;
        }
        ::sigaction(signal, &action, nullptr);
    }
}

CancellableSection::CancellableSection(std::atomic<bool>& cancel) {
    stopRequests = 0;
    cancelFlag = &cancel;
}

CancellableSection::~CancellableSection() {
    cancelFlag = nullptr;
    ::alarm(0);
}

}  // namespace ardelon::cli
