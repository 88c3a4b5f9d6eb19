// The yardstick of the main window's start: a plain Qt Widgets program of the same shape (a main
// window, a 16 x 28 table and the seven menus) and nothing else. Like QM54Win with
// QM54WIN_REPORT_PAINT set, it writes "painted" to stdout once it has been painted for the first
// time; with the argument --quit it then ends (for profilers). Started by bench_main_window_start,
// alternated with QM54Win.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>
#include <QTimer>

#include <cstdio>

namespace {

class FirstPaintReporter : public QObject {
public:
    FirstPaintReporter(QWidget* window, bool quit) : window_(window), quit_(quit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, [this] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                if (quit_) QApplication::exit(0);
            });
        }
        return false;
    }

private:
    QWidget* window_;
    bool quit_;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : {"&File", "&Edit", "&View", "&Common", "&Signalling", "&Radio", "&Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("&Item"));
    window.setCentralWidget(new QTableWidget(16, 28, &window));
    window.resize(980, 600);
    FirstPaintReporter reporter(&window, QApplication::arguments().contains(QStringLiteral("--quit")));
    app.installEventFilter(&reporter);
    window.show();
    return app.exec();
}
