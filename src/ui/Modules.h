#pragma once
// What only one command needs (printing, tone playback) is built as a module: a
// shared library in lib/ of the program folder, loaded when the command first
// runs. Start-up so does not pay for loading Qt's print and audio libraries.
#include <QString>
#include <string>

namespace tarvane {

// lib/ of the program folder, where the modules are staged and installed.
QString ModuleFolder(const std::string& programFolder);

// The entry `symbol` of module `name` (lib/libtarvane-NAME.so), loading it the
// first time; nullptr with the reason in `error` when it cannot be had (the
// file, with what is wrong with it when it is there). A loaded
// module stays loaded until the program ends.
void* ModuleEntry(const std::string& programFolder, const char* name, const char* symbol, QString& error);

// The interface an entry `Interface* entry(int version)` hands out; the entry
// answers nullptr to a version it was not built with.
template <class Interface>
Interface* LoadModule(const std::string& programFolder, const char* name, const char* symbol,
                      QString& error) {
    using Entry = Interface* (*)(int);
    auto entry = reinterpret_cast<Entry>(ModuleEntry(programFolder, name, symbol, error));
    if (!entry) return nullptr;
    Interface* made = entry(Interface::kVersion);
    if (!made)
        error = ModuleFolder(programFolder) + "/libtarvane-" + name + ".so: version " +
                QString::number(Interface::kVersion);
    return made;
}

} // namespace tarvane
