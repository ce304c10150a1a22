// tarvane-cli: read, write and inspect radios and codeplug files, and simulate a radio.
#include <QCoreApplication>
#include <cstdio>
#include <set>

#include "app/Program.h"
#include "app/Startup.h"
#include "cli/Cli.h"

namespace {

using namespace tarvane;

constexpr const char* kUsage =
    "usage:\n"
    "  tarvane-cli read --port DEVICE --out FILE.dat [--password TEXT] [--retries N] [--trace FILE]\n"
    "  tarvane-cli write --port DEVICE FILE.dat [--password TEXT] [--retries N] [--trace FILE]\n"
    "  tarvane-cli info --port DEVICE [--retries N] [--trace FILE]\n"
    "  tarvane-cli show FILE.dat\n"
    "  tarvane-cli new --type CB|HF|HAM --out FILE.dat\n"
    "  tarvane-cli simulate --link PATH [--memory FILE] [--info FILE] [--model-code TEXT]\n"
    "      [--model-type N|CB|HF|HAM] [--firmware TEXT] [--no-ctcss] [--password TEXT] [--echo]\n"
    "      [--unpaced] [--silence-every N] [--bad-checksum-every N] [--nak-every N]\n"
    "      [--wrong-address-every N] [--late-every N] [--late-ms MS] [--split N]\n"
    "      [--ignore-handshakes K] [--nak-address ADDR] [--nak-ends K] [--silence-password K]\n"
    "      [--silent-end] [--trace FILE]\n";

struct CommandShape {
    std::set<std::string> valued;  // options followed by a value
    std::set<std::string> flags;   // options without one
    std::set<std::string> required;
    size_t words = 0;              // positional arguments
};

const std::map<std::string, CommandShape>& Commands() {
    static const std::map<std::string, CommandShape> commands = {
        {"read", {{"--port", "--out", "--password", "--retries", "--trace"}, {"--verify"}, {"--port", "--out"}, 0}},
        {"write", {{"--port", "--password", "--retries", "--trace"}, {"--verify"}, {"--port"}, 1}},
        {"info", {{"--port", "--retries", "--trace"}, {}, {"--port"}, 0}},
        {"show", {{}, {}, {}, 1}},
        {"new", {{"--type", "--out"}, {}, {"--type", "--out"}, 0}},
        {"simulate",
         {{"--link", "--memory", "--info", "--model-code", "--model-type", "--firmware", "--password",
           "--silence-every", "--bad-checksum-every", "--nak-every", "--wrong-address-every", "--late-every",
           "--late-ms", "--split", "--ignore-handshakes", "--nak-address", "--nak-ends", "--silence-password",
           "--trace"},
          {"--no-ctcss", "--echo", "--unpaced", "--silent-end"},
          {"--link"},
          0}},
    };
    return commands;
}

bool Parse(int argc, char** argv, const CommandShape& shape, CliArgs& out) {
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if (shape.flags.count(a)) {
            out.options[a] = "1";
        } else if (shape.valued.count(a)) {
            if (i + 1 >= argc) return false;
            out.options[a] = argv[++i];
        } else if (a.starts_with("--")) {
            return false;
        } else {
            out.words.push_back(a);
        }
    }
    for (const std::string& r : shape.required)
        if (!out.Has(r)) return false;
    return out.words.size() == shape.words;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !Commands().count(argv[1])) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    const std::string command = argv[1];
    CliArgs args;
    if (!Parse(argc, argv, Commands().at(command), args)) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    if (command == "simulate") return CliSimulate(args);

    QCoreApplication app(argc, argv); // the serial port and its timer need an event loop
    Program p;
    StartUp(p, CurrentEnvironment(QCoreApplication::applicationFilePath().toStdString()));
    if (command == "read") return CliRead(p, args);
    if (command == "write") return CliWrite(p, args);
    if (command == "info") return CliInfo(p, args);
    if (command == "show") return CliShow(p, args);
    return CliNew(p, args);
}
