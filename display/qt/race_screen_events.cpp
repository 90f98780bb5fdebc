// The operator's mouse and keys on the race screen: each event is handed to
// the race screen's actions (display/race_screen_actions.h), then the window
// shows what they changed.
#include "display/qt/race_screen_window.h"

#include "display/qt/program_picture.h"

#include "base/file_names.h"
#include "resize/qt/qt_resize_view.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

#include <cmath>

namespace kesto {

int DigitOfKey(int key, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key - Qt::Key_0;
    if (modifiers & Qt::ShiftModifier) {
        // The main row of a US keyboard with Shift held: !@#$%^&*() are 1..9, 0.
        static constexpr int Shifted[] = {Qt::Key_ParenRight,  Qt::Key_Exclam,    Qt::Key_At,
                                          Qt::Key_NumberSign,  Qt::Key_Dollar,    Qt::Key_Percent,
                                          Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,
                                          Qt::Key_ParenLeft};
        for (int digit = 0; digit <= 9; ++digit)
            if (key == Shifted[digit])
                return digit;
        // Other layouts: the X11 key codes of the main row, 1..9 then 0.
        if (nativeScanCode >= 10 && nativeScanCode <= 19)
            return nativeScanCode == 19 ? 0 : static_cast<int>(nativeScanCode) - 9;
    }
    return -1;
}

namespace {

ScreenKey KeyOf(int key, int digit, Qt::KeyboardModifiers modifiers) {
    switch (key) {
    case Qt::Key_F4:
        return ScreenKey::F4;
    case Qt::Key_F5:
        return ScreenKey::F5;
    case Qt::Key_F8:
        return ScreenKey::F8;
    case Qt::Key_F9:
        return ScreenKey::F9;
    default:
        break;
    }
    if (digit >= 0)
        return ScreenKey::Digit;
    if (key == Qt::Key_B && (modifiers & Qt::ControlModifier) && (modifiers & Qt::ShiftModifier) &&
        !(modifiers & Qt::AltModifier))
        return ScreenKey::RawRecordWindow;
    return ScreenKey::Other;
}

} // namespace

bool FrmKestoTimer::HandleKey(QObject* watched, QKeyEvent* key) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!m_actions || !widget || widget->window() != this)
        return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    const int digit = DigitOfKey(key->key(), modifiers, key->nativeScanCode());
    const ScreenKey screenKey = KeyOf(key->key(), digit, modifiers);
    if (screenKey == ScreenKey::Other)
        return false;
    const bool withModifier =
        (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
    switch (m_actions->Form_KeyDown(screenKey, digit, withModifier)) {
    case KeyOutcome::Done:
        ShowColumnModes();
        ShowNameLists();
        break;
    case KeyOutcome::ReduceFontSize:
        SetRowFontSize(
            RaceScreenActions::ReducedRowSize(m_ui.CellLabel(1, Cell::Name)->font().pointSizeF()));
        break;
    case KeyOutcome::IncreaseFontSize:
        SetRowFontSize(RaceScreenActions::IncreasedRowSize(
            m_ui.CellLabel(1, Cell::Name)->font().pointSizeF()));
        break;
    case KeyOutcome::OpenSendCommand:
        Action(MenuCommand::SendCommand)->trigger();
        break;
    }
    // Taken here so it is handled once, not again by every parent it would reach.
    return true;
}

bool FrmKestoTimer::eventFilter(QObject* watched, QEvent* event) {
    auto* combo = qobject_cast<QComboBox*>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        return HandleMouse(watched, event);
    case QEvent::FocusIn:
    case QEvent::DragEnter:
        if (combo)
            SetPointer(Pointer::Default);
        return false;
    case QEvent::FocusOut:
        // The list's own popup taking the focus is part of choosing: the
        // popup is a window of its own, so the box may see any reason.
        if (combo && m_actions && !combo->view()->isVisible() &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            m_actions->Names().Select_Name_LostFocus(RowOf(combo));
            ShowNameLists();
        }
        return false;
    case QEvent::Resize:
        if (watched == m_ui.canvas && m_resizer.Initialised())
            Form_Resize();
        return false;
    default:
        return false;
    }
}

bool FrmKestoTimer::HandleMouse(QObject* watched, QEvent* event) {
    if (!m_actions)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseMove) {
        // A move over a control also reaches the screen behind it; only a
        // move over the bare screen is the window's own.
        if (watched != m_ui.canvas || !m_ui.canvas->childAt(mouse->position().toPoint()))
            MouseMovedOver(watched);
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_ui.lblClock)
            lblClock_MouseDown(mouse->button());
        return false;
    }
    // A click: the left button released over the control it was pressed on.
    auto* widget = static_cast<QWidget*>(watched);
    if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint()))
        Click(watched);
    return false;
}

