#include "reports/qt/text_report_window.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kesto {

TextReportWindow::TextReportWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_text(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("frmTextReport"));
    m_text->setObjectName(QStringLiteral("txtReport"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap); // a report's lines are its rows
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    m_text->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    // About a hundred columns and thirty lines of the report.
    const QFontMetrics metrics(font);
    resize(metrics.horizontalAdvance(QLatin1Char('0')) * 100 + 40, metrics.lineSpacing() * 30);
}

void TextReportWindow::ShowReport(const std::string& path, const std::string& utf8Text) {
    setWindowTitle(QString::fromStdString(path));
    QString text = QString::fromStdString(utf8Text);
    text.remove(QLatin1Char('\r'));
    m_text->setPlainText(text);
    m_text->moveCursor(QTextCursor::Start);
}

} // namespace kesto
