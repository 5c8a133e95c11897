#include "framework/code_page.h"

#include "store/code_page.h"

namespace daybrook {

QString from_code_page(std::string_view bytes) {
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (char byte : bytes) text.append(QChar(char16_t(unicode_of_byte(static_cast<unsigned char>(byte)))));
    return text;
}

std::optional<std::string> to_code_page(const QString& text) {
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    for (QChar character : text) {
        const std::optional<unsigned char> byte = byte_of_unicode(character.unicode());
        if (!byte) return std::nullopt;
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

bool in_code_page(QChar character) { return byte_of_unicode(character.unicode()).has_value(); }

}  // namespace daybrook
