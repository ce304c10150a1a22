#include "frame/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "base/FieldHelpers.h"
#include "doc/Backups.h"
#include "doc/Undo.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "image/ModelVersion.h"
#include "link/FrmRadioInfo.h"
#include "link/FrmSetComm.h"
#include "state/History.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "ui/QtTranslations.h"
#include "ui/ToQ.h"
#include "ui/ToolIcons.h"

namespace tarvane {

namespace {

constexpr const char* kChannelTable = "frmCommChInfo";
// The placement is stored under a name that no language change alters.
constexpr const char* kPlacementStore = "Tarvane CPS";

// The bar between the function tree and the child windows; the frame decides how far it may go.
class SplitterBar : public QWidget {
  public:
    explicit SplitterBar(frmMain& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
        setObjectName("imgSplitter");
        setCursor(Qt::SplitHCursor);
        setFixedWidth(5);
    }

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) owner_.SplitterMouseDown();
    }
    void mouseMoveEvent(QMouseEvent* e) override { owner_.SplitterMouseMove(qRound(e->position().x())); }
    void mouseReleaseEvent(QMouseEvent*) override { owner_.SplitterMouseUp(); }

  private:
    frmMain& owner_;
};

// The client area places its parts itself, following the splitter's rules.
class ClientArea : public QWidget {
  public:
    explicit ClientArea(std::function<void()> arrange) : arrange_(std::move(arrange)) {}

  protected:
    void resizeEvent(QResizeEvent*) override { arrange_(); }

  private:
    std::function<void()> arrange_;
};

struct ToolEntry {
    const char* key; // nullptr: separator
    TextId tip;
};

// The toolbar's 20 positions, in order.
constexpr ToolEntry kToolBar[] = {
    {"NewFile", 11000_txt},     {"OpenFile", 11001_txt},    {"SaveFile", 11002_txt},
    {nullptr, TextId{0}},       {"Print", 11003_txt},       {nullptr, TextId{0}},
    {"ReadRadio", 11004_txt},   {"CommSet", 11005_txt},     {"WriteRadio", 11006_txt},
    {nullptr, TextId{0}},       {"BtnCHCut", 11010_txt},    {"BtnCHCopy", 11011_txt},
    {"BtnCHPaste", 11012_txt},  {nullptr, TextId{0}},       {"BtnCHInsert", 11013_txt},
    {"BtnCHDelete", 11014_txt}, {"BtnCHMoveUp", 11015_txt}, {"BtnCHMoveDown", 11016_txt},
    {nullptr, TextId{0}},       {"About", 11007_txt},
};
static_assert(std::size(kToolBar) == 20);

// Menu entries and their text identifiers; texts are set again on every language change.
const QMap<QString, TextId>& MenuTexts() {
    static const QMap<QString, TextId> texts = {
        {"mnuFile", 10000_txt},           {"mnuFileNew", 10001_txt},
        {"mnuFileOpen", 10002_txt},       {"mnuFileSave", 10003_txt},
        {"mnuFileSaveAs", 10004_txt},     {"mnuFilePrint", 10005_txt},
        {"mnuFileExit", 10006_txt},       {"mnuModel", 10100_txt},
        {"mnuModelInfo", 10101_txt},      {"mnuEdit", 10200_txt},
        {"mnuChannelInfo", 10201_txt},    {"mnuOptFeature", 10202_txt},
        {"MnuRadioFre", 10203_txt},       {"MnuDTMF", 10204_txt},
        {"MnuTestFre", 10205_txt},        {"mnuEmbeddedMsg", 10206_txt},
        {"MnuLocalInfo", 10207_txt},      {"MnuKey", 10208_txt},
        {"MnuScan", 10209_txt},           {"MnuAlert", 10210_txt},
        {"mnuGroupName", 10220_txt},      {"mnuToneTips", 10221_txt},
        {"mnuResetInit", 10222_txt},      {"mnuProgram", 10300_txt},
        {"mnuReadFromRadio", 10301_txt},  {"mnuWriteToRadio", 10302_txt},
        {"MnuProPassWord", 10303_txt},    {"mnuSet", 10400_txt},
        {"mnuComm", 10401_txt},           {"mnuLanguage", 10402_txt},
        {"MnuInit", 10403_txt},           {"mnuView", 10500_txt},
        {"mnuTreeView", 10501_txt},       {"mnuViewToolbar", 10502_txt},
        {"mnuViewStatusBar", 10503_txt},  {"mnuWindow", 10600_txt},
        {"mnuWindowCascade", 10601_txt},  {"mnuCloseAll", 10602_txt},
        {"mnuHelp", 10700_txt},           {"mnuHelpTopic", 10701_txt},
        {"mnuHelpAbout", 10702_txt},      {"MnuCHEdit", 10800_txt},
        {"MnuCHCut", 10801_txt},          {"MnuCHCopy", 10802_txt},
        {"MnuCHPaste", 10803_txt},        {"MnuCHInsert", 10804_txt},
        {"MnuCHDelete", 10805_txt},       {"MnuCHMoveUp", 10806_txt},
        {"MnuCHMoveDown", 10807_txt},     {"MnuCHHabits", 10808_txt},
        {"mnuExportChannels", 32870_txt}, {"mnuImportChannels", 32871_txt},
        {"mnuCompareFile", 32872_txt},    {"mnuCompareRadio", 32873_txt},
    };
    return texts;
}

