#pragma once

// Reviewed pages kept in a temporary file while a run compares its pages: every page must be
// checked before the first is reported, and ten thousand pages' reports would otherwise all
// stay in memory. Each page is written once and read back once.

#include <cstdint>

#include "cli/page_review.h"

namespace velmora::cli {

class ReportSpill {
public:
    // Where a page was written.
    struct Place {
        std::uint64_t offset = 0;
        std::uint64_t size = 0;
    };

    // An unnamed file in $TMPDIR (else /tmp); throws naming the folder and the reason.
    ReportSpill();
    ~ReportSpill();
    ReportSpill(const ReportSpill&) = delete;
    ReportSpill& operator=(const ReportSpill&) = delete;

    // From one thread at a time. The site facts the page checks read are left out: the site
    // object made from them is kept.
    Place Write(const ReviewedPage& page);
    // From any thread.
    ReviewedPage Read(Place place) const;

private:
    int file_ = -1;
    std::uint64_t end_ = 0;
};

// The bytes a page is kept as, and the page they give back.
std::string PackedPage(const ReviewedPage& page);
ReviewedPage UnpackedPage(std::string_view bytes);

}  // namespace velmora::cli
