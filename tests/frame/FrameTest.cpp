// The frame window: navigation, toolbar and menu New, caption, splitter,
// language switch, placement and the question on closing.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "GuiTestSupport.h"
#include "base/IniFile.h"
#include "image/ImageOps.h"
#include "link/PortMap.h"
#include "state/lang/LangText.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

QTreeWidgetItem* TreeItem(frmMain& m, const QString& key) {
    QTreeWidgetItem* root = m.Tree()->topLevelItem(0);
    if (root->data(0, Qt::UserRole).toString() == key) return root;
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->data(0, Qt::UserRole).toString() == key) return root->child(i);
    return nullptr;
}

void ClickTree(frmMain& m, const QString& key) {
    QTreeWidgetItem* item = TreeItem(m, key);
    QVERIFY(item);
    const QRect r = m.Tree()->visualItemRect(item);
    QTest::mouseClick(m.Tree()->viewport(), Qt::LeftButton, {}, r.center());
}

void EditImage(Program& p) {
    p.Image.Settings.KeyTable[1] = static_cast<int16_t>(p.Image.Settings.KeyTable[1] + 5);
}

QString IniText(const std::string& file, const char* section, const char* key) {
    IniFile ini;
    ini.Load(std::string(TARVANE_PROGRAM_DIR) + "/language/" + file);
    return QString::fromStdString(ini.GetOr(section, key));
}

} // namespace

class FrameTest : public QObject {
    Q_OBJECT
  private slots:
    // First: no other test has printed or played yet.
    void startUpBuildsNoHiddenWindowAndLoadsNoModule();
    void treeEntryTwiceOpensOneWindowInFront();
    void treeAndMenuEntriesOfTheTable();
    void toolbarHasTwentyPositionsAndHidesTheChannelGroup();
    void toolbarNewReplacesWithoutAskingMenuNewAsks_data();
    void toolbarNewReplacesWithoutAskingMenuNewAsks();
    void captionShowsBand_data();
    void captionShowsBand();
    void splitterStopsAt300Twips();
    void treePaneCloseButtonClearsTheCheckMark();
    void languageSwitchRelabelsAndReopensChannelTable();
    void sameLanguageOnlyRewritesTheSetting();
    void closingAsksAboutUnsavedChanges_data();
    void closingAsksAboutUnsavedChanges();
    void placementSurvivesALanguageChange();
    void placementDefaultsAndIsKeptWhenClosedMinimised();
    void oldSettingsFolderIsReadOnce();
    void windowMenuListsOpenWindows();
    void frameGrowsToShowALargeWindow();
    void shippedWindowsPlugIn();
};

void FrameTest::treeEntryTwiceOpensOneWindowInFront() {
    FrameFixture f;
    ClickTree(*f.frame, "N4");
    ClickTree(*f.frame, "N2");
    QCOMPARE(f.frame->MdiArea()->activeSubWindow()->widget()->objectName(), QString("FrmOptFeatures"));
    ClickTree(*f.frame, "N4");
    QCOMPARE(f.made.value("FrmDTMF"), 1);
    QCOMPARE(f.OpenOf("FrmDTMF"), 1);
    QCOMPARE(f.frame->MdiArea()->activeSubWindow()->widget()->objectName(), QString("FrmDTMF"));
    // The channel table was opened once at start and is still the one window of its kind.
    QCOMPARE(f.made.value("frmCommChInfo"), 1);
    ClickTree(*f.frame, "N1");
    QCOMPARE(f.made.value("frmCommChInfo"), 1);
    QCOMPARE(f.OpenOf("frmCommChInfo"), 1);
}

