// The command line's own contract: wrong usage is named in one line with a
// pointer to --help and exit 2, before any work and without touching a file;
// --help and --version go to stdout with exit 0.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRunner.h"
#include "TestProgram.h"
#include "base/BuildVersion.h"

namespace tarvane {
namespace {

using test::CliResult;
using test::RunCli;

struct WrongUsage {
    std::vector<std::string> args;
    std::string line;    // the first line of stderr, exactly
    std::string pointer; // the second line
};

const std::string kTop = "Try 'tarvane-cli --help'.\n";
std::string For(const std::string& command) {
    return "Try 'tarvane-cli " + command + " --help'.\n";
}

TEST(CliUsage, EachWrongUsageNamesTheOptionAndTheReasonInOneLine) {
    const std::string out = test::TempDir() + "/out.dat";
    const std::vector<WrongUsage> cases = {
        {{"fly"},
         "fly: not a command (read, write, clone, info, detect, show, new, export, import, diff, simulate)",
         kTop},
        {{"--port", "x"},
         "--port: a command must come first (read, write, clone, info, detect, show, new, export, import, diff, "
         "simulate)",
         kTop},
        {{"read", "--port", "x", "--out", out, "--retries", "abc"},
         "--retries: 'abc' is not a number",
         For("read")},
        {{"read", "--port", "x", "--out", out, "--retries=-1"},
         "--retries: '-1' is out of range (0 to 32767)",
         For("read")},
        {{"read", "--port", "x", "--out", out, "--retries", "99999"},
         "--retries: '99999' is out of range (0 to 32767)",
         For("read")},
        {{"read", "--port", "x", "--out", out, "--retries", "3x"},
         "--retries: '3x' is not a number",
         For("read")},
        {{"read", "--port", "x", "--out", out, "--retries", ""},
         "--retries: '' is not a number",
         For("read")},
        {{"read", "--port", "x"}, "--out: required by read", For("read")},
        {{"read", "--out", out, "--port"}, "--port: needs a value", For("read")},
        {{"read", "--port", "", "--out", out}, "--port: the value is empty", For("read")},
        {{"read", "--port", "a", "--port", "b", "--out", out}, "--port: given more than once", For("read")},
        {{"read", "--port", "a", "--out", out, "--json"}, "--json: not an option of read", For("read")},
        {{"write", "--port", "x"}, "write: FILE.dat is missing", For("write")},
        {{"write", "--port", "x", "--verify=yes", "f.dat"}, "--verify: takes no value", For("write")},
        {{"info", "--port", "x", "extra"},
         "'extra': unexpected argument (usage: tarvane-cli info --port DEVICE "
         "[--retries N] [--trace FILE] [--json] [--lang CODE])",
         For("info")},
        {{"show", "a.dat", "--lang", "xx"},
         "--lang: 'xx' is not a language of this program (en, zh_CN, de, it, pl)",
         For("show")},
        {{"show", "a.dat", "b.dat"},
         "'b.dat': unexpected argument (usage: tarvane-cli show FILE.dat [--json] [--lang CODE])",
         For("show")},
        {{"new", "--type", "XX", "--out", out}, "--type: 'XX' is not CB, HF or HAM", For("new")},
        {{"new", "--type", "c b", "--out", out}, "--type: 'c b' is not CB, HF or HAM", For("new")},
        {{"new", "--type", "CB"}, "--out: required by new", For("new")},
        {{"import", "a.dat", "--out", out}, "import: CHANNELS.csv is missing", For("import")},
        {{"import", "a.dat", "c.csv", "--out", out, "--first", "two"},
         "--first: 'two' is not a number",
         For("import")},
        {{"diff", "a.dat"}, "diff: B.dat is missing", For("diff")},
        {{"simulate", "--link", "x", "--nak-every", "0xZZ"},
         "--nak-every: '0xZZ' is not a number",
         For("simulate")},
        {{"simulate", "--link", "x", "--nak-address", "0x10000"},
         "--nak-address: '0x10000' is out of range (0 to "
         "65535)",
         For("simulate")},
        {{"simulate", "--link", "x", "--model-type", "300"},
         "--model-type: '300' is out of range (0 to 255)",
         For("simulate")},
        {{"simulate", "--link", "x", "--model-type", "XL"},
         "--model-type: 'XL' is not CB, HF, HAM or a number",
         For("simulate")},
        {{"simulate"}, "--link: required by simulate", For("simulate")},
    };
    for (const WrongUsage& c : cases) {
        const CliResult r = RunCli(c.args);
        const std::string shown = c.args.empty() ? "" : c.args[0] + " ...";
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.err, c.line + "\n" + c.pointer) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_FALSE(std::filesystem::exists(out)) << shown;
    }
}

TEST(CliUsage, NoCommandPrintsTheUsageOnStderrWithStatusTwo) {
    const CliResult r = RunCli({});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("usage: tarvane-cli COMMAND", 0), 0u) << r.err;
}

TEST(CliUsage, HelpAndVersionGoToStdoutWithStatusZero) {
    const std::string version = std::string("tarvane-cli ") + TARVANE_VERSION + "\n";
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> contains;
    };
    const std::vector<Case> cases = {
        {{"--version"}, {version}},
        {{"-v"}, {version}}, // as tarvane-cps -v
        {{"read", "--version"}, {version}},
        {{"--help"},
         {"usage: tarvane-cli COMMAND", "  read ", "  write ", "  info ", "  show ", "  new ", "  export ",
          "  import ", "  diff ", "  simulate ", "exit status"}},
        {{"-h"}, {"usage: tarvane-cli COMMAND"}},
        {{"help", "import"},
         {"usage: tarvane-cli import FILE.dat CHANNELS.csv --out NEW.dat", "--skip-bad", "--first N"}},
        // Help wins over everything else on the line, even wrong values.
        {{"write", "--retries", "abc", "--help"},
         {"usage: tarvane-cli write FILE.dat --port DEVICE", "--verify"}},
        {{"show", "--help"}, {"--json"}},
        {{"read", "--help"}, {"restarts after the radio stops answering (default: 2)", "--no-backup"}},
        {{"import", "--help"}, {"the first channel number to fill (default: 1)"}},
        {{"info", "--help"}, {"--json", "--port DEVICE"}},
        {{"export", "--help"}, {"--out CHANNELS.csv", "--group NAME"}},
        {{"simulate", "--help"}, {"--late-every N", "--silent-end"}},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.status, 0) << c.args[0] << " " << r.err;
        EXPECT_EQ(r.err, "") << c.args[0];
        for (const std::string& part : c.contains)
            EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
    }
}

TEST(CliUsage, OptionsTakeTheEqualsFormAndMayFollowTheFile) {
    const std::string dir = test::TempDir();
    ASSERT_EQ(RunCli({"new", "--out=" + dir + "/a.dat", "--type=HF"}).status, 0);
    const CliResult r = RunCli({"show", dir + "/a.dat"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Model type: HF\n"), std::string::npos);
}

} // namespace
} // namespace tarvane
