#include "document/signal_hold.h"

#include <signal.h>

#include <array>
#include <atomic>
#include <mutex>

namespace velmora {
namespace {

constexpr std::array<int, 3> kHeldSignals = {SIGINT, SIGTERM, SIGHUP};

// Process-wide, as signal dispositions are: saves in several threads share one hold.
std::mutex holdMutex;
int holders = 0;
std::array<struct sigaction, kHeldSignals.size()> previous{};
std::array<bool, kHeldSignals.size()> replaced{};
std::atomic<int> arrived{0};

extern "C" void NoteSignal(int signal) {
    int none = 0;
    arrived.compare_exchange_strong(none, signal);
}

}  // namespace

SignalHold::SignalHold() {
    const std::lock_guard lock(holdMutex);
    if (holders++ > 0) {
        return;
    }
    arrived = 0;
    struct sigaction note {};
    note.sa_handler = NoteSignal;
    sigemptyset(&note.sa_mask);
    note.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kHeldSignals.size(); ++i) {
        replaced[i] = ::sigaction(kHeldSignals[i], &note, &previous[i]) == 0;
        if (replaced[i] && previous[i].sa_handler == SIG_IGN) {
            ::sigaction(kHeldSignals[i], &previous[i], nullptr);
            replaced[i] = false;
        }
    }
}

SignalHold::~SignalHold() {
    const std::lock_guard lock(holdMutex);
    if (--holders > 0) {
        return;
    }
    for (std::size_t i = 0; i < kHeldSignals.size(); ++i) {
        if (replaced[i]) {
            ::sigaction(kHeldSignals[i], &previous[i], nullptr);
        }
    }
    if (const int signal = arrived.exchange(0); signal != 0) {
        ::raise(signal);
    }
}

int SignalHold::Arrived() {
    return arrived.load();
}

}  // namespace velmora
