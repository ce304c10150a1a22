// tarvane-cli: read, write and inspect radios and codeplug files, and simulate a radio.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/BuildVersion.h"
#include "base/SafeFile.h"
#include "cli/Cli.h"
#include "doc/Startup.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/Languages.h"
#include "state/lang/TextIds.h"

namespace {

using namespace tarvane;

// What an option's value must look like; checked here so that every command
// gets its values in a known form and wrong usage is named before any work.
enum class Kind {
    Flag,      // no value
    Text,      // any non-empty text
    Count,     // a whole number 0..32767
    Address,   // decimal, or hexadecimal with 0x, 0..0xFFFF
    Band,      // CB, HF or HAM
    ModelType, // CB, HF, HAM or a number 0..255
};

struct OptionShape {
    const char* name;  // without the dashes
    const char* value; // shown in the usage; nullptr for a flag
    Kind kind;
    const char* help;
    bool required = false;
    const char* fallback = nullptr; // the value taken when the option is not given
    bool many = false;              // may be given more than once
};

struct CommandShape {
    const char* name;
    std::vector<const char*> words; // positional arguments, all required
    const char* summary;
    std::vector<OptionShape> options;
};

const OptionShape kPort{"port", "DEVICE", Kind::Text,
                        "serial device of the cable, e.g. /dev/serial/by-id/usb-...", true};
const OptionShape kPassword{"password", "TEXT", Kind::Text, "the radio's programming password"};
const OptionShape kRetries{"retries", "N", Kind::Count, "restarts after the radio stops answering",
                           false,     "2"};
const OptionShape kTrace{"trace", "FILE", Kind::Text,
                         "record every byte exchanged, with times and directions"};
const OptionShape kVerify{"verify", nullptr, Kind::Flag, "always read the data back and compare it"};
const OptionShape kNoBackup{"no-backup", nullptr, Kind::Flag, "keep no copy in the backup folder"};
const OptionShape kJson{"json", nullptr, Kind::Flag, "print JSON instead of text"};
const OptionShape kGroup{"group", "NAME", Kind::Text, "only the channels of this group"};
const OptionShape kPorts{
    "port", "DEVICE", Kind::Text, "serial device of a cable; several --port write every radio at once",
    true,   nullptr,  true};
const OptionShape kLog{"log", "LOG.csv", Kind::Text, "append a row per radio to this CSV log"};
const OptionShape kRepeat{"repeat", nullptr, Kind::Flag,
                          "after each radio wait for the next one on each port, until Ctrl+C"};
const OptionShape kLang{"lang", "CODE", Kind::Text,
                        "the language of the messages for this run (en, zh_CN, de, ...)"};

const std::vector<CommandShape>& Commands() {
    static const std::vector<CommandShape> commands = {
        {"read",
         {},
         "read a radio into a codeplug file",
         {kPort,
          {"out", "FILE.dat", Kind::Text, "the codeplug file to write", true},
          kPassword,
          kRetries,
          kTrace,
          kVerify,
          kNoBackup,
          kLang}},
        {"write",
         {"FILE.dat"},
         "write a codeplug file into a radio (or several at once)",
         {kPorts, kPassword, kRetries, kTrace, kVerify, kNoBackup, kLog, kRepeat, kLang}},
        {"clone",
         {},
         "read one radio and write it into the others",
         {{"from", "DEVICE", Kind::Text, "serial device of the radio to copy", true},
          {"to", "DEVICE", Kind::Text, "serial device of a radio to write (one or more)", true, nullptr,
           true},
          kPassword,
          kRetries,
          kLog,
          kRepeat,
          kLang}},
        {"info", {}, "read the radio's information area", {kPort, kRetries, kTrace, kJson, kLang}},
        {"detect",
         {},
         "find the radios on the serial devices (identification only, nothing written)",
         {{"port", "DEVICE", Kind::Text, "only this device (may be given more than once)", false, nullptr,
           true},
          kJson,
          kLang}},
        {"show", {"FILE.dat"}, "print a codeplug file", {kJson, kLang}},
        {"new",
         {},
         "make a new codeplug file",
         {{"type", "CB|HF|HAM", Kind::Band, "the band of the radio", true},
          {"out", "FILE.dat", Kind::Text, "the file to write", true},
          kLang}},
        {"export",
         {"FILE.dat"},
         "write the channels of a codeplug file as CSV",
         {{"out", "CHANNELS.csv", Kind::Text, "the CSV file to write", true}, kGroup, kLang}},
        {"import",
         {"FILE.dat", "CHANNELS.csv"},
         "put channels from a CSV file into a copy of a codeplug file",
         {{"out", "NEW.dat", Kind::Text, "the codeplug file to write", true},
          kGroup,
          {"first", "N", Kind::Count, "the first channel number to fill", false, "1"},
          {"skip-bad", nullptr, Kind::Flag, "leave out rows that cannot be used instead of stopping"},
          kLang}},
        {"diff", {"A.dat", "B.dat"}, "list what differs between two codeplug files", {kLang}},
        {"simulate",
         {},
         "a simulated radio on a pseudo-terminal",
         {{"link", "PATH", Kind::Text, "where the pseudo-terminal is linked", true},
          {"memory", "FILE", Kind::Text, "radio memory file (kept up to date), or a codeplug to start from"},
          {"info", "FILE", Kind::Text, "file holding the information area"},
          {"model-code", "TEXT", Kind::Text, "model code the radio answers", false, "Tarvane"},
          {"model-type", "N|CB|HF|HAM", Kind::ModelType, "model type the radio answers", false, "CB"},
          {"firmware", "TEXT", Kind::Text, "firmware version the radio answers", false, "V100"},
          {"no-ctcss", nullptr, Kind::Flag, "a radio without CTCSS/DCS"},
          {"password", "TEXT", Kind::Text, "the radio's password"},
          {"echo", nullptr, Kind::Flag, "a cable that echoes every byte"},
          {"unpaced", nullptr, Kind::Flag, "answer at once instead of at 9600 baud"},
          {"silence-every", "N", Kind::Address, "leave every N-th request unanswered"},
          {"bad-checksum-every", "N", Kind::Address, "spoil the checksum of every N-th reply"},
          {"nak-every", "N", Kind::Address, "refuse every N-th block"},
          {"wrong-address-every", "N", Kind::Address, "answer every N-th read with a wrong address"},
          {"late-every", "N", Kind::Address, "answer every N-th request late"},
          {"late-ms", "MS", Kind::Address, "how late", false, "200"},
          {"split", "N", Kind::Address, "send replies in pieces of N bytes"},
          {"ignore-handshakes", "K", Kind::Address, "ignore the first K handshakes"},
          {"nak-address", "ADDR", Kind::Address, "refuse the block at this address"},
          {"nak-ends", "K", Kind::Address, "refuse the first K ends"},
          {"silence-password", "K", Kind::Address, "leave the first K password requests unanswered"},
          {"silent-end", nullptr, Kind::Flag, "never answer the end"},
          {"trace", "FILE", Kind::Text, "record every byte exchanged"}}},
    };
    return commands;
}

const CommandShape* FindCommand(const std::string& name) {
    for (const CommandShape& c : Commands())
        if (name == c.name) return &c;
    return nullptr;
}

std::string Synopsis(const CommandShape& c) {
    std::string s = std::string("tarvane-cli ") + c.name;
    for (const char* w : c.words)
        s += std::string(" ") + w;
    for (const OptionShape& o : c.options)
        if (o.required) s += std::string(" --") + o.name + " " + o.value;
    for (const OptionShape& o : c.options) {
        if (o.required) continue;
        s += std::string(" [--") + o.name + (o.value ? std::string(" ") + o.value : std::string()) + "]" +
             (o.many ? "..." : "");
    }
    return s;
}

std::string Usage() {
    std::string s = "usage: tarvane-cli COMMAND [options]\n\ncommands:\n";
    for (const CommandShape& c : Commands()) {
        std::string line = std::string("  ") + c.name;
        line.resize(12, ' ');
        s += line + c.summary + "\n";
    }
    s += "\n";
    for (const CommandShape& c : Commands())
        if (std::string(c.name) != "simulate") s += "  " + Synopsis(c) + "\n";
    s += "  tarvane-cli simulate --link PATH [options]   (tarvane-cli simulate --help lists them)\n"
         "\n"
         "  tarvane-cli --help | --version | COMMAND --help\n"
         "\n"
         "exit status: 0 success, 1 failure (the reason on stderr), 2 wrong usage.\n"
         "Serial-port access (dialout group, /dev/serial/by-id/): see man tarvane-cli.\n";
    return s;
}

std::string CommandHelp(const CommandShape& c) {
    std::string s = "usage: " + Synopsis(c) + "\n\n" + c.summary + "\n";
    if (!c.options.empty()) s += "\noptions:\n";
    for (const OptionShape& o : c.options) {
        std::string line =
            std::string("  --") + o.name + (o.value ? std::string(" ") + o.value : std::string());
        if (line.size() < 30)
            line.resize(30, ' ');
        else
            line += "\n" + std::string(30, ' ');
        s += line + o.help + (o.required ? " (required)" : "") +
             (o.fallback ? std::string(" (default: ") + o.fallback + ")" : std::string()) + "\n";
    }
    return s;
}

struct Parsed {
    int exit = -1; // set when the program ends after parsing
    const CommandShape* command = nullptr;
    CliArgs args;
};

// Wrong usage: the option (or word) and the reason on one line, then where help is.
Parsed Wrong(const std::string& what, const std::string& reason, const CommandShape* c) {
    std::fprintf(stderr, "%s: %s\nTry 'tarvane-cli %s--help'.\n", what.c_str(), reason.c_str(),
                 c ? (std::string(c->name) + " ").c_str() : "");
    return {kExitUsage, c, {}};
}

std::optional<long> WholeNumber(const std::string& text, int base) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    size_t used = 0;
    long v = 0;
    try {
        v = std::stol(text, &used, base);
    } catch (...) {
        return std::nullopt;
    }
    if (used != text.size() || text[0] == '+' || text[0] == ' ') return std::nullopt;
    return v;
}

