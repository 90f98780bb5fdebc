#include "engine/qt/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

namespace kesto {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QColor FromWindowsColor(int32_t value) {
    auto v = static_cast<uint32_t>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

int32_t ToWindowsColor(const QColor& color) {
    return static_cast<int32_t>(static_cast<uint32_t>(color.red()) |
                                (static_cast<uint32_t>(color.green()) << 8) |
                                (static_cast<uint32_t>(color.blue()) << 16));
}

} // namespace

QStringList QtNameFilters(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses of the description.
        result << (description.contains(QLatin1Char('('))
                       ? description
                       : description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return result;
}

QWidget* QtDialogs::Parent() const {
    return m_parent ? m_parent : QApplication::activeWindow();
}

MessageAnswer QtDialogs::Show(const Message& message) {
    QMessageBox box(ToQtIcon(message.icon), QString::fromStdString(message.title),
                    QString::fromStdString(message.text), QMessageBox::NoButton, Parent());
    if (message.buttons == MessageButtons::YesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        box.setDefaultButton(message.defaultAnswer == MessageAnswer::No ? no : yes);
        box.exec();
        return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

std::optional<std::string> QtDialogs::ChooseFile(const FileChoice& choice) {
    QFileDialog dialog(Parent(), QString::fromStdString(choice.title));
    QStringList filters = QtNameFilters(choice.filter);
    dialog.setNameFilters(filters);
    if (choice.filterIndex >= 1 && choice.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[choice.filterIndex - 1]);
    if (choice.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!choice.initialPath.empty())
        dialog.selectFile(QString::fromStdString(choice.initialPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    QString path = dialog.selectedFiles().constFirst();
    // A save without an extension takes the one of the chosen filter.
    if (choice.save && QFileInfo(path).suffix().isEmpty()) {
        QString selected = dialog.selectedNameFilter();
        int star = selected.indexOf(QStringLiteral("*."));
        if (star >= 0) {
            QString extension = selected.mid(star + 1);
            extension.truncate(extension.indexOf(QRegularExpression(QStringLiteral("[ )]"))));
            path += extension;
        }
    }
    return path.toStdString();
}

std::optional<int32_t> QtDialogs::ChooseColor(int32_t initial) {
    QColor color = QColorDialog::getColor(FromWindowsColor(initial), Parent());
    if (!color.isValid())
        return std::nullopt;
    return ToWindowsColor(color);
}

} // namespace kesto
