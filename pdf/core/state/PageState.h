#pragma once
// Page set-up (points) and the pages written so far.

#include <cstdint>
#include <string>
#include <vector>

namespace tavlo {

struct PageState {
    double PageWidth = 596, PageHeight = 842;  // A4 portrait
    double Scale = 1;                          // points per user unit
    double MarginLeft = 0, MarginRight = 0, MarginTop = 0, MarginBottom = 0;
    bool ClipToMargins = false;
    std::int32_t DefaultRotation = 0, PageRotation = 0;
    std::string DefaultTransition, PageTransition;
    double DefaultDuration = 0, PageDuration = 0;

    std::int32_t PageCount = 0;  // the open or last page
    std::vector<std::int32_t> PageObjects;
    std::string PageKids, PageLabels;
    std::string PageAnnots;  // the open page's annotations and field widgets
};

} // namespace tavlo
