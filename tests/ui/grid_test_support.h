// Shared by the channel grid's Qt tests: a sample working list, the ways an editor is opened and
// left, and a fixture that shows a grid over the sample list and counts its edits.
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include "model/image/tables.h"
#include "ui/main/channel_grid.h"
#include "ui/dialogs/multi_tone_dialog.h"
#include "ui/common/select_list_dialog.h"

namespace qm54::test {

// 16 channels in use on 150.010 MHz receive and 151.020 MHz transmit, with a few settings that
// show in the grid's texts.
inline TChannels SampleChannels()
{
    TChannels list;
    for (int i = 0; i < TChannels::Count(); ++i) {
        TChannel& ch = list.Items(i);
        ch.Number = i + 1;
        ch.InUse = 1;
        ch.RxFreq.SetValue(150.010);
        ch.TxFreq.SetValue(151.020);
        ch.NsqLevel = 42;
    }
    TChannel& second = list.Items(1);
    second.SetSlotUsed(0, 1);
    second.SetDecodeDcs(0, 1);
    second.SetDecodeTone(0, 103);   // "754"
    second.SetEncodeTone(0, 40);    // "159.8"
    second.Wide = 1;
    second.NsqMode = 1;
    second.IdMode = 2;
    second.TxPower = 1;
    list.Items(2).TxInhibit = -1;   // as decoded from the image
    list.Items(3).InUse = 0;
    return list;
}

// Types text into a frequency cell as a user does: the first key opens the editor on the cell,
// the rest goes into the editor, Enter commits it.
inline void TypeFrequency(ChannelGrid* grid, int channel, int column, const QString& text)
{
    grid->setCurrentIndex(grid->model()->index(channel, column));
    QTest::keyClicks(grid, text.left(1));
    QTest::keyClicks(grid->FrequencyEditor(), text.mid(1));
    QTest::keyClick(grid->FrequencyEditor(), Qt::Key_Return);
}

// How a test opens a cell's editor and how it leaves it.
enum EditorOpening { OpenByEnter, OpenByDoubleClick, OpenByTyping };
enum EditorLeaving { LeaveByEscape, LeaveByCursor, LeaveByCommit, LeaveByFocus };

// Runs action once the next modal dialog is up (it must close the dialog).
inline void WhenModal(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        action(modal);
    });
}


// The grid of a test, shown over SampleChannels(); SetUpGrid and TearDownGrid are the test's init
// and cleanup.
class GridTestBase : public QObject {
protected:
    ChannelGrid* grid_ = nullptr;
    int edits_ = 0;

    void Select(int channel, int column) { grid_->setCurrentIndex(grid_->model()->index(channel, column)); }
    QString Cell(int channel, int column) const { return grid_->CellText(channel, column); }
    TChannel Parsed(int channel)
    {
        TChannels list;
        grid_->ParseInto(list);
        return list.Items(channel);
    }
    void TypeFrequency(int channel, int column, const QString& text)
    {
        test::TypeFrequency(grid_, channel, column, text);
    }
    void Paste(int channel, int column, const QString& text)
    {
        Select(channel, column);
        QGuiApplication::clipboard()->setText(text);
        grid_->PasteCell();
    }

    void SetUpGrid()
    {
        grid_ = new ChannelGrid;
        grid_->resize(1600, 400);
        grid_->SetContext(0, 150, 174, 150, 174);
        grid_->SetIdFeatures(true, true);
        grid_->Fill(SampleChannels());
        grid_->show();
        grid_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(grid_));
        edits_ = 0;
        connect(grid_, &ChannelGrid::edited, this, [this] { ++edits_; });
    }
    void TearDownGrid()
    {
        delete grid_;
        grid_ = nullptr;
    }
};

}  // namespace qm54::test
