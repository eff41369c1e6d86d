#pragma once

// The rules of the numeric settings, in one place for the options record, the stored settings,
// the options dialog and velmora-cli's flags. The defaults are the initial values of
// KelVelmoraOptions.

#include <cstdint>
#include <limits>

#include "options/velmora_types.h"

namespace velmora {

struct NumberRange {
    std::int32_t minimum;
    std::int32_t maximum;

    constexpr bool Contains(std::int64_t value) const {
        return value >= minimum && value <= maximum;
    }
    constexpr std::int32_t Clamp(std::int32_t value) const {
        return value < minimum ? minimum : value > maximum ? maximum : value;
    }
};

// What the stored settings and velmora-cli's flags accept: any positive count, and "one in every"
// up to 100. A stored number outside takes the default (or, above 100, the limit).
inline constexpr NumberRange kCountRange{1, std::numeric_limits<std::int32_t>::max()};
inline constexpr NumberRange kOneInEveryRange{1, 100};

// The options dialog's fields hold narrower ranges on purpose: every number they can show leaves
// the pair rule room to move the other field, and none can break the analysis (a 0 in "one in
// every" would divide by zero, a huge minimum would hang the rating). A stored value outside is
// shown, and stored back, clamped.
inline constexpr NumberRange kDialogMinimumRange{1, 99};
inline constexpr NumberRange kDialogMaximumRange{2, 100};
inline constexpr NumberRange kDialogSpamLimitRange{1, 100};
inline constexpr NumberRange kDialogOneInEveryRange{8, 100};

// The pair rule of loaded settings and flags: a minimum above its maximum comes down to it.
inline void LimitMinimaToMaxima(KelVelmoraOptions& options) {
    if (options.MaximumKeywordCount < options.MinimumKeywordCount) {
        options.MinimumKeywordCount = options.MaximumKeywordCount;
    }
    if (options.MaximumRecommendedTags < options.MinimumRecommendedTags) {
        options.MinimumRecommendedTags = options.MaximumRecommendedTags;
    }
}

// The pair rule of the dialog, which keeps each minimum strictly below its maximum by moving the
// field the user did not touch: the maximum a new minimum needs, the minimum a new maximum allows.
constexpr std::int32_t MaximumAboveMinimum(std::int32_t minimum, std::int32_t maximum) {
    return minimum >= maximum ? minimum + 1 : maximum;
}
constexpr std::int32_t MinimumBelowMaximum(std::int32_t minimum, std::int32_t maximum) {
    return minimum >= maximum ? maximum - 1 : minimum;
}

}  // namespace velmora
