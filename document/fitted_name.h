#pragma once

// Names cut to fit a folder's limit on the length of a name.

#include <cstddef>
#include <string_view>

namespace velmora {

// The longest name the file system of the open folder takes; 255 when it does not say.
std::size_t NameLimit(int folder);

// The first bytes of text, at most `size`, cut back to the start of a character when the text
// is UTF-8.
std::string_view CutToFit(std::string_view text, std::size_t size);

// Random letters and digits for names no one can guess.
void FillRandomName(char* letters, std::size_t count);

}  // namespace velmora
