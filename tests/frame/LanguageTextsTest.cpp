// Every window in English and in Chinese on every band: each visible text comes
// from the chosen language file (numbers, frequencies and the radio's fixed
// symbols aside), no two entries of one menu level share an access key, and
// Qt's own buttons speak the chosen language.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>

#include "EveryDialog.h"
#include "GuiTestSupport.h"
#include "channels/frmCommChInfo.h"
#include "features/emergency/Frm_EMG.h"
#include "features/memfreq/Frm_Mem_Freq.h"
#include "frame/ChannelWindows.h"
#include "frame/FrmSetLanguage.h"
#include "frame/frmAbout.h"
#include "freq/Bands.h"
#include "image/FrmModelInfo.h"
#include "link/FrmPassWord.h"
#include "link/FrmProgress.h"
#include "link/FrmSetComm.h"
#include "state/lang/LangText.h"
#include "state/lang/Languages.h"
#include "ui/QtTranslations.h"
#include "ui/ToQ.h"

using namespace tarvane;
using namespace tarvane::test;

namespace {

// The values of a language file.
QStringList LanguageValues(const Program& p) {
    QFile f(QString::fromStdString(LangFilePath(p)));
    QStringList out;
    if (!f.open(QIODevice::ReadOnly)) return out;
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(';') || line.startsWith('[')) continue;
        const int eq = line.indexOf('=');
        if (eq <= 0) continue;
        // A value with placeholders counts piece by piece ("Port %1: %2").
        for (const QString& piece : line.mid(eq + 1).split(QRegularExpression("%\\d")))
            if (!piece.trimmed().isEmpty()) out << piece;
    }
    return out;
}

QString WithoutAccessMarks(QString s) {
    static const QRegularExpression chineseMark("\\(&[^&]\\)"); // "文件(&F)"
    s.remove(chineseMark);
    s.replace("&&", "\x01");
    s.remove('&');
    s.replace("\x01", "&");
    return s;
}

// Fixed symbols of the radio and its data: groups, country plans, modulation,
// tone and DCS symbols, key functions, units, model and file names.
QSet<QString> FixedSymbols() {
    QSet<QString> s{"FM",   "AM", "CB",      "HF",   "HAM", "MHz",   "kHz", "Hz",  "C",   "D", "N",
                    "s",    "ms", "Tarvane", "new",  "dat", "COM",   "EMG", "MEM", "VFO", "V", "P",
                    "DTMF", "K",  "dev",     "ttyS", "SWR", "CTCSS", "DCS", "CPS", "EU",  "EI"};
    for (int band = 0; band <= 2; ++band)
        for (int g = 0; g < 20; ++g)
            for (const QString& part : QString::fromStdString(GroupName(g, band)).split('/'))
                if (!part.isEmpty()) s << part;
    for (const char* key : {"MOD", "RFG", "VOL", "SQL", "POW", "DSP", "SCA",  "BND", "DW", "CAL",
                            "NB",  "RB",  "HIC", "TSQ", "SPL", "DIM", "NULL", "U",   "UK", "I2"})
        s << key;
    return s;
}

