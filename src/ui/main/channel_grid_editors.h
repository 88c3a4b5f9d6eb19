// The two editors laid over a cell of the channel grid: the frequency text editor edtDmy and the
// NSQ level spin editor SpinDmy. At most one is active at a time; it remembers its cell and the
// cell's text at opening (for Escape). The grid decides when they open and what their text
// does to the cell; this class holds them, places them and takes typed and pasted characters
// through the cell's filter.
#pragma once

#include <QString>

class QLineEdit;
class QObject;
class QRect;
class QSpinBox;
class QWidget;

namespace qm54 {

class LevelSpinBox;

class CellEditors {
public:
    enum class Kind { None, Text, Spin };

    // The editors are children of viewport; their key, focus and menu events go to eventFilter.
    CellEditors(QWidget* viewport, QObject* eventFilter);

    Kind Active() const { return active_; }
    bool IsActive() const { return active_ != Kind::None; }
    int Channel() const { return channel_; }
    int Column() const { return column_; }
    QLineEdit* FrequencyEditor() const { return edtDmy_; }
    QSpinBox* LevelEditor() const;
    bool IsEditor(const QObject* object) const;
    bool HasFocus() const;
    // The selected text of the active editor.
    QString SelectedText() const;

    // Opens the text editor on a frequency cell with text (the typed character, or the cell's
    // text selected).
    void OpenText(int channel, int column, const QString& cellText, const QString& text, bool selectAll);
    // Opens the spin editor on the level cell at level, or with typed as its whole text.
    void OpenSpin(int channel, int column, const QString& cellText, int level, const QString& typed, bool selectAll);
    // Lays the active editor over cell (viewport coordinates), or hides it while its row is out of
    // view; with focus, it also takes the focus.
    void Place(const QRect& cell, int viewportHeight, bool focus);
    void SelectAll();

    // A character typed on the grid while the editor is open: appended while the text is shorter
    // than the editor's maximum length. Characters the cell does not take are dropped.
    void Append(QChar c);
    // The characters of text that the cell takes replace the editor's selection as far as they
    // fit; the text is walked only until the editor is full. Returns whether the text changed.
    bool Paste(const QString& text);

    // Closes the active editor. Changed tells whether it holds a text other than the cell's
    // text at opening; Escape (restore) puts that text back, so it never changes anything. The
    // result is the editor's text, or, for the spin editor, its value held within 0..255.
    struct Closed {
        bool Changed = false;
        QString Text;
        int Level = 0;
    };
    Closed Close(bool restore);
    // Closes the active editor without a result (the grid is filled anew).
    void Drop();

    // What the frequency cells and the level cell take from the keyboard and the clipboard.
    static bool FrequencyCharacter(QChar c);
    static bool LevelCharacter(QChar c);
    // Whether a key event's character is one the active editor must drop.
    bool Refuses(QChar c, const QObject* editor) const;

private:
    QLineEdit* ActiveLine() const;
    QWidget* ActiveWidget() const;

    QLineEdit* edtDmy_;
    LevelSpinBox* spinDmy_;
    Kind active_ = Kind::None;
    int channel_ = 0;
    int column_ = 0;
    QString startText_;
};

}  // namespace qm54
