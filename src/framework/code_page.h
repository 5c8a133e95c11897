// Memo text between the screen (Unicode in QString) and the entry record, whose text fields hold
// single bytes of the Windows-1252 code page. Calendar files cross in ics/windows_1252.h, which
// also gives characters the code page lacks their nearest spelling; both read the one table of
// store/code_page.h. Here a character the code page lacks is refused, as typed text is the
// user's to change.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace daybrook {

// The text of record bytes. The five bytes the code page leaves undefined show as U+FFFD.
QString from_code_page(std::string_view bytes);

// The record bytes of a text, or nothing when a character has no byte in the code page.
std::optional<std::string> to_code_page(const QString& text);

// Whether the code page can store the character.
bool in_code_page(QChar character);

}  // namespace daybrook