// Tells texts of the language file from others.
class TextChecker {
  public:
    explicit TextChecker(const QStringList& values) : symbols_(FixedSymbols()) {
        for (const QString& v : values) {
            const QString value = WithoutAccessMarks(v);
            if (value.trimmed().isEmpty()) continue;
            // A Latin value counts only as whole words ("On" is no part of "Once").
            const bool latin = value.front().isLetter() && value.front().unicode() < 128;
            values_.append(
                {value, latin ? QRegularExpression("(?<![A-Za-z])" + QRegularExpression::escape(value) +
                                                   "(?![A-Za-z])")
                              : QRegularExpression()});
        }
        // Longest first, so a short value never cuts into a longer one.
        std::stable_sort(values_.begin(), values_.end(),
                         [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    }
    // What is left of a text once every language value is taken out; "" when
    // nothing but numbers, punctuation and symbols remains.
    QString Foreign(const QString& text) const {
        QString rest = WithoutAccessMarks(text);
        for (const auto& [value, whole] : values_) {
            if (!rest.contains(value)) continue;
            if (whole.pattern().isEmpty())
                rest.replace(value, " ");
            else
                rest.replace(whole, " ");
        }
        static const QRegularExpression word("[A-Za-z]+|[^\\x00-\\x7F\\p{P}\\p{S}\\p{Z}\\p{N}]+");
        QStringList foreign;
        for (auto it = word.globalMatch(rest); it.hasNext();) {
            const QString w = it.next().captured();
            if (!symbols_.contains(w)) foreign << w;
        }
        return foreign.join(' ');
    }

  private:
    QSet<QString> symbols_;
    QList<std::pair<QString, QRegularExpression>> values_;
};

struct Seen {
    QString where;
    QString text;
};

// The visible texts of a window: captions, labels, buttons, list entries, tabs,
// headers and cells, group titles, tool tips.
void Collect(QWidget* root, const QString& name, QList<Seen>& out) {
    auto add = [&](const QString& where, const QString& t) {
        if (!t.trimmed().isEmpty()) out.append({name + "/" + where, t});
    };
    add("title", root->windowTitle());
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (QWidget* w : all) {
        if (!w->isVisibleTo(root) && w != root) continue;
        if (w->inherits("QMdiSubWindow") || w->inherits("QMenu")) continue; // Qt's own frame and menus
        const QString id = w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
        add(id + ":tip", w->toolTip());
        if (auto* l = qobject_cast<QLabel*>(w)) add(id, l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !w->inherits("QToolButton")) add(id, b->text());
        if (auto* g = qobject_cast<QGroupBox*>(w)) add(id, g->title());
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                add(id + QString("[%1]").arg(i), c->itemText(i));
        if (auto* t = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < t->count(); ++i)
                add(id + ":tab", t->tabText(i));
        if (auto* t = qobject_cast<QTableWidget*>(w)) {
            for (int c = 0; c < t->columnCount(); ++c) {
                if (t->isColumnHidden(c)) continue;
                if (QTableWidgetItem* h = t->horizontalHeaderItem(c)) add(id + ":header", h->text());
                for (int r = 0; r < t->rowCount(); ++r)
                    if (QTableWidgetItem* item = t->item(r, c); item && !t->isRowHidden(r))
                        add(id + ":cell", item->text());
            }
        }
        if (auto* t = qobject_cast<QTreeWidget*>(w))
            for (QTreeWidgetItemIterator it(t); *it; ++it)
                add(id + ":tree", (*it)->text(0));
    }
}

// Menus and their entries, level by level; shared access keys are reported.
void CollectMenus(QWidget* owner, const QList<QAction*>& actions, const QString& level, QList<Seen>& out,
                  QStringList& clashes) {
    QMap<QChar, QString> keys;
    for (QAction* a : actions) {
        if (a->isSeparator() || !a->isVisible() || a->property("windowEntry").toBool()) continue;
        out.append({level, a->text()});
        const QRegularExpressionMatch m = QRegularExpression("&([^&])").match(a->text());
        if (m.hasMatch()) {
            const QChar k = m.captured(1).at(0).toUpper();
            if (keys.contains(k)) clashes << QString("%1: %2 / %3").arg(level, keys[k], a->text());
            keys[k] = a->text();
        } else if (!a->objectName().isEmpty()) { // entries made as a menu opens carry numbers or none
            clashes << level + ": no access key: " + a->text();
        }
        if (QMenu* sub = a->menu())
            CollectMenus(owner, sub->actions(), level + "/" + a->text(), out, clashes);
    }
}

// Within one dialog, no two captions share an access key.
void CollectDialogKeys(QWidget* dialog, QStringList& clashes) {
    QMap<QChar, QString> keys;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        const QString text = w->property(w->inherits("QGroupBox") ? "title" : "text").toString();
        const QRegularExpressionMatch m = QRegularExpression("&([^&])").match(text);
        if (!m.hasMatch() || !w->isVisibleTo(dialog)) continue;
        if (keys.contains(m.captured(1).at(0).toUpper())) clashes << dialog->objectName() + ": " + text;
        keys[m.captured(1).at(0).toUpper()] = text;
    }
}

} // namespace

