#pragma once
#include <string>

namespace tarvane {

struct Program;

// Fills the image with the built-in values only (no initial file).
void InitBuiltInImage(Program& p);
// The initial file a new document would load: factory name when initial setup is requested.
std::string InitFileName(const Program& p, bool factory);
// A new document: built-in values, then the model's initial codeplug from Init/.
void InitImage(Program& p);
// Today's date as the short text kept in the radio information ("2026-12-08").
std::string TodayText();

} // namespace tarvane

namespace tarvane {
// InitImage for a completed new document; the initial-setup request is used up.
void NewDocument(Program& p);
} // namespace tarvane
