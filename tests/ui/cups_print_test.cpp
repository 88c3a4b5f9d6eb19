// End to end: File > Print in the window reaches a real PDF print queue. The test starts a cupsd
// of its own (configuration, spool, logs and socket in a temporary folder), adds a queue of the
// cups-pdf backend, prints through the window's printing code, waits a bounded time for the PDF
// and reads it back with pdftotext. cupsd runs its backends only when started by root: run as
// another user the test says so and skips, run as root it fails where cupsd cannot be started.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "main_test_support.h"
#include "page_lines.h"
#include "ui/print/print_setup_dialog.h"

using namespace qm54;
using namespace qm54::test;

namespace {

constexpr const char* kQueue = "QM54PDF";
constexpr int kStartMs = 15000;
constexpr int kJobMs = 60000;

bool MustRun() { return geteuid() == 0; }

// Runs a program to its end, for at most timeoutMs; its exit code, or -1.
int Run(const QString& program, const QStringList& arguments, const QString& server, QString* output = nullptr,
        int timeoutMs = 20000)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CUPS_SERVER", server);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
        return -1;
    }
    if (output) *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// A cupsd of the test's own, stopped when the object goes.
class OwnCupsd {
public:
    explicit OwnCupsd(const QString& root) : root_(root) {}
    ~OwnCupsd() { Stop(); }

    QString Socket() const { return root_ + "/cups.sock"; }

    // Empty on success, else why cupsd could not be started.
    QString Start()
    {
        if (!QFileInfo::exists("/usr/sbin/cupsd")) return "cupsd is not installed (package cups)";
        if (geteuid() != 0) return "cupsd runs its backends as root only; the test is not root";
        QDir(root_).mkpath("etc");
        QDir(root_).mkpath("spool");
        QDir(root_).mkpath("log");
        QFile::setPermissions(root_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                         QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        Write("etc/cupsd.conf", "Listen " + Socket() + "\nLogLevel warn\nWebInterface No\nBrowsing Off\n"
                                "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n");
        Write("etc/cups-files.conf", "ServerRoot " + root_ + "/etc\nRequestRoot " + root_ + "/spool\nCacheDir " +
                                         root_ + "/spool/cache\nStateDir " + root_ + "/spool/state\nAccessLog " +
                                         root_ + "/log/access_log\nErrorLog " + root_ + "/log/error_log\nPageLog " +
                                         root_ + "/log/page_log\nSystemGroup root\n");
        const std::string conf = (root_ + "/etc/cupsd.conf").toStdString();
        const std::string files = (root_ + "/etc/cups-files.conf").toStdString();
        pid_ = fork();
        if (pid_ == 0) {
            execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid_ < 0) return "fork failed";
        for (int waited = 0; waited < kStartMs; waited += 100) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return "cupsd exited at start: " + Log();
            }
            if (QFileInfo::exists(Socket()) && Run("lpstat", {"-r"}, Socket()) == 0) return {};
            QTest::qWait(100);
        }
        return "cupsd did not answer within the start time: " + Log();
    }

    void Stop()
    {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        for (int waited = 0; waited < 5000; waited += 50) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return;
            }
            usleep(50000);
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    QString Log() const
    {
        QFile log(root_ + "/log/error_log");
        return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(2000)) : QString();
    }

private:
    void Write(const QString& name, const QString& text) const
    {
        QFile file(root_ + "/" + name);
        if (file.open(QIODevice::WriteOnly)) file.write(text.toLocal8Bit());
    }

    QString root_;
    pid_t pid_ = -1;
};

// The PDF files in folder.
QStringList PdfFiles(const QString& folder) { return QDir(folder).entryList({"*.pdf"}, QDir::Files); }

}  // namespace

