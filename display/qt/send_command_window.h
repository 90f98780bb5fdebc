#pragma once
// frmSendCommand, the raw-record window: the operator types a decoder record
// and Write feeds it to the record parser exactly as if the decoder had sent
// it, so a lap can be counted or the race clock set by hand. Nothing is sent
// to the decoder. Opened with Ctrl+Shift+B on the race screen, without
// blocking it; during a race its records mix with the decoder's.

#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kesto {

// Receives the typed text unchanged; the main window passes
// ParseDecoderRecord on its race context.
using RecordWriter = std::function<void(const std::string& record)>;

class FrmSendCommand final : public QWidget {
    Q_OBJECT
public:
    explicit FrmSendCommand(RecordWriter writeRecord, QWidget* parent = nullptr);

    // Ctrl+Shift+B: brings the open window to the front, or shows a new one
    // without blocking (deleted when closed).
    static FrmSendCommand* ShowModeless(RecordWriter writeRecord, QWidget* parent);

public slots:
    void cmdWrite_Click();
    void cmdOK_Click();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    RecordWriter m_writeRecord;
    QLineEdit* m_txtWrite = nullptr;
};

} // namespace kesto
