#pragma once
// frmStandings: the meeting's standings after every heat, as the text report
// has them (qualifying with every round, then the finals), with Print,
// "Save as PDF..." and "Save as Text..." through the printer and dialogs seams.

#include "base/dialogs.h"
#include "base/printer.h"
#include "meeting/finals.h"
#include "meeting/heat_load.h"
#include "meeting/heat_planning.h"
#include "meeting/heat_results.h"
#include "meeting/meeting.h"
#include "meeting/meeting_desk.h"
#include "meeting/meeting_file.h"
#include "meeting/qualifying_standings.h"
#include "meeting/standings_report.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>

class QPlainTextEdit;

namespace kesto {

struct StandingsPrinters {
    std::function<std::unique_ptr<Printer>()> defaultPrinter;
    std::function<std::unique_ptr<Printer>(const std::string& pdfPath)> pdfPrinter;
};

class FrmStandings final : public QDialog {
    Q_OBJECT
public:
    FrmStandings(const MeetingDesk& desk, Dialogs& dialogs, StandingsPrinters printers,
                 QWidget* parent = nullptr);

    // Shows the standings as they are now.
    void Refresh();

private:
    void cmdPrint_Click();
    void SaveAs(const char* title, const char* filter, const char* extension,
                const std::function<bool(const std::string& path, std::string& error)>& save);
    void Tell(const std::string& text, MessageIcon icon);

    const MeetingDesk& m_desk;
    Dialogs& m_dialogs;
    StandingsPrinters m_printers;
    QPlainTextEdit* m_txtStandings = nullptr;
};

} // namespace kesto
