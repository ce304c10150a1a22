// tarvane-cps: the desktop programming tool.
#include <QApplication>

#include "app/Program.h"
#include "app/frmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    auto program = std::make_unique<tarvane::Program>();
    auto frame = tarvane::StartApplication(*program);
    return app.exec();
}
