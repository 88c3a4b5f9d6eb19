// Shared by the printing tests: a print system of scripted printers that records each job.
#pragma once

#include "ui/print/printers.h"

#include <QStringList>

#include <map>
#include <string>
#include <vector>

namespace qm54::test {

struct FakePrinters final : PrinterSystem {
    QStringList installed;
    QString defaultName;
    std::map<QString, PrinterSettings> settings;  // a printer missing here has unreadable settings
    struct Job {
        QString Printer;
        PrinterSettings Settings;
        std::string Text;  // the report's pages as text
    };
    std::vector<Job> jobs;
    bool refuseJobs = false;
    int queries = 0;  // how often the installed printers were asked for

    QStringList Installed() override
    {
        ++queries;
        return installed;
    }
    QString DefaultPrinter() override { return defaultName; }
    std::optional<PrinterSettings> ReadSettings(const QString& name) override
    {
        const auto it = settings.find(name);
        return it == settings.end() ? std::nullopt : std::optional<PrinterSettings>(it->second);
    }
    void WriteSettings(const QString& name, const PrinterSettings& s) override
    {
        if (settings.count(name) != 0) settings[name] = s;
    }
    bool RunJob(const QString& name, const PrinterSettings& s, const TPrtImg& report) override
    {
        if (refuseJobs || !installed.contains(name)) return false;
        jobs.push_back({name, s, ReportText(report)});
        return true;
    }
};

}  // namespace qm54::test
