// The memo an event's summary makes: one line of the records' 8-bit code page, as long as a memo
// from a calendar file may be, and how it differs from the summary the file gives.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ics/import_report.h"

namespace daybrook {

struct SummaryMemo {
    std::string text;  // one line, Windows-1252, at most memo_limit characters
    // Whether the memo holds nothing the diary counts as meaningful, replaced characters aside.
    bool blank = false;
    // What the memo lost of the summary, each once, in the order of Alteration: characters the
    // code page lacks, the part beyond memo_limit, the line breaks between non-blank lines.
    std::vector<Alteration> alterations;
};

// The summary's memo, by utf8_to_windows_1252 (windows_1252.h) and one_line (ics_terms.h).
SummaryMemo memo_of_summary(std::string_view summary);

}  // namespace daybrook
