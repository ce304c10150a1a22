// The window kinds of the program. Each editor adds its line here.
#include "app/Program.h"
#include "app/frmMain.h"

namespace tarvane {

void RegisterStandardWindows(frmMain& m) {
    (void)m;
}

} // namespace tarvane
