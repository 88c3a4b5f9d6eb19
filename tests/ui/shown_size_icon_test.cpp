// The toolbar's pictures read at the size they are shown: at every size and in the disabled look
// they are exactly the style's own icons, and the ones without a built-in picture are the style's.
#include "ui/main/shown_size_icon.h"

#include <QApplication>
#include <QImage>
#include <QtTest>

using namespace qm54;

class ShownSizeIconTest : public QObject {
    Q_OBJECT

private slots:
    void picturesAreTheStylesAtEverySize_data();
    void picturesAreTheStylesAtEverySize();
    void theSizesAreKnownBeforeAnyIsRead();
};

void ShownSizeIconTest::picturesAreTheStylesAtEverySize_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("mode");
    const QStyle::StandardPixmap ids[] = {QStyle::SP_FileIcon, QStyle::SP_DialogOpenButton, QStyle::SP_DialogSaveButton,
                                          QStyle::SP_FileDialogDetailedView, QStyle::SP_ArrowUp, QStyle::SP_ArrowDown,
                                          QStyle::SP_MessageBoxQuestion};
    // 16 in the menus, 24 on the toolbar; the others between and beyond the stored sizes.
    for (QStyle::StandardPixmap id : ids)
        for (int side : {16, 24, 32, 48, 128, 200})
            for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled})
                QTest::addRow("%d at %d, mode %d", int(id), side, int(mode)) << int(id) << side << int(mode);
}

void ShownSizeIconTest::picturesAreTheStylesAtEverySize()
{
    QFETCH(int, id);
    QFETCH(int, side);
    QFETCH(int, mode);
    const auto pixmap = QStyle::StandardPixmap(id);
    const QSize size(side, side);
    const QImage ours = StandardIconAtShownSize(pixmap).pixmap(size, QIcon::Mode(mode)).toImage();
    const QImage style = QApplication::style()->standardIcon(pixmap).pixmap(size, QIcon::Mode(mode)).toImage();
    QVERIFY(!ours.isNull());
    QCOMPARE(ours.size(), style.size());
    QCOMPARE(ours.convertToFormat(QImage::Format_ARGB32), style.convertToFormat(QImage::Format_ARGB32));
}

void ShownSizeIconTest::theSizesAreKnownBeforeAnyIsRead()
{
    const QIcon icon = StandardIconAtShownSize(QStyle::SP_FileIcon);
    const QIcon style = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.availableSizes(), style.availableSizes());
    for (int side : {16, 24, 100, 300}) QCOMPARE(icon.actualSize(QSize(side, side)), style.actualSize(QSize(side, side)));
}

QTEST_MAIN(ShownSizeIconTest)
#include "shown_size_icon_test.moc"
