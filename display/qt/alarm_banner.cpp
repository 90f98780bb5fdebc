#include "display/qt/alarm_banner.h"

#include <QPalette>

namespace kesto {

QLabel* MakeAlarmBanner(QWidget* parent, const char* objectName, const QFont& font) {
    auto* banner = new QLabel(parent);
    banner->setObjectName(QString::fromLatin1(objectName));
    banner->setTextFormat(Qt::PlainText);
    banner->setFont(font);
    banner->setAlignment(Qt::AlignCenter);
    banner->setWordWrap(true);
    banner->setAutoFillBackground(true);
    QPalette alarm = banner->palette();
    alarm.setColor(QPalette::Window, QColor(200, 0, 0));
    alarm.setColor(QPalette::WindowText, Qt::white);
    banner->setPalette(alarm);
    banner->hide();
    return banner;
}

void ShowAlarmBanner(QLabel* banner, const std::string& text) {
    banner->setText(QString::fromStdString(text));
    banner->raise();
    banner->show();
}

} // namespace kesto
