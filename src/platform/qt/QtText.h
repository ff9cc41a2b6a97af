#pragma once
// The program's wide texts and Qt's strings are both UTF-16: conversions copy the
// code units unchanged.

#include <QString>
#include <string>
#include <string_view>

namespace wendra::platform::qt {

inline QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline std::u16string fromQString(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

}  // namespace wendra::platform::qt
