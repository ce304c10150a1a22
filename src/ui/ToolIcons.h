#pragma once
// The frame's images, all drawn: asking the style for one loads the desktop's
// icon theme, which alone costs the start-up a tenth of a bare window's time.
#include <QColor>
#include <QIcon>
#include <QString>

namespace tarvane {

// Toolbar images by key; also "Radio" and "Page" for the tree.
QIcon ToolIcon(const QString& key);
// A small cross in `ink` (the palette's text colour, so it shows on dark themes).
QIcon CloseIcon(const QColor& ink);

} // namespace tarvane
