// The open and save dialogs of the main window, behind an interface so that tests answer them.
#pragma once

#include <QString>

class QWidget;

namespace qm54 {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // An existing Q54 or RPT file chosen in folder, or an empty text when cancelled.
    virtual QString OpenDataFile(QWidget* parent, const QString& folder) = 0;
    // A Q54 file name chosen in folder (overwriting confirmed), or empty when cancelled.
    virtual QString SaveDataFile(QWidget* parent, const QString& folder) = 0;
    // A PDF file name chosen in folder (overwriting confirmed), or empty when cancelled.
    virtual QString SavePdfFile(QWidget* parent, const QString& folder) = 0;
    // An existing CSV file of channels to import, or empty when cancelled.
    virtual QString OpenChannelsCsv(QWidget* parent, const QString& folder) = 0;
    // A CSV file name to export the channels to (overwriting confirmed), or empty when cancelled.
    virtual QString SaveChannelsCsv(QWidget* parent, const QString& folder) = 0;
};

class QtFileDialogs final : public FileDialogs {
public:
    QString OpenDataFile(QWidget* parent, const QString& folder) override;
    QString SaveDataFile(QWidget* parent, const QString& folder) override;
    QString SavePdfFile(QWidget* parent, const QString& folder) override;
    QString OpenChannelsCsv(QWidget* parent, const QString& folder) override;
    QString SaveChannelsCsv(QWidget* parent, const QString& folder) override;
};

}  // namespace qm54
