// The installed printers, the program's current printer and the settings it writes into them,
// behind an interface so that tests stand in for the print system.
#pragma once

#include "print/prt_img.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace qm54 {

class Prompter;

// What the program writes into a printer's settings: the paper code of the printing system
// (PaperCodeLetter, PaperCodeA4, or any other code the printer was set to) and the orientation.
struct PrinterSettings {
    int PaperCode = PaperCodeA4;
    bool Portrait = true;
    bool operator==(const PrinterSettings&) const = default;
};

class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    // The installed printers, in the order the system lists them.
    virtual QStringList Installed() = 0;
    // The system's default printer; empty when it has none.
    virtual QString DefaultPrinter() = 0;
    // The settings of printer name; nothing when they cannot be read.
    virtual std::optional<PrinterSettings> ReadSettings(const QString& name) = 0;
    virtual void WriteSettings(const QString& name, const PrinterSettings& settings) = 0;
    // One print job of the report's pages on printer name; false on any failure.
    [[nodiscard]] virtual bool RunJob(const QString& name, const PrinterSettings& settings, const TPrtImg& report) = 0;
};

// The printers of the system's print service (CUPS). The settings written are kept for this run,
// as the program's own settings of each printer; they start from the printer's default paper.
class SystemPrinters final : public PrinterSystem {
public:
    QStringList Installed() override;
    QString DefaultPrinter() override;
    std::optional<PrinterSettings> ReadSettings(const QString& name) override;
    void WriteSettings(const QString& name, const PrinterSettings& settings) override;
    bool RunJob(const QString& name, const PrinterSettings& settings, const TPrtImg& report) override;

private:
    std::map<QString, PrinterSettings> written_;
};

// The current printer of the program over a printer system.
class PrinterChoice {
public:
    explicit PrinterChoice(PrinterSystem& system) : system_(system) {}

    PrinterSystem& System() { return system_; }
    // The printer chosen last while it is installed, else the system's default, else the first
    // installed printer; empty when no printer is installed.
    QString Current();
    void SetCurrent(const QString& name) { chosen_ = name; }
    // The printer a job goes to: the one chosen last even when it has gone since, else Current().
    QString ForJob() { return chosen_.isEmpty() ? Current() : chosen_; }

private:
    PrinterSystem& system_;
    QString chosen_;
};

// The paper of a report about to be made: Letter or A4 as the current printer is set to, which
// is then set to portrait; A4, and the printer left as it is, for any other paper or no printer.
int ChooseReportPaper(PrinterChoice& printers);

// The report printed on the current printer; "Print error" on every failure (no printer, a
// printer that has gone, a job the system refuses). Returns whether the job went out.
bool PrintReport(PrinterChoice& printers, const TPrtImg& report, Prompter& prompter);

}  // namespace qm54