// Entries whose texts were written into the code before; now from the language files too.
constexpr std::pair<const char*, TextId> kFurtherMenuTexts[] = {
    {"MnuEMGChannel", 32406_txt},
    {"mnuWindowTileHorizontal", 32409_txt},
    {"mnuWindowTileVertical", 32410_txt},
    {"mnuWindowArrangeIcons", 32411_txt},
};

int StoredTwips(QSettings& s, const char* key, int fallback) {
    return ParseNumberOr(s.value(key).toString().toStdString(), fallback);
}

} // namespace

frmMain::frmMain(Program& p, QWidget* parent) : QMainWindow(parent), p_(p) {
    setObjectName("frmMain");

    NewDocTimer.setSingleShot(true);
    NewDocTimer.setInterval(100);
    ReadOKTimer.setSingleShot(true);
    ReadOKTimer.setInterval(500);
    WaitSaveDataTimer.setSingleShot(true);
    WaitSaveDataTimer.setInterval(100);
    connect(&NewDocTimer, &QTimer::timeout, this, [this] { NewDocTimer_Timer(); });
    connect(&ReadOKTimer, &QTimer::timeout, this, [this] { ReadOKTimer_Timer(); });
    connect(&WaitSaveDataTimer, &QTimer::timeout, this, [this] { WaitSaveDataTimer_Timer(); });

    AskOpenPath = [this](const QString& filter) {
        return QFileDialog::getOpenFileName(this, QString(), OpenFolder, filter);
    };
    AskSavePath = [this](const QString& filter, const QString& proposed) {
        return QFileDialog::getSaveFileName(this, QString(), proposed, filter);
    };

    client_ = new ClientArea([this] { ArrangeClient(); });
    client_->setObjectName("client");
    setCentralWidget(client_);
    mdi_ = new QMdiArea(client_);
    mdi_->setObjectName("MDIArea");
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    BuildMenus();
    BuildToolBar();
    BuildLeftPane();
    BuildStatusBar();

    RegisterChildKind("FrmRadioInfo", [](frmMain& m) { return new FrmRadioInfo(m.Prog()); });
    captionSub_ = p_.Notify.captionChanged.Subscribe([this] {
        ShowMainTxt();
        UpdateStatusPanels();
    });
    imageSub_ = p_.Notify.imageReplaced.Subscribe([this] { ImageReplaced(); });

    // Load of the frame.
    Action("mnuHelpTopic")->setVisible(false);
    Menu("MnuCHEdit")->menuAction()->setVisible(false);
    Action("mnuWindowTileHorizontal")->setVisible(false);
    Action("mnuWindowTileVertical")->setVisible(false);
    Action("mnuWindowArrangeIcons")->setVisible(false);
    WaitSaveDataTimer.stop();
    splitterDrag_ = false;
    RestorePlacement();
    SetFrameTexts();
    LoadTree();
    InitImage(p_);
    SetFrameTexts();
    ShowChannelTable();
    ShowMainTxt();
    ShowCHInfo(false);
    BackupDir = QString::fromStdString(BackupFolder());
    setAcceptDrops(true);
    ResetHistory(p_);
    UpdateUndoActions();
}

frmMain::~frmMain() {
    delete inputWatcher_; // no more input reaches a frame being taken down
    inputWatcher_ = nullptr;
    captionSub_.Reset();
    imageSub_.Reset();
    // The child windows go after the frame's own part: nothing may call back into it then.
    mdi_->blockSignals(true);
}

