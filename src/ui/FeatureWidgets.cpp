#include "ui/FeatureWidgets.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "ui/ListHelpers.h"
#include "ui/ToQ.h"

namespace tarvane {

void PlaceLabelLeftOf(QLabel* label, const QWidget* control, int gapTwips, int width) {
    if (!label || !control) return;
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QRect c = control->geometry();
    label->setGeometry(c.x() - Twips(gapTwips) - width, c.y(), width, c.height());
}

void FillList(QComboBox* list, const std::vector<std::string>& entries) {
    const QSignalBlocker block(list);
    list->clear();
    list->addItems(ToQStringList(entries));
}

namespace {

class KeyFilter : public QObject {
  public:
    KeyFilter(QLineEdit* box, QString allowed, std::function<QChar(QChar)> map)
        : QObject(box), box_(box), allowed_(std::move(allowed)), map_(std::move(map)) {}

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste) ||
            k->matches(QKeySequence::Cut))
            return true;
        const QString text = k->text();
        if (text.isEmpty()) return false; // arrows, Home, Delete...: editing keys, not characters
        const QChar c = text.at(0);
        if (c.unicode() > 127) return true;
        if (c.unicode() < 32 || c.unicode() == 127) {
            const ushort u = c.unicode();
            return u == 3 || u == 22 || u == 24; // Ctrl+C, Ctrl+V, Ctrl+X
        }
        const QChar m = map_ ? map_(c) : c;
        if (!allowed_.contains(m)) return true;
        if (m != c) {
            box_->insert(QString(m));
            return true;
        }
        return false;
    }

  private:
    QLineEdit* box_;
    QString allowed_;
    std::function<QChar(QChar)> map_;
};

} // namespace

void FilterKeys(QLineEdit* box, const QString& allowed, std::function<QChar(QChar)> map) {
    if (!box) return;
    box->installEventFilter(new KeyFilter(box, allowed, std::move(map)));
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setDragEnabled(false);
    box->setAcceptDrops(false);
}

} // namespace tarvane
