#pragma once
// "Live Board...": switches the live board on and off, chooses its port and
// shows the address to type or the QR code to scan. The choice is kept in the
// board's own file in the program folder (web/live_board_settings.h) and
// applied at once; a port that is taken moves the board to the next free one.

#include "web/live_board_settings.h"

#include <QDialog>
#include <QPointer>

#include <filesystem>

class QCheckBox;
class QLabel;
class QSpinBox;

namespace kesto {

class LiveBoard;

// Starts or stops the board as the settings say.
void ApplyLiveBoardSettings(LiveBoard& board, const LiveBoardSettings& settings);

class LiveBoardWindow final : public QDialog {
    Q_OBJECT
public:
    LiveBoardWindow(LiveBoard& board, std::filesystem::path programFolder,
                    QWidget* parent = nullptr);

    // The one window, made on first use and kept.
    static LiveBoardWindow* ShowModeless(QPointer<LiveBoardWindow>& window, LiveBoard& board,
                                         const std::filesystem::path& programFolder,
                                         QWidget* parent);

    QCheckBox* onCheckBox() const { return m_on; }
    QSpinBox* portSpinBox() const { return m_port; }
    QLabel* statusLabel() const { return m_status; }
    QLabel* addressLabel() const { return m_address; }
    QLabel* qrLabel() const { return m_qr; }

private:
    void Chosen();
    void Refresh();

    LiveBoard& m_board;
    std::filesystem::path m_folder;
    QCheckBox* m_on = nullptr;
    QSpinBox* m_port = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_address = nullptr;
    QLabel* m_qr = nullptr;
    QLabel* m_note = nullptr;
    QString m_saveError;
};

} // namespace kesto
