// The message boxes: Escape or the close box on a Yes/No question answers "closed", which cancels
// a command, and is not taken as No; each kind of box carries its own caption.
#include "ui/common/qt_prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace qm54;

class QtPrompterTest : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void captions_data();
    void captions();
};

void QtPrompterTest::answers_data()
{
    QTest::addColumn<int>("buttons");  // 0 OK, 1 Yes/No
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("expected");
    QTest::newRow("yes") << 1 << "Yes" << int(MsgResult::Yes);
    QTest::newRow("no") << 1 << "No" << int(MsgResult::No);
    QTest::newRow("escape") << 1 << "Escape" << int(MsgResult::Closed);
    QTest::newRow("close box") << 1 << "Close" << int(MsgResult::Closed);
    QTest::newRow("ok") << 0 << "OK" << int(MsgResult::Ok);
}

void QtPrompterTest::answers()
{
    QFETCH(int, buttons);
    QFETCH(QString, action);
    QFETCH(int, expected);
    QString shownText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shownText = box->text();
        if (action == "Escape") {
            QTest::keyClick(box, Qt::Key_Escape);
        } else if (action == "Close") {
            box->close();
        } else {
            for (QAbstractButton* b : box->buttons())
                if (b->isVisible() && b->text().remove('&') == action) b->click();
        }
    });
    QtPrompter prompter;
    const MsgResult answer = prompter.Show("Do you want to save the file?", MsgKind::Confirmation,
                                           buttons ? MsgButtons::YesNo : MsgButtons::Ok, "");
    QCOMPARE(shownText, QStringLiteral("Do you want to save the file?"));
    QCOMPARE(int(answer), expected);
}

void QtPrompterTest::captions_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");  // what the caller asked for; empty: the kind's own
    QTest::addColumn<QString>("caption");
    QTest::newRow("warning: File Not Found") << int(MsgKind::Warning) << "" << "Warning";
    QTest::newRow("error: the alignment's connection") << int(MsgKind::Error) << "" << "Error";
    QTest::newRow("information: Upload is completed") << int(MsgKind::Information) << "" << "Information";
    QTest::newRow("confirmation: the save prompt") << int(MsgKind::Confirmation) << "" << "Confirm";
    QTest::newRow("the narrow-banding question") << int(MsgKind::Warning) << "Download" << "Download";
}

void QtPrompterTest::captions()
{
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shown = box->windowTitle();
        box->close();
    });
    QtPrompter prompter;
    prompter.SetTitle(title);
    prompter.Show("text", static_cast<MsgKind>(kind), MsgButtons::Ok, "");
    QCOMPARE(shown, caption);
}

QTEST_MAIN(QtPrompterTest)
#include "qt_prompter_test.moc"
