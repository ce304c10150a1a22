// Loading the modules of the program folder: found, missing, without the entry, of another version.
#include <QtTest>

#include "TestProgram.h"
#include "report/ReportOutput.h"
#include "ui/Modules.h"

using namespace tarvane;

namespace {

// An interface no module was built for.
struct OtherVersion {
    static constexpr int kVersion = ReportOutput::kVersion + 100;
};

} // namespace

class ModulesTest : public QObject {
    Q_OBJECT
  private slots:
    void entries_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("error");
        const QString staged = TARVANE_PROGRAM_DIR;
        QTest::newRow("staged") << staged << kReportOutputEntry << true << "";
        QTest::newRow("missing") << QString::fromStdString(test::TempDir()) << kReportOutputEntry << false
                                 << "/lib/libtarvane-print.so";
        QTest::newRow("no such entry")
            << staged << "tarvane_nothing" << false << "libtarvane-print.so: tarvane_nothing";
    }
    void entries() {
        QFETCH(QString, folder);
        QFETCH(QString, symbol);
        QFETCH(bool, found);
        QFETCH(QString, error);
        QString said;
        void* entry = ModuleEntry(folder.toStdString(), "print", symbol.toUtf8().constData(), said);
        QCOMPARE(entry != nullptr, found);
        QVERIFY2(error.isEmpty() ? said.isEmpty() : said.contains(error), qPrintable(said));
    }

    void aModuleOfAnotherVersionIsRefused() {
        QString said;
        QVERIFY(LoadModule<ReportOutput>(TARVANE_PROGRAM_DIR, "print", kReportOutputEntry, said));
        QVERIFY(said.isEmpty());
        QVERIFY(!LoadModule<OtherVersion>(TARVANE_PROGRAM_DIR, "print", kReportOutputEntry, said));
        QVERIFY2(said.endsWith(QString("libtarvane-print.so: version %1").arg(OtherVersion::kVersion)),
                 qPrintable(said));
    }
};

QTEST_MAIN(ModulesTest)
#include "ModulesTest.moc"
