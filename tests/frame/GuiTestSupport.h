#pragma once
// Shared pieces of the window tests: a frame over a test program, stand-in
// editor windows, and answering the next modal dialog.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "TestProgram.h"
#include "frame/frmMain.h"

namespace tarvane::test {

// Stands in for an editor window of a kind not built here; counts what happens to it.
class FakeEditor : public QWidget {
    Q_OBJECT
  public:
    explicit FakeEditor(int& commits) : commits_(commits) {}
    Q_INVOKABLE void CommitEdit() { ++commits_; }

  private:
    int& commits_;
};

struct FrameFixture {
    TestProgram t = MakeTestProgram(0);
    std::unique_ptr<frmMain> frame;
    QMap<QString, int> made; // windows made per kind
    int commits = 0;
    bool exposed = false;

    explicit FrameFixture(int modelType = 0, bool registerFakes = true) {
        t = MakeTestProgram(modelType);
        frame = std::make_unique<frmMain>(*t);
        if (registerFakes)
            for (const char* kind : {"frmCommChInfo", "FrmOptFeatures", "FrmDTMF", "FrmKey", "FrmToneTips"}) {
                QString k = kind;
                frame->RegisterChildKind(k, [this, k](frmMain&) {
                    ++made[k];
                    auto* w = new FakeEditor(commits);
                    w->setWindowTitle(k);
                    w->resize(200, 120);
                    return w;
                });
            }
        frame->ShowChannelTable();
        frame->show();
        exposed = QTest::qWaitForWindowExposed(frame.get());
    }
    Program& p() { return *t; }
    Script& script() { return *t.script; }
    int OpenOf(const QString& kind) const {
        int n = 0;
        for (QWidget* w : frame->ChildWindows())
            if (w->objectName() == kind) ++n;
        return n;
    }
    // Lets the deferred work (closing windows, the new-document timer) run.
    void Settle(int ms = 250) { QTest::qWait(ms); }
};

// Runs act on the next modal dialog once it is shown.
inline void OnNextModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

} // namespace tarvane::test
