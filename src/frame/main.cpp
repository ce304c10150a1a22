// tarvane-cps: the desktop programming tool.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QHash>
#include <QIcon>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/BuildVersion.h"
#include "frame/frmMain.h"
#include "guide/GuidePages.h"
#include "state/Program.h"

namespace {

constexpr const char* kUsage =
    "usage: tarvane-cps [FILE.dat]\n"
    "       tarvane-cps --help | --version\n"
    "\n"
    "Programs the Tarvane CB, HF and 10-metre transceivers over their serial cable.\n"
    "FILE.dat is opened at start, as with File > Open.\n"
    "Qt's own options (-platform NAME, -style NAME, -reverse, ...) are passed on.\n"
    "Serial-port access (dialout group, /dev/serial/by-id/): see man tarvane-cps.\n";

// Qt's window-system options: accepted here so they reach QApplication, which takes them out.
const char* const kQtValued[] = {"platform",
                                 "platformpluginpath",
                                 "platformtheme",
                                 "plugin",
                                 "style",
                                 "stylesheet",
                                 "qwindowgeometry",
                                 "geometry",
                                 "qwindowtitle",
                                 "title",
                                 "qwindowicon",
                                 "icon",
                                 "display",
                                 "session",
                                 "name",
                                 "qmljsdebugger"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

struct Start {
    int exit = -1;    // set when the program ends here, before any window
    std::string file; // absolute, in the bytes the system gave (names need not be UTF-8)
};

// Everything about the command line is decided before QApplication, so --help,
// --version and wrong usage work without a display.
Start ParseArguments(int argc, char** argv) {
    // An argument whose bytes QString cannot carry has a stand-in in the parsed
    // list; the argument itself is then taken from argv.
    QStringList args;
    QHash<QString, int> raw;
    for (int i = 0; i < argc; ++i) {
        QString text = QString::fromLocal8Bit(argv[i]);
        if (text.toLocal8Bit() != QByteArray(argv[i])) {
            text = QChar(0x0001) + QString::number(i);
            raw.insert(text, i);
        }
        args.push_back(text);
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    parser.addOption(help);
    parser.addOption(version);
    for (const char* name : kQtValued)
        parser.addOption(QCommandLineOption(name, QString(), "value"));
    for (const char* name : kQtFlags)
        parser.addOption(QCommandLineOption(name));
    auto wrong = [](const std::string& what, const std::string& reason) {
        std::fprintf(stderr, "%s: %s\nTry 'tarvane-cps --help'.\n", what.c_str(), reason.c_str());
        return Start{2, {}};
    };
    if (!parser.parse(args)) {
        if (!parser.unknownOptionNames().isEmpty())
            return wrong("--" + parser.unknownOptionNames().first().toStdString(),
                         "not an option of tarvane-cps");
        return wrong("tarvane-cps", parser.errorText().toStdString());
    }
    if (parser.isSet(help)) {
        std::fputs(kUsage, stdout);
        return {0, {}};
    }
    if (parser.isSet(version)) {
        std::printf("tarvane-cps %s\n", TARVANE_VERSION);
        return {0, {}};
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return wrong("'" + (raw.contains(files[1]) ? std::string(argv[raw.value(files[1])]) : files[1].toStdString()) +
                         "'",
                     "only one file can be opened at start");
    if (files.isEmpty()) return {};
    const QString& file = files.first();
    const std::string bytes =
        raw.contains(file) ? std::string(argv[raw.value(file)]) : std::string(QFile::encodeName(file));
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(bytes, error);
    return {-1, error ? bytes : absolute.lexically_normal().string()};
}

} // namespace

int main(int argc, char** argv) {
    const Start start = ParseArguments(argc, argv);
    if (start.exit >= 0) return start.exit;
    QApplication app(argc, argv);
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/icons/%1/tarvane-cps.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    auto program = std::make_unique<tarvane::Program>();
    auto frame = tarvane::StartApplication(*program);
    if (!start.file.empty()) {
        // The file goes the way of File > Open: same checks, same messages, and an
        // empty new document when it cannot be opened.
        frame->OpenDocumentFile(start.file);
        if (program->QuitRequested) return 0;
    }
    // The first start shows the getting-started guide once.
    if (tarvane::GuideDueAtStart(*program)) {
        frame->mnuHelpGuide_Click();
        tarvane::NoteGuideShown(*program);
    }
    return app.exec();
}