// The reason a value does not fit its option; empty when it fits.
std::string CheckValue(const OptionShape& o, const std::string& value) {
    const std::string quoted = "'" + value + "'";
    auto inRange = [&](std::optional<long> v, long max, const char* what) -> std::string {
        if (!v) return quoted + " is not " + what;
        if (*v < 0 || *v > max) return quoted + " is out of range (0 to " + std::to_string(max) + ")";
        return "";
    };
    switch (o.kind) {
    case Kind::Flag:
        return "";
    case Kind::Text:
        return value.empty() ? "the value is empty" : "";
    case Kind::Count:
        return inRange(WholeNumber(value, 10), 32767, "a number");
    case Kind::Address:
        return inRange(WholeNumber(value, 0), 0xFFFF, "a number");
    case Kind::Band:
        return BandOfName(value) >= 0 ? "" : quoted + " is not CB, HF or HAM";
    case Kind::ModelType:
        if (BandOfName(value) >= 0) return "";
        if (!WholeNumber(value, 0)) return quoted + " is not CB, HF, HAM or a number";
        return inRange(WholeNumber(value, 0), 255, "a number");
    }
    return "";
}

// Arguments go through the parser as Latin-1, one character per byte, and come
// back out as the same bytes: a file name is bytes on Linux and must reach the
// system unchanged, whatever the locale or the name's encoding.
std::string Bytes(const QString& text) {
    return text.toLatin1().toStdString();
}

