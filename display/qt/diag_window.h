#pragma once
// frmKestoDiag, the sensor check: counts per car ID the reads of the decoder
// port that begin with that ID, so each car's flag can be driven past the
// sensor and seen to register. Opened modally from "Diagnostic..." of the Help
// menu (which a timed race disables, so the race timer never reads the port at
// the same time). Closing it empties the port, so detections made during the
// check never reach a race.

#include "base/decoder_port.h"
#include "base/settings_records.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace kesto {

class FrmKestoDiag final : public QDialog {
    Q_OBJECT
public:
    // idColors: the current colour of every ID (Windows colour values, red in
    // the low byte), as the settings window shows them.
    FrmKestoDiag(DecoderPort& port, const PerId<int32_t>& idColors,
                 const std::filesystem::path& programFolder, QWidget* parent = nullptr);

    // The "Diagnostic..." menu command: shows the window modally until it closes.
    static void ShowModal(DecoderPort& port, const PerId<int32_t>& idColors,
                          const std::filesystem::path& programFolder, QWidget* parent);

    // The sound of a hit; the system beep unless replaced (tests count calls).
    void SetBeep(std::function<void()> beep);

    QLabel* LaneLabel(int id) const; // lblLaneNumber(id), 1..14
    QLabel* HitLabel(int id) const;  // lblHit(id), 1..14

public slots:
    // Every 200 ms while the window is open: counts what the port holds.
    void tmrDiag_Timer();
    // All 14 counts back to "0"; the colours stay.
    void cmdReset_Click();

protected:
    // Every way of closing (Exit, Escape, the close box) ends here.
    void done(int result) override;

private:
    void CountHit(int id);

    DecoderPort& m_port;
    std::function<void()> m_beep;
    std::array<QLabel*, MaxCarIds + 1> m_lane{}; // index 0 unused
    std::array<QLabel*, MaxCarIds + 1> m_hit{};
    QPlainTextEdit* m_txtDiag = nullptr;
    QPushButton* m_cmdReset = nullptr;
    QPushButton* m_cmdExit = nullptr;
    QTimer* m_tmrDiag = nullptr;
};

// The help text of the sensor check.
inline constexpr const char* DiagHelpText =
    "Use Diagnostic to determine if Transponders are working properly. A hit should occur "
    "every time a car goes by the Transponder detectors. \"Reset\" returns the \"Hits\" to zero.";

} // namespace kesto