class LanguageTextsTest : public QObject {
    Q_OBJECT
  private slots:
    void accessKeysAreUniqueInEveryLanguage();
    void everyWindowSpeaksTheChosenLanguage_data();
    void everyWindowSpeaksTheChosenLanguage();
    void foreignTextsAreCaught();
    void qtButtonsFollowTheLanguage();
};

// In every language file: each menu entry has an access key no other entry of
// its menu shares, and no two captions of a dialog share one.
void LanguageTextsTest::accessKeysAreUniqueInEveryLanguage() {
    FrameFixture f(kBandHF, false);
    RegisterStandardWindows(*f.frame);
    Program& p = f.p();
    const std::vector<LanguageEntry> languages = ListLanguages(p.Dirs.ProgramFolder);
    QVERIFY(languages.size() >= 5);
    for (const LanguageEntry& language : languages) {
        QVERIFY(SetLanguageFile(p, language.FileName));
        f.frame->CheckLanguageChange();
        f.frame->ShowCHInfo(true); // the channel menu too
        QList<Seen> seen;
        QStringList clashes;
        CollectMenus(f.frame.get(), f.frame->menuBar()->actions(), ToQ(language.FileName), seen, clashes);
        std::string entry;
        for (const std::unique_ptr<QWidget>& d :
             {std::unique_ptr<QWidget>(new Frm_EMG(p)), std::unique_ptr<QWidget>(new FrmSetComm(p)),
              std::unique_ptr<QWidget>(new FrmSetLanguage(p)),
              std::unique_ptr<QWidget>(new FrmModelInfo(p, [] {})),
              std::unique_ptr<QWidget>(new FrmPassWord(p, entry)), std::unique_ptr<QWidget>(new frmAbout(p))})
            CollectDialogKeys(d.get(), clashes);
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join('\n')));
    }
    SetLanguage(p, 1);
    LoadQtTranslations(p);
}

void LanguageTextsTest::everyWindowSpeaksTheChosenLanguage_data() {
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("language");
    for (int band : {int(kBandCB), int(kBandHF), int(kBandHAM)})
        for (int language : {1, 2})
            QTest::newRow(qPrintable(QString("%1 %2").arg(band == 0   ? "CB"
                                                          : band == 1 ? "HF"
                                                                      : "HAM",
                                                          language == 1 ? "English" : "Chinese")))
                << band << language;
}

