#pragma once
// Toolbar images: the style's own icons where one fits, small drawn ones otherwise.
#include <QIcon>
#include <QString>

class QStyle;

namespace tarvane {

QIcon ToolIcon(const QString& key, QStyle* style);

} // namespace tarvane
