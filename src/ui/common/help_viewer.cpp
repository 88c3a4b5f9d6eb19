#include "ui/common/help_viewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qm54 {

namespace {
std::function<void(HelpPage)>& HelpHandler()
{
    static std::function<void(HelpPage)> handler;
    return handler;
}
}  // namespace

void SetHelpHandler(std::function<void(HelpPage)> handler) { HelpHandler() = std::move(handler); }

void RequestHelp(HelpPage page)
{
    if (HelpHandler()) HelpHandler()(page);
}

QString HelpPageFile(HelpPage page)
{
    switch (page) {
    case HelpPage::Contents: return QStringLiteral("contents.html");
    case HelpPage::Index: return QStringLiteral("keywords.html");
    case HelpPage::Topic: break;
    }
    return QStringLiteral("index.html");
}

QString FindHelpFolder(const QString& programFolder, const QString& helpName)
{
    const QString exeFolder = QCoreApplication::applicationDirPath();
    const QString installed = QDir(exeFolder).filePath(QStringLiteral("../share/qm54win"));
    for (const QString& base : {programFolder, exeFolder, installed}) {
        const QString folder = QDir(base).filePath(QStringLiteral("help/") + helpName);
        if (QFileInfo::exists(QDir(folder).filePath(HelpPageFile(HelpPage::Topic)))) return folder;
    }
    return QString();
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    setWindowTitle(tr("QM54Win Help"));
    browser_->setOpenExternalLinks(true);
    auto* back = new QPushButton(tr("&Back"), this);
    auto* contents = new QPushButton(tr("&Contents"), this);
    auto* index = new QPushButton(tr("&Index"), this);
    back->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(contents, &QPushButton::clicked, this, [this] {
        browser_->setSource(browser_->source().resolved(QUrl(HelpPageFile(HelpPage::Contents))));
    });
    connect(index, &QPushButton::clicked, this, [this] {
        browser_->setSource(browser_->source().resolved(QUrl(HelpPageFile(HelpPage::Index))));
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contents);
    buttons->addWidget(index);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(640, 520);
}

void HelpViewer::ShowPage(const QString& helpFolder, HelpPage page)
{
    if (helpFolder.isEmpty()) {
        browser_->setHtml(tr("<p>The help pages were not found. They belong in the folder "
                             "<b>help</b> beside the program.</p>"));
    } else {
        browser_->setSource(QUrl::fromLocalFile(QDir(helpFolder).filePath(HelpPageFile(page))));
    }
    show();
    raise();
    activateWindow();
}

QString HelpViewer::CurrentSource() const
{
    return browser_->source().toLocalFile();
}

}  // namespace qm54
