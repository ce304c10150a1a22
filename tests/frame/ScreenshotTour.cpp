// Shows the main windows of tarvane-cps one after another and photographs the
// screen with "import -window root" (ImageMagick) for the README. Run by
// scripts/screenshots.sh under Xvfb with a simulated radio on port 1.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QProcess>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <functional>

#include "doc/Startup.h"
#include "frame/frmMain.h"
#include "link/FrmProgress.h"
#include "state/Program.h"
#include "state/lang/Languages.h"

using namespace tarvane;

namespace {

QString outDir;
frmMain* frame = nullptr;
int failures = 0;

// The frame and any dialog over it, cut from the whole screen.
void Shoot(const QString& name) {
    QApplication::processEvents();
    QRect area = frame->frameGeometry();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != frame) area |= w->frameGeometry();
    area = area.adjusted(-4, -4, 4, 4) & QApplication::primaryScreen()->geometry();
    const QString crop =
        QString("%1x%2+%3+%4").arg(area.width()).arg(area.height()).arg(area.x()).arg(area.y());
    const QString file = outDir + "/" + name + ".png";
    const int rc = QProcess::execute("import", {"-window", "root", "-crop", crop, "+repage", file});
    std::printf("%s %s\n", rc == 0 ? "wrote" : "FAILED", qPrintable(file));
    failures += rc == 0 ? 0 : 1;
}

// Steps run one after the other, each after the previous has settled.
struct Tour {
    QList<std::function<void(std::function<void()> next)>> steps;
    void Run(int i = 0) {
        if (i >= steps.size()) {
            QApplication::exit(failures);
            return;
        }
        steps[i]([this, i] { QTimer::singleShot(300, [this, i] { Run(i + 1); }); });
    }
};

// Opens a modal dialog by its menu entry, photographs it, closes it.
std::function<void(std::function<void()>)> DialogShot(const QString& action, const QString& name) {
    return [action, name](std::function<void()> next) {
        QTimer::singleShot(600, [name, next] {
            QWidget* dlg = QApplication::activeModalWidget();
            Shoot(name);
            if (auto* d = qobject_cast<QDialog*>(dlg)) d->reject();
            next();
        });
        frame->Action(action)->trigger();
    };
}

