// Edit > Undo and Redo in the main window: grid edits, a dialog's OK, an Upload-like change and
// a channel import walked back and forth, the entries' names, New starting a new history, the
// modified state following what was saved, and a save that is no step of its own. (An Upload and
// an opened backup through the window's own commands: radio_test.)
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "main_test_support.h"
#include "model/storage/datafile.h"
#include "model/image/emem.h"
#include "ui/dialogs/dialog_conventions.h"
#include "ui/main/channel_grid.h"

using namespace qm54;
using namespace qm54::test;

namespace {

QAction* Action(TfrmMain& w, const char* name) { return w.findChild<QAction*>(name); }

// Opens the Timer dialog from the menu, types BaseTot and presses OK.
void SetBaseTotThroughTheDialog(TfrmMain& w, const char* typed)
{
    QTimer::singleShot(0, [typed] {
        auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        ValueEdit* tot = dialog->EditAt(dialog->RowOf("BaseTot"));
        tot->setFocus();
        QTest::keyClicks(tot, typed);
        dialog->OkButton()->click();
    });
    Action(w, "miTimer")->trigger();
}

}  // namespace

class UndoRedoTest : public QObject {
    Q_OBJECT

private slots:
    void walksBackAndForthThroughEditsAndDialogs()
    {
        MainFixture f;
        TfrmMain w(f.Options({"-D"}));
        QAction* undo = Action(w, "miUndo");
        QAction* redo = Action(w, "miRedo");
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        const int32_t totBefore = w.Emem().BaseTot;

        // A grid edit: Lockout of channel 1 cycled by the space key.
        ChannelGrid* grid = w.Grid();
        grid->setCurrentIndex(grid->model()->index(0, GridCol::Lockout));
        const QString lockout = grid->CellText(0, GridCol::Lockout);
        QTest::keyClick(grid, Qt::Key_Space);
        QVERIFY(grid->CellText(0, GridCol::Lockout) != lockout);
        QCOMPARE(undo->text(), QStringLiteral("&Undo Edit"));

        SetBaseTotThroughTheDialog(w, "5");
        QCOMPARE(w.Emem().BaseTot, 10);
        QCOMPARE(undo->text(), QStringLiteral("&Undo Timer"));
        QVERIFY(w.Doc().Modified());

        undo->trigger();
        QCOMPARE(w.Emem().BaseTot, totBefore);
        QCOMPARE(redo->text(), QStringLiteral("&Redo Timer"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo Edit"));
        QVERIFY(grid->CellText(0, GridCol::Lockout) != lockout);  // the edit is still there
        undo->trigger();
        QCOMPARE(grid->CellText(0, GridCol::Lockout), lockout);
        QVERIFY(!undo->isEnabled());
        QVERIFY(!w.Doc().Modified());  // back where the program started

        redo->trigger();
        QVERIFY(grid->CellText(0, GridCol::Lockout) != lockout);
        redo->trigger();
        QCOMPARE(w.Emem().BaseTot, 10);
        QVERIFY(!redo->isEnabled());

        // A change after an undo drops what could be redone.
        undo->trigger();
        SetBaseTotThroughTheDialog(w, "2");
        QCOMPARE(w.Emem().BaseTot, 4);
        QVERIFY(!redo->isEnabled());

        // New starts a new history.
        f.prompter.answers.push_back(MsgResult::No);  // do not save
        Action(w, "miNew")->trigger();
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
    }

    // Saving writes the file's name into the data; the first Undo after it still takes back the
    // last real change, and a save keeps what can be redone.
    void saveIsNoStepOfItsOwn()
    {
        MainFixture f;
        const QString site = f.Path("site.Q54");
        {
            TCEmem stored;
            TMap54 map;
            SetDefaults(stored);
            QVERIFY(SaveDataFile(site.toStdString(), stored, map, f.prompter));
        }
        TfrmMain w(f.Options({site}));
        QAction* undo = Action(w, "miUndo");
        QAction* redo = Action(w, "miRedo");
        ChannelGrid* grid = w.Grid();
        grid->setCurrentIndex(grid->model()->index(0, GridCol::Lockout));
        const QString lockout = grid->CellText(0, GridCol::Lockout);
        QTest::keyClick(grid, Qt::Key_Space);
        const QString edited = grid->CellText(0, GridCol::Lockout);
        QVERIFY(edited != lockout);

        Action(w, "miSave")->trigger();  // in place
        QVERIFY(f.dialogs.saveFolders.isEmpty());
        QVERIFY(!w.Doc().Modified());
        const auto storedLockout = [&](const QString& path) {
            TCEmem read;
            TMap54 map;
            bool saveAllowed = true;
            return LoadDataFile(path.toStdString(), read, map, f.prompter, saveAllowed) ? read.Channels.Items(0).Lockout : -1;
        };
        const int32_t editedLockout = w.Emem().Channels.Items(0).Lockout;
        QCOMPARE(storedLockout(site), editedLockout);
        QCOMPARE(undo->text(), QStringLiteral("&Undo Edit"));
        QVERIFY(!redo->isEnabled());

        undo->trigger();
        QCOMPARE(grid->CellText(0, GridCol::Lockout), lockout);
        QCOMPARE(w.Working().Items(0).Lockout, w.Emem().Channels.Items(0).Lockout);
        QVERIFY(w.Doc().Modified());
        QVERIFY(!undo->isEnabled());
        QCOMPARE(redo->text(), QStringLiteral("&Redo Edit"));

        // The undone state saved under another name: the edit can still be redone.
        f.dialogs.saveAnswers = {f.Path("undone.Q54")};
        Action(w, "miSaveAs")->trigger();
        QVERIFY(!w.Doc().Modified());
        QVERIFY(storedLockout(f.Path("undone.Q54")) != editedLockout);
        QCOMPARE(redo->text(), QStringLiteral("&Redo Edit"));
        QVERIFY(!undo->isEnabled());
        redo->trigger();
        QCOMPARE(grid->CellText(0, GridCol::Lockout), edited);
        QVERIFY(w.Doc().Modified());  // undone.Q54 holds the state before the edit
        undo->trigger();
        QCOMPARE(grid->CellText(0, GridCol::Lockout), lockout);
        QVERIFY(!w.Doc().Modified());
    }

    // File > Import Channels... through the file dialog, undone and redone.
    void undoAndRedoAChannelImport()
    {
        MainFixture f;
        TfrmMain w(f.Options({"-D"}));
        const TChannels before = w.Working();
        const QString wide = w.Grid()->CellText(2, GridCol::Wide);
        f.WriteText("in.csv", "Ch,In Use,DCS\n3,yes,023\n");
        f.dialogs.openAnswers = {f.Path("in.csv")};
        Action(w, "miImportChannels")->trigger();
        QCOMPARE(w.Grid()->CellText(2, GridCol::RxDcs), QStringLiteral("023"));
        const TChannels imported = w.Working();
        QVERIFY(!(imported == before));
        QCOMPARE(Action(w, "miUndo")->text(), QStringLiteral("&Undo Import Channels"));

        Action(w, "miUndo")->trigger();
        QVERIFY(w.Working() == before);
        QVERIFY(w.Emem().Channels == before);
        QCOMPARE(w.Grid()->CellText(2, GridCol::RxDcs), QStringLiteral("off"));
        QCOMPARE(w.Grid()->CellText(2, GridCol::Wide), wide);
        QVERIFY(!w.Doc().Modified());

        Action(w, "miRedo")->trigger();
        QVERIFY(w.Working() == imported);
        QVERIFY(w.Emem().Channels == imported);
        QCOMPARE(w.Grid()->CellText(2, GridCol::RxDcs), QStringLiteral("023"));
        QVERIFY(w.Doc().Modified());
    }

    void undoingAnOpenedBackupBringsBackTheFileThatWasOpen()
    {
        MainFixture f;
        TfrmMain w(f.Options({"-D"}));
        const std::string file = w.Doc().CurrentFile();
        // What an Upload or an opened backup does to the document.
        w.Doc().Emem().BaseTot = 7;
        w.Doc().TakeUpload();
        w.Doc().Remember("Upload");
        QCOMPARE(w.Doc().UndoLabel(), std::string("Upload"));
        QVERIFY(w.Doc().Undo());
        QCOMPARE(w.Doc().CurrentFile(), file);
        QVERIFY(w.Emem().BaseTot != 7);
        QVERIFY(!w.Doc().Modified());
        QVERIFY(w.Doc().Redo());
        QCOMPARE(w.Doc().CurrentFile(), std::string("<none>"));
        QVERIFY(w.Doc().Modified());
    }
};

QTEST_MAIN(UndoRedoTest)
#include "undo_redo_test.moc"