class CupsPrintTest : public QObject {
    Q_OBJECT
private slots:
    void printFromTheWindowReachesTheCupsPdfQueue()
    {
        QTemporaryDir root(QDir::tempPath() + "/qm54-cups-XXXXXX");
        QVERIFY(root.isValid());
        OwnCupsd cupsd(root.path());
        const QString why = cupsd.Start();
        if (!why.isEmpty()) {
            if (MustRun()) QFAIL(qPrintable("cupsd could not be started as root: " + why));
            QSKIP(qPrintable("no print system for this test: " + why));
        }
        const QString ppd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
        if (!QFileInfo::exists("/usr/lib/cups/backend/cups-pdf") || !QFileInfo::exists(ppd) ||
            !QFileInfo::exists("/usr/bin/pdftotext")) {
            if (MustRun()) QFAIL("printer-driver-cups-pdf or poppler-utils is missing");
            QSKIP("printer-driver-cups-pdf or poppler-utils is not installed");
        }
        QString output;
        QCOMPARE(Run("lpadmin", {"-p", kQueue, "-E", "-v", "cups-pdf:/", "-P", ppd}, cupsd.Socket(), &output), 0);
        // The library of the print system reads its server once: set before the window asks.
        qputenv("CUPS_SERVER", cupsd.Socket().toLocal8Bit());

        // cups-pdf writes into the PDF folder of the job's user, as the system's cups-pdf.conf says.
        const passwd* user = getpwuid(geteuid());
        QVERIFY(user);
        const QString outFolder = QString::fromLocal8Bit(user->pw_dir) + "/PDF";
        const QStringList before = PdfFiles(outFolder);

        MainFixture f;
        TfrmMain w(f.Options());
        QTimer::singleShot(0, [] {
            auto* setup = qobject_cast<TfrmPrintSetup*>(QApplication::activeModalWidget());
            QVERIFY(setup);
            QCOMPARE(setup->cmbPrinter()->currentText(), QString(kQueue));
            setup->btnOK()->click();
        });
        w.FilePrint();
        QVERIFY2(f.prompter.texts.empty(), f.prompter.texts.empty() ? "" : f.prompter.texts[0].c_str());

        QString pdf;
        for (int waited = 0; waited < kJobMs && pdf.isEmpty(); waited += 200) {
            for (const QString& name : PdfFiles(outFolder))
                if (!before.contains(name)) pdf = outFolder + "/" + name;
            if (pdf.isEmpty()) QTest::qWait(200);
        }
        QVERIFY2(!pdf.isEmpty(), qPrintable("no PDF from the queue within the time: " + cupsd.Log()));
        // The backend names the file before it has written it: wait for the job to end.
        QString jobs = "?";
        for (int waited = 0; waited < kJobMs && !jobs.trimmed().isEmpty(); waited += 200) {
            if (Run("lpstat", {"-o", kQueue}, cupsd.Socket(), &jobs) != 0) jobs = "?";
            if (!jobs.trimmed().isEmpty()) QTest::qWait(200);
        }
        QVERIFY2(jobs.trimmed().isEmpty(), qPrintable("the job did not end within the time: " + jobs));
        QString text;
        QCOMPARE(Run("/usr/bin/pdftotext", {"-layout", pdf, "-"}, cupsd.Socket(), &text), 0);
        QFile::remove(pdf);
        cupsd.Stop();

        QCOMPARE(text.count('\f'), ReportPageCount);
        const QString expected = QString::fromStdString(ReportText(TPrtImg(w.Emem(), w.CurrentFile(), {2026, 12, 10})));
        // The print system's conversion to PostScript and back keeps each glyph in its place but not
        // what it means (pdftotext reads the codes of the font's subset), so the pages are compared
        // by their lines: three pages, each with the lines the report draws on it.
        const PageLines got = PageLinesOf(text.toStdString());
        const PageLines want = PageLinesOf(expected.toStdString());
        QCOMPARE(got.size(), want.size());
        for (size_t p = 0; p < want.size(); ++p) QCOMPARE(got[p].size(), want[p].size());
    }
};

QTEST_MAIN(CupsPrintTest)
#include "cups_print_test.moc"
