// What a screen reader finds on the diary page, whose texts are painted: the page is a list whose
// items are the spoken lines of the page composed last (the heading, each day with its entries
// or each search result, the clock line), followed by the buttons that stand on the page. The
// texts come from the composed page, never from the painting.
#pragma once

#include <vector>

#include "window/page_items.h"

namespace daybrook {

class DiaryPage;

// Lets Qt's accessibility describe every diary page; the first page installs it, once.
void install_diary_page_accessibility();

// Tells a listening screen reader what changed since the page spoke the lines before.
void announce_page_change(DiaryPage& page, const std::vector<SpokenLine>& before);

}  // namespace daybrook
