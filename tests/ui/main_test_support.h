// Shared by the main window's Qt tests: a prompter and file dialogs that answer from a script and
// record what was asked, and a temporary program folder.
#pragma once

#include "model/storage/prompter.h"
#include "ui/main/file_dialogs.h"
#include "ui/main/main_window.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <string>
#include <vector>

namespace qm54::test {

// Answers each message from the queue (OK or No when it is empty) and records every text.
struct ScriptedPrompter final : Prompter {
    std::vector<std::string> texts;
    std::vector<std::string> details;
    std::deque<MsgResult> answers;
    MsgResult Show(const std::string& text, MsgKind, MsgButtons buttons, const std::string& detail) override
    {
        texts.push_back(text);
        details.push_back(detail);
        if (!answers.empty()) {
            const MsgResult answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
    }
    bool Saw(const std::string& text) const
    {
        for (const auto& t : texts)
            if (t.find(text) != std::string::npos) return true;
        return false;
    }
};

// Returns the queued paths (empty: cancelled) and records the folders the dialogs started in.
struct ScriptedDialogs final : FileDialogs {
    std::deque<QString> openAnswers, saveAnswers, pdfAnswers;
    QStringList openFolders, saveFolders;
    QString OpenDataFile(QWidget*, const QString& folder) override
    {
        openFolders << folder;
        return Next(openAnswers);
    }
    QString SaveDataFile(QWidget*, const QString& folder) override
    {
        saveFolders << folder;
        return Next(saveAnswers);
    }
    QString SavePdfFile(QWidget*, const QString&) override { return Next(pdfAnswers); }
    // The channel CSV dialogs answer from the same queues.
    QString OpenChannelsCsv(QWidget* parent, const QString& folder) override { return OpenDataFile(parent, folder); }
    QString SaveChannelsCsv(QWidget* parent, const QString& folder) override { return SaveDataFile(parent, folder); }
    static QString Next(std::deque<QString>& queue)
    {
        if (queue.empty()) return QString();
        QString path = queue.front();
        queue.pop_front();
        return path;
    }
};

// A fresh program folder with the scripted prompter and dialogs wired into the start options.
struct MainFixture {
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;

    QString Path(const QString& name) const { return QDir(folder.path()).filePath(name); }

    StartOptions Options(const QStringList& arguments = {}) 
    {
        StartOptions options;
        options.Arguments = arguments;
        options.ProgramFolder = folder.path().toStdString() + "/";
        options.Today = "20261210";
        options.Messages = &prompter;
        options.Dialogs = &dialogs;
        options.AskPassword = [](QWidget*) { return std::optional<QString>(); };
        return options;
    }

    void WriteText(const QString& name, const QByteArray& text) const
    {
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly);
        file.write(text);
    }

    QByteArray ReadText(const QString& name) const
    {
        QFile file(Path(name));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
};

}  // namespace qm54::test
