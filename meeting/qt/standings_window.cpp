#include "meeting/qt/standings_window.h"

#include "meeting/standings_print.h"
#include "reports/result_files.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kesto {
namespace {
constexpr const char* PrintFailedText = "The standings could not be printed.";
}

FrmStandings::FrmStandings(const MeetingDesk& desk, Dialogs& dialogs, StandingsPrinters printers,
                           QWidget* parent)
    : QDialog(parent), m_desk(desk), m_dialogs(dialogs), m_printers(std::move(printers)) {
    setObjectName(QStringLiteral("frmStandings"));
    setWindowTitle(QStringLiteral("Standings"));
    m_txtStandings = new QPlainTextEdit;
    m_txtStandings->setObjectName(QStringLiteral("txtStandings"));
    m_txtStandings->setReadOnly(true);
    m_txtStandings->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtStandings->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* text, const char* name) {
        auto* b = new QPushButton(QLatin1String(text));
        b->setObjectName(QLatin1String(name));
        buttons->addWidget(b);
        return b;
    };
    connect(button("&Refresh", "cmdRefresh"), &QPushButton::clicked, this, &FrmStandings::Refresh);
    connect(button("&Print", "cmdPrint"), &QPushButton::clicked, this,
            &FrmStandings::cmdPrint_Click);
    connect(button("Save as P&DF...", "cmdSavePdf"), &QPushButton::clicked, this, [this] {
        SaveAs("Save Standings as PDF", "PDF Files (*.pdf)|*.pdf", ".pdf",
               [this](const std::string& path, std::string&) {
                   auto printer = m_printers.pdfPrinter ? m_printers.pdfPrinter(path) : nullptr;
                   return printer && PrintStandings(m_desk.meeting(), *printer);
               });
    });
    connect(button("Save as &Text...", "cmdSaveText"), &QPushButton::clicked, this, [this] {
        SaveAs("Save Standings", "Text Files (*.txt)|*.txt", ".txt",
               [this](const std::string& path, std::string& error) {
                   return WriteResultFile(path, StandingsReportText(m_desk.meeting()), &error);
               });
    });
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_txtStandings, 1);
    layout->addLayout(buttons);
    resize(900, 600);
    Refresh();
}

void FrmStandings::Refresh() {
    m_txtStandings->setPlainText(m_desk.IsOpen()
                                     ? QString::fromStdString(StandingsReportText(m_desk.meeting()))
                                           .remove(QLatin1Char('\r'))
                                     : QStringLiteral("No meeting is open."));
}

void FrmStandings::cmdPrint_Click() {
    if (!m_desk.IsOpen())
        return;
    auto printer = m_printers.defaultPrinter ? m_printers.defaultPrinter() : nullptr;
    if (!printer || !PrintStandings(m_desk.meeting(), *printer))
        Tell(PrintFailedText, MessageIcon::Error);
}

void FrmStandings::SaveAs(
    const char* title, const char* filter, const char* extension,
    const std::function<bool(const std::string& path, std::string& error)>& save) {
    if (!m_desk.IsOpen())
        return;
    FileChoice choice;
    choice.save = true;
    choice.title = title;
    choice.filter = filter;
    choice.initialPath =
        (m_desk.Folder() / ("Standings " + m_desk.meeting().name + extension)).string();
    const auto path = m_dialogs.ChooseFile(choice);
    if (!path)
        return;
    std::string error;
    if (save(*path, error))
        Tell("File " + *path + " has been saved", MessageIcon::Information);
    else
        Tell("The standings could not be saved to " + *path + (error.empty() ? "." : ": " + error),
             MessageIcon::Error);
}

void FrmStandings::Tell(const std::string& text, MessageIcon icon) {
    m_dialogs.Show(Message{"Standings", text, icon});
}

} // namespace kesto