// ---- building -------------------------------------------------------------

QMenu* frmMain::AddMenu(QMenu* parent, const QString& name) {
    QMenu* m = parent ? parent->addMenu(name) : menuBar()->addMenu(name);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    menus_[name] = m;
    return m;
}

QAction* frmMain::AddAction(QMenu* menu, const QString& name, std::function<void()> run) {
    QAction* a = menu->addAction(name);
    a->setObjectName(name);
    if (run) connect(a, &QAction::triggered, this, [run] { run(); });
    actions_[name] = a;
    return a;
}

void frmMain::BuildMenus() {
    QMenu* file = AddMenu(nullptr, "mnuFile");
    AddAction(file, "mnuFileNew", [this] { mnuFileNew_Click(); });
    AddAction(file, "mnuFileOpen", [this] { mnuFileOpen_Click(); });
    AddAction(file, "mnuFileSave", [this] { mnuFileSave_Click(); });
    AddAction(file, "mnuFileSaveAs", [this] { mnuFileSaveAs_Click(); });
    file->addSeparator();
    AddAction(file, "mnuExportChannels", [this] { mnuExportChannels_Click(); });
    AddAction(file, "mnuImportChannels", [this] { mnuImportChannels_Click(); });
    AddAction(file, "mnuCompareFile", [this] { mnuCompareFile_Click(); });
    file->addSeparator();
    AddAction(file, "mnuFilePrint");
    file->addSeparator();
    AddAction(file, "mnuFileExit", [this] { close(); });

    QMenu* model = AddMenu(nullptr, "mnuModel");
    AddAction(model, "mnuModelInfo", [this] { mnuModelInfo_Click(); });

    QMenu* edit = AddMenu(nullptr, "mnuEdit");
    AddAction(edit, "mnuChannelInfo", [this] { ShowChannelTable(); });
    AddAction(edit, "mnuOptFeature", [this] { ShowFormOnce("FrmOptFeatures"); });
    AddAction(edit, "MnuRadioFre");
    AddAction(edit, "MnuDTMF", [this] { ShowFormOnce("FrmDTMF"); });
    AddAction(edit, "MnuTestFre");
    AddAction(edit, "mnuEmbeddedMsg");
    AddAction(edit, "MnuLocalInfo", [this] { MnuLocalInfo_Click(); });
    AddAction(edit, "MnuKey", [this] { ShowFormOnce("FrmKey"); });
    AddAction(edit, "MnuScan");
    AddAction(edit, "MnuAlert");
    AddAction(edit, "mnuGroupName");
    AddAction(edit, "mnuToneTips", [this] { ShowFormOnce("FrmToneTips"); });
    AddAction(edit, "mnuResetInit");
    AddAction(edit, "MnuEMGChannel", [this] { ShowDialogKind("Frm_EMG"); });

    QMenu* program = AddMenu(nullptr, "mnuProgram");
    AddAction(program, "mnuReadFromRadio", [this] { mnuReadFromRadio_Click(); });
    AddAction(program, "mnuWriteToRadio", [this] { mnuWriteToRadio_Click(); });
    AddAction(program, "MnuProPassWord", [this] { MnuProPassWord_Click(); });
    AddAction(program, "mnuCompareRadio", [this] { mnuCompareRadio_Click(); });

    QMenu* set = AddMenu(nullptr, "mnuSet");
    AddAction(set, "mnuComm", [this] { mnuComm_Click(); });
    AddAction(set, "mnuLanguage", [this] { mnuLanguage_Click(); });
    AddAction(set, "MnuInit", [this] { MnuInit_Click(); });

    QMenu* view = AddMenu(nullptr, "mnuView");
    auto toggle = [this, view](const QString& name, std::function<void(bool)> show) {
        QAction* a = AddAction(view, name);
        a->setCheckable(true);
        a->setChecked(true);
        connect(a, &QAction::toggled, this, [show](bool on) { show(on); });
    };
    toggle("mnuTreeView", [this](bool on) {
        picLeft_->setVisible(on);
        ArrangeClient();
    });
    toggle("mnuViewToolbar", [this](bool on) { tbToolBar_->setVisible(on); });
    toggle("mnuViewStatusBar", [this](bool on) { statusBar()->setVisible(on); });

    QMenu* window = AddMenu(nullptr, "mnuWindow");
    AddAction(window, "mnuWindowCascade", [this] { mdi_->cascadeSubWindows(); });
    AddAction(window, "mnuCloseAll", [this] { CloseCurAllWindows(); });
    AddAction(window, "mnuWindowTileHorizontal", [this] { mdi_->tileSubWindows(); });
    AddAction(window, "mnuWindowTileVertical", [this] { mdi_->tileSubWindows(); });
    AddAction(window, "mnuWindowArrangeIcons", [this] { mdi_->cascadeSubWindows(); });
    connect(window, &QMenu::aboutToShow, this, [this] { RebuildWindowMenu(); });

    QMenu* help = AddMenu(nullptr, "mnuHelp");
    AddAction(help, "mnuHelpTopic");
    AddAction(help, "mnuHelpAbout", [this] { mnuHelpAbout_Click(); });

    QMenu* chEdit = AddMenu(nullptr, "MnuCHEdit");
    for (const char* name : {"MnuCHCut", "MnuCHCopy", "MnuCHPaste", "MnuCHInsert", "MnuCHDelete",
                             "MnuCHMoveUp", "MnuCHMoveDown", "MnuCHHabits"}) {
        QString key = name;
        AddAction(chEdit, key, [this, key] { emit ChannelEditCommand(key); });
    }
    BuildComforts();
}

