// Work put off until a window's first frame: after it, once, or never when the window goes.
#include <QWindow>
#include <QtTest>

#include "ui/FirstFrame.h"

using namespace tarvane;

class FirstFrameTest : public QObject {
    Q_OBJECT
  private slots:
    void runsOnceAfterTheFirstFrame() {
        QWidget window;
        int runs = 0;
        bool exposedThen = false;
        AfterFirstFrame(window, [&] {
            ++runs;
            exposedThen = window.windowHandle()->isExposed();
        });
        QCoreApplication::processEvents();
        QCOMPARE(runs, 0);
        window.show();
        QTRY_COMPARE(runs, 1);
        QVERIFY(exposedThen);
        // A second frame, or the time-out, brings no second run.
        window.hide();
        window.show();
        QTest::qWait(700);
        QCOMPARE(runs, 1);
    }
    void runsAtTheLatestWhenNeverShownAndNeverForAWindowThatWent() {
        int runs = 0, gone = 0;
        QWidget window;
        AfterFirstFrame(
            window, [&] { ++runs; }, 50);
        {
            QWidget other;
            AfterFirstFrame(
                other, [&] { ++gone; }, 10);
        }
        QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 2000);
        QCOMPARE(gone, 0);
    }
};

QTEST_MAIN(FirstFrameTest)
#include "FirstFrameTest.moc"
