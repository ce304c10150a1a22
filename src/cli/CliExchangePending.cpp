// Stand-ins for the channel exchange commands until they are built; the
// command line already parses and dispatches them.
#include <cstdio>

#include "cli/Cli.h"

namespace tarvane {

namespace {
int NotYet(const char* command) {
    std::fprintf(stderr, "tarvane-cli %s: not available yet\n", command);
    return kExitFailed;
}
} // namespace

int CliExport(Program&, const CliArgs&) {
    return NotYet("export");
}
int CliImport(Program&, const CliArgs&) {
    return NotYet("import");
}
int CliDiff(Program&, const CliArgs&) {
    return NotYet("diff");
}

} // namespace tarvane