void frmMain::RebuildWindowMenu() {
    QMenu* window = Menu("mnuWindow");
    for (QAction* a : window->actions())
        if (a->property("windowEntry").toBool()) {
            window->removeAction(a);
            a->deleteLater();
        }
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (!sub->isHidden()) subs.append(sub);
    if (subs.isEmpty()) return;
    QAction* sep = window->addSeparator();
    sep->setProperty("windowEntry", true);
    int n = 0;
    for (QMdiSubWindow* sub : subs) {
        QAction* a = window->addAction(QString("&%1 %2").arg(++n).arg(sub->windowTitle()));
        a->setProperty("windowEntry", true);
        a->setCheckable(true);
        a->setChecked(sub == mdi_->activeSubWindow());
        QPointer<QMdiSubWindow> target = sub;
        connect(a, &QAction::triggered, this, [this, target] {
            if (target) mdi_->setActiveSubWindow(target);
        });
    }
}

void frmMain::BuildToolBar() {
    tbToolBar_ = addToolBar("tbToolBar");
    tbToolBar_->setObjectName("tbToolBar");
    tbToolBar_->setMovable(false);
    tbToolBar_->setIconSize(QSize(20, 20));
    for (int i = 0; i < 20; ++i) {
        const ToolEntry& t = kToolBar[i];
        QAction* a = nullptr;
        if (!t.key) {
            a = tbToolBar_->addSeparator();
        } else {
            QString key = t.key;
            a = tbToolBar_->addAction(ToolIcon(key, style()), key);
            a->setObjectName(key);
            connect(a, &QAction::triggered, this, [this, key] { ToolbarClicked(key); });
            actions_["tb:" + key] = a;
        }
        if (i >= 10 && i <= 18) chEditGroup_.append(a);
    }
}

void frmMain::BuildLeftPane() {
    picLeft_ = new QWidget(client_);
    picLeft_->setObjectName("picLeft");
    tbLeft_ = new QToolBar(picLeft_);
    tbLeft_->setObjectName("tbLeft");
    tbLeft_->setIconSize(QSize(12, 12));
    QAction* closeTree =
        tbLeft_->addAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton), "TB_CLOSE");
    closeTree->setObjectName("TB_CLOSE");
    connect(closeTree, &QAction::triggered, this, [this] { Action("mnuTreeView")->setChecked(false); });
    tvTreeView_ = new QTreeWidget(picLeft_);
    tvTreeView_->setObjectName("tvTreeView");
    tvTreeView_->setHeaderHidden(true);
    connect(tvTreeView_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { TreeClicked(item); });
    imgSplitter_ = new SplitterBar(*this, client_);
}

void frmMain::BuildStatusBar() {
    statusBar()->setObjectName("sbStatusBar");
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QString("sbPanel%1").arg(i + 1));
        l->setContentsMargins(6, 0, 6, 0);
        if (i == 0)
            statusBar()->addWidget(l, 1);
        else
            statusBar()->addPermanentWidget(l);
        panels_.append(l);
    }
}

