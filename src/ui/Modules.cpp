#include "ui/Modules.h"

#include <QFileInfo>
#include <QLibrary>

namespace tarvane {

QString ModuleFolder(const std::string& programFolder) {
    return QString::fromStdString(programFolder) + "/lib";
}

void* ModuleEntry(const std::string& programFolder, const char* name, const char* symbol, QString& error) {
    const QString path = ModuleFolder(programFolder) + "/libtarvane-" + name + ".so";
    // The reasons name the file; the message around them is the user's language.
    if (!QFileInfo(path).isFile()) {
        error = path;
        return nullptr;
    }
    // QLibrary shares one handle per file and does not unload it when it goes.
    QLibrary module(path);
    module.setLoadHints(QLibrary::PreventUnloadHint);
    if (!module.load()) {
        error = module.errorString();
        return nullptr;
    }
    void* entry = reinterpret_cast<void*>(module.resolve(symbol));
    if (!entry) error = QString("%1: %2").arg(path, symbol);
    return entry;
}

} // namespace tarvane