void LanguageTextsTest::everyWindowSpeaksTheChosenLanguage() {
    QFETCH(int, band);
    QFETCH(int, language);
    FrameFixture f(band, false);
    RegisterStandardWindows(*f.frame);
    Program& p = f.p();
    SetLanguage(p, language);
    f.frame->CheckLanguageChange();
    f.frame->ShowChannelTable();
    f.Settle(50);

    QList<Seen> seen;
    QStringList clashes;
    CollectMenus(f.frame.get(), f.frame->menuBar()->actions(), "menu", seen, clashes);
    // The channel-edit menu shows while the table is active: check it too.
    f.frame->ShowCHInfo(true);
    CollectMenus(f.frame.get(), f.frame->menuBar()->actions(), "menu", seen, clashes);
    for (QAction* a : f.frame->ToolBar()->actions())
        if (!a->isSeparator()) seen.append({"toolbar", a->toolTip()});
    seen.append({"caption", f.frame->windowTitle()});
    for (int n = 1; n <= 3; ++n)
        seen.append({"status", f.frame->StatusPanel(n)->text()});
    Collect(f.frame->Tree(), "tree", seen);

    // The document windows, the channel table in every group.
    auto* table = qobject_cast<frmCommChInfo*>(f.frame->FindChildWindow("frmCommChInfo"));
    QVERIFY(table);
    for (int g = 0; g < 20; ++g)
        if (GroupSize(g, band) > 0) {
            table->ChooseGroup(g);
            Collect(table, QString("table %1").arg(g), seen);
        }
    ShowChannelEditDialog(*f.frame);
    for (const char* kind : {"FrmOptFeatures", "FrmDTMF", "FrmKey", "FrmToneTips", "FrmRadioInfo"})
        f.frame->ShowFormOnce(kind);
    for (QWidget* w : f.frame->ChildWindows())
        Collect(w, w->objectName(), seen);
    // The dialogs, made as their commands make them.
    std::string entry;
    const auto dialogs = test::EveryDialog(p, band, entry);
    for (const auto& d : dialogs)
        Collect(d.get(), d->metaObject()->className(), seen);

    QStringList values = LanguageValues(p);
    QVERIFY(values.size() > 250);
    // The language list names each language as its own file does.
    for (const LanguageEntry& language : ListLanguages(p.Dirs.ProgramFolder))
        values << QString::fromStdString(language.Name);
    const TextChecker checker(values);
    QStringList wrong;
    QSet<QString> checked;
    for (const Seen& s : seen) {
        if (checked.contains(s.text)) continue;
        checked.insert(s.text);
        if (const QString rest = checker.Foreign(s.text); !rest.isEmpty())
            wrong << QString("%1: \"%2\" (%3)").arg(s.where, s.text, rest);
    }
    QVERIFY2(wrong.isEmpty(), qPrintable("texts not from the language file:\n" + wrong.join('\n')));
    clashes.removeDuplicates();
    QVERIFY2(clashes.isEmpty(), qPrintable("shared access keys:\n" + clashes.join('\n')));
    QVERIFY(seen.size() > 500);
    SetLanguage(p, 1);
    LoadQtTranslations(p);
}

// The checker itself: English words in Chinese, a misspelling, a word inside a
// longer word; numbers and symbols pass.
void LanguageTextsTest::foreignTextsAreCaught() {
    TestProgram t = MakeTestProgram(0);
    SetLanguage(*t, 2);
    const TextChecker checker(LanguageValues(*t));
    const QString off = QString::fromStdString(LangText(*t, 32400_txt));
    struct Case {
        QString text;
        bool foreign;
    } cases[] = {
        {"Enabel", true},
        {"Off", true},
        {"0min", true},
        {off, false},
        {"27.12500", false},
        {"C_001(67.0Hz)", false},
        {"D_023(023N)", false},
        {QString::fromStdString(LangText(*t, 10000_txt)), false},
        {QString::fromStdString(LangText(*t, 14012_txt)) + " D --- 1]", false},
        {QString::fromStdString(LangText(*t, 29001_txt)) + " 3", false},
        {QString::fromStdString(LangText(*t, 29001_txt)) + "x", true},
        {"Port 1: /dev/ttyS0", true},
    };
    for (const Case& c : cases)
        QVERIFY2(checker.Foreign(c.text).isEmpty() != c.foreign, qPrintable(c.text));
}

void LanguageTextsTest::qtButtonsFollowTheLanguage() {
    TestProgram t = MakeTestProgram(0);
    for (int language : {2, 1}) {
        SetLanguage(*t, language);
        QVERIFY(LoadQtTranslations(*t));
        QMessageBox box(QMessageBox::Question, "", "",
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        const QString yes = box.button(QMessageBox::Yes)->text();
        const QString cancel = box.button(QMessageBox::Cancel)->text();
        if (language == 2) {
            QVERIFY2(!yes.contains("Yes") && !cancel.contains("Cancel"), qPrintable(yes + " " + cancel));
            QVERIFY(yes.contains(QChar(0x662F))); // 是
        } else {
            QCOMPARE(WithoutAccessMarks(yes), QString("Yes"));
        }
    }
}

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    LanguageTextsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "LanguageTextsTest.moc"
