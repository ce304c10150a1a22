#pragma once
// The one conversion of the core's UTF-8 texts for Qt.
#include <QString>
#include <string>

namespace tarvane {

inline QString ToQ(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace tarvane
