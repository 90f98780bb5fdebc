#include "reports/qt/race_charts_svg.h"

#include <QBuffer>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QSvgGenerator>

namespace kesto {

QByteArray RenderRaceChartsSvg(const RaceCharts& charts, QSize size, const ChartLook& look) {
    QGraphicsScene scene;
    const double half = size.height() / 2.0;
    QChart* lapTimes = MakeLapTimeChart(charts, look).release();
    QChart* lapChart = MakeLapChart(charts, look).release();
    scene.addItem(lapTimes); // the scene owns them from here
    scene.addItem(lapChart);
    lapTimes->setGeometry(QRectF(0, 0, size.width(), half));
    lapChart->setGeometry(QRectF(0, half, size.width(), half));
    // Lay the charts out now; without a view no event loop would do it.
    lapTimes->layout()->activate();
    lapChart->layout()->activate();

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Kesto Timer: ") + QString::fromStdString(charts.caption));
    QPainter painter(&generator);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    scene.render(&painter, area, area);
    painter.end();
    return buffer.data();
}

} // namespace kesto
