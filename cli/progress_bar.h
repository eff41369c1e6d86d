#pragma once

// A one-line progress bar on the error output, for terminals only.

#include <cstddef>

namespace velmora::cli {

class ErrorOutput;

class ProgressBar {
public:
    // Draws nothing unless enabled; the caller decides (a terminal, more than one page).
    ProgressBar(ErrorOutput& err, std::size_t total, bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void Update(std::size_t done);
    // Wipes the bar so that other output can take the line; the next Update draws it again.
    void Clear();

private:
    ErrorOutput& err_;
    std::size_t total_;
    std::size_t done_ = 0;
    bool enabled_;
    bool shown_ = false;
};

}  // namespace velmora::cli
