#include "cli/number_flags.h"

#include <charconv>
#include <sstream>
#include <string>
#include <system_error>

namespace velmora::cli {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// An optional minus sign, then digits: the only integer text a flag accepts.
bool IsWholeNumberText(const std::string& text) {
    const std::size_t start = !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() == start) {
        return false;
    }
    for (std::size_t i = start; i < text.size(); ++i) {
        if (!IsDigit(text[i])) {
            return false;
        }
    }
    return true;
}

// A whole number, optionally followed by a full stop and digits.
bool IsDecimalText(const std::string& text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string::npos) {
        return IsWholeNumberText(text);
    }
    const std::string fraction = text.substr(dot + 1);
    return IsWholeNumberText(text.substr(0, dot)) && !fraction.empty() && fraction.front() != '-' &&
           IsWholeNumberText(fraction);
}

template <typename Number>
std::string RangeText(Number minimum, Number maximum) {
    // Streams print 100.0 as "100", as the user would type it.
    std::ostringstream text;
    text << minimum << " to " << maximum;
    return text.str();
}

// Text that `isNumberText` accepts, read with from_chars and held to [minimum, maximum].
template <typename Number>
CLI::Validator RangeValidator(Number minimum, Number maximum,
                              bool (*isNumberText)(const std::string&), const std::string& kind) {
    const std::string range = RangeText(minimum, maximum);
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            if (!isNumberText(text)) {
                return "'" + text + "' is not " + kind + " (" + range + ")";
            }
            Number value{};
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || value < minimum || value > maximum) {
                return text + " is outside the range " + range;
            }
            return {};
        },
        std::string());
}

}  // namespace

CLI::Validator WholeNumber(std::int64_t minimum, std::int64_t maximum) {
    return RangeValidator(minimum, maximum, IsWholeNumberText, "a whole number");
}

CLI::Validator DecimalNumber(double minimum, double maximum) {
    return RangeValidator(minimum, maximum, IsDecimalText, "a number");
}

}  // namespace velmora::cli
