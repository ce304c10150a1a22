#include "state/lang/SystemErrors.h"

#include <cerrno>
#include <cstring>

#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

struct SystemErrorEntry {
    int errnum;
    TextId text;
};

// A vanished USB adapter or pseudo-terminal shows as any of ENODEV, ENXIO or
// EIO, depending on where the program was when it went.
constexpr SystemErrorEntry kSystemErrors[] = {
    {ENOENT, txt::kErrNoSuchFile},       {ENOTDIR, txt::kErrNoSuchFile},     {ENODEV, txt::kErrDeviceGone},
    {ENXIO, txt::kErrDeviceGone},        {EIO, txt::kErrDeviceGone},         {EBUSY, txt::kErrDeviceBusy},
    {EACCES, txt::kErrPermissionDenied}, {EPERM, txt::kErrPermissionDenied}, {ENOSPC, txt::kErrDiskFull},
    {EDQUOT, txt::kErrDiskFull},         {EROFS, txt::kErrReadOnly},
};

} // namespace

std::string SystemErrorText(Program& p, int errnum) {
    for (const SystemErrorEntry& e : kSystemErrors)
        if (e.errnum == errnum) return LangText(p, e.text);
    return std::strerror(errnum);
}

} // namespace tarvane
