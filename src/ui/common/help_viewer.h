// The built-in help viewer: one window showing the HTML help of the running mode (help/QM54Win/
// in the Normal mode, help/QM54Win2/ in the service modes), with its default topic, its table
// of contents or its index.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QTextBrowser;

namespace qm54 {

enum class HelpPage { Topic, Contents, Index };

// The help folder of helpName ("QM54Win" or "QM54Win2"): programFolder/help/<name>/ when it
// has a default topic, else the same beside the executable, else the installed help in
// share/qm54win/help/<name>/ beside the executable's bin/ folder. Empty when none exists.
QString FindHelpFolder(const QString& programFolder, const QString& helpName);

// The file that a request shows, inside the help folder.
QString HelpPageFile(HelpPage page);

// F1 in a dialog asks for the help through RequestHelp; the main window installs the handler that
// shows its viewer. Without a handler a request does nothing.
void SetHelpHandler(std::function<void(HelpPage)> handler);
void RequestHelp(HelpPage page);

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);
    // Shows the page of the help folder and raises the window. A missing folder shows a page that
    // says where the help was looked for.
    void ShowPage(const QString& helpFolder, HelpPage page);
    QString CurrentSource() const;

private:
    QTextBrowser* browser_;
};

}  // namespace qm54