void FrameTest::treeAndMenuEntriesOfTheTable() {
    FrameFixture f;
    QTreeWidgetItem* root = f.frame->Tree()->topLevelItem(0);
    QCOMPARE(root->text(0), QString("Tarvane:CB"));
    QVERIFY(root->isExpanded());
    const QStringList keys = {"N1", "N2", "N4", "N12", "N8", "N7"};
    QCOMPARE(root->childCount(), keys.size());
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(root->child(i)->data(0, Qt::UserRole).toString(), keys[i]);
    QCOMPARE(root->child(3)->text(0), IniText("english.ini", "Main", "12014"));

    // Hidden entries are hidden; entries without a command are present and do nothing.
    for (const char* hidden :
         {"mnuHelpTopic", "mnuWindowTileHorizontal", "mnuWindowTileVertical", "mnuWindowArrangeIcons"})
        QVERIFY2(!f.frame->Action(hidden)->isVisible(), hidden);
    QVERIFY(!f.frame->Menu("MnuCHEdit")->menuAction()->isVisible());
    const int before = f.frame->ChildWindows().size();
    // (Print has its command now: ComfortsTest shows its dialog and its PDF.)
    for (const char* inert : {"MnuRadioFre", "MnuTestFre", "mnuEmbeddedMsg", "MnuScan", "MnuAlert",
                              "mnuGroupName", "mnuResetInit"}) {
        QAction* a = f.frame->Action(inert);
        QVERIFY2(a && a->isVisible() && !a->text().isEmpty(), inert);
        a->trigger();
    }
    QCOMPARE(f.frame->ChildWindows().size(), before);
    QVERIFY(f.script().shown.empty());
    QCOMPARE(f.frame->Action("MnuEMGChannel")->text(), QString("&Emergency Channel"));
    QCOMPARE(f.frame->Menu("mnuFile")->title(), IniText("english.ini", "Menu", "10000"));
    QCOMPARE(f.frame->Action("mnuReadFromRadio")->text(), IniText("english.ini", "Menu", "10301"));
}

void FrameTest::toolbarHasTwentyPositionsAndHidesTheChannelGroup() {
    FrameFixture f;
    const QList<QAction*> all = f.frame->ToolBar()->actions();
    QCOMPARE(all.size(), 20);
    const QStringList keys = {"NewFile",
                              "OpenFile",
                              "SaveFile",
                              "",
                              "Print",
                              "",
                              "ReadRadio",
                              "CommSet",
                              "WriteRadio",
                              "",
                              "BtnCHCut",
                              "BtnCHCopy",
                              "BtnCHPaste",
                              "",
                              "BtnCHInsert",
                              "BtnCHDelete",
                              "BtnCHMoveUp",
                              "BtnCHMoveDown",
                              "",
                              "About"};
    for (int i = 0; i < 20; ++i) {
        QCOMPARE(all[i]->isSeparator(), keys[i].isEmpty());
        if (!keys[i].isEmpty()) {
            QCOMPARE(all[i]->objectName(), keys[i]);
            QVERIFY2(!all[i]->toolTip().isEmpty(), qPrintable(keys[i]));
        }
        QCOMPARE(all[i]->isVisible(), i < 10 || i == 19);
    }
    QCOMPARE(all[19]->toolTip(), IniText("english.ini", "ToolBar", "11007"));
    f.frame->ShowCHInfo(true);
    for (int i = 10; i < 19; ++i)
        QVERIFY(all[i]->isVisible());
    QVERIFY(f.frame->Menu("MnuCHEdit")->menuAction()->isVisible());
    QStringList commands;
    QObject::connect(f.frame.get(), &frmMain::ChannelEditCommand, [&](const QString& k) { commands << k; });
    all[10]->trigger();
    f.frame->Action("MnuCHMoveDown")->trigger();
    QCOMPARE(commands, QStringList({"BtnCHCut", "MnuCHMoveDown"}));
    f.frame->ShowCHInfo(false);
    for (int i = 10; i < 19; ++i)
        QVERIFY(!all[i]->isVisible());
}

void FrameTest::toolbarNewReplacesWithoutAskingMenuNewAsks_data() {
    QTest::addColumn<bool>("toolbar");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");   // MsgAnswer value of the one question
    QTest::addColumn<int>("question"); // its text id; 0: none asked
    QTest::addColumn<bool>("replaced");
    QTest::newRow("toolbar New") << true << true << 0 << 0 << true;
    // Unsaved changes: whether to save them is the one question.
    QTest::newRow("menu New, edited, No") << false << true << int(MsgAnswer::No) << 9006 << true;
    QTest::newRow("menu New, edited, Cancel") << false << true << int(MsgAnswer::Cancel) << 9006 << false;
    // Nothing to lose: whether to start anew is the one question.
    QTest::newRow("menu New, saved, OK") << false << false << int(MsgAnswer::Ok) << 9026 << true;
    QTest::newRow("menu New, saved, Cancel") << false << false << int(MsgAnswer::Cancel) << 9026 << false;
}

