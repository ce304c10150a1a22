#pragma once
#include <string>
#include <vector>

#include "base/Prompts.h"
#include "state/lang/TextId.h"

namespace tarvane {

struct Program;

// The section of the language file that holds an identifier.
const char* LangSection(int32_t id);
// The text for an identifier in the current language; the English text where the
// language file lacks it, "" for an identifier no file knows. At most 254 characters.
std::string LangText(Program& p, TextId id);
// Full path of the current language file.
std::string LangFilePath(const Program& p);
// Switches the current language: 1 English, 2 Chinese, 3 on the further files of
// the language folder (see Languages.h); anything else English.
void SetLanguage(Program& p, int index);

// Messages through the program's prompts.
MsgAnswer Tell(Program& p, const std::string& text, MsgIcon icon = MsgIcon::None,
               MsgButtons buttons = MsgButtons::Ok, const std::string& title = "");
MsgAnswer TellId(Program& p, TextId id, MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok);

// Replaces every "%1", "%2", ... in a language text by the value of that number;
// a mark without a value stays as it is.
std::string FillIn(const std::string& text, const std::vector<std::string>& values);

} // namespace tarvane
