#pragma once

// Holds SIGINT, SIGTERM and SIGHUP while a save runs, in every thread: a signal that arrives is
// noted and acted on, as the program would have, once the save has ended (its temporary file
// removed or renamed, an in-place write finished). Signals the program ignores stay ignored.

namespace velmora {

class SignalHold {
public:
    SignalHold();
    ~SignalHold();
    SignalHold(const SignalHold&) = delete;
    SignalHold& operator=(const SignalHold&) = delete;

    // The signal that arrived while held; 0 when none did.
    static int Arrived();
};

}  // namespace velmora
