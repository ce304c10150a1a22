#pragma once
// Channel lists out as CSV: one row per channel of all groups or of one, in the
// columns of the channel column table, for other radio programmers and spreadsheets.
#include <string>

namespace tarvane {

struct Program;

// All groups when group is -1. `rows` receives the number of channels written.
std::string ExportChannels(const Program& p, int group, int* rows = nullptr);

} // namespace tarvane
