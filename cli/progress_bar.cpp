#include "cli/progress_bar.h"

#include <string>

#include "cli/count_text.h"
#include "cli/error_output.h"

namespace velmora::cli {
namespace {

constexpr std::size_t kBarWidth = 30;

}  // namespace

ProgressBar::ProgressBar(ErrorOutput& err, std::size_t total, bool enabled)
    : err_(err), total_(total), enabled_(enabled) {}

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
                             "/" + CountText(total_, "page", "pages");
    err_.Write(line);
    err_.Flush();
    shown_ = true;
}

void ProgressBar::Clear() {
    if (!shown_) {
        return;
    }
    err_.Write("\r\033[K");
    err_.Flush();
    shown_ = false;
}

}  // namespace velmora::cli
