#pragma once
// The English texts of english.ini, compiled in at build time: the fallback for
// an id a language file lacks, or for a language file that is missing.
#include <cstdint>

namespace tarvane {

// The text of the id, as english.ini holds it untrimmed; "" for an unknown id.
const char* EnglishText(int32_t id);

} // namespace tarvane