void FrameTest::toolbarNewReplacesWithoutAskingMenuNewAsks() {
    QFETCH(bool, toolbar);
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(int, question);
    QFETCH(bool, replaced);
    FrameFixture f;
    f.Settle();
    if (edited) EditImage(f.p());
    QCOMPARE(ImageChanged(f.p()), edited);
    f.script().answers.push_back(MsgAnswer(answer));
    QWidget* table = f.frame->FindChildWindow("frmCommChInfo");
    if (toolbar)
        f.frame->Action("tb:NewFile")->trigger();
    else
        f.frame->Action("mnuFileNew")->trigger();
    f.Settle();
    QCOMPARE(int(f.script().shown.size()), question ? 1 : 0);
    if (question) QCOMPARE(f.script().shown[0].text, LangText(f.p(), TextId{question}));
    QCOMPARE(ImageChanged(f.p()), edited && !replaced);
    // A new document comes with a new channel table once the old windows have gone.
    QCOMPARE(f.made.value("frmCommChInfo"), replaced ? 2 : 1);
    QCOMPARE(f.OpenOf("frmCommChInfo"), 1);
    if (!replaced) QCOMPARE(f.frame->FindChildWindow("frmCommChInfo"), table);
}

void FrameTest::captionShowsBand_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("status");
    QTest::newRow("CB") << 0 << "Tarvane CPS[Tarvane:CB:26.965 - 27.405 MHz][File:new.dat]"
                        << "Tarvane[CB:26.965 - 27.405 MHz]";
    QTest::newRow("HF") << 1 << "Tarvane CPS[Tarvane:HF:25.615 - 30.105 MHz][File:new.dat]"
                        << "Tarvane[HF:25.615 - 30.105 MHz]";
    QTest::newRow("HAM") << 2 << "Tarvane CPS[Tarvane:HAM:28.000 - 29.700 MHz][File:new.dat]"
                         << "Tarvane[HAM:28.000 - 29.700 MHz]";
}

void FrameTest::captionShowsBand() {
    QFETCH(int, type);
    QFETCH(QString, caption);
    QFETCH(QString, status);
    FrameFixture f(type);
    QCOMPARE(f.frame->windowTitle(), caption);
    QCOMPARE(f.frame->StatusPanel(2)->text(), status);
    // The port with the device it stands for (no device mapped: the classic port).
    QCOMPARE(f.frame->StatusPanel(3)->text(), QString("Port 1: /dev/ttyS0"));
    QVERIFY(AssignPortPath(f.p(), 1, "/dev/serial/by-id/usb-cable"));
    f.p().Notify.captionChanged();
    QCOMPARE(f.frame->StatusPanel(3)->text(), QString("Port 1: /dev/serial/by-id/usb-cable"));
    // The file name is the part after the last separator.
    f.p().Doc.Path = "/some/folder/my radio.dat";
    f.frame->ShowMainTxt();
    QVERIFY(f.frame->windowTitle().endsWith("[File:my radio.dat]"));
}

void FrameTest::splitterStopsAt300Twips() {
    FrameFixture f;
    QWidget* bar = f.frame->Splitter();
    const int start = f.frame->LeftPaneWidth();
    QVERIFY(start * kTwipsPerPixel > kMinLeftPaneTwips);
    // Moves without the button pressed do nothing.
    f.frame->SplitterMouseMove(-10);
    QCOMPARE(f.frame->LeftPaneWidth(), start);

    // A drag in small steps stops where the pane would become narrower than 300 twips.
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(2, 50));
    for (int i = 0; i < start; ++i) {
        QMouseEvent move(QEvent::MouseMove, QPointF(-3, 50), bar->mapToGlobal(QPointF(-3, 50)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(bar, &move);
    }
    const int minPixels = (kMinLeftPaneTwips + kTwipsPerPixel - 1) / kTwipsPerPixel;
    QVERIFY(f.frame->LeftPaneWidth() >= minPixels);
    QVERIFY(f.frame->LeftPaneWidth() < minPixels + 3);
    QCOMPARE(f.frame->LeftPane()->width(), f.frame->LeftPaneWidth());
    // One large move that would cross the limit is refused, not clamped.
    const int now = f.frame->LeftPaneWidth();
    f.frame->SplitterMouseMove(-now);
    QCOMPARE(f.frame->LeftPaneWidth(), now);
    // Wider is allowed, but never wider than the client area.
    f.frame->SplitterMouseMove(40);
    QCOMPARE(f.frame->LeftPaneWidth(), now + 40);
    f.frame->SplitterMouseMove(f.frame->width() * 2);
    QCOMPARE(f.frame->LeftPaneWidth(), now + 40);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(2, 50));
    f.frame->SplitterMouseMove(20);
    QCOMPARE(f.frame->LeftPaneWidth(), now + 40);
}

