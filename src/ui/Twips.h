#pragma once
// Window sizes and positions are kept in twips, as the settings files store them
// (15 twips a pixel). The windows are drawn for a design font, 9 pt at 96 dots per
// inch; with a larger application font every size and place grows by one factor,
// so each window keeps its arrangement and its texts keep their room.
#include <initializer_list>

class QComboBox;
class QFont;
class QString;
class QTableWidget;
class QWidget;

namespace tarvane {

inline constexpr int kTwipsPerPixel = 15;

// How much larger a font is than the design font, by its line height and by the
// width of its letters, whichever grew more; never below 1.
double FontScale(const QFont& font);
// The same for the application font.
double FontScale();
// Design pixels to pixels at the application font.
int Px(int designPixels);
// Twips to pixels at the application font.
int Twips(int twips);

// Room a text needs on one line in a widget's font.
int TextWidth(const QWidget* widget, const QString& text);
// The larger of a design width and the room the widgets' own texts need (labels,
// buttons and check boxes), so a longer translation widens its place.
int WidthForTexts(int designPixels, std::initializer_list<const QWidget*> widgets);
// The larger of a design width and the width that shows the longest entry of
// each list in full.
int WidthForItems(int designPixels, std::initializer_list<const QComboBox*> lists);

// Widens the table's shown columns whose header words do not fit and makes the
// header as high as its tallest (wrapped) caption needs, at least `designHeight`
// design pixels. Returns the width the columns take together.
int FitHeaderToTexts(QTableWidget* table, int designHeight);

} // namespace tarvane
