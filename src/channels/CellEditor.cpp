#include "channels/CellEditor.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <algorithm>
#include <exception>

#include "base/NumberText.h"
#include "freq/ChannelEdit.h"
#include "ui/ListHelpers.h"
#include "ui/ToQ.h"

namespace tarvane {

namespace {

// Public, DUP, TSQ, Scan: the list of each list column.
constexpr int kListColumns[4] = {kColPublic, kColDup, kColTsq, kColScan};

size_t ListIndex(int column) {
    return static_cast<size_t>(std::find(std::begin(kListColumns), std::end(kListColumns), column) -
                               std::begin(kListColumns));
}

bool IsTextColumn(int column) {
    return column == kColRxFreq || column == kColOffSetFre;
}

} // namespace

CellEditor::CellEditor(QTableWidget* grid, const std::array<QStringList, 4>& lists, QObject* parent)
    : QObject(parent), grid_(grid) {
    text1_ = new QLineEdit(grid_->viewport());
    text1_->setObjectName("Text1");
    text1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter); // as the frequency cells
    text2_ = new QLineEdit(grid_->viewport());
    text2_->setObjectName("Text2");
    for (QLineEdit* t : {text1_, text2_}) {
        t->setContextMenuPolicy(Qt::NoContextMenu); // no pasting around the typing filter
        t->setAcceptDrops(false);
        t->installEventFilter(this);
        t->hide();
    }
    for (size_t i = 0; i < lists_.size(); ++i) {
        auto* c = new QComboBox(grid_->viewport());
        c->setObjectName(QString("Combo%1").arg(i + 1));
        c->installEventFilter(this);
        c->hide();
        c->addItems(lists[i]);
        connect(c, &QComboBox::activated, this, [this] {
            if (Commit) Commit();
        });
        lists_[i] = c;
    }
}

QLineEdit* CellEditor::TextBox() const {
    return column_ == kColRxFreq ? text1_ : text2_;
}

QComboBox* CellEditor::List() const {
    return lists_[ListIndex(column_)];
}

QWidget* CellEditor::Current() const {
    return IsTextColumn(column_) ? static_cast<QWidget*>(TextBox()) : List();
}

bool CellEditor::Owns(const QObject* o) const {
    return o == text1_ || o == text2_ || std::find(lists_.begin(), lists_.end(), o) != lists_.end();
}

void CellEditor::Open(int row, int column, const QString& cellText) {
    channel_ = row + 1;
    column_ = column;
    if (IsTextColumn(column)) {
        QLineEdit* box = TextBox();
        box->setText(cellText);
        original_ = cellText;
        Place(box);
        box->selectAll();
    } else {
        QComboBox* list = List();
        SelectListText(list, cellText);
        original_ = QString::number(list->currentIndex());
        Place(list);
    }
}

void CellEditor::Place(QWidget* editor) {
    const QModelIndex index = grid_->model()->index(channel_ - 1, column_);
    grid_->scrollTo(index);
    editor->setGeometry(grid_->visualRect(index));
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
}

void CellEditor::Close() {
    column_ = 0;
    text1_->hide();
    text2_->hide();
    for (QComboBox* c : lists_)
        c->hide();
}

QString CellEditor::Value() const {
    if (column_ == kColRxFreq) {
        const QString typed = text1_->text().trimmed();
        if (auto v = ParseDouble(typed.toStdString())) return ToQ(FormatFixed(*v, 5));
        return typed;
    }
    if (column_ == kColOffSetFre) return text2_->text();
    return QString::number(List()->currentIndex());
}

bool CellEditor::Changed() const {
    // Leaving an editor untouched changes nothing (a CB memory frequency shown
    // with its "125" ending would otherwise be validated again).
    if (IsTextColumn(column_)) return TextBox()->text() != original_;
    return Value() != original_;
}

bool CellEditor::FocusLeft(const QWidget* from, const QWidget* to) const {
    if (column_ == 0 || !from || !to) return false;
    const QWidget* editor = Current();
    if (from != editor && !editor->isAncestorOf(from)) return false;
    return to != editor && !editor->isAncestorOf(to);
}

bool CellEditor::Key(QObject* editor, QKeyEvent* e) {
    const int key = e->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (Commit) Commit();
        return true;
    }
    if (key == Qt::Key_Escape) {
        Close();
        grid_->setFocus(Qt::OtherFocusReason);
        return true;
    }
    auto* box = qobject_cast<QLineEdit*>(editor);
    if (!box) return false;
    if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut))
        return true;
    if (key == Qt::Key_Up || key == Qt::Key_Down) return true; // the grid must not move under the box
    const QString text = e->text();
    if (text.isEmpty()) return false;
    const ushort ch = text.at(0).unicode();
    if (ch > 127) return true;
    if (ch == 3 || ch == 22 || ch == 24) return true;
    if (ch < 32 || ch == 127) return false;
    if (ch >= '0' && ch <= '9') return false;
    return !(box == text1_ && ch == '.');
}

bool CellEditor::eventFilter(QObject* watched, QEvent* event) {
    if (!Owns(watched)) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // While a cell is edited its keys belong to the editor, not to the channel commands.
        event->accept();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    static const char* const listSteps[4] = {"frmCommChInfo_Combo1_KeyPress", "frmCommChInfo_Combo2_KeyPress",
                                             "frmCommChInfo_Combo3_KeyPress",
                                             "frmCommChInfo_Combo4_KeyPress"};
    const auto list = std::find(lists_.begin(), lists_.end(), watched) - lists_.begin();
    // Both text boxes report under the one name the program has for them.
    const char* step = list < 4 ? listSteps[list] : "rmCommChInfo_Text1_KeyPress";
    try {
        return Key(watched, static_cast<QKeyEvent*>(event));
    } catch (const std::exception&) {
        if (Failed) Failed(step);
        return false;
    }
}

} // namespace tarvane