void FrameTest::treePaneCloseButtonClearsTheCheckMark() {
    FrameFixture f;
    QVERIFY(f.frame->LeftPane()->isVisible());
    auto* button = f.frame->LeftPane()->findChild<QToolButton*>("tbLeft");
    QAction* close = button->defaultAction();
    QVERIFY(close && button->isVisible());
    QCOMPARE(close->objectName(), "TB_CLOSE");
    QCOMPARE(close->toolTip().toStdString(), LangText(f.p(), 34000_txt));
    close->trigger();
    QVERIFY(!f.frame->LeftPane()->isVisible());
    QVERIFY(!f.frame->Action("mnuTreeView")->isChecked());
    QCOMPARE(f.frame->MdiArea()->x(), 0);
    f.frame->Action("mnuTreeView")->trigger();
    QVERIFY(f.frame->LeftPane()->isVisible());
    QVERIFY(f.frame->MdiArea()->x() > f.frame->LeftPaneWidth());
}

void FrameTest::languageSwitchRelabelsAndReopensChannelTable() {
    FrameFixture f;
    f.frame->ShowFormOnce("FrmDTMF");
    OnNextModal([](QWidget* dlg) {
        auto* combo = dlg->findChild<QComboBox*>("Combo1");
        QCOMPARE(combo->currentIndex(), 0);
        combo->setCurrentIndex(1);
        dlg->findChild<QPushButton*>("CommandOK")->click();
    });
    f.frame->Action("mnuLanguage")->trigger();
    f.Settle();
    QCOMPARE(f.p().Lang.Index, 2);
    QCOMPARE(f.p().Lang.ShownIndex, 2);
    QCOMPARE(f.frame->Menu("mnuFile")->title(), IniText("chinese.ini", "Menu", "10000"));
    QCOMPARE(f.frame->Action("tb:About")->toolTip(), IniText("chinese.ini", "ToolBar", "11007"));
    QCOMPARE(f.frame->Tree()->topLevelItem(0)->child(0)->text(0), IniText("chinese.ini", "Main", "12001"));
    QVERIFY(f.frame->windowTitle().startsWith(IniText("chinese.ini", "Main", "12000") + "["));
    // Every child window closed; the channel table came back, made anew in the new language.
    QCOMPARE(f.OpenOf("FrmDTMF"), 0);
    QCOMPARE(f.OpenOf("frmCommChInfo"), 1);
    QCOMPARE(f.made.value("frmCommChInfo"), 2);
    IniFile setup;
    setup.Load(f.p().Dirs.SetupFile);
    QCOMPARE(setup.GetOr("language", "CurrentLanguage"), std::string("2"));
}

void FrameTest::sameLanguageOnlyRewritesTheSetting() {
    FrameFixture f;
    f.frame->ShowFormOnce("FrmDTMF");
    const QString title = f.frame->Menu("mnuFile")->title();
    OnNextModal([](QWidget* dlg) { dlg->findChild<QPushButton*>("CommandOK")->click(); });
    f.frame->Action("mnuLanguage")->trigger();
    f.Settle();
    QCOMPARE(f.OpenOf("FrmDTMF"), 1);
    QCOMPARE(f.made.value("frmCommChInfo"), 1);
    QCOMPARE(f.frame->Menu("mnuFile")->title(), title);
    IniFile setup;
    setup.Load(f.p().Dirs.SetupFile);
    QCOMPARE(setup.GetOr("language", "CurrentLanguage"), std::string("1"));
    // Cancel writes nothing.
    std::remove(f.p().Dirs.SetupFile.c_str());
    OnNextModal([](QWidget* dlg) {
        dlg->findChild<QComboBox*>("Combo1")->setCurrentIndex(1);
        dlg->findChild<QPushButton*>("CommandCancel")->click();
    });
    f.frame->Action("mnuLanguage")->trigger();
    QCOMPARE(f.p().Lang.Index, 1);
    QVERIFY(!QFile::exists(QString::fromStdString(f.p().Dirs.SetupFile)));
}

