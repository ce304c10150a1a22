// The window kinds of the program, and its start. Each editor family plugs itself in here.
#include <QApplication>
#include <clocale>

#include "app/Program.h"
#include "app/QtTranslations.h"
#include "app/Startup.h"
#include "app/frmMain.h"
#include "channels/ChannelWindows.h"
#include "features/FeatureWindows.h"

namespace tarvane {

void RegisterStandardWindows(frmMain& m) {
    RegisterChannelWindows(m);
    RegisterFeatureWindows(m);
}

std::unique_ptr<frmMain> StartApplication(Program& p) {
    // QApplication adopts the user's locale; numbers are always written and read with ".".
    std::setlocale(LC_NUMERIC, "C");
    InstallGuiPrompts(p, nullptr);
    StartUp(p, CurrentEnvironment(QCoreApplication::applicationFilePath().toStdString()));
    LoadQtTranslations(p);
    auto frame = std::make_unique<frmMain>(p);
    InstallGuiPrompts(p, frame.get());
    RegisterStandardWindows(*frame);
    frame->ShowChannelTable();
    frame->show();
    return frame;
}

} // namespace tarvane
