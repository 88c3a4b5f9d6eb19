// QM54Win: one copy at a time; the first argument chooses the mode or names a data file, and
// "--port DEV" anywhere chooses the serial device for this run.
#include "model/storage/instance_lock.h"
#include "model/storage/program_folder.h"
#include "ui/common/help_viewer.h"
#include "ui/main/main_window.h"
#include "ui/common/qt_text.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// Once the main window has been painted for the first time: with QM54WIN_REPORT_PAINT set,
// "painted" is written to stdout (the start-up benchmark waits for it); with QM54WIN_SCREENSHOT
// set to a file name, the window is saved there as a PNG and the program ends; with
// QM54WIN_REPORT_HELP set, the help folder of each help file is written to stdout ("QM54Win:
// FOLDER", empty when not found) and the program ends (the package test checks an installed copy).
class FirstPaintReporter : public QObject {
public:
    FirstPaintReporter(QWidget* window, QString programFolder)
        : window_(window), programFolder_(std::move(programFolder))
    {
    }
    static bool Wanted()
    {
        return std::getenv("QM54WIN_REPORT_PAINT") || std::getenv("QM54WIN_SCREENSHOT") ||
               std::getenv("QM54WIN_REPORT_HELP");
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, [this] {
                if (std::getenv("QM54WIN_REPORT_PAINT")) {
                    std::fputs("painted\n", stdout);
                    std::fflush(stdout);
                }
                if (std::getenv("QM54WIN_REPORT_HELP")) {
                    for (const char* name : {"QM54Win", "QM54Win2"}) {
                        const QString help = qm54::FindHelpFolder(programFolder_, QString::fromLatin1(name));
                        std::printf("%s: %s\n", name, QDir::cleanPath(help).toLocal8Bit().constData());
                    }
                    std::printf("program folder: %s\n", programFolder_.toLocal8Bit().constData());
                    std::fflush(stdout);
                    QApplication::exit(0);
                }
                if (const char* shot = std::getenv("QM54WIN_SCREENSHOT")) {
                    const bool saved = window_->grab().save(QString::fromLocal8Bit(shot), "PNG");
                    QApplication::exit(saved ? 0 : 1);
                }
            });
        }
        return false;
    }

private:
    QWidget* window_;
    QString programFolder_;
};

}  // namespace

int main(int argc, char** argv)
{
    qm54::InstanceLock lock;
    if (!lock.Acquire(qm54::InstanceLockFolder())) return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QM54Win"));

    qm54::StartOptions options;
    QStringList arguments = QApplication::arguments().mid(1);
    for (int i = 0; i < arguments.size();) {
        if (arguments[i] == QLatin1String("--port") && i + 1 < arguments.size()) {
            options.PortDevice = arguments[i + 1];
            arguments.remove(i, 2);
        } else if (arguments[i].startsWith(QLatin1String("--port="))) {
            options.PortDevice = arguments[i].mid(7);
            arguments.remove(i);
        } else {
            ++i;
        }
    }
    options.Arguments = arguments;
    options.ProgramFolder = qm54::ResolveProgramFolder(qm54::CurrentProgramFolderInputs());

    const QString programFolder = qm54::ToQString(options.ProgramFolder);

    qm54::TfrmMain window(std::move(options));
    FirstPaintReporter reporter(&window, programFolder);
    if (FirstPaintReporter::Wanted()) app.installEventFilter(&reporter);
    window.show();
    return app.exec();
}
