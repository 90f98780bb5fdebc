#include "reports/qt/race_charts_svg.h"

#include <QBuffer>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <vector>

namespace kesto {
namespace {

// The charts one under the other, each an equal share of the height.
QByteArray RenderSvg(std::vector<std::unique_ptr<QChart>> made, QSize size,
                     const std::string& caption, bool forBrowsers = false) {
    QGraphicsScene scene;
    const double share = size.height() / static_cast<double>(made.size());
    double top = 0;
    for (std::unique_ptr<QChart>& owned : made) {
        QChart* chart = owned.release();
        scene.addItem(chart); // the scene owns it from here
        chart->setGeometry(QRectF(0, top, size.width(), share));
        // Lay the chart out now; without a view no event loop would do it.
        chart->layout()->activate();
        top += share;
    }

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Kesto Timer: ") + QString::fromStdString(caption));
    QPainter painter(&generator);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    scene.render(&painter, area, area);
    painter.end();
    if (!forBrowsers)
        return buffer.data();
    // A browser may know none of the desktop's font names ("Sans Serif"): give
    // it the generic family after them, or it draws the text in a serif face.
    static const QRegularExpression family(QStringLiteral("font-family=\"([^\"]*)\""));
    return QString::fromUtf8(buffer.data())
        .replace(family, QStringLiteral("font-family=\"\\1, sans-serif\""))
        .toUtf8();
}

} // namespace

QByteArray RenderRaceChartsSvg(const RaceCharts& charts, QSize size, const ChartLook& look) {
    std::vector<std::unique_ptr<QChart>> made;
    made.push_back(MakeLapTimeChart(charts, look));
    made.push_back(MakeLapChart(charts, look));
    return RenderSvg(std::move(made), size, charts.caption);
}

QByteArray RenderLapTimeChartSvg(const RaceCharts& charts, QSize size) {
    std::vector<std::unique_ptr<QChart>> made;
    made.push_back(MakeLapTimeChart(charts, {}));
    return RenderSvg(std::move(made), size, charts.caption, true);
}

QByteArray RenderLapChartSvg(const RaceCharts& charts, QSize size) {
    std::vector<std::unique_ptr<QChart>> made;
    made.push_back(MakeLapChart(charts, {}));
    return RenderSvg(std::move(made), size, charts.caption, true);
}

} // namespace kesto
