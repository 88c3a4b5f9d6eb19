// qm54-dialog-shots FOLDER: saves a PNG of every settings and service dialog (the alignment window
// included, over a port that is never used) over the default programming, in
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

#include "model/document/document.h"
#include "ui/dialogs/alpha_tag_dialog.h"
#include "ui/dialogs/hardware_dialog.h"
#include "ui/dialogs/settings_dialogs.h"
#include "model/storage/backup_store.h"
#include "model/image/map54.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/backups_dialog.h"
#include "ui/dialogs/config_dialog.h"
#include "ui/common/qt_prompter.h"
#include "ui/dialogs/visible_dialog.h"
#include "ui/service/adjust_dialogs.h"
#include "ui/service/alignment_window.h"

namespace {

// The alignment window's picture needs a port, not a repeater: nothing is sent.
class NoPort : public qm54::SerialPort {
public:
    int Send(const uint8_t*, size_t) override { return 1; }
    int InQueue() override { return 0; }
    int ReadAvail(size_t, uint8_t*, size_t& got) override
    {
        got = 0;
        return 1;
    }
    void PurgeRx() override {}
    void PurgeTx() override {}
    void WaitReadable(int) override {}
    const std::string& ErrorText() const override { return text_; }
    std::string SystemReason() const override { return {}; }

private:
    std::string text_;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    qm54::QtPrompter prompter;
    qm54::Document document(prompter, "/nonexistent/defaultv.Q54");
    const auto mode = qm54::OperatingMode::Manufacture;
    // 5-tone on, so that the signalling dialog shows its time fields and repeat code enabled, and
    // two alpha tags in use.
    qm54::TCEmem& emem = document.Emem();
    emem.FiveToneRx = emem.FiveToneTx = 1;
    emem.AlphaTagCode[0] = 1;
    emem.AlphaTagText[0] = "NORTH   ";
    emem.AlphaTagCode[1] = 25;
    emem.AlphaTagText[1] = "HILL 2  ";
    NoPort noPort;

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
        {"dialog-signalling.png", [&] { return std::make_unique<qm54::TfrmSignal>(document, mode, prompter, nullptr); }},
        {"dialog-ani.png", [&] { return std::make_unique<qm54::TfrmAni>(document, mode, prompter, nullptr); }},
        {"dialog-eni.png", [&] { return std::make_unique<qm54::TfrmEni>(document, mode, prompter, nullptr); }},
        {"dialog-tone-table.png", [&] { return std::make_unique<qm54::TfrmToneTbl>(document, mode, prompter, nullptr); }},
        {"dialog-alpha-tag.png", [&] { return std::make_unique<qm54::TfrmAlphaTag>(document, mode, prompter, nullptr); }},
        {"dialog-configuration.png", [&] { return std::make_unique<qm54::TfrmConfig>("/dev/ttyUSB0", prompter, 0); }},
        {"dialog-visible.png", [&] {
             std::array<bool, qm54::ColumnGroupCount> shown{};
             shown.fill(true);
             return std::make_unique<qm54::TfrmVisible>(shown);
         }},
        {"dialog-about.png", [&] { return std::make_unique<qm54::TfrmAbout>(); }},
        {"dialog-rx-adjustment.png", [&] { return std::make_unique<qm54::TfrmRxAdjust>(document, mode, nullptr); }},
        {"dialog-tx-adjustment.png", [&] { return std::make_unique<qm54::TfrmTxAdjust>(document, mode, nullptr); }},
        {"dialog-tx-power.png", [&] { return std::make_unique<qm54::TfrmTxPower>(document, mode, nullptr); }},
        {"dialog-alignment.png", [&] {
             qm54::LinkTiming timing;
             return std::make_unique<qm54::TfrmAlignment>(1, document, noPort, prompter, timing);
         }},
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
