// Shared by the Qt tests of the settings dialogs: a document with a scripted prompter, and showing
// a dialog or focusing a control as the user's window system would.
#pragma once

#include "main_test_support.h"
#include "model/document/document.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

namespace qm54::test {

struct DialogFixture {
    ScriptedPrompter prompter;
    Document document{prompter, "/nonexistent/defaultv.Q54"};
};

inline void Show(QDialog& dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

inline void Focus(QWidget* widget)
{
    widget->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
}

}  // namespace qm54::test