// A dark theme as users pick one: the windows must take their colours from it.
void UseDarkPalette() {
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
    dark.setColor(QPalette::Text, QColor(220, 220, 220));
    dark.setColor(QPalette::Button, QColor(60, 60, 64));
    dark.setColor(QPalette::ButtonText, QColor(220, 220, 220));
    dark.setColor(QPalette::Highlight, QColor(230, 120, 60));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::Link, QColor(110, 170, 255));
    dark.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    dark.setColor(QPalette::ToolTipText, QColor(220, 220, 220));
    dark.setColor(QPalette::PlaceholderText, QColor(140, 140, 140));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    QApplication::setPalette(dark);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(outDir);
    auto program = std::make_unique<Program>();
    Program& p = *program;
    StartUp(p, CurrentEnvironment(QCoreApplication::applicationFilePath().toStdString()));
    frmMain m(p);
    frame = &m;
    RegisterStandardWindows(m);
    // Nobody answers here: every question takes its going-on button, messages are noted.
    p.Prompts.message = [](const std::string& text, MsgIcon, MsgButtons buttons, const std::string&) {
        std::printf("message: %s\n", text.c_str());
        return buttons == MsgButtons::OkCancel ? MsgAnswer::Ok : DefaultAnswer(buttons);
    };
    p.Prompts.password = [](std::string&) { return false; };
    m.ShowChannelTable();
    m.show();

    Tour tour;
    tour.steps << [](std::function<void()> next) {
        QTimer::singleShot(800, [next] {
            Shoot("main-window");
            next();
        });
    };
    tour.steps << DialogShot("mnuModelInfo", "model-dialog");
    tour.steps << DialogShot("mnuComm", "port-dialog");
    tour.steps << DialogShot("mnuLanguage", "language-dialog");
    tour.steps << DialogShot("MnuProPassWord", "password-dialog");
    tour.steps << DialogShot("mnuHelpAbout", "about");
    tour.steps << [](std::function<void()> next) {
        auto* c = new QMetaObject::Connection;
        *c = QObject::connect(frame, &frmMain::RadioCommandDone, [c, next] {
            QObject::disconnect(*c);
            delete c;
            QTimer::singleShot(400, [next] {
                Shoot("radio-information");
                next();
            });
        });
        frame->ReadRMGDataFromRadio();
    };
    tour.steps << [](std::function<void()> next) {
        // The document goes into the simulated radio first, so the read brings channels back.
        auto* c = new QMetaObject::Connection;
        *c = QObject::connect(frame, &frmMain::RadioCommandDone, [c, next] {
            QObject::disconnect(*c);
            delete c;
            frame->CloseCurAllWindows();
            next();
        });
        frame->Action("mnuWriteToRadio")->trigger();
    };
    tour.steps << [](std::function<void()> next) {
        // The read's progress window, photographed part-way.
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll] {
            auto* progress = qobject_cast<FrmProgress*>(QApplication::activeModalWidget());
            if (progress && progress->findChild<QWidget*>("ProgressBar1")->property("value").toInt() >= 35) {
                poll->stop();
                poll->deleteLater();
                Shoot("read-progress");
            }
        });
        poll->start(50);
        auto* c = new QMetaObject::Connection;
        *c = QObject::connect(frame, &frmMain::RadioCommandDone, [c, next] {
            QObject::disconnect(*c);
            delete c;
            QTimer::singleShot(600, [next] {
                Shoot("after-read");
                next();
            });
        });
        frame->Action("mnuReadFromRadio")->trigger();
    };
    // The editors, each on its own over the channel table.
    auto editorShot = [](const QString& kind, const QString& name) {
        return [kind, name](std::function<void()> next) {
            frame->CloseCurAllWindows();
            frame->ShowChannelTable();
            frame->ShowFormOnce(kind);
            QTimer::singleShot(600, [name, next] {
                Shoot(name);
                next();
            });
        };
    };
    tour.steps << editorShot("FrmCHInfoEdit", "channel-edit");
    tour.steps << editorShot("FrmOptFeatures", "optional-features");
    tour.steps << editorShot("FrmDTMF", "dtmf");
    tour.steps << editorShot("FrmToneTips", "tone-tips");
    tour.steps << editorShot("FrmKey", "keys");
    tour.steps << DialogShot("MnuEMGChannel", "emergency-channels");
    // The same windows in a dark theme, made anew so they take its colours.
    tour.steps << [](std::function<void()> next) {
        UseDarkPalette();
        frame->CloseCurAllWindows();
        QTimer::singleShot(300, [next] {
            frame->ShowChannelTable();
            QTimer::singleShot(600, [next] {
                Shoot("dark-channel-table");
                next();
            });
        });
    };
    tour.steps << editorShot("FrmToneTips", "dark-tone-tips");
    // Windows built anew in another language or font, the channel table first.
    auto rebuilt = [&p](const std::string& language, int points, const QString& name) {
        return [&p, language, points, name](std::function<void()> next) {
            QApplication::setPalette(QApplication::style()->standardPalette());
            QFont font = QApplication::font();
            font.setPointSize(points);
            QApplication::setFont(font);
            frame->CloseCurAllWindows();
            SetLanguageFile(p, language);
            frame->CheckLanguageChange();
            QTimer::singleShot(300, [name, next] {
                frame->CloseCurAllWindows();
                frame->ShowChannelTable();
                QTimer::singleShot(600, [name, next] {
                    Shoot(name);
                    next();
                });
            });
        };
    };
    // German, where the texts are longest.
    tour.steps << rebuilt("german.ini", 9, "german-main-window");
    tour.steps << editorShot("FrmCHInfoEdit", "german-channel-edit");
    tour.steps << editorShot("FrmOptFeatures", "german-optional-features");
    // A 12 pt font, the default of many desktops.
    tour.steps << rebuilt("english.ini", 12, "large-font-main-window");
    tour.steps << editorShot("FrmCHInfoEdit", "large-font-channel-edit");
    tour.steps << editorShot("FrmOptFeatures", "large-font-optional-features");
    QTimer::singleShot(0, [&tour] { tour.Run(); });
    const int rc = app.exec();
    return rc;
}
