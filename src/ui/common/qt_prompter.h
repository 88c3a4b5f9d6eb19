// The message boxes of the main window and its dialogs: the Prompter of the core, shown as a
// QMessageBox of the matching kind.
#pragma once

#include "model/storage/prompter.h"

#include <QString>

class QWidget;

namespace qm54 {

class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    // The title of the next boxes; empty gives the caption of each box's kind.
    void SetTitle(const QString& title) { title_ = title; }
    MsgResult Show(const std::string& text, MsgKind kind, MsgButtons buttons,
                   const std::string& detail) override;

private:
    QWidget* parent_;
    QString title_;
};

}  // namespace qm54
