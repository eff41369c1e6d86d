#pragma once

// A one-line progress bar on standard error, for terminals only.

#include <cstddef>

namespace velmora::cli {

class ProgressBar {
public:
    // Draws nothing unless enabled; the caller decides (a terminal, more than one page).
    ProgressBar(std::size_t total, bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void Update(std::size_t done);
    // Wipes the bar so that other output can take the line; the next Update draws it again.
    void Clear();

private:
    std::size_t total_;
    std::size_t done_ = 0;
    bool enabled_;
    bool shown_ = false;
};

// True when standard error is a terminal.
bool StandardErrorIsTerminal();

}  // namespace velmora::cli
