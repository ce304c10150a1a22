// The window kinds of the program. Each editor family plugs itself in here.
#include "app/Program.h"
#include "app/frmMain.h"
#include "channels/ChannelWindows.h"
#include "features/FeatureWindows.h"

namespace tarvane {

void RegisterStandardWindows(frmMain& m) {
    RegisterChannelWindows(m);
    RegisterFeatureWindows(m);
}

} // namespace tarvane
