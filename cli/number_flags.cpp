#include "cli/number_flags.h"

#include <charconv>
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
    return std::to_string(minimum) + " to " + std::to_string(maximum);
}

}  // namespace

CLI::Validator WholeNumber(std::int64_t minimum, std::int64_t maximum) {
    const std::string range = RangeText(minimum, maximum);
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            std::int64_t value = 0;
            if (!IsWholeNumberText(text)) {
                return "'" + text + "' is not a whole number (" + range + ")";
            }
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || value < minimum || value > maximum) {
                return text + " is outside the range " + range;
            }
            return {};
        },
        std::string());
}

CLI::Validator DecimalNumber(double minimum, double maximum) {
    const std::string range = RangeText(static_cast<int>(minimum), static_cast<int>(maximum));
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            double value = 0;
            if (!IsDecimalText(text)) {
                return "'" + text + "' is not a number (" + range + ")";
            }
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || value < minimum || value > maximum) {
                return text + " is outside the range " + range;
            }
            return {};
        },
        std::string());
}

}  // namespace velmora::cli
