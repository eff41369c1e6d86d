#include "page_checks/name_list.h"

namespace velmora::page_checks {

std::string JoinNames(const std::vector<std::string_view>& names) {
    std::string joined;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            joined += i + 1 == names.size() ? " and " : ", ";
        }
        joined += names[i];
    }
    return joined;
}

}  // namespace velmora::page_checks
