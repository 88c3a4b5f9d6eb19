#include "ui/main/file_dialogs.h"

#include <QFileDialog>

namespace qm54 {

namespace {

QString Run(QWidget* parent, const QString& title, const QString& folder, bool save,
            const QString& filter, const QString& suffix)
{
    QFileDialog dialog(parent, title, folder);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

}  // namespace

QString QtFileDialogs::OpenDataFile(QWidget* parent, const QString& folder)
{
    return Run(parent, QStringLiteral("Open"), folder, false,
               QStringLiteral("Q54 Files (*.Q54 *.q54 *.RPT *.rpt)"), QStringLiteral("RPT"));
}

QString QtFileDialogs::SaveDataFile(QWidget* parent, const QString& folder)
{
    // A save dialog asks before it overwrites a file.
    return Run(parent, QStringLiteral("Save As"), folder, true, QStringLiteral("Q54 Files (*.Q54 *.q54)"),
               QStringLiteral("Q54"));
}

QString QtFileDialogs::SavePdfFile(QWidget* parent, const QString& folder)
{
    return Run(parent, QStringLiteral("Export PDF"), folder, true, QStringLiteral("PDF Files (*.pdf)"),
               QStringLiteral("pdf"));
}

QString QtFileDialogs::OpenChannelsCsv(QWidget* parent, const QString& folder)
{
    return Run(parent, QStringLiteral("Import Channels"), folder, false,
               QStringLiteral("CSV Files (*.csv *.CSV);;All Files (*)"), QStringLiteral("csv"));
}

QString QtFileDialogs::SaveChannelsCsv(QWidget* parent, const QString& folder)
{
    return Run(parent, QStringLiteral("Export Channels"), folder, true, QStringLiteral("CSV Files (*.csv *.CSV)"),
               QStringLiteral("csv"));
}

}  // namespace qm54
