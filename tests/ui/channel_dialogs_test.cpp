// The selection list, the multi-tone dialog and the file data view: their layout rules and their
// OK and Cancel paths, offscreen.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <numeric>

#include "model/image/emem.h"
#include "model/image/map54.h"
#include "ui/dialogs/file_data_dialog.h"
#include "ui/common/help_viewer.h"
#include "ui/dialogs/multi_tone_dialog.h"
#include "ui/common/select_list_dialog.h"

using namespace qm54;

namespace {

QString CellAt(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

QPoint Current(const QTableWidget* table) { return {table->currentColumn(), table->currentRow()}; }

}  // namespace

class ChannelDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void ctcssListFillsDownEachColumn()
    {
        SelectListDialog dialog(ToneList::Ctcss, true, QStringLiteral(" (Rx)"), QStringLiteral("159.8"));
        const QTableWidget* table = dialog.Table();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tone Select (Rx)"));
        QCOMPARE(table->rowCount(), 10);
        QCOMPARE(table->columnCount(), 5);
        QCOMPARE(CellAt(table, 0, 0), QStringLiteral("off"));
        QCOMPARE(CellAt(table, 1, 0), QStringLiteral("67.0"));
        QCOMPARE(CellAt(table, 0, 1), QStringLiteral("91.5"));
        QCOMPARE(CellAt(table, 7, 4), QStringLiteral("254.1"));
        QCOMPARE(CellAt(table, 8, 4), QString());
        QCOMPARE(Current(table), QPoint(4, 0));  // "159.8" is entry 40
        QCOMPARE(dialog.Chosen(), QStringLiteral("159.8"));

        SelectListDialog withoutOff(ToneList::Ctcss, false, QString(), QStringLiteral("off"));
        QCOMPARE(CellAt(withoutOff.Table(), 0, 0), QStringLiteral("67.0"));
        QCOMPARE(Current(withoutOff.Table()), QPoint(0, 0));  // "off" is not there: the first cell
    }

    void dcsListFillsAlongEachRow()
    {
        SelectListDialog dialog(ToneList::Dcs, true, QString(), QStringLiteral("off"));
        const QTableWidget* table = dialog.Table();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Code Select"));
        QCOMPARE(table->columnCount(), 9);
        QCOMPARE(CellAt(table, 0, 1), QStringLiteral("023"));
        QCOMPARE(CellAt(table, 1, 0), QStringLiteral("051"));
        QCOMPARE(CellAt(table, 11, 5), QStringLiteral("754"));
        QCOMPARE(dialog.Chosen(), QStringLiteral("off"));
    }

    void homeAndEndStayOnNames_data()
    {
        QTest::addColumn<bool>("dcs");
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("cell");
        QTest::newRow("CTCSS End") << false << int(Qt::Key_End) << QPoint(4, 7);
        QTest::newRow("CTCSS Page Down") << false << int(Qt::Key_PageDown) << QPoint(4, 7);
        QTest::newRow("DCS End lands on an empty cell") << true << int(Qt::Key_End) << QPoint(5, 1);
        QTest::newRow("DCS Home") << true << int(Qt::Key_Home) << QPoint(0, 0);
        QTest::newRow("DCS Page Up") << true << int(Qt::Key_PageUp) << QPoint(0, 0);
    }
    void homeAndEndStayOnNames()
    {
        QFETCH(bool, dcs);
        QFETCH(int, key);
        QFETCH(QPoint, cell);
        SelectListDialog dialog(dcs ? ToneList::Dcs : ToneList::Ctcss, true, QString(),
                                dcs ? QStringLiteral("072") : QStringLiteral("off"));
        QTest::keyClick(dialog.Table(), Qt::Key(key));
        QCOMPARE(Current(dialog.Table()), cell);
    }

    void emptyCellsCannotBeChosen()
    {
        SelectListDialog dialog(ToneList::Dcs, true, QString(), QStringLiteral("754"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTableWidget* table = dialog.Table();
        const QRect empty = table->visualRect(table->model()->index(11, 8));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, empty.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, empty.center());
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.Chosen(), QStringLiteral("754"));
        QTest::keyClick(table, Qt::Key_Right);
        QCOMPARE(dialog.Chosen(), QStringLiteral("754"));

        const QRect code = table->visualRect(table->model()->index(1, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, code.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, code.center());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Chosen(), QStringLiteral("053"));
    }

