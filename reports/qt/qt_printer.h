#pragma once
// The Printer of the printouts on a QPrinter: the system's default printer,
// or a PDF file with exactly the same pages. Text is set in "Courier New"
// (a fixed-pitch font), so tab column n is n - 1 character advances from the
// left. The document is gathered first and drawn at EndDocument: landscape,
// scaled down as a whole when its widest line would not fit the page width,
// and continued on a new page when a page is full. Picture pages follow the
// text, each SVG picture scaled to fill its page with its shape kept.

#include "base/printer.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace kesto {

class QtPrinter final : public Printer {
public:
    // The system's default printer; every step fails when there is none.
    static std::unique_ptr<QtPrinter> ForDefaultPrinter();
    // A named printer queue; an empty name is no printer.
    static std::unique_ptr<QtPrinter> ForPrinter(const QString& printerName);
    // A PDF file at `path`.
    static std::unique_ptr<QtPrinter> ForPdf(const QString& path);

    bool SetLandscape() override;
    bool SetFontSize(int points) override;
    bool PrintAt(int column, const std::string& text, bool continueLine) override;
    bool EndLine() override;
    bool PrintPicturePage(const std::string& svg) override;
    bool EndDocument() override;

    // Pages drawn by the last EndDocument.
    int PageCount() const { return m_pages; }

private:
    enum class Output { Printer, Pdf };
    QtPrinter(Output output, QString target);

    struct Step {
        enum Kind { Font, Text, NewLine } kind;
        int value = 0; // font size or column
        QString text;
    };

    bool Usable() const;

    Output m_output;
    QString m_target; // printer name or PDF path
    bool m_landscape = false;
    std::vector<Step> m_steps;
    std::vector<QByteArray> m_pictures;
    int m_pages = 0;
};

} // namespace kesto
