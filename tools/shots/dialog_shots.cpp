// qm54-dialog-shots FOLDER: saves a PNG of every settings dialog over the default programming, in
// the Manufacture mode (every control enabled), and of the configuration, visibility and about
// dialogs, for the documentation. Run under a display
// (scripts/screenshot runs it under Xvfb).
#include <QApplication>
#include <QDir>
#include <QTimer>

#include <ctime>

#include <functional>
#include <memory>
#include <vector>

#include "model/document.h"
#include "ui/dialogs/hardware_dialog.h"
#include "ui/dialogs/settings_dialogs.h"
#include "model/backup_store.h"
#include "model/map54.h"
#include "ui/main/about_dialog.h"
#include "ui/main/backups_dialog.h"
#include "ui/main/config_dialog.h"
#include "ui/main/qt_prompter.h"
#include "ui/main/visible_dialog.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    qm54::QtPrompter prompter;
    qm54::Document document(prompter, "/nonexistent/defaultv.Q54");
    const auto mode = qm54::OperatingMode::Manufacture;

    // Three backups of one repeater for the backups dialog, of the default programming.
    qm54::TMap54 defaults;
    {
        qm54::TCEmem emem;
        static_cast<void>(defaults.Decode(emem));
        qm54::SetDefaults(emem);
        defaults.Encode(emem);
    }
    const QString backupRoot = QDir::temp().filePath(QStringLiteral("qm54-shots-backups"));
    QDir(backupRoot).removeRecursively();
    for (auto [direction, age] : {std::pair{qm54::BackupDirection::Upload, 7200}, {qm54::BackupDirection::Download, 60},
                                  {qm54::BackupDirection::Verify, 50}})
        static_cast<void>(qm54::WriteBackup(backupRoot.toStdString(), defaults.Bytes(), direction,
                                            std::time(nullptr) - age, qm54::BackupRule{}));

    using Make = std::function<std::unique_ptr<QDialog>()>;
    const std::vector<std::pair<QString, Make>> dialogs = {
        {"dialog-hardware.png", [&] { return std::make_unique<qm54::TfrmHardware>(document, mode, prompter, nullptr); }},
        {"dialog-radio-status.png", [&] { return std::make_unique<qm54::TfrmRadioStatus>(document, mode, prompter, nullptr); }},
        {"dialog-timer.png", [&] { return std::make_unique<qm54::TfrmTimer>(document, mode, prompter, nullptr); }},
        {"dialog-cw-id.png", [&] { return std::make_unique<qm54::TfrmCWID>(document, mode, prompter, nullptr); }},
        {"dialog-market.png", [&] { return std::make_unique<qm54::TfrmMarket>(document, mode, prompter, nullptr); }},
        {"dialog-configuration.png", [&] { return std::make_unique<qm54::TfrmConfig>("/dev/ttyUSB0", prompter, 0); }},
        {"dialog-visible.png", [&] {
             std::array<bool, qm54::ColumnGroupCount> shown{};
             shown.fill(true);
             return std::make_unique<qm54::TfrmVisible>(shown);
         }},
        {"dialog-about.png", [&] { return std::make_unique<qm54::TfrmAbout>(); }},
        {"dialog-backups.png", [&] { return std::make_unique<qm54::TfrmBackups>(backupRoot.toStdString()); }},
    };
    int failures = 0;
    for (const auto& [name, make] : dialogs) {
        std::unique_ptr<QDialog> dialog = make();
        dialog->show();
        for (int i = 0; i < 10; ++i) app.processEvents();
        if (!dialog->grab().save(folder.filePath(name), "PNG")) ++failures;
    }
    QDir(backupRoot).removeRecursively();
    return failures == 0 ? 0 : 1;
}
