#include "cli/progress_bar.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace velmora::cli {
namespace {

constexpr std::size_t kBarWidth = 30;

}  // namespace

ProgressBar::ProgressBar(std::size_t total, bool enabled) : total_(total), enabled_(enabled) {}

ProgressBar::~ProgressBar() {
    Clear();
}

void ProgressBar::Update(std::size_t done) {
    done_ = done < total_ ? done : total_;
    if (!enabled_ || total_ == 0) {
        return;
    }
    const std::size_t filled = done_ * kBarWidth / total_;
    const std::string line = "\r[" + std::string(filled, '#') +
                             std::string(kBarWidth - filled, '.') + "] " + std::to_string(done_) +
                             "/" + std::to_string(total_) + " pages";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    shown_ = true;
}

void ProgressBar::Clear() {
    if (!shown_) {
        return;
    }
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    shown_ = false;
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

}  // namespace velmora::cli
