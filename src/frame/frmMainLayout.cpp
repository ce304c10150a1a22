#include "frame/frmMainLayout.h"

#include <QAction>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

#include "base/FieldHelpers.h"
#include "ui/ToolIcons.h"
#include "ui/Twips.h"

namespace tarvane {

namespace {

// The placement is stored under a name that no language change alters.
constexpr const char* kPlacementStore = "tarvane-cps"; // beside the setup file

// The bar between the function tree and the child windows; the client area decides how far it may go.
class SplitterBar : public QWidget {
  public:
    explicit SplitterBar(FrameClient& owner) : QWidget(&owner), owner_(owner) {
        setObjectName("imgSplitter");
        setCursor(Qt::SplitHCursor);
        setFixedWidth(5);
    }

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) owner_.SplitterMouseDown();
    }
    void mouseMoveEvent(QMouseEvent* e) override { owner_.SplitterMouseMove(qRound(e->position().x())); }
    void mouseReleaseEvent(QMouseEvent*) override { owner_.SplitterMouseUp(); }

  private:
    FrameClient& owner_;
};

int StoredTwips(QSettings& s, const char* key, int fallback) {
    return ParseNumberOr(s.value(key).toString().toStdString(), fallback);
}

} // namespace

// ---- the client area ----------------------------------------------------------

FrameClient::FrameClient(QWidget* parent) : QWidget(parent) {
    setObjectName("client");
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("MDIArea");
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    picLeft_ = new QWidget(this);
    picLeft_->setObjectName("picLeft");
    // One button on a bar of the toolbar's height; a QToolBar of its own would
    // load the style's overflow images and lay out a bar for it at start.
    tbLeft_ = new QToolButton(picLeft_);
    tbLeft_->setObjectName("tbLeft");
    tbLeft_->setAutoRaise(true);
    tbLeft_->setFocusPolicy(Qt::NoFocus);
    tbLeft_->setIconSize(QSize(12, 12));
    closeTree_ = new QAction(CloseIcon(palette().color(QPalette::WindowText)), "TB_CLOSE", tbLeft_);
    closeTree_->setObjectName("TB_CLOSE");
    tbLeft_->setDefaultAction(closeTree_);
    tvTreeView_ = new QTreeWidget(picLeft_);
    tvTreeView_->setObjectName("tvTreeView");
    tvTreeView_->setHeaderHidden(true);
    // Texts are never cut short: a pane narrower than the tree scrolls instead.
    tvTreeView_->setTextElideMode(Qt::ElideNone);
    tvTreeView_->header()->setStretchLastSection(false);
    tvTreeView_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tvTreeView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    leftWidth_ = Px(leftWidth_);
    QAbstractItemModel* model = tvTreeView_->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { FitLeftPane(); });
    connect(model, &QAbstractItemModel::dataChanged, this, [this] { FitLeftPane(); });
    imgSplitter_ = new SplitterBar(*this);
}

void FrameClient::ShowLeftPane(bool show) {
    leftShown_ = show;
    picLeft_->setVisible(show);
    Arrange();
}

void FrameClient::Arrange() {
    const int h = height(), w = width();
    int x = 0;
    if (picLeft_->isVisible() || leftShown_) {
        picLeft_->setGeometry(0, 0, leftWidth_, h);
        // Placed as a toolbar would place it: inside the bar's frame and item margin.
        const int inset = style()->pixelMetric(QStyle::PM_ToolBarFrameWidth) +
                          style()->pixelMetric(QStyle::PM_ToolBarItemMargin);
        const QSize button = tbLeft_->sizeHint();
        const int barH = button.height() + 2 * inset;
        tbLeft_->setGeometry(inset, inset, button.width(), button.height());
        tvTreeView_->setGeometry(0, barH, leftWidth_, std::max(0, h - barH));
        imgSplitter_->setGeometry(leftWidth_, 0, imgSplitter_->width(), h);
        imgSplitter_->show();
        x = leftWidth_ + imgSplitter_->width();
    } else {
        imgSplitter_->hide();
    }
    mdi_->setGeometry(x, 0, std::max(0, w - x), h);
}