// The name QCommandLineParser puts between quotes in its error text.
std::string QuotedName(const QString& error) {
    const qsizetype a = error.indexOf('\''), b = error.lastIndexOf('\'');
    QString name = a >= 0 && b > a ? error.mid(a + 1, b - a - 1) : error;
    while (name.startsWith('-'))
        name.remove(0, 1);
    return "--" + Bytes(name);
}

Parsed ParseCommand(const CommandShape& c, const QStringList& rest) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    parser.addOption(help);
    parser.addOption(version);
    for (const OptionShape& o : c.options) {
        QCommandLineOption option(QString::fromLatin1(o.name));
        if (o.value) option.setValueName(QString::fromLatin1(o.value));
        parser.addOption(option);
    }
    if (!parser.parse(QStringList{"tarvane-cli"} + rest)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return Wrong("--" + Bytes(unknown.first()), std::string("not an option of ") + c.name, &c);
        const QString error = parser.errorText();
        if (error.startsWith("Missing value")) return Wrong(QuotedName(error), "needs a value", &c);
        if (error.startsWith("Unexpected value")) return Wrong(QuotedName(error), "takes no value", &c);
        return Wrong(c.name, Bytes(error), &c);
    }
    if (parser.isSet(help)) {
        std::fputs(CommandHelp(c).c_str(), stdout);
        return {kExitOk, &c, {}};
    }
    if (parser.isSet(version)) {
        std::printf("tarvane-cli %s\n", TARVANE_VERSION);
        return {kExitOk, &c, {}};
    }
    Parsed out{-1, &c, {}};
    for (const OptionShape& o : c.options) {
        const std::string key = std::string("--") + o.name;
        const QStringList values = o.value ? parser.values(o.name) : QStringList();
        const int given = o.value ? static_cast<int>(values.size()) : parser.isSet(o.name) ? 1 : 0;
        if (given == 0) {
            if (o.required) return Wrong(key, std::string("required by ") + c.name, &c);
            continue;
        }
        if ((given > 1 && !o.many) || (!o.value && parser.optionNames().count(o.name) > 1))
            return Wrong(key, "given more than once", &c);
        const std::string value = o.value ? Bytes(values.first()) : "1";
        if (std::string reason = CheckValue(o, value); !reason.empty()) return Wrong(key, reason, &c);
        out.args.options[key] = value;
        if (o.many)
            for (const QString& v : values) {
                if (std::string reason = CheckValue(o, v.toStdString()); !reason.empty())
                    return Wrong(key, reason, &c);
                out.args.lists[key].push_back(v.toStdString());
            }
    }
    const QStringList words = parser.positionalArguments();
    for (const QString& w : words)
        out.args.words.push_back(Bytes(w));
    if (words.size() > static_cast<qsizetype>(c.words.size())) {
        const std::string extra = "'" + out.args.words[c.words.size()] + "'";
        return Wrong(extra, "unexpected argument (usage: " + Synopsis(c) + ")", &c);
    }
    if (words.size() < static_cast<qsizetype>(c.words.size()))
        return Wrong(c.name, std::string(c.words[words.size()]) + " is missing", &c);
    return out;
}

