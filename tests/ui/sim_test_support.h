// Shared by the Qt tests that talk to a repeater: qm54-sim on a pseudo-terminal linked to
// folder/repeater, which saves what is written to it and keeps a transcript, ended when the
// object goes.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTest>

namespace qm54::test {

struct Simulator {
    QProcess process;
    QString link, saved, log;
    bool Start(const QString& folder, const QStringList& extra = {})
    {
        link = QDir(folder).filePath("repeater");
        saved = QDir(folder).filePath("written.Q54");
        log = QDir(folder).filePath("sim.log");
        process.start(QM54_SIM, QStringList{"--link", link, "--save", saved, "--log", log} + extra);
        if (!process.waitForStarted(10000)) return false;
        for (int i = 0; i < 200 && !QFileInfo::exists(link); ++i) QTest::qWait(25);
        return QFileInfo::exists(link);
    }
    QString Log() const
    {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    ~Simulator()
    {
        process.terminate();
        if (!process.waitForFinished(5000)) process.kill();
        process.waitForFinished(5000);
    }
};

}  // namespace qm54::test