QLabel* frmMain::StatusPanel(int n) const {
    return n >= 1 && n <= panels_.size() ? panels_[n - 1] : nullptr;
}

// ---- placement and layout --------------------------------------------------

void frmMain::RestorePlacement() {
    QSettings s(kPlacementStore, kPlacementStore);
    s.beginGroup("Settings");
    if (!s.contains("MainLeft")) {
        // Placements stored under the translated title before: taken over once.
        const QString titled = ToQ(LangText(p_, 12000_txt));
        QSettings old(titled, titled);
        old.beginGroup("Settings");
        for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
            if (old.contains(key)) s.setValue(key, old.value(key));
    }
    int left = StoredTwips(s, "MainLeft", 1000), top = StoredTwips(s, "MainTop", 1000);
    int width = StoredTwips(s, "MainWidth", 12500), height = StoredTwips(s, "MainHeight", 9500);
    // A stored placement that no longer fits a screen falls back to the defaults.
    if (width < 3000 || height < 2000 || width > 200000 || height > 200000) width = 12500, height = 9500;
    if (left < -100000 || left > 400000 || top < -100000 || top > 400000) left = 1000, top = 1000;
    move(left / kTwipsPerPixel, top / kTwipsPerPixel);
    resize(width / kTwipsPerPixel, height / kTwipsPerPixel);
}

void frmMain::StorePlacement() {
    if (isMinimized()) return;
    QSettings s(kPlacementStore, kPlacementStore);
    s.beginGroup("Settings");
    s.setValue("MainLeft", QString::number(pos().x() * kTwipsPerPixel));
    s.setValue("MainTop", QString::number(pos().y() * kTwipsPerPixel));
    s.setValue("MainWidth", QString::number(width() * kTwipsPerPixel));
    s.setValue("MainHeight", QString::number(height() * kTwipsPerPixel));
}

void frmMain::ArrangeClient() {
    const int h = client_->height(), w = client_->width();
    int x = 0;
    if (picLeft_->isVisible() || !Action("mnuTreeView") || Action("mnuTreeView")->isChecked()) {
        picLeft_->setGeometry(0, 0, leftWidth_, h);
        const int barH = tbLeft_->sizeHint().height();
        tbLeft_->setGeometry(0, 0, leftWidth_, barH);
        tvTreeView_->setGeometry(0, barH, leftWidth_, std::max(0, h - barH));
        imgSplitter_->setGeometry(leftWidth_, 0, imgSplitter_->width(), h);
        imgSplitter_->show();
        x = leftWidth_ + imgSplitter_->width();
    } else {
        imgSplitter_->hide();
    }
    mdi_->setGeometry(x, 0, std::max(0, w - x), h);
}

void frmMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    ArrangeClient();
}

void frmMain::SplitterMouseDown() {
    splitterDrag_ = true;
}
void frmMain::SplitterMouseUp() {
    splitterDrag_ = false;
}

void frmMain::SplitterMouseMove(int x) {
    if (!splitterDrag_ || x == 0) return;
    const int next = leftWidth_ + x;
    if (next * kTwipsPerPixel < kMinLeftPaneTwips || next > client_->width()) return;
    leftWidth_ = next;
    ArrangeClient();
}

// ---- texts -----------------------------------------------------------------

void frmMain::SetFrameTexts() {
    fileFilter_ = ToQ(LangText(p_, 9001_txt)) + " (*.dat)";
    UpdateStatusPanels();
    ShowMainTxt();
    for (auto it = MenuTexts().cbegin(); it != MenuTexts().cend(); ++it) {
        QString text = ToQ(LangText(p_, it.value()));
        if (QMenu* m = menus_.value(it.key()))
            m->setTitle(text);
        else if (QAction* a = actions_.value(it.key()))
            a->setText(text);
    }
    for (const auto& [name, id] : kFurtherMenuTexts)
        if (QAction* a = actions_.value(name)) a->setText(ToQ(LangText(p_, id)));
    for (const ToolEntry& t : kToolBar)
        if (t.key)
            if (QAction* a = actions_.value(QString("tb:") + t.key)) {
                a->setText(ToQ(LangText(p_, t.tip)));
                a->setToolTip(a->text());
            }
    SetComfortTexts();
}

