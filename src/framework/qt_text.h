// The diary's own texts (captions, labels, messages) are UTF-8 string literals; Qt shows QString.
#pragma once

#include <QString>

#include <string_view>

namespace daybrook {

inline QString qt_text(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace daybrook
