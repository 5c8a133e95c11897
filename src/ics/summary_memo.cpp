#include "ics/summary_memo.h"

#include "ics/ics_terms.h"
#include "ics/windows_1252.h"
#include "store/entry_record.h"

namespace daybrook {
namespace {

// Whether a line break in the memo's part of the text stands before more text.
bool joins_lines(std::string_view kept) {
    const std::size_t line_break = kept.find_first_of("\r\n");
    return line_break != std::string_view::npos && kept.find_first_not_of(" \t\r\n", line_break) != std::string_view::npos;
}

// Whether the text holds, from `from` on, more than the spaces that one_line makes of controls.
bool holds_text_beyond(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i)
        if (text[i] != ' ' && static_cast<unsigned char>(text[i]) >= 0x20 && text[i] != 0x7F) return true;
    return false;
}

}  // namespace

SummaryMemo memo_of_summary(std::string_view summary) {
    const std::string converted = utf8_to_windows_1252(summary);
    // The same with a space for each character the code page lacks: where the two memos differ,
    // the memo shows a '?' that the summary does not hold.
    const std::string spaced = utf8_to_windows_1252(summary, ' ');
    const std::string_view kept = std::string_view(converted).substr(0, memo_limit);
    SummaryMemo memo{.text = one_line(kept),
                     .blank = is_blank(one_line(std::string_view(spaced).substr(0, memo_limit)))};
    if (kept != std::string_view(spaced).substr(0, memo_limit))
        memo.alterations.push_back(Alteration::characters_replaced);
    if (holds_text_beyond(converted, memo_limit))
        memo.alterations.push_back(Alteration::memo_cut);
    if (joins_lines(kept)) memo.alterations.push_back(Alteration::lines_joined);
    return memo;
}

}  // namespace daybrook
