// The user guide as the help viewer shows it: the link in each help file's contents reaches the
// guide beside the help, the guide is rendered (not shown as markdown source), and every
// picture it shows is there.
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFormat>

#include "ui/common/help_viewer.h"

using namespace qm54;

class HelpGuideTest : public QObject {
    Q_OBJECT
private slots:
    void contentsLinkOpensTheRenderedGuideWithItsPictures();
};

void HelpGuideTest::contentsLinkOpensTheRenderedGuideWithItsPictures()
{
    const QString built = QFileInfo(QStringLiteral(QM54_GUI_EXE)).absolutePath();
    for (const char* name : {"QM54Win", "QM54Win2"}) {
        const QString folder = FindHelpFolder(built, QString::fromLatin1(name));
        QVERIFY2(!folder.isEmpty(), name);
        HelpViewer viewer;
        viewer.ShowPage(folder, HelpPage::Contents);
        auto* browser = viewer.findChild<QTextBrowser*>();
        QVERIFY(browser);

        QFile contents(QDir(folder).filePath(QStringLiteral("contents.html")));
        QVERIFY(contents.open(QIODevice::ReadOnly));
        const auto link = QRegularExpression(QStringLiteral("href=\"([^\"]*user-guide\\.md)\""))
                              .match(QString::fromUtf8(contents.readAll()));
        QVERIFY2(link.hasMatch(), name);
        browser->setSource(browser->source().resolved(QUrl(link.captured(1))));

        QVERIFY(QFileInfo::exists(viewer.CurrentSource()));
        const QString text = browser->document()->toPlainText();
        QVERIFY2(text.startsWith(QStringLiteral("QM54Win user guide")), qPrintable(text.left(40)));
        QVERIFY(!text.contains(QStringLiteral("](")));  // no markdown left unrendered

        int pictures = 0;
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
                if (!image.isValid()) continue;
                ++pictures;
                const QUrl url = browser->source().resolved(QUrl(image.name()));
                QVERIFY2(QFileInfo::exists(url.toLocalFile()), qPrintable(url.toString()));
            }
        }
        QVERIFY(pictures > 0);
    }
}

QTEST_MAIN(HelpGuideTest)
#include "help_guide_test.moc"
