#pragma once
// Small pieces the feature windows share: twips, label placement, the key filters
// of their text boxes, and subscribing to the program's change notifications.
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "ui/ToQ.h"
#include "ui/Twips.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QObject;
class QWidget;

namespace tarvane {

struct Program;

// Right-aligns the label so that its right edge ends `gapTwips` left of the control,
// on the control's row.
void PlaceLabelLeftOf(QLabel* label, const QWidget* control, int gapTwips, int width);

// Replaces a list's entries.
void FillList(QComboBox* list, const std::vector<std::string>& entries);
// Key rules of the number and code boxes: control characters pass (Backspace and
// the like) except Ctrl+C, Ctrl+V and Ctrl+X; printable characters pass only when
// `allowed` contains them after `map` has been applied; everything above 127 is
// discarded. Pasting and dropping text are switched off as well.
void FilterKeys(QLineEdit* box, const QString& allowed, std::function<QChar(QChar)> map = {});

} // namespace tarvane
