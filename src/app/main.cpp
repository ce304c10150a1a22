// tarvane-cps: the desktop programming tool.
#include <QApplication>
#include <clocale>

#include "app/Program.h"
#include "app/Startup.h"
#include "app/frmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // QApplication adopts the user's locale; numbers are always written and read with ".".
    std::setlocale(LC_NUMERIC, "C");
    auto program = std::make_unique<tarvane::Program>();
    tarvane::Program& p = *program;
    tarvane::InstallGuiPrompts(p, nullptr);
    tarvane::StartUp(p, tarvane::CurrentEnvironment(QCoreApplication::applicationFilePath().toStdString()));
    tarvane::frmMain frame(p);
    tarvane::InstallGuiPrompts(p, &frame);
    tarvane::RegisterStandardWindows(frame);
    frame.ShowChannelTable();
    frame.show();
    return app.exec();
}
