#pragma once

#include <QString>

#include <string>

namespace kavo {

// Text inside kavo is UTF-8 std::string; widgets speak QString.
inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
inline QString Q(const char* text) {
    return QString::fromUtf8(text);
}
inline std::string S(const QString& text) {
    return text.toStdString();
}

} // namespace kavo
