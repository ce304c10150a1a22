#pragma once
// Qt's own texts (message-box buttons, file dialogs, context menus) in the
// program's language, from the translations Qt ships.

namespace tarvane {

struct Program;

// Installs Qt's translations for the chosen language, or removes them for
// English; called at start and after each change of language. False when the
// language needs translations that are not installed (Qt's English is shown then).
bool LoadQtTranslations(const Program& p);

} // namespace tarvane
