#pragma once
// The frame's caption: program, model, type and band, and the document's file.
#include <string>

namespace tarvane {

struct Program;

// "Tarvane CPS[Tarvane:CB:26.965 - 27.405 MHz][File:cb1.dat]"; the file name
// takes a "*" while the document has unsaved changes. Every band shows its range.
std::string MainCaption(Program& p, bool changed);

} // namespace tarvane
