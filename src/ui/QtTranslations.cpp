#include "ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include "state/Program.h"
#include "state/lang/Languages.h"

namespace tarvane {

namespace {
// One translator at a time, owned by the application so it goes with it.
QPointer<QTranslator> installed;
} // namespace

bool LoadQtTranslations(const Program& p) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    const std::string code = LanguageCode(p);
    if (code == "en") return true; // Qt's own texts are English
    auto* t = new QTranslator(app);
    // "qt_zh_CN", "qt_de", ... gather qtbase and the modules in use (serial port, multimedia).
    if (!t->load(QLocale(QString::fromStdString(code)), "qt", "_",
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    installed = t;
    return true;
}

} // namespace tarvane
