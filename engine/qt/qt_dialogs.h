#pragma once
// The real dialogs: QMessageBox, QFileDialog and QColorDialog.

#include "base/dialogs.h"

#include <QStringList>

class QWidget;

namespace kesto {

class QtDialogs final : public Dialogs {
public:
    // Boxes are modal to the currently active window (or `parent` when given).
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    MessageAnswer Show(const Message& message) override;
    std::optional<std::string> ChooseFile(const FileChoice& choice) override;
    std::optional<int32_t> ChooseColor(int32_t initial) override;

private:
    QWidget* Parent() const;
    QWidget* m_parent;
};

// "Lap Files (*.lap)|*.lap|Text Files(*.txt)|*.txt" -> Qt's ";;" name filter list.
QStringList QtNameFilters(const std::string& filter);

} // namespace kesto