void FrameClient::FitLeftPane() {
    int widest = 0;
    for (QTreeWidgetItemIterator it(tvTreeView_); *it; ++it) {
        int depth = tvTreeView_->rootIsDecorated() ? 1 : 0;
        for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
            ++depth;
        const QModelIndex index = tvTreeView_->indexFromItem(*it);
        widest = std::max(widest,
                          depth * tvTreeView_->indentation() + tvTreeView_->sizeHintForIndex(index).width());
    }
    const int need =
        widest + 2 * tvTreeView_->frameWidth() + tvTreeView_->verticalScrollBar()->sizeHint().width() + Px(4);
    // Half the frame at most; beyond that the tree scrolls.
    const int most = std::max(Px(180), width() / 2);
    if (need <= leftWidth_ || leftWidth_ >= most) return;
    leftWidth_ = std::min(need, most);
    Arrange();
}

void FrameClient::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    // A new font reaches the tree's items after this event: measure them then.
    if (e->type() == QEvent::FontChange) QTimer::singleShot(0, this, [this] { FitLeftPane(); });
}

void FrameClient::SplitterMouseMove(int x) {
    if (!splitterDrag_ || x == 0) return;
    const int next = leftWidth_ + x;
    if (next * kTwipsPerPixel < kMinLeftPaneTwips || next > width()) return;
    leftWidth_ = next;
    Arrange();
}

// ---- placement ------------------------------------------------------------------

void RestorePlacement(QWidget& frame, const std::function<QString()>& oldTitle) {
    QSettings s(kPlacementStore, kPlacementStore);
    s.beginGroup("Settings");
    if (!s.contains("MainLeft")) {
        // Placements stored under the translated title before: taken over once.
        const QString titled = oldTitle();
        QSettings old(titled, titled);
        old.beginGroup("Settings");
        for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
            if (old.contains(key)) s.setValue(key, old.value(key));
    }
    int left = StoredTwips(s, "MainLeft", 1000), top = StoredTwips(s, "MainTop", 1000);
    int width = StoredTwips(s, "MainWidth", 12500), height = StoredTwips(s, "MainHeight", 9500);
    // A stored placement that no longer fits a screen falls back to the defaults.
    if (width < 3000 || height < 2000 || width > 200000 || height > 200000) width = 12500, height = 9500;
    if (left < -100000 || left > 400000 || top < -100000 || top > 400000) left = 1000, top = 1000;
    frame.move(left / kTwipsPerPixel, top / kTwipsPerPixel);
    frame.resize(width / kTwipsPerPixel, height / kTwipsPerPixel);
}

void StorePlacement(const QWidget& frame) {
    if (frame.isMinimized()) return;
    QSettings s(kPlacementStore, kPlacementStore);
    s.beginGroup("Settings");
    s.setValue("MainLeft", QString::number(frame.pos().x() * kTwipsPerPixel));
    s.setValue("MainTop", QString::number(frame.pos().y() * kTwipsPerPixel));
    s.setValue("MainWidth", QString::number(frame.width() * kTwipsPerPixel));
    s.setValue("MainHeight", QString::number(frame.height() * kTwipsPerPixel));
}

void GrowToShow(QWidget& frame, const QMdiArea& mdi, const QMdiSubWindow& sub) {
    // A window that does not fit the child area makes the frame larger rather than
    // hiding its controls behind scroll bars.
    if (!frame.isVisible() || frame.isMinimized() || frame.isMaximized() || !frame.screen()) return;
    const QRect need = sub.geometry();
    const QSize have = mdi.viewport()->size();
    const int wantW = need.right() + 1 - have.width();
    const int wantH = need.bottom() + 1 - have.height();
    if (wantW <= 0 && wantH <= 0) return;
    const QRect avail = frame.screen()->availableGeometry();
    const QRect outer = frame.frameGeometry();
    const int w =
        std::min(frame.width() + std::max(wantW, 0), avail.width() - (outer.width() - frame.width()));
    const int h =
        std::min(frame.height() + std::max(wantH, 0), avail.height() - (outer.height() - frame.height()));
    if (w <= frame.width() && h <= frame.height()) return; // never shrinks the frame
    frame.resize(std::max(w, frame.width()), std::max(h, frame.height()));
    // Keep the grown frame on the screen.
    QRect moved = frame.frameGeometry();
    if (moved.right() > avail.right()) moved.moveRight(avail.right());
    if (moved.bottom() > avail.bottom()) moved.moveBottom(avail.bottom());
    frame.move(moved.topLeft());
}

} // namespace tarvane
