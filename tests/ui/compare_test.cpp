// File > Compare with...: the open data against a chosen data file, listed as qm54 diff lists it.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "main_test_support.h"
#include "model/storage/datafile.h"
#include "ui/dialogs/compare_dialog.h"

using namespace qm54;
using namespace qm54::test;

class CompareTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheDifferencesOfTheChosenFile()
    {
        MainFixture f;
        TfrmMain w(f.Options({"-D"}));
        TCEmem other = w.Emem();
        other.BaseTot = 5;
        other.Channels.Items(1).InUse = 1;
        TMap54 map;
        const std::string path = f.Path("other.q54").toStdString();
        QVERIFY(SaveDataFile(path, other, map, f.prompter));
        // 512 bytes that no setting holds differ: one row for them, not 512.
        for (size_t i = 0x5C0; i <= 0x7BF; ++i) map.Bytes()[i] = 0x02;
        QFile patched(QString::fromStdString(path));
        QVERIFY(patched.open(QIODevice::WriteOnly));
        patched.write(reinterpret_cast<const char*>(map.Bytes().data()), static_cast<qint64>(map.Bytes().size()));
        patched.close();
        f.dialogs.openAnswers.push_back(QString::fromStdString(path));

        QStringList rows;
        QString summary;
        QTimer::singleShot(0, [&] {
            auto* compare = qobject_cast<TfrmCompare*>(QApplication::activeModalWidget());
            QVERIFY(compare);
            for (int i = 0; i < compare->List()->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = compare->List()->topLevelItem(i);
                rows << item->text(0) + ": " + item->text(1) + " | " + item->text(2);
            }
            summary = compare->findChild<QLabel*>("compareSummary")->text();
            compare->reject();
        });
        w.findChild<QAction*>("miCompare")->trigger();
        QVERIFY(rows.contains(QStringLiteral("BaseTot: 3.0 Min | 2.5 Min")));
        QVERIFY(rows.contains(QStringLiteral("Channel 2 InUse: 0 | 1")));
        QVERIFY2(rows.contains(QStringLiteral("Bytes 0x5C0 to 0x7BF (512 differ): 01 01 01 01 01 01 01 01 ... | "
                                              "02 02 02 02 02 02 02 02 ...")),
                 qPrintable(rows.join('\n')));
        QCOMPARE(rows.filter(QStringLiteral("Byte")).size(), 1);
        QVERIFY(summary.contains(QStringLiteral("differences between the open data and")));
    }
};

QTEST_MAIN(CompareTest)
#include "compare_test.moc"
