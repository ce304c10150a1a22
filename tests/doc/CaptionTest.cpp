#include <gtest/gtest.h>

#include "TestProgram.h"
#include "doc/Caption.h"
#include "state/Program.h"

namespace tarvane {
namespace {

struct CaptionCase {
    int band;
    const char* path;
    bool changed;
    const char* caption;
};

TEST(MainCaption, EveryBandShowsItsRangeAndUnsavedChangesAMark) {
    const CaptionCase cases[] = {
        {0, "new.dat", false, "Tarvane CPS[Tarvane:CB:26.965 - 27.405 MHz][File:new.dat]"},
        {1, "/radios/hf one.dat", true, "Tarvane CPS[Tarvane:HF:25.615 - 30.105 MHz][File:hf one.dat*]"},
        {2, "C:\\radios\\ham.dat", false, "Tarvane CPS[Tarvane:HAM:28.000 - 29.700 MHz][File:ham.dat]"},
        {0, "/radios/cb1.dat", true, "Tarvane CPS[Tarvane:CB:26.965 - 27.405 MHz][File:cb1.dat*]"},
    };
    for (const CaptionCase& c : cases) {
        auto t = test::MakeTestProgram(c.band);
        t->Doc.Path = c.path;
        EXPECT_EQ(MainCaption(*t, c.changed), c.caption) << c.path;
    }
}

} // namespace
} // namespace tarvane
