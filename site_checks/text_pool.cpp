#include "site_checks/text_pool.h"

#include <stdexcept>

namespace velmora::site_checks {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;

}  // namespace

TextPool::TextPool() : texts_(1) {}

TextId TextPool::Intern(std::string_view text) {
    if (const auto found = ids_.find(text); found != ids_.end()) {
        return found->second;
    }
    if (texts_.size() > UINT32_MAX - 1) {
        throw std::length_error("more distinct texts than a site can hold");
    }
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < text.size()) {
        blocks_.emplace_back();
        blocks_.back().reserve(std::max(kBlockSize, text.size()));
    }
    std::string& block = blocks_.back();
    const std::size_t start = block.size();
    block.append(text);
    const std::string_view held(block.data() + start, text.size());
    const auto id = static_cast<TextId>(texts_.size());
    texts_.push_back(held);
    ids_.emplace(held, id);
    return id;
}

TextId TextPool::Find(std::string_view text) const {
    const auto found = ids_.find(text);
    return found == ids_.end() ? kNoText : found->second;
}

}  // namespace velmora::site_checks