Parsed ParseCommandLine(int argc, char** argv) {
    QStringList all;
    for (int i = 1; i < argc; ++i)
        all.push_back(QString::fromLatin1(argv[i])); // byte for byte: see Bytes()
    if (all.isEmpty()) {
        std::fputs(Usage().c_str(), stderr);
        return {kExitUsage, nullptr, {}};
    }
    const QString first = all.takeFirst();
    if (first == "--help" || first == "-h" || first == "help") {
        // "help COMMAND" is the same as "COMMAND --help".
        if (first == "help" && !all.isEmpty()) {
            if (const CommandShape* c = FindCommand(Bytes(all.first()))) {
                std::fputs(CommandHelp(*c).c_str(), stdout);
                return {kExitOk, c, {}};
            }
        }
        std::fputs(Usage().c_str(), stdout);
        return {kExitOk, nullptr, {}};
    }
    if (first == "--version" || first == "-v") {
        std::printf("tarvane-cli %s\n", TARVANE_VERSION);
        return {kExitOk, nullptr, {}};
    }
    const CommandShape* c = FindCommand(Bytes(first));
    if (!c) {
        std::string names;
        for (const CommandShape& known : Commands())
            names += std::string(names.empty() ? "" : ", ") + known.name;
        return Wrong(Bytes(first),
                     (first.startsWith('-') ? "a command must come first (" : "not a command (") + names +
                         ")",
                     nullptr);
    }
    return ParseCommand(*c, all);
}