void frmMain::UpdateStatusPanels() {
    panels_[2]->setText(PortWithDevice(p_, p_.Link.SerialPortNumber));
    panels_[1]->setText(ToQ(p_.Model.ModelCode) + "[" + ToQ(TypeName(p_.Model.ModelType)) + ":" +
                        ToQ(p_.Model.BandText) + "]");
}

void frmMain::ShowMainTxt() {
    const std::string band =
        p_.Model.BandText == "26.965 - 27.405 MHz" ? LangText(p_, 32407_txt) : p_.Model.BandText;
    const QString type = ToQ(TypeName(p_.Model.ModelType));
    setWindowTitle(ToQ(LangText(p_, 12000_txt)) + "[" + ToQ(p_.Model.ModelCode) + ":" + type + ":" +
                   ToQ(band) + "]" + "[" + ToQ(LangText(p_, 12009_txt)) + ":" + ToQ(FileNameOf(p_.Doc.Path)) +
                   "]");
    if (QTreeWidgetItem* root = tvTreeView_->topLevelItemCount() ? tvTreeView_->topLevelItem(0) : nullptr)
        root->setText(0, ToQ(p_.Model.ModelCode) + ":" + type);
}

void frmMain::LoadTree() {
    tvTreeView_->clear();
    auto* root = new QTreeWidgetItem(tvTreeView_);
    root->setData(0, Qt::UserRole, "N0");
    root->setText(0, ToQ(p_.Model.ModelCode) + ":" + ToQ(TypeName(p_.Model.ModelType)));
    root->setIcon(0, style()->standardIcon(QStyle::SP_ComputerIcon));
    const std::pair<const char*, TextId> children[] = {{"N1", 12001_txt}, {"N2", 12002_txt},
                                                       {"N4", 12004_txt}, {"N12", 12014_txt},
                                                       {"N8", 12010_txt}, {"N7", 12007_txt}};
    for (const auto& [key, text] : children) {
        auto* item = new QTreeWidgetItem(root);
        item->setData(0, Qt::UserRole, key);
        item->setText(0, ToQ(LangText(p_, text)));
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
    }
    root->setExpanded(true);
}

void frmMain::Change_Language() {
    SetFrameTexts();
    LoadTree();
}

void frmMain::ShowCHInfo(bool show) {
    Menu("MnuCHEdit")->menuAction()->setVisible(show);
    for (QAction* a : chEditGroup_)
        a->setVisible(show);
}

// ---- windows ---------------------------------------------------------------

void frmMain::RegisterChildKind(const QString& kind, Factory create) {
    kinds_[kind] = Kind{std::move(create), false};
}
void frmMain::RegisterDialogKind(const QString& kind, Factory create) {
    kinds_[kind] = Kind{std::move(create), true};
}

QWidget* frmMain::FindChildWindow(const QString& kind) const {
    for (QWidget* w : ChildWindows())
        if (w->objectName() == kind) return w;
    return nullptr;
}

QList<QWidget*> frmMain::ChildWindows() const {
    QList<QWidget*> out;
    // A closed window may wait for its deletion; it no longer counts.
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (sub->widget() && !sub->isHidden()) out.append(sub->widget());
    return out;
}

QWidget* frmMain::ShowFormOnce(const QString& kind) {
    if (QWidget* open = FindChildWindow(kind)) {
        auto* sub = qobject_cast<QMdiSubWindow*>(open->parentWidget());
        mdi_->setActiveSubWindow(sub);
        open->setFocus();
        return open;
    }
    auto it = kinds_.constFind(kind);
    if (it == kinds_.cend() || it->modal) return nullptr;
    CommitHistory();
    QWidget* w = it->create(*this);
    if (!w) return nullptr;
    windowsBand_ = p_.Model.ModelType;
    w->setObjectName(kind);
    w->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = mdi_->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    mdi_->cascadeSubWindows();
    mdi_->setActiveSubWindow(sub);
    GrowToShow(sub);
    // What a window stores while it opens is no edit of the user's.
    p_.History.Absorb(p_.Image);
    return w;
}

