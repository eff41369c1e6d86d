#pragma once

// Small, pure helpers on byte strings. Positions are 1-based; 0 means "not found".

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// The bytes of Text from position Start on, at most Count of them, with the clamping rules every
// helper relies on: Start below 1 counts as 1, a negative Count as 0.
std::string Substring(std::string_view text, std::int64_t start, std::int64_t count);

// Position of the first occurrence of Find in Text (exact bytes); 0 when absent or Find is empty.
std::size_t Position(std::string_view find, std::string_view text);

// ASCII case-insensitive search that keeps every byte position; same result as searching the
// ASCII-lower-cased copies, without making them.
std::size_t PositionIgnoringAsciiCase(std::string_view find, std::string_view text);

bool IsWhiteSpace(char c);  // CR, LF, blank and tab only

std::string PluralSuffix(std::int64_t count, std::string_view suffix);
std::string AppendWithSeparator(std::string_view text, std::string_view separator,
                                std::string_view addition);
bool IsLetter(char c);
std::string RestOf(std::string_view text, std::int64_t position);
std::string LeftOf(std::string_view text, std::int64_t count);
std::string RightOf(std::string_view text, std::int64_t count);
std::string TextAfter(std::string_view text, std::string_view separator);
std::string TextBefore(std::string_view text, std::string_view separator);
std::string ZeroPad(std::uint16_t value, std::uint16_t width);
std::string TakeFirstWord(std::string& text);
std::size_t WordIndex(std::string_view word, std::string_view wordList);
bool StartsWith(std::string_view text, std::string_view prefix, bool ignoreCase);
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

}  // namespace velmora
