#include "cli/count_text.h"

namespace velmora::cli {

std::string CountText(std::size_t count, std::string_view one, std::string_view many) {
    std::string text = std::to_string(count);
    text.append(" ").append(count == 1 ? one : many);
    return text;
}

}  // namespace velmora::cli
