// The yardstick of bench/startup: a bare Qt window with a menu and a label, shown
// the plain way. It links Qt Widgets and nothing else.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

#include "StartupChild.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu("&File");
    file->addAction("&Open...");
    file->addAction("E&xit", &app, &QApplication::quit);
    window.menuBar()->addMenu("&Help")->addAction("&About");
    window.setCentralWidget(new QLabel("A bare window", &window));
    window.resize(800, 600);
    startup_bench::ExposeWatch watch(window);
    window.show();
    return app.exec();
}
