#include "reports/qt/qt_printer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSvgRenderer>

#include <algorithm>

namespace kesto {
namespace {

constexpr int DefaultFontSize = 10;

QFont PrintFont(int points) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(points > 0 ? points : DefaultFontSize);
    return font;
}

// One text on a line, in device units before scaling.
struct Placed {
    double x = 0;
    int fontSize = 0;
    QString text;
};

struct Line {
    std::vector<Placed> items;
    double height = 0; // the tallest font's line spacing on the line
    double ascent = 0;
};

} // namespace

std::unique_ptr<QtPrinter> QtPrinter::ForDefaultPrinter() {
    return ForPrinter(QPrinterInfo::defaultPrinterName());
}

std::unique_ptr<QtPrinter> QtPrinter::ForPrinter(const QString& printerName) {
    return std::unique_ptr<QtPrinter>(new QtPrinter(Output::Printer, printerName));
}

std::unique_ptr<QtPrinter> QtPrinter::ForPdf(const QString& path) {
    return std::unique_ptr<QtPrinter>(new QtPrinter(Output::Pdf, path));
}

QtPrinter::QtPrinter(Output output, QString target)
    : m_output(output), m_target(std::move(target)) {}

bool QtPrinter::Usable() const {
    // Without a printer queue QPrinter would quietly write a PDF somewhere instead.
    return !m_target.isEmpty();
}

bool QtPrinter::SetLandscape() {
    if (!Usable())
        return false;
    m_landscape = true;
    return true;
}

bool QtPrinter::SetFontSize(int points) {
    if (!Usable())
        return false;
    m_steps.push_back({Step::Font, points, {}});
    return true;
}

bool QtPrinter::PrintAt(int column, const std::string& text, bool continueLine) {
    if (!Usable())
        return false;
    m_steps.push_back({Step::Text, std::max(column, 1), QString::fromStdString(text)});
    if (!continueLine)
        m_steps.push_back({Step::NewLine, 0, {}});
    return true;
}

bool QtPrinter::EndLine() {
    if (!Usable())
        return false;
    m_steps.push_back({Step::NewLine, 0, {}});
    return true;
}

bool QtPrinter::PrintPicturePage(const std::string& svg) {
    if (!Usable())
        return false;
    m_pictures.push_back(QByteArray::fromStdString(svg));
    return true;
}

bool QtPrinter::EndDocument() {
    m_pages = 0;
    if (!Usable())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    if (m_output == Output::Pdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_target);
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(m_target);
        if (!printer.isValid() || printer.printerName() != m_target)
            return false;
    }
    printer.setPageOrientation(m_landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(QStringLiteral("Kesto Timer"));

    // Lay the lines out at full size first; the tab rule works on positions.
    std::vector<Line> lines(1);
    int fontSize = DefaultFontSize;
    double x = 0;
    double widest = 0;
    auto useFont = [&](Line& line) {
        QFontMetricsF metrics(PrintFont(fontSize), &printer);
        line.height = std::max(line.height, metrics.lineSpacing());
        line.ascent = std::max(line.ascent, metrics.ascent());
    };
    auto newLine = [&] {
        useFont(lines.back()); // an empty line is as tall as the current font
        lines.emplace_back();
        x = 0;
    };
    for (const Step& step : m_steps) {
        if (step.kind == Step::Font) {
            fontSize = step.value;
        } else if (step.kind == Step::NewLine) {
            newLine();
        } else {
            QFontMetricsF metrics(PrintFont(fontSize), &printer);
            const double columnX = (step.value - 1) * metrics.horizontalAdvance(QLatin1Char('0'));
            if (x > columnX + 0.5)
                newLine();
            useFont(lines.back());
            lines.back().items.push_back({columnX, fontSize, step.text});
            x = columnX + metrics.horizontalAdvance(step.text);
            widest = std::max(widest, x);
        }
    }
    if (lines.back().items.empty())
        lines.pop_back();

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // A page too narrow for the widest line gets the whole document smaller.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = widest > page.width() ? page.width() / widest : 1.0;
    const double pageHeight = page.height() / scale;
    painter.scale(scale, scale);

    m_pages = 1;
    double top = 0;
    for (const Line& line : lines) {
        if (top > 0 && top + line.height > pageHeight) {
            if (!printer.newPage()) {
                painter.end();
                return false;
            }
            ++m_pages;
            top = 0;
        }
        for (const Placed& item : line.items) {
            painter.setFont(PrintFont(item.fontSize));
            painter.drawText(QPointF(item.x, top + line.ascent), item.text);
        }
        top += line.height;
    }
    painter.resetTransform();
    for (const QByteArray& svg : m_pictures) {
        QSvgRenderer picture(svg);
        if (!picture.isValid() || !printer.newPage()) {
            painter.end();
            return false;
        }
        ++m_pages;
        QSizeF fit = picture.viewBoxF().size();
        fit.scale(page.size(), Qt::KeepAspectRatio);
        picture.render(&painter, QRectF(QPointF((page.width() - fit.width()) / 2, 0), fit));
    }
    return painter.end();
}

} // namespace kesto