void FrameTest::closingAsksAboutUnsavedChanges_data() {
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("giveSavePath");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("unchanged: no question") << false << int(MsgAnswer::Cancel) << false << true << false;
    QTest::newRow("Cancel keeps running") << true << int(MsgAnswer::Cancel) << false << false << false;
    QTest::newRow("No closes") << true << int(MsgAnswer::No) << false << true << false;
    QTest::newRow("Yes saves, then closes") << true << int(MsgAnswer::Yes) << true << true << true;
    QTest::newRow("Yes, save dialog cancelled: keeps running")
        << true << int(MsgAnswer::Yes) << false << false << false;
}

void FrameTest::closingAsksAboutUnsavedChanges() {
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(bool, giveSavePath);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    FrameFixture f;
    QTemporaryDir dir;
    const QString target = dir.filePath("kept.dat");
    f.frame->AskSavePath = [&](const QString&, const QString&) { return giveSavePath ? target : QString(); };
    if (edited) EditImage(f.p());
    f.script().answers.push_back(MsgAnswer(answer));
    QCOMPARE(f.frame->close(), closed);
    QCOMPARE(f.frame->isVisible(), !closed);
    QCOMPARE(f.script().Saw(LangText(f.p(), 9006_txt)), edited);
    QCOMPARE(QFile::exists(target), saved);
    if (saved) QVERIFY(!ImageChanged(f.p()));
}

void FrameTest::placementDefaultsAndIsKeptWhenClosedMinimised() {
    {
        QSettings s("tarvane-cps", "tarvane-cps");
        s.remove("Settings");
    }
    {
        FrameFixture f;
        QCOMPARE(f.frame->size(), QSize(12500 / 15, 9500 / 15));
        f.frame->resize(700, 500);
        QVERIFY(f.frame->close());
    }
    QSettings s("tarvane-cps", "tarvane-cps");
    QCOMPARE(s.value("Settings/MainWidth").toString(), QString::number(700 * 15));
    QCOMPARE(s.value("Settings/MainHeight").toString(), QString::number(500 * 15));
    {
        FrameFixture f;
        QCOMPARE(f.frame->size(), QSize(700, 500));
        f.frame->resize(640, 480);
        f.frame->setWindowState(Qt::WindowMinimized);
        QVERIFY(f.frame->close());
    }
    s.sync();
    QCOMPARE(s.value("Settings/MainWidth").toString(), QString::number(700 * 15));
    // A value that is no number falls back to its default; the others stand.
    s.setValue("Settings/MainWidth", "wide");
    s.sync();
    FrameFixture g;
    QCOMPARE(g.frame->size(), QSize(12500 / 15, 500));
}

void FrameTest::oldSettingsFolderIsReadOnce() {
    QSettings old("Tarvane CPS", "Tarvane CPS");
    old.setValue("RecentFiles/Files", QStringList{"/tmp/a.dat"});
    QSettings now("tarvane-cps", "tarvane-cps");
    QVERIFY(now.fileName().endsWith("/tarvane-cps/tarvane-cps.conf")); // the setup file's folder
    now.clear();
    now.sync();
    for (const char* width : {"9000", "8000"}) { // the second start keeps what the new store holds
        old.setValue("Settings/MainWidth", width);
        old.sync();
        AdoptOldSettings();
        now.sync();
        QCOMPARE(now.value("Settings/MainWidth").toString(), QString("9000"));
        QCOMPARE(now.value("RecentFiles/Files").toStringList(), QStringList{"/tmp/a.dat"});
    }
}

void FrameTest::placementSurvivesALanguageChange() {
    {
        QSettings s("tarvane-cps", "tarvane-cps");
        s.remove("Settings");
        FrameFixture f;
        f.frame->resize(720, 520);
        QVERIFY(f.frame->close());
    }
    // The next start in Chinese (another title) finds the same placement, and
    // stores it where the English one finds it again.
    TestProgram t = MakeTestProgram(0);
    SetLanguage(*t, 2);
    {
        frmMain chinese(*t);
        QCOMPARE(chinese.size(), QSize(720, 520));
        chinese.resize(760, 540);
        QVERIFY(chinese.close());
    }
    FrameFixture english;
    QCOMPARE(english.frame->size(), QSize(760, 540));
}

