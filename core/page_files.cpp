#include "core/page_files.h"

#include <algorithm>

#include "core/text_rules.h"

namespace velmora {

bool IsPageFileName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return false;
    }
    const std::string extension = AsciiLower(name.substr(dot));
    return std::find(kPageExtensions.begin(), kPageExtensions.end(), extension) !=
           kPageExtensions.end();
}

}  // namespace velmora
