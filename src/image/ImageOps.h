#pragma once
// Operations on the working image and its baseline.
#include <string>

#include "state/RadioImage.h"

namespace tarvane {

struct Program;

void StampVersion(const Program& p, SettingsRecord& record);
// Takes model code and type from the record into the current model. A type other
// than 0..2 shows "Country Mode Error!" and returns false with nothing changed.
bool ApplyVersion(Program& p, const SettingsRecord& record);
void CopyToBaseline(Program& p);
bool CopyFromBaseline(Program& p);
bool ImageChanged(const Program& p);
// Sets the current model from a type (0..2): band text and limits follow.
bool SetModelType(Program& p, int modelType);

} // namespace tarvane
