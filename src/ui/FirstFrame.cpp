#include "ui/FirstFrame.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace tarvane {

namespace {

class FirstFrameWatch : public QObject {
  public:
    FirstFrameWatch(QWidget& window, std::function<void()> then, int latestMs)
        : QObject(&window), then_(std::move(then)) {
        window.winId(); // the native window whose expose is watched
        window_ = window.windowHandle();
        window_->installEventFilter(this);
        // A window already on screen has had its first frame.
        QTimer::singleShot(window_->isExposed() ? 0 : latestMs, this, [this] { Run(); });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        // The frame is drawn while this event is handled; the work comes after it.
        if (watched == window_ && e->type() == QEvent::Expose && window_->isExposed())
            QTimer::singleShot(0, this, [this] { Run(); });
        return false;
    }

  private:
    void Run() {
        if (!then_) return;
        if (window_) window_->removeEventFilter(this);
        const std::function<void()> then = std::move(then_);
        then_ = nullptr;
        deleteLater();
        then();
    }

    std::function<void()> then_;
    QPointer<QWindow> window_; // a native window may be made anew while the widget lives
};

} // namespace

void AfterFirstFrame(QWidget& window, std::function<void()> then, int latestMs) {
    new FirstFrameWatch(window, std::move(then), latestMs);
}

} // namespace tarvane
