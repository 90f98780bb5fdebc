#pragma once
// A .txt report in a plain read-only window of the timer, for a desktop that
// has no program to open it: the report's text as saved, in a fixed-width
// font so its columns line up, with the file's path as the title.

#include <QWidget>

#include <string>

class QPlainTextEdit;

namespace kesto {

class TextReportWindow final : public QWidget {
    Q_OBJECT
public:
    explicit TextReportWindow(QWidget* parent = nullptr);

    // Shows `utf8Text` under the title `path`, from its first line.
    void ShowReport(const std::string& path, const std::string& utf8Text);

    QPlainTextEdit* Text() const { return m_text; }

private:
    QPlainTextEdit* m_text;
};

} // namespace kesto
