// The desktop program's start and the window kinds it ships with; each editor
// family plugs itself in here.
#include <QApplication>
#include <QFile>
#include <QSettings>
#include <clocale>

#include "doc/Startup.h"
#include "frame/ChannelWindows.h"
#include "frame/FeatureWindows.h"
#include "frame/frmMain.h"
#include "state/Program.h"
#include "ui/FirstFrame.h"
#include "ui/QtTranslations.h"

namespace tarvane {

void RegisterStandardWindows(frmMain& m) {
    RegisterChannelWindows(m);
    RegisterFeatureWindows(m);
}

void AdoptOldSettings() {
    QSettings now("tarvane-cps", "tarvane-cps");
    if (!now.allKeys().isEmpty()) return;
    const QSettings old("Tarvane CPS", "Tarvane CPS");
    for (const QString& key : old.allKeys())
        now.setValue(key, old.value(key));
}

std::unique_ptr<frmMain> StartApplication(Program& p) {
    // QApplication adopts the user's locale; numbers are always written and read with ".".
    std::setlocale(LC_NUMERIC, "C");
    InstallGuiPrompts(p, nullptr);
    StartUp(p, CurrentEnvironment(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString()));
    LoadQtTranslations(p);
    AdoptOldSettings();
    auto frame = std::make_unique<frmMain>(p);
    InstallGuiPrompts(p, frame.get());
    ShowFrame(*frame);
    return frame;
}

void ShowFrame(frmMain& frame) {
    RegisterStandardWindows(frame);
    frame.show();
    // The channel table comes in the event after the frame's first frame: building
    // and drawing it would otherwise keep the whole window off the screen.
    AfterFirstFrame(frame, [&frame] { frame.ShowChannelTable(); });
}

} // namespace tarvane