void FrmKestoTimer::Click(QObject* control) {
    const int k = RowOf(control);
    if (control == m_ui.lblBestLap) {
        m_actions->lblBestLap_Click();
    } else if (control == m_ui.lblLag) {
        m_actions->lblLag_Click();
    } else if (control == m_ui.lblRaceFormat) {
        if (m_actions->lblRaceFormat_Click()) {
            Action(MenuCommand::RaceFormat)->trigger();
            SetPointer(Pointer::Default);
        }
    } else if (control == m_ui.imgLapmark) {
        if (m_actions->imgLapmark_Click())
            Action(MenuCommand::About)->trigger();
    } else if (k >= 1 && control == m_ui.CellLabel(k, Cell::Best)) {
        const auto click = m_actions->lblBest_Click(k);
        if (click.emptyCell)
            SetCellText(k, Cell::Best, "");
        if (click.beep)
            QApplication::beep();
    } else if (k >= 1 && control == m_ui.CellLabel(k, Cell::Name)) {
        const std::string shown = m_cellText[k][static_cast<int>(Cell::Name)];
        const bool focus = m_actions->Names().lblName_Click(k, shown);
        ShowNameLists();
        if (focus) {
            QComboBox* combo = m_ui.Select_Name[k];
            combo->raise();
            combo->show();
            combo->setFocus(Qt::MouseFocusReason);
        }
    }
    ShowColumnModes();
}

void FrmKestoTimer::MouseMovedOver(QObject* control) {
    const int k = RowOf(control);
    ScreenPart part = ScreenPart::Other;
    if (control == m_ui.lblBestLap)
        part = ScreenPart::BestLapHeader;
    else if (control == m_ui.lblLag)
        part = ScreenPart::LagHeader;
    else if (k >= 1 && control == m_ui.CellLabel(k, Cell::Best))
        part = ScreenPart::BestCell;
    else if (k >= 1 && control == m_ui.CellLabel(k, Cell::Name))
        part = ScreenPart::NameCell;
    else if (control == m_ui.lblRaceFormat)
        part = ScreenPart::RaceFormat;
    const PointerFeedback feedback = MouseOver(m_state, part);
    if (feedback.pointer)
        SetPointer(*feedback.pointer);
    if (feedback.tooltip && part != ScreenPart::Other)
        static_cast<QWidget*>(control)->setToolTip(QString::fromStdString(*feedback.tooltip));
}

void FrmKestoTimer::lblClock_MouseDown(Qt::MouseButton button) {
    const ClockButton clockButton = button == Qt::LeftButton    ? ClockButton::Left
                                    : button == Qt::RightButton ? ClockButton::Right
                                                                : ClockButton::Other;
    QFont font = m_ui.lblClock->font();
    if (const auto size = RaceScreenActions::ClockSizeAfter(clockButton, font.pointSizeF())) {
        font.setPointSizeF(*size);
        m_ui.lblClock->setFont(font);
    }
}

// The new row text size on rows 1..14 of the six cells (not the headers,
// not the name lists).
void FrmKestoTimer::SetRowFontSize(std::optional<int> size) {
    if (!size)
        return;
    for (int k = 1; k <= Rows; ++k) {
        for (RowLabel* label : m_ui.cells[k]) {
            QFont font = label->font();
            font.setPointSizeF(*size);
            label->setFont(font);
        }
    }
}

void FrmKestoTimer::Form_Resize() {
    QtResizeWindowView view(m_ui.canvas);
    m_resizer.ResizeControls(view);
    if (std::lround(PixelsToTwips(this, m_ui.lblBestLap->height())) == 380)
        m_ui.cmdStart->resize(m_ui.cmdStart->width(), TwipsToPixels(this, 450));
    m_ui.imgLapmark->resize(m_ui.imgLapmark->width(),
                            static_cast<int>(std::lround(0.38 * m_ui.imgLapmark->width())));
}

void FrmKestoTimer::SetPointer(Pointer pointer) {
    if (pointer == m_pointer)
        return;
    m_pointer = pointer;
    if (pointer == Pointer::Default) {
        unsetCursor();
        return;
    }
    // The pointer pictures are read from the program folder each time they
    // are put up; a missing or unreadable file leaves the default pointer.
    const bool hand = pointer == Pointer::Hand;
    QPixmap picture;
    if (!LoadProgramPicture(picture,
                            ResolveInFolder(m_folder, hand ? "handred.ico" : "racer.ico"))) {
        unsetCursor();
        return;
    }
    // The hand points with its finger tip; the racer is centred.
    if (hand)
        setCursor(QCursor(picture, picture.width() * 13 / 32, 1));
    else
        setCursor(QCursor(picture));
}

} // namespace kesto