void FrameTest::frameGrowsToShowALargeWindow() {
    FrameFixture f;
    f.frame->resize(500, 400);
    QApplication::processEvents();
    const QSize small = f.frame->size();
    // A window that fits changes nothing.
    f.frame->RegisterChildKind("Small", [](frmMain&) {
        auto* w = new QWidget;
        w->setFixedSize(120, 80);
        return w;
    });
    f.frame->ShowFormOnce("Small");
    QCOMPARE(f.frame->size(), small);
    // A wider one grows the frame, within the screen.
    f.frame->RegisterChildKind("Wide", [](frmMain&) {
        auto* w = new QWidget;
        w->setFixedSize(640, 200);
        return w;
    });
    f.frame->ShowFormOnce("Wide");
    QVERIFY(f.frame->width() > small.width());
    QVERIFY(f.frame->frameGeometry().width() <= f.frame->screen()->availableGeometry().width());
    QVERIFY(f.frame->height() >= small.height());
}

void FrameTest::windowMenuListsOpenWindows() {
    FrameFixture f;
    f.frame->ShowFormOnce("FrmKey");
    QMenu* menu = f.frame->Menu("mnuWindow");
    emit menu->aboutToShow();
    QStringList listed;
    for (QAction* a : menu->actions())
        if (a->property("windowEntry").toBool() && !a->isSeparator()) listed << a->text();
    QCOMPARE(listed.size(), 2);
    QVERIFY(listed[1].endsWith("FrmKey"));
    QVERIFY(menu->actions().last()->isChecked());
    f.frame->Action("mnuCloseAll")->trigger();
    f.Settle();
    QCOMPARE(f.frame->ChildWindows().size(), 0);
}

void FrameTest::shippedWindowsPlugIn() {
    FrameFixture f(0, false);
    RegisterStandardWindows(*f.frame);
    f.frame->ShowChannelTable();
    QVERIFY(f.frame->FindChildWindow("frmCommChInfo"));
    QCOMPARE(f.p().Notify.channelRowChanged.Listeners(), size_t(1));
    // Every tree entry with a window opens one of its kind, once.
    for (const auto& [key, kind] :
         {std::pair{"N2", "FrmOptFeatures"}, std::pair{"N4", "FrmDTMF"}, std::pair{"N12", "FrmToneTips"},
          std::pair{"N8", "FrmKey"}, std::pair{"N1", "frmCommChInfo"}}) {
        ClickTree(*f.frame, key);
        ClickTree(*f.frame, key);
        QCOMPARE(f.OpenOf(kind), 1);
        QCOMPARE(f.frame->MdiArea()->activeSubWindow()->widget()->objectName(), QString(kind));
    }
    // The toolbar's New replaces the documents with a fresh channel table.
    f.frame->Action("tb:NewFile")->trigger();
    f.Settle();
    QCOMPARE(f.frame->ChildWindows().size(), 1);
    QCOMPARE(f.OpenOf("frmCommChInfo"), 1);
}

void FrameTest::startUpBuildsNoHiddenWindowAndLoadsNoModule() {
    FrameFixture f(0, false);
    ShowFrame(*f.frame);
    // The channel table follows the frame's first frame; this frame is on screen already.
    QCOMPARE(f.frame->ChildWindows().size(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(f.frame->ChildWindows().size(), 1, 300);
    // Windows not on screen are made when first shown; menus stay, they carry the shortcuts.
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(w == f.frame.get() || w->inherits("QMenu") ||
                     QByteArray(w->metaObject()->className()).startsWith("QMdi::"),
                 w->metaObject()->className()); // the MDI area's own controls for a maximised window
    // Printing and tone playback bring their libraries when first used.
    QFile maps("/proc/self/maps");
    const QByteArray mapped = maps.open(QIODevice::ReadOnly) ? maps.readAll() : QByteArray();
    QVERIFY(mapped.contains("libQt6Widgets"));
    for (const char* lib : {"libtarvane-print", "libtarvane-audio", "libQt6PrintSupport", "libQt6Multimedia"})
        QVERIFY2(!mapped.contains(lib), lib);
}

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    FrameTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "FrameTest.moc"
