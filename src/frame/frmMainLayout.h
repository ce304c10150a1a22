#pragma once
// The frame's layout: its client area (the left pane with the function tree, the
// splitter bar and the MDI area beside them) and its placement on the screen,
// stored in twips.
#include <QWidget>
#include <functional>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QToolButton;
class QTreeWidget;

namespace tarvane {

inline constexpr int kMinLeftPaneTwips = 300;

// The client area places its parts itself, following the splitter's rules.
class FrameClient : public QWidget {
  public:
    explicit FrameClient(QWidget* parent);

    QMdiArea* Mdi() const { return mdi_; }
    QWidget* LeftPane() const { return picLeft_; }
    QTreeWidget* Tree() const { return tvTreeView_; }
    QWidget* Splitter() const { return imgSplitter_; }
    // The close button of the left pane's bar.
    QAction* CloseTreeButton() const { return closeTree_; }
    int LeftPaneWidth() const { return leftWidth_; }

    // Shows or hides the left pane; the MDI area takes its room.
    void ShowLeftPane(bool show);
    void Arrange();
    // Widens the left pane so the tree shows its texts in full (never narrows it).
    void FitLeftPane();

    // Splitter drag, x in pixels relative to the splitter.
    void SplitterMouseDown() { splitterDrag_ = true; }
    void SplitterMouseMove(int x);
    void SplitterMouseUp() { splitterDrag_ = false; }

  protected:
    void resizeEvent(QResizeEvent*) override { Arrange(); }
    void changeEvent(QEvent* e) override;

  private:
    QMdiArea* mdi_ = nullptr;
    QWidget* picLeft_ = nullptr;
    QToolButton* tbLeft_ = nullptr;
    QAction* closeTree_ = nullptr;
    QTreeWidget* tvTreeView_ = nullptr;
    QWidget* imgSplitter_ = nullptr;
    bool leftShown_ = true; // what the user chose; the pane is not visible before the frame is
    int leftWidth_ = 180;   // design pixels until the frame is built
    bool splitterDrag_ = false;
};

// The frame's position and size from the settings, or the defaults where they do
// not fit a screen. `oldTitle` names the store used before the fixed name; it is
// asked only when the fixed store holds no placement yet.
void RestorePlacement(QWidget& frame, const std::function<QString()>& oldTitle);
void StorePlacement(const QWidget& frame);
// Makes the frame larger, as far as the screen allows, so that a new child window
// shows in full; never shrinks it.
void GrowToShow(QWidget& frame, const QMdiArea& mdi, const QMdiSubWindow& sub);

} // namespace tarvane