// Before anything is written: no output may be one of the command's inputs (or
// the other output), however the path is spelt, and a trace only goes to a new
// file or to one that already is a trace. -1 when all is well, else the exit status.
// The simulator's memory and information files are its inputs as much as its outputs.
int RefuseUnsafeOutputs(Program& p, const std::string& command, const CliArgs& args) {
    std::vector<std::string> inputs = args.words;
    for (const char* own : {"--memory", "--info"})
        if (args.Has(own)) inputs.push_back(args.Get(own));
    for (const char* output : {"--out", "--trace", "--log"}) {
        if (!args.Has(output)) continue;
        const std::string path = args.Get(output);
        for (const std::string& input : inputs)
            if (SameFile(path, input)) {
                std::fprintf(
                    stderr,
                    "%s: '%s' is the same file as '%s'; give another name\nTry 'tarvane-cli %s --help'.\n",
                    output, path.c_str(), input.c_str(), command.c_str());
                return kExitUsage;
            }
        inputs.push_back(path);
    }
    if (args.Has("--trace"))
        if (const std::string why = TraceTargetProblem(args.Get("--trace")); !why.empty()) {
            std::fprintf(stderr, "%s\n%s: %s\n", LangText(p, txt::kFileCouldNotRead).c_str(),
                         args.Get("--trace").c_str(), why.c_str());
            return kExitFailed;
        }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    const Parsed parsed = ParseCommandLine(argc, argv);
    if (parsed.exit >= 0) return parsed.exit;
    const std::string command = parsed.command->name;
    CliArgs args = parsed.args;
    // A relative device is one in the working folder, as for every other file,
    // and is kept (echo choice) under the one absolute name.
    if (const std::string port = args.Get("--port"); !port.empty() && port.front() != '/')
        args.options["--port"] = std::filesystem::absolute(port).lexically_normal().native();
    if (command == "simulate") {
        Program bare; // English messages; the simulator reads no settings
        if (const int refused = RefuseUnsafeOutputs(bare, command, args); refused >= 0) return refused;
        return CliSimulate(args);
    }

    QCoreApplication app(argc, argv); // the serial port and its timer need an event loop
    Program p;
    // Only the radio commands have settings to keep; the file commands leave the setup file as it is.
    const SetupAccess setup =
        command == "read" || command == "write" || command == "info" || command == "clone"
            ? SetupAccess::ReadWrite
            : SetupAccess::ReadOnly;
    StartUp(p, CurrentEnvironment(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString()),
            setup);
    if (const std::string lang = args.Get("--lang"); !lang.empty()) {
        // For this run only: nothing here writes the language to the setup file.
        const std::vector<LanguageEntry> languages = ListLanguages(p.Dirs.ProgramFolder);
        const int index = LanguageForLocale(languages, lang);
        if (index == 0) {
            std::string codes;
            for (const LanguageEntry& l : languages)
                if (!l.Code.empty()) codes += (codes.empty() ? "" : ", ") + l.Code;
            std::fprintf(
                stderr, "--lang: '%s' is not a language of this program (%s)\nTry 'tarvane-cli %s --help'.\n",
                lang.c_str(), codes.c_str(), command.c_str());
            return kExitUsage;
        }
        SetLanguage(p, index);
    }
    if (const int refused = RefuseUnsafeOutputs(p, command, args); refused >= 0) return refused;
    if (command == "read") return CliRead(p, args);
    if (command == "write") {
        if (!UsesBatch(args)) return CliWrite(p, args);
        if (args.Has("--trace")) {
            std::fprintf(stderr, "--trace: only with a single --port and neither --log nor --repeat\n"
                                 "Try 'tarvane-cli write --help'.\n");
            return kExitUsage;
        }
        return CliBatchWrite(p, args);
    }
    if (command == "clone") return CliClone(p, args);
    if (command == "info") return CliInfo(p, args);
    if (command == "show") return CliShow(p, args);
    if (command == "detect") return CliDetect(p, args);
    if (command == "export") return CliExport(p, args);
    if (command == "import") return CliImport(p, args);
    if (command == "diff") return CliDiff(p, args);
    return CliNew(p, args);
}
