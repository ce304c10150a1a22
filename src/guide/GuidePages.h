#pragma once
// Where the getting-started guide's page for a language is, and whether it is
// still to be shown at start. The pages are HTML files in the program folder's
// guide/ folder, one per language code, with their pictures beside them; the
// "shown once" mark is kept in the user setup file (section "language", key
// "GuideShown").
#include <string>

namespace tarvane {

struct Program;

// guide/<code>.html, else the page of the code's language without its region
// ("zh" for "zh_TW"), else the English page; empty when none is installed.
std::string GuidePage(const std::string& programFolder, const std::string& code);
// True until NoteGuideShown has been written.
bool GuideDueAtStart(const Program& p);
bool NoteGuideShown(const Program& p);

} // namespace tarvane