void frmMain::GrowToShow(QMdiSubWindow* sub) {
    // A window that does not fit the child area makes the frame larger, as far as
    // the screen allows, rather than hiding its controls behind scroll bars.
    if (!isVisible() || isMinimized() || isMaximized() || !screen()) return;
    const QRect need = sub->geometry();
    const QSize have = mdi_->viewport()->size();
    const int wantW = need.right() + 1 - have.width();
    const int wantH = need.bottom() + 1 - have.height();
    if (wantW <= 0 && wantH <= 0) return;
    const QRect avail = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const int w = std::min(width() + std::max(wantW, 0), avail.width() - (frame.width() - width()));
    const int h = std::min(height() + std::max(wantH, 0), avail.height() - (frame.height() - height()));
    if (w <= width() && h <= height()) return; // never shrinks the frame
    resize(std::max(w, width()), std::max(h, height()));
    // Keep the grown frame on the screen.
    QRect moved = frameGeometry();
    if (moved.right() > avail.right()) moved.moveRight(avail.right());
    if (moved.bottom() > avail.bottom()) moved.moveBottom(avail.bottom());
    move(moved.topLeft());
}

bool frmMain::ShowDialogKind(const QString& kind) {
    auto it = kinds_.constFind(kind);
    if (it == kinds_.cend() || !it->modal) return false;
    CommitHistory();
    QWidget* w = it->create(*this);
    if (!w) return false;
    p_.History.Absorb(p_.Image);
    w->setObjectName(kind);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowModality(Qt::ApplicationModal);
    if (auto* d = qobject_cast<QDialog*>(w))
        d->exec();
    else
        w->show();
    return true;
}

void frmMain::ShowChannelTable() {
    ShowFormOnce(kChannelTable);
}

void frmMain::ImageReplaced() {
    ShowMainTxt();
    UpdateStatusPanels();
    if (windowsBand_ == p_.Model.ModelType || ChildWindows().isEmpty()) return;
    CloseCurAllWindows();
    ShowChannelTable();
}

void frmMain::CloseCurAllWindows() {
    mdi_->closeAllSubWindows();
    // Windows of the program outside the frame (non-modal tool windows) go as well.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && !w->isModal() && w->parentWidget() == this) w->close();
}

void frmMain::LoadNewDoc() {
    CloseCurAllWindows();
    // The new image is built once the closing windows have gone.
    NewDocTimer.start();
}

void frmMain::NewDocTimer_Timer() {
    NewDocTimer.stop();
    NewDocument(p_);
    SetFrameTexts();
    ShowChannelTable();
    ShowMainTxt();
    mdi_->cascadeSubWindows();
    ResetHistory(p_);
    UpdateUndoActions();
}

void frmMain::TreeClicked(QTreeWidgetItem* item) {
    if (!item) return;
    const QString key = item->data(0, Qt::UserRole).toString();
    if (key == "N1")
        ShowChannelTable();
    else if (key == "N2")
        ShowFormOnce("FrmOptFeatures");
    else if (key == "N4")
        ShowFormOnce("FrmDTMF");
    else if (key == "N12")
        ShowFormOnce("FrmToneTips");
    else if (key == "N8")
        ShowFormOnce("FrmKey");
    else if (key == "N7")
        ReadRMGDataFromRadio();
}

void frmMain::ToolbarClicked(const QString& key) {
    if (key == "NewFile")
        LoadNewDoc();
    else if (key == "OpenFile")
        mnuFileOpen_Click();
    else if (key == "SaveFile")
        mnuFileSave_Click();
    else if (key == "Print")
        mnuFilePrint_Click();
    else if (key == "ReadRadio")
        mnuReadFromRadio_Click();
    else if (key == "CommSet")
        mnuComm_Click();
    else if (key == "WriteRadio")
        mnuWriteToRadio_Click();
    else if (key == "About")
        mnuHelpAbout_Click();
    else if (key.startsWith("BtnCH"))
        emit ChannelEditCommand(key);
}

void frmMain::CommitEdits(const QStringList& kinds) {
    // Child windows and dialogs alike; a window without an edit in progress has no CommitEdit.
    for (QWidget* w : QApplication::allWidgets())
        if (kinds.contains(w->objectName()) && w->metaObject()->indexOfMethod("CommitEdit()") >= 0)
            QMetaObject::invokeMethod(w, "CommitEdit", Qt::DirectConnection);
}

void frmMain::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) CheckLanguageChange();
}

void frmMain::CheckLanguageChange() {
    if (p_.Lang.Index == p_.Lang.ShownIndex) return;
    p_.Lang.ShownIndex = p_.Lang.Index;
    LoadQtTranslations(p_);
    Change_Language();
    CloseCurAllWindows();
    ShowChannelTable();
}

} // namespace tarvane
