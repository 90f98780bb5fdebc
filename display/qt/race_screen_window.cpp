#include "display/qt/race_screen_window.h"

#include "base/file_names.h"
#include "config/roster_file.h"
#include "display/qt/alarm_banner.h"
#include "display/qt/program_picture.h"
#include "display/qt/racer_list_model.h"
#include "engine/clock_format.h"
#include "engine/compose_title.h"
#include "engine/race_control.h"
#include "resize/qt/qt_resize_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

namespace kesto {

namespace {

QColor FromWindowsColor(int32_t color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// Text that stays readable on the car's colour (a dark colour, such as the
// black of settings never chosen, gets white text).
QColor TextOn(const QColor& background) {
    const int luminance =
        (299 * background.red() + 587 * background.green() + 114 * background.blue()) / 1000;
    return luminance < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace

// Hands every key pressed in the main window or its controls to the window
// first (the application sees events before their receivers).
class KeyPreview final : public QObject {
public:
    explicit KeyPreview(FrmKestoTimer* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return event->type() == QEvent::KeyPress &&
               m_window->HandleKey(watched, static_cast<QKeyEvent*>(event));
    }

private:
    FrmKestoTimer* m_window;
};

// --- construction --------------------------------------------------------------

FrmKestoTimer::FrmKestoTimer(RaceContext& ctx, std::filesystem::path programFolder, QWidget* parent)
    : QMainWindow(parent), m_ctx(ctx), m_state(ctx.state), m_folder(std::move(programFolder)) {
    setObjectName(QStringLiteral("frmKestoTimer"));
    setWindowTitle(QStringLiteral(" Kesto Timer "));
    m_ui = BuildRaceScreen(this, this, m_folder);
    setCentralWidget(m_ui.canvas);
    m_menus = BuildRaceScreenMenus(this);
    connect(m_menus.Action(MenuCommand::Exit), &QAction::triggered, this,
            &FrmKestoTimer::mnuExit_Click);

    m_state.BestColumnMode = BestLapMode;
    m_state.LagColumnMode = LagBehindMode;
    for (int k = 1; k <= Rows; ++k) {
        m_cellText[k][static_cast<int>(Cell::Id)] = std::to_string(k);
        m_cellText[k][static_cast<int>(Cell::Name)] = " Select Name";
        SetRowColor(k, 0);
    }
    m_clockText = "00:00";
    m_clockColor = ClockWhite;

    // The window sees the keys before its controls, whichever has the focus.
    m_keyPreview = new KeyPreview(this);
    qApp->installEventFilter(m_keyPreview);

    resize(m_ui.canvas->size() + QSize(0, menuBar()->sizeHint().height()));
}

FrmKestoTimer::~FrmKestoTimer() {
    qApp->removeEventFilter(m_keyPreview);
    try {
        if (m_ctx.port.IsOpen())
            m_ctx.port.Close();
    } catch (...) {
    }
}

void FrmKestoTimer::Attach(RaceControl& control) {
    m_control = &control;
    m_actions = std::make_unique<RaceScreenActions>(m_ctx, control);
    connect(m_ui.cmdStart, &QPushButton::clicked, this, [this] { m_control->cmdStart_Click(); });

    // One list model for the 14 name lists, over the names of the name choice.
    m_racerList = new RacerListModel(m_actions->Names().Entries(), this);
    for (int k = 1; k <= Rows; ++k) {
        QComboBox* combo = m_ui.Select_Name[k];
        combo->setModel(m_racerList);
        // `activated` comes from the operator only; selections made from code
        // (and anything while the list is hidden) never assign a name.
        connect(combo, &QComboBox::activated, this, [this, k](int entry) {
            if (const auto caption = m_actions->Names().Select_Name_Click(k, entry))
                SetCellText(k, Cell::Name, *caption);
        });
    }
}

void FrmKestoTimer::InitResizer() {
    QtResizeWindowView view(m_ui.canvas);
    m_resizer.InitResizeClass(view);
}

// --- the rows ------------------------------------------------------------------

void FrmKestoTimer::SetCellText(int row, Cell cell, const std::string& text) {
    std::string& shown = m_cellText[row][static_cast<int>(cell)];
    if (shown == text)
        return; // rewriting the same text costs nothing
    shown = text;
    m_ui.CellLabel(row, cell)->setText(QString::fromStdString(text));
}

void FrmKestoTimer::SetRowColor(int row, int32_t windowsColor) {
    if (m_rowPainted[row] && m_rowColor[row] == windowsColor)
        return;
    m_rowPainted[row] = true;
    m_rowColor[row] = windowsColor;
    const QColor background = FromWindowsColor(windowsColor);
    const QColor text = TextOn(background);
    for (RowLabel* label : m_ui.cells[row])
        label->setColors(background, text);
}

void FrmKestoTimer::Apply(const ScreenUpdate& rows) {
    for (int r = 1; r <= Rows; ++r) {
        const RowUpdate& row = rows[r - 1];
        if (row.color)
            SetRowColor(r, *row.color);
        if (row.id)
            SetCellText(r, Cell::Id, *row.id);
        if (row.name)
            SetCellText(r, Cell::Name, *row.name);
        if (row.lapNum)
            SetCellText(r, Cell::LapNum, *row.lapNum);
        if (row.lapTime)
            SetCellText(r, Cell::LapTime, *row.lapTime);
        if (row.best)
            SetCellText(r, Cell::Best, *row.best);
        if (row.lag)
            SetCellText(r, Cell::Lag, *row.lag);
    }
}

void FrmKestoTimer::LoadNames() {
    Apply(LoadNamesRows(m_state));
}

void FrmKestoTimer::ApplyIdColors() {
    Apply(IdColorRows(m_state));
}

void FrmKestoTimer::ResetRows() {
    LoadNames();
    Apply(ClearedRows());
    ApplyIdColors();
}

void FrmKestoTimer::UpdateRaceScreen() {
    ShowColumnModes();
    Apply(RaceScreenRows(m_state));
}

void FrmKestoTimer::UpdatePracticeScreen() {
    ShowColumnModes();
    Apply(PracticeScreenRows(m_state));
}

// The header texts are the column modes the state holds.
void FrmKestoTimer::ShowColumnModes() {
    if (m_bestModeShown != m_state.BestColumnMode) {
        m_bestModeShown = m_state.BestColumnMode;
        m_ui.lblBestLap->setText(QString::fromStdString(m_bestModeShown));
    }
    if (m_lagModeShown != m_state.LagColumnMode) {
        m_lagModeShown = m_state.LagColumnMode;
        m_ui.lblLag->setText(QString::fromStdString(m_lagModeShown));
    }
}

std::string FrmKestoTimer::LoadRacerLists() {
    std::string cutNotice;
    auto entries = RacerListEntries(m_folder, &cutNotice);
    if (!entries || !m_actions)
        return cutNotice;
    m_racerList->BeginChange();
    m_actions->Names().SetEntries(std::move(*entries));
    m_racerList->EndChange();
    return cutNotice;
}

// Only the list being chosen from shows, over its name cell, with its entry.
void FrmKestoTimer::ShowNameLists() {
    const NameChoice& names = m_actions->Names();
    for (int k = 1; k <= Rows; ++k) {
        QComboBox* combo = m_ui.Select_Name[k];
        if (k != names.OpenRow()) {
            combo->hide();
            m_ui.CellLabel(k, Cell::Name)->show();
            continue;
        }
        if (combo->currentIndex() != names.Selected(k))
            combo->setCurrentIndex(names.Selected(k));
    }
}

// --- the right-hand panel ----------------------------------------------------------

void FrmKestoTimer::ShowFlag(const std::string& bitmapFile) {
    QPixmap picture;
    if (LoadProgramPicture(picture, ResolveInFolder(m_folder, bitmapFile)))
        m_ui.imgFlag->setPixmap(picture);
    m_ui.imgFlag->show();
}

void FrmKestoTimer::HideFlag() {
    m_ui.imgFlag->hide();
}

void FrmKestoTimer::ShowRaceOver(bool visible) {
    m_ui.lblRaceOver->setVisible(visible);
}

void FrmKestoTimer::SetClockText(const std::string& text) {
    if (text == m_clockText)
        return;
    m_clockText = text;
    m_ui.lblClock->setText(QString::fromStdString(text));
}

void FrmKestoTimer::SetClockColor(int32_t windowsColor) {
    if (windowsColor == m_clockColor)
        return;
    m_clockColor = windowsColor;
    SetTextColor(m_ui.lblClock, FromWindowsColor(windowsColor));
}

void FrmKestoTimer::SetStartButton(StartButton caption) {
    const QString text = QString::fromLatin1(Caption(caption));
    if (m_ui.cmdStart->text() != text)
        m_ui.cmdStart->setText(text);
    m_ui.cmdStart->setEnabled(true);
}

void FrmKestoTimer::EnableMenu(MainMenu menu, bool enabled) {
    if (QMenu* m = m_menus.Menu(menu))
        m->menuAction()->setEnabled(enabled);
}

void FrmKestoTimer::ShowLinkAlarm(const std::string& text) {
    m_ui.lblLinkAlarm->setText(QString::fromStdString(text));
    m_ui.lblLinkAlarm->raise();
    m_ui.lblLinkAlarm->show();
}

void FrmKestoTimer::HideLinkAlarm() {
    m_ui.lblLinkAlarm->hide();
}

void FrmKestoTimer::ShowJournalAlarm(const std::string& text) {
    ShowAlarmBanner(m_ui.lblJournalAlarm, text);
}

void FrmKestoTimer::HideJournalAlarm() {
    m_ui.lblJournalAlarm->hide();
}

void FrmKestoTimer::ComposeTitle() {
    const std::string lagMode = m_actions ? m_actions->LagModeSetting() : LagBehindMode;
    const ComposedTitle composed = kesto::ComposeTitle(m_state, lagMode);
    setWindowTitle(QString::fromStdString(composed.windowTitle));
    m_ui.lblRaceFormat->setText(QString::fromStdString(composed.raceFormatText));
    ShowColumnModes();
    SetDemoLabelVisible(m_state.DemoMode);
    RefreshClockDisplay(m_state, *this);
}

void FrmKestoTimer::SetDemoLabelVisible(bool visible) {
    m_ui.lblDemo->setVisible(visible);
}

// --- leaving the program ------------------------------------------------------------------

void FrmKestoTimer::mnuExit_Click() {
    if (!m_actions || !m_actions->mnuExit_Click())
        return;
    m_exitRequested = true;
    close();
}

void FrmKestoTimer::closeEvent(QCloseEvent* event) {
    // The close box and Alt+F4 leave the race screen open: the program is
    // left through Exit, which asks about unsaved results first.
    if (!m_exitRequested) {
        event->ignore();
        return;
    }
    event->accept();
    emit unloaded();
}

} // namespace kesto
