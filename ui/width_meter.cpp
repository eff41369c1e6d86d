#include "ui/width_meter.h"

namespace velmora {

const page_checks::TextWidthMeter& SharedWidthMeter() {
    // Immutable once loaded, so sharing it is safe.
    static const page_checks::TextWidthMeter meter;
    return meter;
}

}  // namespace velmora
