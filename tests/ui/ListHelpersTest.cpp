// The list and field helpers over both list kinds.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTest>

#include "ui/ListHelpers.h"

using namespace tarvane;

namespace {
template <class L> void Fill(L& l, const QStringList& items) {
    l.clear();
    l.addItems(items);
}
int Shown(const QComboBox& c) {
    return c.currentIndex();
}
int Shown(const QListWidget& l) {
    return l.selectedItems().isEmpty() ? -1 : l.currentRow();
}
void Choose(QComboBox& c, int i) {
    c.setCurrentIndex(i);
}
void Choose(QListWidget& l, int i) {
    if (i < 0)
        l.clearSelection();
    else
        l.setCurrentRow(i);
}
} // namespace

class ListHelpersTest : public QObject {
    Q_OBJECT
  private slots:
    void findAndSelectText_data();
    void findAndSelectText();
    void textAndSelectAtIndex_data();
    void textAndSelectAtIndex();
    void indexAndNumberWithFallback_data();
    void indexAndNumberWithFallback();
    void optionState_data();
    void optionState();
    void textFieldState();
    void unloadWindowsNamed();

  private:
    template <class L> void RunFind();
    template <class L> void RunAt();
    template <class L> void RunNumber();
};

void ListHelpersTest::findAndSelectText_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fallback");
    QTest::addColumn<QString>("found");
    QTest::addColumn<int>("selected"); // by SelectListText (fallback 0)
    const QStringList abc = {"Off", "On", "Auto"};
    QTest::newRow("present") << abc << "On" << 0 << "On" << 1;
    QTest::newRow("case differs: fallback") << abc << "on" << 2 << "Auto" << 0;
    QTest::newRow("missing: fallback entry") << abc << "Never" << 1 << "On" << 0;
    QTest::newRow("missing, negative fallback: empty") << abc << "Never" << -1 << "" << 0;
    QTest::newRow("missing, fallback past end: empty") << abc << "Never" << 7 << "" << 0;
    QTest::newRow("empty list") << QStringList{} << "On" << 0 << "" << -1;
}

template <class L> void ListHelpersTest::RunFind() {
    QFETCH(QStringList, items);
    QFETCH(QString, text);
    QFETCH(int, fallback);
    QFETCH(QString, found);
    QFETCH(int, selected);
    L list;
    Fill(list, items);
    QCOMPARE(FindListText(&list, text, fallback), found);
    Choose(list, items.size() - 1);
    SelectListText(&list, text);
    QCOMPARE(Shown(list), selected);
}

void ListHelpersTest::findAndSelectText() {
    RunFind<QComboBox>();
    RunFind<QListWidget>();
}

void ListHelpersTest::textAndSelectAtIndex_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selected");
    const QStringList three = {"5", "10", "15"};
    QTest::newRow("inside") << three << 2 << "15" << 2;
    QTest::newRow("99 of 3: first") << three << 99 << "5" << 0;
    QTest::newRow("3 of 3: first") << three << 3 << "5" << 0;
    QTest::newRow("negative: first") << three << -1 << "5" << 0;
    QTest::newRow("empty list") << QStringList{} << 0 << "" << -1;
}

template <class L> void ListHelpersTest::RunAt() {
    QFETCH(QStringList, items);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, selected);
    L list;
    Fill(list, items);
    QCOMPARE(ListTextAt(&list, index), text);
    Choose(list, items.size() - 1);
    SelectListIndex(&list, index);
    QCOMPARE(Shown(list), selected);
}

void ListHelpersTest::textAndSelectAtIndex() {
    RunAt<QComboBox>();
    RunAt<QListWidget>();
}

void ListHelpersTest::indexAndNumberWithFallback_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("index");  // ListIndexOr(list, 42)
    QTest::addColumn<int>("number"); // ListNumberOr(list, -7)
    QTest::newRow("number chosen") << QStringList{"100", "250"} << 1 << 1 << 250;
    QTest::newRow("decimal rounds") << QStringList{"2.5", "3.5"} << 1 << 1 << 4;
    QTest::newRow("text chosen") << QStringList{"Off", "On"} << 0 << 0 << -7;
    QTest::newRow("nothing chosen") << QStringList{"1", "2"} << -1 << 42 << -7;
    QTest::newRow("empty list") << QStringList{} << -1 << 42 << -7;
}

template <class L> void ListHelpersTest::RunNumber() {
    QFETCH(QStringList, items);
    QFETCH(int, chosen);
    QFETCH(int, index);
    QFETCH(int, number);
    L list;
    Fill(list, items);
    Choose(list, chosen);
    QCOMPARE(ListIndexOr(&list, 42), index);
    QCOMPARE(ListNumberOr(&list, -7), number);
}

void ListHelpersTest::indexAndNumberWithFallback() {
    RunNumber<QComboBox>();
    RunNumber<QListWidget>();
}

void ListHelpersTest::optionState_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("checked");
    QTest::newRow("1 on") << 1 << true;
    QTest::newRow("0 off") << 0 << false;
    QTest::newRow("2 counts as 0") << 2 << false;
    QTest::newRow("255 counts as 0") << 255 << false;
    QTest::newRow("-1 on") << -1 << true;
}

void ListHelpersTest::optionState() {
    QFETCH(int, value);
    QFETCH(bool, checked);
    QCheckBox box;
    box.setChecked(!checked);
    SetOptionState(&box, value);
    QCOMPARE(box.isChecked(), checked);
    // An exclusive option button can be cleared as well.
    QWidget parent;
    auto* a = new QRadioButton(&parent);
    auto* b = new QRadioButton(&parent);
    a->setChecked(true);
    SetOptionState(a, value);
    QCOMPARE(a->isChecked(), checked);
    QVERIFY(!b->isChecked());
}

void ListHelpersTest::textFieldState() {
    QLineEdit field;
    int changesWhileDisabled = 0;
    QObject::connect(&field, &QLineEdit::textChanged,
                     [&] { changesWhileDisabled += field.isEnabled() ? 0 : 1; });
    SetTextFieldState(&field, "12.5", QColor(Qt::yellow), false);
    QCOMPARE(field.text(), QString("12.5"));
    QVERIFY(!field.isEnabled());
    QCOMPARE(field.palette().color(QPalette::Base), QColor(Qt::yellow));
    // Enabled first, then colour, then text: the text arrives in a field already disabled.
    QCOMPARE(changesWhileDisabled, 1);
    SetTextFieldState(&field, "", QColor(Qt::white), true);
    QVERIFY(field.isEnabled());
    QCOMPARE(field.text(), QString());
}

void ListHelpersTest::unloadWindowsNamed() {
    QMainWindow frame;
    auto* mdi = new QMdiArea;
    frame.setCentralWidget(mdi);
    auto addChild = [&](const QString& name) {
        auto* w = new QWidget;
        w->setObjectName(name);
        QMdiSubWindow* sub = mdi->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
        return sub;
    };
    QPointer<QMdiSubWindow> a = addChild("FrmDTMF");
    QPointer<QMdiSubWindow> b = addChild("FrmKey");
    auto* tool = new QWidget;
    tool->setObjectName("FrmDTMF");
    tool->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QWidget> top = tool;
    tool->show();
    frame.show();
    UnloadWindowsNamed("FrmDTMF");
    QTest::qWait(20);
    QVERIFY(!a);
    QVERIFY(!top);
    QVERIFY(b && b->isVisible());
    UnloadWindowsNamed("NoSuchWindow");
    QVERIFY(b && b->isVisible());
}

QTEST_MAIN(ListHelpersTest)
#include "ListHelpersTest.moc"
