// The grid's cell texts, laid out once and drawn many times, look exactly as QPainter::drawText
// draws them: aligned right or centred at the top, clipped when too wide, in the font of the
// moment and the layout direction of the painter.
#include "ui/main/channel_grid_paint.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace qm54;

namespace {

QImage Blank()
{
    QImage image(160, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

struct Draw {
    QRect rect;
    Qt::Alignment horizontal;
    QString text;
};

// The same draws, once through CellTexts and once through QPainter::drawText.
std::pair<QImage, QImage> Paint(CellTexts& texts, const std::vector<Draw>& draws, const QFont& font,
                                Qt::LayoutDirection direction)
{
    QImage ours = Blank(), qt = Blank();
    QPainter a(&ours), b(&qt);
    for (QPainter* p : {&a, &b}) {
        p->setFont(font);
        p->setLayoutDirection(direction);
    }
    for (const Draw& d : draws) {
        texts.Draw(&a, d.rect, d.horizontal, d.text);
        b.drawText(d.rect, d.horizontal | Qt::AlignTop | Qt::TextSingleLine, d.text);
    }
    return {ours, qt};
}

}  // namespace

class CellTextsTest : public QObject {
    Q_OBJECT

private slots:
    void drawsAsDrawTextDoes_data();
    void drawsAsDrawTextDoes();
    void aTextLaidOutInOneFontIsNotReusedInAnother();
};

void CellTextsTest::drawsAsDrawTextDoes_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    for (int direction : {int(Qt::LeftToRight), int(Qt::RightToLeft)})
        for (int horizontal : {int(Qt::AlignRight), int(Qt::AlignHCenter)}) {
            const char* side = horizontal == Qt::AlignRight ? "right" : "centred";
            const char* way = direction == Qt::LeftToRight ? "ltr" : "rtl";
            QTest::addRow("%s %s fits", way, side) << direction << horizontal << "161.00000" << 90;
            QTest::addRow("%s %s clipped", way, side) << direction << horizontal << "161.00000 Duplex" << 30;
            QTest::addRow("%s %s one letter", way, side) << direction << horizontal << "W" << 21;
            QTest::addRow("%s %s empty", way, side) << direction << horizontal << "" << 40;
        }
}

void CellTextsTest::drawsAsDrawTextDoes()
{
    QFETCH(int, direction);
    QFETCH(int, horizontal);
    QFETCH(QString, text);
    QFETCH(int, width);
    CellTexts texts;
    // The second and third draws reuse the layout of the first, elsewhere and in another width.
    const std::vector<Draw> draws = {{QRect(3, 2, width, 17), Qt::Alignment(horizontal), text},
                                     {QRect(40, 21, width, 17), Qt::Alignment(horizontal), text},
                                     {QRect(7, 40, width + 11, 17), Qt::Alignment(horizontal), text}};
    const auto [ours, qt] = Paint(texts, draws, QFont(), Qt::LayoutDirection(direction));
    QCOMPARE(ours, qt);
}

void CellTextsTest::aTextLaidOutInOneFontIsNotReusedInAnother()
{
    CellTexts texts;
    const std::vector<Draw> draws = {{QRect(3, 2, 120, 17), Qt::AlignHCenter, "Prpgm"}};
    QFont big;
    big.setPointSize(big.pointSize() + 4);
    Paint(texts, draws, QFont(), Qt::LeftToRight);
    const auto [ours, qt] = Paint(texts, draws, big, Qt::LeftToRight);
    QCOMPARE(ours, qt);
}

QTEST_MAIN(CellTextsTest)
#include "cell_texts_test.moc"
