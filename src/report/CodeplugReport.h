#pragma once
// The report of a document: model and band, file name and date, the channels by
// group, the optional features, DTMF, keys, tone tips and emergency channels,
// with the names and value texts the editor windows show.
#include <string>

#include "report/Report.h"

namespace tarvane {

struct Program;

// `date` is shown as given (the caller formats it for the user).
Report BuildCodeplugReport(Program& p, const std::string& fileName, const std::string& date);

} // namespace tarvane
