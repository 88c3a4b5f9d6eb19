// Filling the channel grid from the working list: the time of Fill() alone and of Fill() with the
// grid's repaint, median of many runs on a shown grid (offscreen unless a display is chosen).
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "model/image/channel.h"
#include "ui/main/channel_grid.h"

namespace {

qm54::TChannels Channels()
{
    qm54::TChannels list;
    for (int i = 0; i < qm54::TChannels::Count(); ++i) {
        qm54::TChannel& ch = list.Items(i);
        ch.Number = i + 1;
        ch.InUse = i % 3 != 2;
        ch.RxFreq.SetValue(150.0 + i * 0.0125);
        ch.TxFreq.SetValue(155.0 + i * 0.00625);
        ch.NsqMode = i % 2;
        ch.SetDecodeDcs(0, i % 2);
        ch.SetDecodeTone(0, i * 3);
        ch.SetEncodeTone(0, i * 2);
        ch.TxInhibit = i == 5;
    }
    return list;
}

template <class F>
double MedianMs(int runs, F&& f)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(ms.begin(), ms.begin() + runs / 2, ms.end());
    return ms[static_cast<std::size_t>(runs / 2)];
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qm54::ChannelGrid grid;
    grid.SetContext(0, 150, 174, 150, 174);
    grid.resize(1400, 360);
    grid.show();
    QApplication::processEvents();

    const qm54::TChannels a = Channels();
    qm54::TChannels b = Channels();
    b.Items(0).RxFreq.SetValue(160.0);
    int flip = 0;
    const double fill = MedianMs(500, [&] { grid.Fill(++flip % 2 ? a : b); });
    const double fillPaint = MedianMs(200, [&] {
        grid.Fill(++flip % 2 ? a : b);
        grid.viewport()->repaint();
    });
    std::printf("grid Fill from the working list: median %.3f ms (target 5 ms)\n", fill);
    std::printf("grid Fill and repaint:           median %.3f ms\n", fillPaint);
    return 0;
}
