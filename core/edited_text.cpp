#include "core/edited_text.h"

#include "core/kel_string_functions.h"

namespace velmora {

std::string CleanEditedText(std::string_view text) {
    const std::string spaced = ReplaceAll(ReplaceAll(text, "\n", " "), "\r", " ");
    return ReplaceAll(spaced, "  ", " ");
}

}  // namespace velmora
