// What the service dialogs share: value edit fields bound to an alignment setting (key and index)
// with the rules of src/model/settings/service_fields.h, an up-down button beside the integer fields, the
// Alt accelerators (the first enabled field of a letter's list takes the focus), the hint strip,
// the backup taken on showing, and OK and Cancel buttons that are never the default button.
#pragma once

#include <QDialog>

#include <span>
#include <string_view>
#include <vector>

#include "model/document/document.h"
#include "model/image/emem.h"
#include "ui/dialogs/dialog_conventions.h"

class QBoxLayout;
class QGridLayout;
class QLabel;
class QPushButton;

namespace qm54 {

// A sunken caption panel; the letter after "&" is underlined (the accelerator is the dialog's).
QLabel* CaptionPanel(const QString& caption, QWidget* parent);
// The accelerator letter of a caption, the character after "&" (none when there is no "&").
QChar AcceleratorOf(const QString& caption);

class ServiceDialog : public QDialog {
    Q_OBJECT
public:
    ValueEdit* Field(std::string_view key, int index = 0) const;
    QString HintText() const;  // the right panel of the hint strip

protected:
    ServiceDialog(const QString& caption, Document& document, QWidget* parent);
    ~ServiceDialog() override;

    // A field for the setting at index, named objectName, enabled or not. Integer fields get an
    // up-down button: the returned widget is what goes into the layout.
    QWidget* AddField(std::string_view key, int index, const QString& objectName, bool enabled);
    // Grid rows: the column captions " Lowest" to " Highest" in line 0; a caption panel with the four
    // point fields of key (named stem + suffix); a caption panel with one field. Alt + the
    // caption's letter focuses the row's first field.
    void AddPointCaptions(QGridLayout& grid);
    void AddPointRow(QGridLayout& grid, int line, const char* caption, std::string_view key, const char* stem,
                     const std::array<const char*, AlignmentPointCount>& suffixes, bool enabled);
    void AddSingleRow(QGridLayout& grid, int line, const char* caption, std::string_view key, const char* name,
                      bool enabled);
    // Enables or disables a field, its up-down button with it, and paints it accordingly.
    void SetFieldEnabled(ValueEdit* edit, bool enabled);
    // Alt + letter focuses the first of targets that is enabled.
    void AddAccelerator(QChar letter, const std::vector<QWidget*>& targets);
    // The buttons and the hint strip below body.
    void FinishLayout(QLayout* body);
    // Every field shows its setting from the document, and the backup is taken.
    void LoadFields();
    // Every field's text, normalised, is stored into the document's settings.
    void StoreFields();
    // The right hint panel for the widget that took the focus.
    virtual QString HintFor(QWidget* focused) const;
    // OK: every field stored, Modified set when a setting of CompareKeys() differs from the
    // backup, closed with OK.
    virtual void Ok();
    virtual std::span<const std::string_view> CompareKeys() const = 0;

    Document& document_;
    TCEmem backup_;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;

private:
    struct Bound {
        ValueEdit* Edit;
        std::string_view Key;
        int Index;
        bool Enabled;
    };
    void Paint(const Bound& field);
    void FocusChanged(QWidget* now);

    std::vector<Bound> fields_;
    QLabel* hintLeft_ = nullptr;
    QLabel* hintRight_ = nullptr;
    QMetaObject::Connection focusWatch_;
};

// The four point fields of one setting in a row of a grid: the frequency order rule puts a field
// that breaks it back to its entry text.
void KeepPointOrder(const std::array<ValueEdit*, AlignmentPointCount>& fields);

}  // namespace qm54
