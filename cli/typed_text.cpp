#include "cli/typed_text.h"

#include "core/kel_string_functions.h"

namespace velmora::cli {

std::string CleanTypedText(std::string_view text) {
    const std::string spaced = ReplaceAll(ReplaceAll(text, "\n", " "), "\r", " ");
    return ReplaceAll(spaced, "  ", " ");
}

}  // namespace velmora::cli