    void selectFromListOkAndCancel()
    {
        QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
        QCOMPARE(SelectFromList(nullptr, ToneList::Dcs, true, QString(), QStringLiteral("off")),
                 std::optional<QString>(QStringLiteral("off")));
        QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
        QCOMPARE(SelectFromList(nullptr, ToneList::Ctcss, true, QString(), QStringLiteral("67.0")),
                 std::optional<QString>());
    }

    void multiToneShowsTheRecord()
    {
        TChannel ch;
        ch.MultiTone = 1;
        ch.SetSlotUsed(0, 1);
        ch.SetDecodeDcs(0, 1);
        ch.SetDecodeTone(0, 0);   // the first code, "023"
        ch.SetEncodeTone(0, 47);  // "254.1"
        ch.SetDecodeTone(1, 5);   // not in use: not shown
        MultiToneDialog dialog(ch);
        QVERIFY(dialog.EnableBox()->isChecked());
        QCOMPARE(dialog.DcsBox(0, 0)->currentText(), QStringLiteral("023"));
        QCOMPARE(dialog.CtcssBox(0, 0)->currentText(), QStringLiteral("off"));
        QCOMPARE(dialog.CtcssBox(0, 1)->currentText(), QStringLiteral("254.1"));
        QCOMPARE(dialog.CtcssBox(1, 0)->currentText(), QStringLiteral("off"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Multi Tone"));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(&dialog, Qt::Key_3, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), dialog.CtcssBox(2, 0));
        QTest::keyClick(&dialog, Qt::Key_0, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), dialog.CtcssBox(9, 0));
    }

    void multiToneOkWritesAllEntries()
    {
        TChannel ch;
        ch.SetSlotUsed(3, 1);
        ch.SetDecodeTone(3, 9);
        ch.NsqLevel = 77;
        MultiToneDialog dialog(ch);
        dialog.DcsBox(3, 0)->setCurrentIndex(2);  // a code replaces the tone of the same entry
        QCOMPARE(dialog.CtcssBox(3, 0)->currentIndex(), 0);
        dialog.CtcssBox(5, 1)->setCurrentIndex(12);  // only an encode tone
        dialog.DcsBox(5, 1)->setCurrentIndex(0);
        dialog.WriteTo(ch);
        QCOMPARE(ch.MultiTone, 0);
        QCOMPARE(ch.GetSlotUsed(3), 1);
        QCOMPARE(ch.GetDecodeDcs(3), 1);
        QCOMPARE(ch.GetDecodeTone(3), 1);
        QCOMPARE(ch.GetSlotUsed(5), 1);
        QCOMPARE(ch.GetDecodeDcs(5), 0);
        QCOMPARE(ch.GetDecodeTone(5), 0);
        QCOMPARE(ch.GetEncodeTone(5), 12);
        QCOMPARE(ch.GetSlotUsed(0), 0);
        QCOMPARE(ch.NsqLevel, 77);
    }

    void multiToneCancelLeavesTheRecord()
    {
        TChannel ch;
        ch.SetSlotUsed(0, 1);
        ch.SetDecodeTone(0, 4);
        const TChannel before = ch;
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<MultiToneDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->CtcssBox(0, 0)->setCurrentIndex(0);
            dialog->EnableBox()->setChecked(true);
            dialog->reject();
        });
        QVERIFY(!EditMultiToneRecord(nullptr, ch));
        QVERIFY(ch == before);
    }

    void fileDataShowsTheImage()
    {
        std::vector<uint8_t> image(1986);
        std::iota(image.begin(), image.end(), uint8_t{0});
        FileDataDialog dialog(image);
        const QTableWidget* table = dialog.Table();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("File Data"));
        QCOMPARE(table->rowCount(), 125);
        QCOMPARE(table->horizontalHeaderItem(15)->text(), QStringLiteral("0f"));
        QCOMPARE(table->verticalHeaderItem(0)->text(), QStringLiteral("00000h"));
        QCOMPARE(table->verticalHeaderItem(1)->text(), QStringLiteral("00010h"));
        QCOMPARE(table->verticalHeaderItem(124)->text(), QStringLiteral("007c0h"));
        QCOMPARE(CellAt(table, 0, 10), QStringLiteral("0a"));
        QCOMPARE(CellAt(table, 124, 1), QStringLiteral("c1"));  // byte 1985: the last row has two bytes
        QCOMPARE(CellAt(table, 124, 2), QString());
        QVERIFY(dialog.Bytes(image) == image);
    }

    void fileDataKeys()
    {
        const std::vector<uint8_t> image(40, 0x5A);
        FileDataDialog dialog(image);
        QTableWidget* table = dialog.Table();
        for (Qt::Key key : {Qt::Key_G, Qt::Key_Space, Qt::Key_Down, Qt::Key_Z}) QTest::keyClick(table, key);
        QTest::keyClick(table, Qt::Key_Insert, Qt::ShiftModifier);
        QVERIFY(!dialog.Changed());
        QCOMPARE(CellAt(table, 0, 0), QStringLiteral("5a"));
        QTest::keyClick(table, Qt::Key_B);
        QVERIFY(dialog.Changed());
        QCOMPARE(CellAt(table, 1, 0), QStringLiteral("5a"));  // the cells are not edited

        table->item(2, 3)->setText(QStringLiteral("zz"));  // a cell that cannot be read keeps its byte
        table->item(2, 4)->setText(QStringLiteral("7"));
        const std::vector<uint8_t> bytes = dialog.Bytes(image);
        QCOMPARE(bytes[35], uint8_t{0x5A});
        QCOMPARE(bytes[36], uint8_t{0x07});
    }

    void fileDataOkDecodesTheCellsIntoTheData()
    {
        TCEmem emem;
        SetDefaults(emem);
        TMap54 map;
        const TCEmem defaults = emem;

        QTimer::singleShot(0, [] { qobject_cast<QDialog*>(QApplication::activeModalWidget())->reject(); });
        QVERIFY(!ShowFileData(nullptr, map, emem));
        QVERIFY(emem == defaults);
        QCOMPARE(map.Bytes()[0], uint8_t{0x5A});  // the view showed the encoded image

        QTimer::singleShot(0, [] { qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept(); });
        QVERIFY(!ShowFileData(nullptr, map, emem));  // OK without a change changes nothing

        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<FileDataDialog*>(QApplication::activeModalWidget());
            QTest::keyClick(dialog->Table(), Qt::Key_7);
            dialog->Table()->item(0, 1)->setText(QStringLiteral("c8"));  // NSQ threshold
            dialog->Table()->item(0, 2)->setText(QStringLiteral("??"));
            dialog->accept();
        });
        QVERIFY(ShowFileData(nullptr, map, emem));
        QCOMPARE(emem.NsqThreshold, 200);
        QCOMPARE(map.Bytes()[1], uint8_t{0xC8});
        TMap54 expectedMap;
        expectedMap.Encode(defaults);
        expectedMap.Bytes()[1] = 0xC8;
        TCEmem expected = defaults;
        expectedMap.Decode(expected);
        QVERIFY(emem == expected);
        QVERIFY(map == expectedMap);
    }

    void f1AsksForTheHelp()
    {
        QList<HelpPage> asked;
        SetHelpHandler([&asked](HelpPage page) { asked << page; });
        const std::vector<uint8_t> image(32);
        SelectListDialog list(ToneList::Ctcss, true, QString(), QStringLiteral("off"));
        MultiToneDialog multiTone{TChannel()};
        FileDataDialog fileData(image);
        for (QDialog* dialog : std::initializer_list<QDialog*>{&list, &multiTone, &fileData}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_F1);
            dialog->hide();
        }
        SetHelpHandler({});
        QCOMPARE(asked, (QList<HelpPage>{HelpPage::Topic, HelpPage::Contents, HelpPage::Topic}));
    }
};

QTEST_MAIN(ChannelDialogsTest)
#include "channel_dialogs_test.moc"
