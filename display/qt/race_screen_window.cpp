#include "display/qt/race_screen_window.h"

#include "engine/unsaved_results.h"

#include "base/file_names.h"
#include "config/data_files.h"
#include "config/roster_file.h"
#include "config/settings_files.h"
#include "engine/clock_format.h"
#include "engine/compose_title.h"
#include "engine/number_format.h"
#include "engine/race_control.h"
#include "engine/race_tick.h"
#include "engine/standings.h"
#include "resize/qt/qt_resize_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace kesto {

namespace {

// Row k (1 = top) of the race screen, in twips.
constexpr int RowTop(int k) {
    return 420 + 345 * (k - 1);
}
constexpr int RowHeight = 345;
constexpr double RowFontSize = 15.75;
constexpr double HeaderFontSize = 14.25;
constexpr double ClockFontSize = 32.25;
constexpr double LinkAlarmFontSize = 20;

// Design geometry of the row columns: left, width (twips).
struct Column {
    int left;
    int width;
};
constexpr Column IdColumn{0, 480};
constexpr Column NameColumn{525, 3255};
constexpr Column SelectNameColumn{525, 3250};
constexpr Column LapNumColumn{3825, 1140};
constexpr Column LapTimeColumn{5010, 1260};
constexpr Column LagColumn{6315, 1710};
constexpr Column BestColumn{8070, 1500};

constexpr const char* RowProperty = "kestoRow";

const char* const BestLapTipPractice = "Click to toggle between \"Best Lap\" and \"MPH\"";
const char* const BestLapTipRace =
    "Click to toggle between \"Best Lap\" and \"MPH\" and \"Median\"";
const char* const LagTipRace = "Click to toggle between \"Lag Behind\", \"Lag First\" & \"Median\"";
const char* const BestCellTipRunning = "Click to reset \"Best Lap\"";
const char* const NameTipIdle = "Click to select name";
const char* const RaceFormatTipIdle =
    "Click here or go to \"Race Format\" menu to change race type";

QColor FromWindowsColor(int32_t color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

// Text that stays readable on the car's colour (a dark colour, such as the
// black of settings never chosen, gets white text).
QColor TextOn(const QColor& background) {
    const int luminance =
        (299 * background.red() + 587 * background.green() + 114 * background.blue()) / 1000;
    return luminance < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

QFont ArialBold(double pointSize) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSizeF(pointSize);
    return font;
}

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

int RedOf(int32_t windowsColor) {
    return windowsColor & 0xFF;
}
int GreenOf(int32_t windowsColor) {
    return (windowsColor >> 8) & 0xFF;
}
int BlueOf(int32_t windowsColor) {
    return (windowsColor >> 16) & 0xFF;
}

int DigitOfKey(int key, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key - Qt::Key_0;
    if (modifiers & Qt::ShiftModifier) {
        // The main row of a US keyboard with Shift held.
        switch (key) {
        case Qt::Key_Exclam:
            return 1;
        case Qt::Key_At:
            return 2;
        case Qt::Key_NumberSign:
            return 3;
        case Qt::Key_Dollar:
            return 4;
        case Qt::Key_Percent:
            return 5;
        case Qt::Key_AsciiCircum:
            return 6;
        case Qt::Key_Ampersand:
            return 7;
        case Qt::Key_Asterisk:
            return 8;
        case Qt::Key_ParenLeft:
            return 9;
        case Qt::Key_ParenRight:
            return 0;
        default:
            break;
        }
        // Other layouts: the X11 key codes of the main row, 1..9 then 0.
        if (nativeScanCode >= 10 && nativeScanCode <= 19)
            return nativeScanCode == 19 ? 0 : static_cast<int>(nativeScanCode) - 9;
    }
    return -1;
}

// --- construction --------------------------------------------------------------

FrmKestoTimer::FrmKestoTimer(RaceContext& ctx, std::filesystem::path programFolder, QWidget* parent)
    : QMainWindow(parent), m_ctx(ctx), m_state(ctx.state), m_folder(std::move(programFolder)) {
    setObjectName(QStringLiteral("frmKestoTimer"));
    setWindowTitle(QStringLiteral(" Kesto Timer "));
    BuildControls();
    BuildMenus();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setTimerType(Qt::PreciseTimer);
    m_timer1->setInterval(10);
    connect(m_timer1, &QTimer::timeout, this, &FrmKestoTimer::Timer1_Timer);

    // The window sees the keys before its controls, whichever has the focus.
    m_keyFilter = new KeyPreview(this);
    qApp->installEventFilter(m_keyFilter);

    // The design size: the inner area below the menu bar is 11700 x 5295 twips.
    const int width = ToPixels(DesignWidthTwips);
    const int height = ToPixels(DesignHeightTwips);
    m_canvas->resize(width, height);
    resize(width, height + menuBar()->sizeHint().height());
}

FrmKestoTimer::~FrmKestoTimer() {
    qApp->removeEventFilter(m_keyFilter);
    if (m_timer1)
        m_timer1->stop();
    try {
        if (m_ctx.port.IsOpen())
            m_ctx.port.Close();
    } catch (...) {
    }
}

void FrmKestoTimer::Attach(RaceControl& control, RaceTick& tick) {
    m_control = &control;
    m_tick = &tick;
}

int FrmKestoTimer::ToPixels(double twips) const {
    return static_cast<int>(std::lround(twips * logicalDpiX() / 1440.0));
}

double FrmKestoTimer::ToTwips(int pixels) const {
    return pixels * 1440.0 / logicalDpiX();
}

void FrmKestoTimer::Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

QLabel* FrmKestoTimer::MakeLabel(const QString& objectName, int left, int top, int width,
                                 int height, double pointSize, Qt::Alignment alignment) {
    auto* label = new QLabel(m_canvas);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setFont(ArialBold(pointSize));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setMouseTracking(true);
    label->installEventFilter(this);
    Place(label, left, top, width, height);
    return label;
}

void FrmKestoTimer::BuildControls() {
    m_canvas = new QWidget(this);
    m_canvas->setObjectName(QStringLiteral("frmKestoTimerClient"));
    m_canvas->setAutoFillBackground(true);
    QPalette canvasPalette = m_canvas->palette();
    canvasPalette.setColor(QPalette::Window, Qt::black);
    m_canvas->setPalette(canvasPalette);
    // A click on the screen takes the focus from an open name list.
    m_canvas->setFocusPolicy(Qt::ClickFocus);
    m_canvas->setMouseTracking(true);
    m_canvas->installEventFilter(this);
    setCentralWidget(m_canvas);

    const QColor headerText = palette().color(QPalette::HighlightedText);
    auto header = [&](const char* name, int left, int width, const char* text,
                      Qt::Alignment alignment) {
        QLabel* label =
            MakeLabel(QString::fromLatin1(name), left, 30, width, 375, HeaderFontSize, alignment);
        label->setText(QString::fromLatin1(text));
        SetTextColor(label, headerText);
        return label;
    };
    m_lblHeaderID = header("lblHeaderID", 0, 480, "ID", Qt::AlignHCenter);
    m_lblRaceFormat = header("lblRaceFormat", 525, 3285, "", Qt::AlignLeft);
    SetTextColor(m_lblRaceFormat, QColor(192, 192, 192));
    m_lblLapNumber = header("lblLapNumber", 3825, 1140, "Lap", Qt::AlignHCenter);
    m_lblLapTimeHeader = header("lblLapTime_0", 4980, 1335, "Lap Time", Qt::AlignHCenter);
    m_lblLag = header("lblLag", 6315, 1710, LagBehindMode, Qt::AlignHCenter);
    m_lblBestLap = header("lblBestLap", 8070, 1500, BestLapMode, Qt::AlignHCenter);
    m_state.BestColumnMode = BestLapMode;
    m_state.LagColumnMode = LagBehindMode;

    for (int k = 1; k <= Rows; ++k) {
        const int top = RowTop(k);
        auto cell = [&](const char* array, Column column, Qt::Alignment alignment) {
            auto* label = new RowLabel(m_canvas); // opaque, in the car's colour
            label->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(k));
            label->setFont(ArialBold(RowFontSize));
            label->setAlignment(alignment | Qt::AlignVCenter);
            label->setMouseTracking(true);
            label->installEventFilter(this);
            label->setProperty(RowProperty, k);
            Place(label, column.left, top, column.width, RowHeight);
            return label;
        };
        m_lblID[k] = cell("lblID", IdColumn, Qt::AlignHCenter);
        m_lblName[k] = cell("lblName", NameColumn, Qt::AlignLeft);
        m_lblLapNum[k] = cell("lblLapNum", LapNumColumn, Qt::AlignHCenter);
        m_lblLapTime[k] = cell("lblLapTime", LapTimeColumn, Qt::AlignHCenter);
        m_lblLagTime[k] = cell("lblLagTime", LagColumn, Qt::AlignHCenter);
        m_lblBest[k] = cell("lblBest", BestColumn, Qt::AlignHCenter);

        m_lblID[k]->setText(QString::number(k));
        m_cellText[k][static_cast<int>(Cell::Id)] = std::to_string(k);
        m_lblName[k]->setText(QStringLiteral(" Select Name"));
        m_cellText[k][static_cast<int>(Cell::Name)] = " Select Name";
        m_lblName[k]->setToolTip(QStringLiteral("Click to change name."));
        m_lblBest[k]->setToolTip(QStringLiteral("When \"Best Lap\" displayed, click to reset"));

        auto* combo = new QComboBox(m_canvas);
        combo->setObjectName(QStringLiteral("Select_Name_%1").arg(k));
        combo->setProperty(RowProperty, k);
        combo->setFont(ArialBold(RowFontSize));
        combo->setMaxVisibleItems(20);
        combo->installEventFilter(this);
        Place(combo, SelectNameColumn.left, top, SelectNameColumn.width, RowHeight);
        combo->hide();
        // `activated` comes from the operator only; selections made from code
        // (and anything while the list is hidden) never assign a name.
        connect(combo, &QComboBox::activated, this, [this, k](int) { Select_Name_Click(k); });
        m_selectName[k] = combo;
    }
    for (int k = 1; k <= Rows; ++k)
        SetRowColor(k, 0);

    m_imgLapmark = MakeLabel(QStringLiteral("imgLapmark"), 9705, 45, 1950, 735, 8, Qt::AlignCenter);
    m_imgLapmark->setScaledContents(true);
    {
        QPixmap logo;
        if (logo.load(QString::fromStdString(ResolveInFolder(m_folder, "KestoLogo.png").string())))
            m_imgLapmark->setPixmap(logo);
    }
    m_imgFlag = MakeLabel(QStringLiteral("imgFlag"), 9705, 945, 1950, 735, 8, Qt::AlignCenter);
    m_imgFlag->setScaledContents(true);

    m_lblRaceOver =
        MakeLabel(QStringLiteral("lblRaceOver"), 9705, 1785, 1950, 570, 18, Qt::AlignHCenter);
    m_lblRaceOver->setText(QStringLiteral("Race  Over"));
    SetTextColor(m_lblRaceOver, Qt::red);
    m_lblRaceOver->hide();

    m_lblClock = MakeLabel(QStringLiteral("lblClock"), 9585, 2415, 2100, 915, ClockFontSize,
                           Qt::AlignHCenter);
    m_lblClock->setText(QStringLiteral("00:00"));
    m_clockText = "00:00";
    m_clockColor = ClockWhite;
    SetTextColor(m_lblClock, Qt::white);
    m_lblClock->setToolTip(
        QStringLiteral("Clock, Left click to increase Clock size, right click to decrease"));

    m_lblDemo =
        MakeLabel(QStringLiteral("lblDemo"), 9660, 3960, 1950, 570, 27.75, Qt::AlignHCenter);
    m_lblDemo->setText(QStringLiteral("Demo"));
    SetTextColor(m_lblDemo, Qt::red);
    m_lblDemo->hide();

    // The decoder link's alarm: white on red across the top rows, over them.
    m_lblLinkAlarm = new QLabel(m_canvas);
    m_lblLinkAlarm->setObjectName(QStringLiteral("lblLinkAlarm"));
    m_lblLinkAlarm->setTextFormat(Qt::PlainText);
    m_lblLinkAlarm->setFont(ArialBold(LinkAlarmFontSize));
    m_lblLinkAlarm->setAlignment(Qt::AlignCenter);
    m_lblLinkAlarm->setWordWrap(true);
    m_lblLinkAlarm->setAutoFillBackground(true);
    {
        QPalette alarm = m_lblLinkAlarm->palette();
        alarm.setColor(QPalette::Window, QColor(200, 0, 0));
        alarm.setColor(QPalette::WindowText, Qt::white);
        m_lblLinkAlarm->setPalette(alarm);
    }
    Place(m_lblLinkAlarm, IdColumn.left, RowTop(1), BestColumn.left + BestColumn.width,
          3 * RowHeight);
    m_lblLinkAlarm->hide();

    m_cmdStart = new QPushButton(QStringLiteral("Start"), m_canvas);
    m_cmdStart->setObjectName(QStringLiteral("cmdStart"));
    m_cmdStart->setFont(ArialBold(HeaderFontSize));
    m_cmdStart->installEventFilter(this);
    m_cmdStart->setMouseTracking(true);
    Place(m_cmdStart, 9660, 4680, 1950, 570);
    connect(m_cmdStart, &QPushButton::clicked, this, &FrmKestoTimer::cmdStart_Click);
}

void FrmKestoTimer::BuildMenus() {
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const char* text, const char* name,
                       std::function<void()> action) {
        QAction* a = menu->addAction(QString::fromLatin1(text));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [action = std::move(action)] { action(); });
        return a;
    };
    auto hook = [this](std::function<void()> MainWindowHooks::*member) {
        return [this, member] {
            if (m_hooks.*member)
                (m_hooks.*member)();
        };
    };

    m_mnuFile = bar->addMenu(QStringLiteral("&File"));
    m_mnuFile->setObjectName(QStringLiteral("mnuFile"));
    item(m_mnuFile, "&Open", "mnuOpen", hook(&MainWindowHooks::openResults));
    item(m_mnuFile, "E&xit", "mnuExit", [this] { mnuExit_Click(); });

    m_mnuRaceFormat = bar->addMenu(QStringLiteral("R&ace Format"));
    m_mnuRaceFormat->setObjectName(QStringLiteral("mnuRaceFormatMenu"));
    item(m_mnuRaceFormat, "Race Format", "mnuRaceFormat", [this] {
        if (m_hooks.showRaceFormat)
            m_hooks.showRaceFormat();
        SetPointer(Pointer::Default);
    });

    m_mnuViewData = bar->addMenu(QStringLiteral("&View Data"));
    m_mnuViewData->setObjectName(QStringLiteral("mnuViewData"));
    item(m_mnuViewData, "Lap Times", "mnuLapTimes", hook(&MainWindowHooks::showLapTimes));
    item(m_mnuViewData, "Summary", "mnuSummary", hook(&MainWindowHooks::showSummary));
    item(m_mnuViewData, "Hits", "mnuHits", hook(&MainWindowHooks::showHits));
    item(m_mnuViewData, "Rejected Passes", "mnuRejectedPasses",
         hook(&MainWindowHooks::showRejectedPasses));

    m_mnuRacers = bar->addMenu(QStringLiteral("&Racers"));
    m_mnuRacers->setObjectName(QStringLiteral("mnuRacersMenu"));
    item(m_mnuRacers, "Racers", "mnuRacers", hook(&MainWindowHooks::showRacers));

    m_mnuSettings = bar->addMenu(QStringLiteral("&Settings"));
    m_mnuSettings->setObjectName(QStringLiteral("mnuSettingsMenu"));
    item(m_mnuSettings, "S&ound", "mnuSound", hook(&MainWindowHooks::showSound));
    item(m_mnuSettings, "Settings", "mnuSettings", hook(&MainWindowHooks::showSettings));

    m_mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    m_mnuHelp->setObjectName(QStringLiteral("mnuHelpMenu"));
    item(m_mnuHelp, "Help", "mnuHelp", hook(&MainWindowHooks::showHelp));
    item(m_mnuHelp, "Diagnostic...", "mnuDiagnostic", hook(&MainWindowHooks::showDiagnostic))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    item(m_mnuHelp, "Lapmark Web site...", "mnuWebSite", hook(&MainWindowHooks::showBrowser));
    item(m_mnuHelp, "About...", "mnuAbout", hook(&MainWindowHooks::showAbout));
}

QMenu* FrmKestoTimer::Menu(MainMenu menu) const {
    switch (menu) {
    case MainMenu::File:
        return m_mnuFile;
    case MainMenu::RaceFormat:
        return m_mnuRaceFormat;
    case MainMenu::Settings:
        return m_mnuSettings;
    case MainMenu::Help:
        return m_mnuHelp;
    }
    return nullptr;
}

void FrmKestoTimer::InitResizer() {
    QtResizeWindowView view(m_canvas);
    m_resizer.InitResizeClass(view);
}

// --- writing the rows ------------------------------------------------------------

RowLabel* FrmKestoTimer::CellLabel(int row, Cell cell) const {
    switch (cell) {
    case Cell::Id:
        return m_lblID[row];
    case Cell::Name:
        return m_lblName[row];
    case Cell::LapNum:
        return m_lblLapNum[row];
    case Cell::LapTime:
        return m_lblLapTime[row];
    case Cell::Lag:
        return m_lblLagTime[row];
    case Cell::Best:
        return m_lblBest[row];
    }
    return nullptr;
}

void FrmKestoTimer::SetCellText(int row, Cell cell, const std::string& text) {
    std::string& shown = m_cellText[row][static_cast<int>(cell)];
    if (shown == text)
        return; // rewriting the same text costs nothing
    shown = text;
    CellLabel(row, cell)->setText(QString::fromStdString(text));
}

void FrmKestoTimer::SetRowColor(int row, int32_t windowsColor) {
    if (m_rowPainted[row] && m_rowColor[row] == windowsColor)
        return;
    m_rowPainted[row] = true;
    m_rowColor[row] = windowsColor;
    const QColor background = FromWindowsColor(windowsColor);
    const QColor text = TextOn(background);
    for (int c = 0; c < CellKinds; ++c)
        CellLabel(row, static_cast<Cell>(c))->setColors(background, text);
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

void FrmKestoTimer::ClearRowCells() {
    Apply(ClearedRows());
}

void FrmKestoTimer::PaintRowsInIdOrder() {
    Apply(IdColorRows(m_state));
}

void FrmKestoTimer::UpdateRaceScreen() {
    Apply(RaceScreenRows(m_state));
}

void FrmKestoTimer::UpdatePracticeScreen() {
    Apply(PracticeScreenRows(m_state));
}

void FrmKestoTimer::RefreshNow() {
    RefreshStandings(m_state, m_hooks.viewerGridVisible);
    if (m_state.PracticeMode)
        UpdatePracticeScreen();
    else
        UpdateRaceScreen();
}

// --- the right-hand panel ----------------------------------------------------------

void FrmKestoTimer::ShowFlag(const std::string& bitmapFile) {
    QPixmap picture;
    if (picture.load(QString::fromStdString(ResolveInFolder(m_folder, bitmapFile).string())))
        m_imgFlag->setPixmap(picture);
    m_imgFlag->show();
}

void FrmKestoTimer::HideFlag() {
    m_imgFlag->hide();
}

void FrmKestoTimer::ShowRaceOver(bool visible) {
    m_lblRaceOver->setVisible(visible);
}

void FrmKestoTimer::SetClockText(const std::string& text) {
    if (text == m_clockText)
        return;
    m_clockText = text;
    m_lblClock->setText(QString::fromStdString(text));
}

void FrmKestoTimer::SetClockColor(int32_t windowsColor) {
    if (windowsColor == m_clockColor)
        return;
    m_clockColor = windowsColor;
    SetTextColor(m_lblClock, FromWindowsColor(windowsColor));
}

void FrmKestoTimer::SetStartButton(StartButton caption) {
    const QString text = QString::fromLatin1(Caption(caption));
    if (m_cmdStart->text() != text)
        m_cmdStart->setText(text);
}

void FrmKestoTimer::EnableStartButton(bool enabled) {
    m_cmdStart->setEnabled(enabled);
}

void FrmKestoTimer::EnableMenu(MainMenu menu, bool enabled) {
    if (QMenu* m = Menu(menu))
        m->menuAction()->setEnabled(enabled);
}

void FrmKestoTimer::SetRaceTimer(bool running) {
    if (running) {
        if (!m_timer1->isActive()) {
            m_sinceTimerStart.start();
            m_msTicked = 0;
            m_timer1->start();
        }
    } else {
        m_timer1->stop();
        // The race is over or aborted: the link watch takes its alarm down.
        if (m_tick)
            m_tick->RaceTimerStopped();
    }
}

void FrmKestoTimer::ShowLinkAlarm(const std::string& text) {
    m_lblLinkAlarm->setText(QString::fromStdString(text));
    m_lblLinkAlarm->raise();
    m_lblLinkAlarm->show();
}

void FrmKestoTimer::HideLinkAlarm() {
    m_lblLinkAlarm->hide();
}

void FrmKestoTimer::Timer1_Timer() {
    // Counted from the timer's start, so the fractions of a millisecond each
    // tick has are never lost: the ticks add up to the time gone by.
    const qint64 now = m_sinceTimerStart.elapsed();
    const qint64 elapsed = now - m_msTicked;
    m_msTicked = now;
    const auto ms =
        static_cast<int32_t>(std::clamp<qint64>(elapsed, 0, std::numeric_limits<int32_t>::max()));
    if (m_tick)
        m_tick->Timer1_Timer(ms);
}

void FrmKestoTimer::ComposeTitle() {
    const ComposedTitle composed = ComposeTitleWithLagFile(m_state, m_folder, m_lagModeSetting);
    setWindowTitle(QString::fromStdString(composed.windowTitle));
    m_lblRaceFormat->setText(QString::fromStdString(composed.raceFormatText));
    m_lblLag->setText(QString::fromStdString(composed.lagHeader));
    SetDemoLabelVisible(m_state.DemoMode);
    RefreshClockDisplay(m_state, *this);
}

void FrmKestoTimer::SetDemoLabelVisible(bool visible) {
    m_lblDemo->setVisible(visible);
}

void FrmKestoTimer::LoadRacerLists() {
    const auto entries = RacerListEntries(m_folder);
    if (!entries)
        return;
    QStringList names;
    for (const std::string& name : *entries)
        names << QString::fromStdString(name);
    for (int k = 1; k <= Rows; ++k) {
        m_selectName[k]->clear();
        m_selectName[k]->addItems(names);
    }
}

// --- conditions read afresh from the race state ------------------------------------------

bool FrmKestoTimer::ClockStopped() const {
    return !m_state.TimerEnabled;
}

bool FrmKestoTimer::Idle() const {
    return m_state.Button == StartButton::Start;
}

// --- operator actions ---------------------------------------------------------------------

void FrmKestoTimer::cmdStart_Click() {
    if (m_control)
        m_control->cmdStart_Click();
}

void FrmKestoTimer::CloseComboNames() {
    for (int k = 1; k <= Rows; ++k)
        m_selectName[k]->hide();
}

void FrmKestoTimer::lblBestLap_Click() {
    CloseComboNames();
    const std::string& mode = m_state.BestColumnMode;
    std::string next;
    if (m_state.PracticeMode)
        next = mode == BestLapMode ? MphMode : BestLapMode;
    else if (mode == BestLapMode)
        next = MphMode;
    else if (mode == MphMode)
        next = MedianMode;
    else
        next = BestLapMode;
    m_state.BestColumnMode = next;
    m_ctx.Journal().Record(JournalEvent::SettingsChanged(m_state));
    m_lblBestLap->setText(QString::fromStdString(next));
    if (!Idle())
        RefreshNow();
}

void FrmKestoTimer::lblLag_Click() {
    CloseComboNames();
    if (!m_state.PracticeMode) {
        const std::string& mode = m_state.LagColumnMode;
        std::string next;
        if (mode == LagBehindMode)
            next = LagFirstMode;
        else if (mode == LagFirstMode)
            next = MedianMode;
        else
            next = LagBehindMode;
        m_state.LagColumnMode = next;
        m_ctx.Journal().Record(JournalEvent::SettingsChanged(m_state));
        m_lblLag->setText(QString::fromStdString(next));
    }
    if (!Idle())
        RefreshNow();
}

void FrmKestoTimer::lblBest_Click(int k) {
    if (k < 1 || k > Rows || m_state.BestColumnMode != BestLapMode)
        return;
    if (m_state.PracticeMode) {
        m_ctx.Journal().Record(JournalEvent::BestLapCleared(k));
        m_state.BestLapTime[k - 1] = NoBestLap;
        SetCellText(k, Cell::Best, "");
    }
    const int car = m_state.RaceOrder[k - 1];
    if (IsValidId(car) && !ClockStopped()) {
        m_ctx.Journal().Record(JournalEvent::BestLapCleared(car));
        m_state.BestLapTime[car - 1] = NoBestLap;
        SetCellText(k, Cell::Best, "");
        Beep();
    }
}

void FrmKestoTimer::ClearBestLapOf(int id) {
    if (IsValidId(id)) {
        m_ctx.Journal().Record(JournalEvent::BestLapCleared(id));
        m_state.BestLapTime[id - 1] = NoBestLap;
    }
}

void FrmKestoTimer::lblName_Click(int k) {
    if (k < 1 || k > Rows)
        return;
    for (int other = 1; other <= Rows; ++other)
        if (other != k)
            m_selectName[other]->hide();
    if (!((ClockStopped() && Idle()) || m_state.PracticeMode))
        return;

    QComboBox* combo = m_selectName[k];
    const std::string shown = Trim(m_cellText[k][static_cast<int>(Cell::Name)]);
    for (int i = 0; i < combo->count(); ++i) {
        const std::string entry = combo->itemText(i).toStdString();
        if (!entry.empty() && entry == shown) {
            combo->setCurrentIndex(i);
            combo->raise();
            combo->show();
            combo->setFocus(Qt::MouseFocusReason);
            return;
        }
    }
    if (combo->count() > 0)
        combo->setCurrentIndex(combo->count() - 1);
    if (!combo->isVisible()) {
        combo->raise();
        combo->show();
        combo->setFocus(Qt::MouseFocusReason);
    }
}

void FrmKestoTimer::Select_Name_Click(int k) {
    if (k < 1 || k > Rows)
        return;
    QComboBox* combo = m_selectName[k];
    if (!combo->isVisible())
        return;
    try {
        const std::string caption = " " + combo->currentText().toStdString();
        m_ctx.Journal().Record(JournalEvent::NameChosen(k, Trim(caption)));
        SetCellText(k, Cell::Name, caption);
        m_state.Names.IdName[k - 1] = Trim(caption);
        m_state.Names.NamedId[k - 1] = static_cast<int16_t>(k);
    } catch (const std::exception& error) {
        ShowError(error.what());
    }
}

void FrmKestoTimer::Select_Name_LostFocus(int k) {
    if (k < 1 || k > Rows)
        return;
    m_selectName[k]->hide();
    m_lblName[k]->show();
}

void FrmKestoTimer::lblRaceFormat_Click() {
    if (!(ClockStopped() && Idle()))
        return;
    if (m_hooks.showRaceFormat)
        m_hooks.showRaceFormat();
    SetPointer(Pointer::Default);
}

void FrmKestoTimer::imgLapmark_Click() {
    if (Idle() && m_hooks.showAbout)
        m_hooks.showAbout();
}

void FrmKestoTimer::lblClock_MouseDown(Qt::MouseButton button) {
    const int s = RoundHalfEven(m_lblClock->font().pointSizeF());
    int size = 0;
    if (button == Qt::LeftButton && s + 2 < 80)
        size = s + 2;
    else if (button == Qt::RightButton && s - 2 > 10)
        size = s - 2;
    if (size == 0)
        return;
    QFont font = m_lblClock->font();
    font.setPointSizeF(size);
    m_lblClock->setFont(font);
}

void FrmKestoTimer::SetRowFontSize(double size) {
    for (int k = 1; k <= Rows; ++k) {
        for (int c = 0; c < CellKinds; ++c) {
            RowLabel* label = CellLabel(k, static_cast<Cell>(c));
            QFont font = label->font();
            font.setPointSizeF(size);
            label->setFont(font);
        }
    }
}

void FrmKestoTimer::ReduceFontSize() {
    const int n = RoundHalfEven(m_lblName[1]->font().pointSizeF()) - 1;
    // The design size (15.75, shown as 16) is the smallest this key gives;
    // after a window resize made the rows smaller it still stops at 1.
    if (n == 15 || n < 1)
        return;
    SetRowFontSize(n);
}

void FrmKestoTimer::IncreaseFontSize() {
    const int n = RoundHalfEven(m_lblName[1]->font().pointSizeF()) + 1;
    if (n < 40)
        SetRowFontSize(n);
}

void FrmKestoTimer::Form_KeyDown(int key, int digit, Qt::KeyboardModifiers modifiers) {
    const bool withModifier =
        (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
    if (key == Qt::Key_F4) {
        lblLag_Click();
    } else if (key == Qt::Key_F5) {
        lblBestLap_Click();
    } else if (key == Qt::Key_F8) {
        ReduceFontSize();
    } else if (key == Qt::Key_F9) {
        IncreaseFontSize();
    } else if (digit >= 0 && digit <= 9) {
        // 1..4 with a modifier reach IDs 11..14; 0 is ID 10 either way.
        int id = digit == 0 ? 10 : digit;
        if (withModifier && digit >= 1 && digit <= 4)
            id += 10;
        ClearBestLapOf(id);
    } else if (key == Qt::Key_B && (modifiers & Qt::ControlModifier) &&
               (modifiers & Qt::ShiftModifier) && !(modifiers & Qt::AltModifier)) {
        if (m_hooks.showSendCommand)
            m_hooks.showSendCommand();
    }
}

void FrmKestoTimer::Form_Resize() {
    QtResizeWindowView view(m_canvas);
    m_resizer.ResizeControls(view);
    if (std::lround(ToTwips(m_lblBestLap->height())) == 380)
        m_cmdStart->resize(m_cmdStart->width(), ToPixels(450));
    m_imgLapmark->resize(m_imgLapmark->width(),
                         static_cast<int>(std::lround(0.38 * m_imgLapmark->width())));
}

// --- leaving the program ------------------------------------------------------------------

void FrmKestoTimer::mnuExit_Click() {
    if (!m_state.PracticeMode &&
        !ConfirmUnsavedResults(m_ctx.dialogs, m_state, "Do you want to exit?"))
        return;
    try {
        if (m_ctx.port.IsOpen())
            m_ctx.port.Close();
    } catch (...) {
    }
    m_exitRequested = true;
    close();
}

bool FrmKestoTimer::Form_Unload() {
    if (!m_exitRequested)
        return false;
    if (m_unloaded)
        return true;
    m_unloaded = true;
    m_timer1->stop();
    try {
        if (m_ctx.port.IsOpen())
            m_ctx.port.Close();
    } catch (const std::exception& error) {
        ShowError(error.what());
    }
    std::string error;
    if (!WriteLagColumnMode(m_folder, m_lblLag->text().toStdString(), &error))
        ShowError(error);
    error.clear();
    if (!SaveIdNames(m_folder, IdNamesFileName, m_state.Names, &error))
        ShowError(error);
    return true;
}

void FrmKestoTimer::closeEvent(QCloseEvent* event) {
    // The close box and Alt+F4 leave the race screen open: the program is
    // left through Exit, which asks about unsaved results first.
    if (!m_exitRequested || !Form_Unload()) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_hooks.quit)
        m_hooks.quit();
    else
        QCoreApplication::quit();
}

// --- events ----------------------------------------------------------------------------------

KeyPreview::KeyPreview(FrmKestoTimer* window) : QObject(window), m_window(window) {}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    return event->type() == QEvent::KeyPress && m_window->HandleKey(watched, event);
}

bool FrmKestoTimer::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        if (watched == m_canvas ||
            (watched->isWidgetType() && static_cast<QWidget*>(watched)->parentWidget() == m_canvas))
            return HandleMouse(watched, event);
        return false;
    case QEvent::FocusIn:
    case QEvent::DragEnter:
        if (auto* combo = qobject_cast<QComboBox*>(watched);
            combo && combo->parentWidget() == m_canvas)
            SetPointer(Pointer::Default);
        return false;
    case QEvent::FocusOut:
        if (auto* combo = qobject_cast<QComboBox*>(watched);
            combo && combo->parentWidget() == m_canvas &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            Select_Name_LostFocus(combo->property(RowProperty).toInt());
        return false;
    case QEvent::Resize:
        if (watched == m_canvas && m_resizer.Initialised())
            Form_Resize();
        return false;
    default:
        return false;
    }
}

bool FrmKestoTimer::HandleKey(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    const int digit = DigitOfKey(key->key(), modifiers, key->nativeScanCode());
    const bool ours = key->key() == Qt::Key_F4 || key->key() == Qt::Key_F5 ||
                      key->key() == Qt::Key_F8 || key->key() == Qt::Key_F9 || digit >= 0 ||
                      (key->key() == Qt::Key_B && (modifiers & Qt::ControlModifier) &&
                       (modifiers & Qt::ShiftModifier) && !(modifiers & Qt::AltModifier));
    if (!ours)
        return false;
    // Taken here so it is handled once, not again by every parent it would reach.
    Form_KeyDown(key->key(), digit, modifiers);
    return true;
}

bool FrmKestoTimer::HandleMouse(QObject* watched, QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseMove) {
        // A move over a control also reaches the screen behind it; only a
        // move over the bare screen is the window's own.
        if (watched != m_canvas || !m_canvas->childAt(mouse->position().toPoint()))
            MouseMovedOver(watched);
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_lblClock)
            lblClock_MouseDown(mouse->button());
        return false;
    }
    // A click: the left button released over the control it was pressed on.
    auto* widget = static_cast<QWidget*>(watched);
    if (mouse->button() != Qt::LeftButton || !widget->rect().contains(mouse->position().toPoint()))
        return false;
    const int k = widget->property(RowProperty).toInt();
    if (watched == m_lblBestLap)
        lblBestLap_Click();
    else if (watched == m_lblLag)
        lblLag_Click();
    else if (watched == m_lblRaceFormat)
        lblRaceFormat_Click();
    else if (watched == m_imgLapmark)
        imgLapmark_Click();
    else if (k >= 1 && watched == m_lblBest[k])
        lblBest_Click(k);
    else if (k >= 1 && watched == m_lblName[k])
        lblName_Click(k);
    return false;
}

void FrmKestoTimer::MouseMovedOver(QObject* watched) {
    auto* widget = static_cast<QWidget*>(watched);
    const int k = widget->property(RowProperty).toInt();
    if (watched == m_lblBestLap) {
        SetPointer(Pointer::Hand);
        m_lblBestLap->setToolTip(
            QString::fromLatin1(m_state.PracticeMode ? BestLapTipPractice : BestLapTipRace));
    } else if (watched == m_lblLag) {
        if (m_state.PracticeMode) {
            SetPointer(Pointer::Default);
            m_lblLag->setToolTip(QString());
        } else {
            SetPointer(Pointer::Hand);
            m_lblLag->setToolTip(QString::fromLatin1(LagTipRace));
        }
    } else if (k >= 1 && watched == m_lblBest[k]) {
        if (ClockStopped()) {
            SetPointer(Pointer::Default);
            m_lblBest[k]->setToolTip(QString());
        } else if (m_state.BestColumnMode == BestLapMode) {
            SetPointer(Pointer::Hand);
            m_lblBest[k]->setToolTip(QString::fromLatin1(BestCellTipRunning));
        } else {
            SetPointer(Pointer::Default);
        }
    } else if (k >= 1 && watched == m_lblName[k]) {
        if (ClockStopped() && Idle()) {
            SetPointer(Pointer::Racer);
            m_lblName[k]->setToolTip(QString::fromLatin1(NameTipIdle));
        }
    } else if (watched == m_lblRaceFormat) {
        if (ClockStopped() && Idle()) {
            SetPointer(Pointer::Hand);
            m_lblRaceFormat->setToolTip(QString::fromLatin1(RaceFormatTipIdle));
        } else {
            SetPointer(Pointer::Default);
            m_lblRaceFormat->setToolTip(QString());
        }
    } else {
        SetPointer(Pointer::Default);
    }
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
    if (!picture.load(QString::fromStdString(
            ResolveInFolder(m_folder, hand ? "handred.ico" : "racer.ico").string()))) {
        unsetCursor();
        return;
    }
    // The hand points with its finger tip; the racer is centred.
    if (hand)
        setCursor(QCursor(picture, picture.width() * 13 / 32, 1));
    else
        setCursor(QCursor(picture));
}

void FrmKestoTimer::Beep() {
    if (m_hooks.beep)
        m_hooks.beep();
    else
        QApplication::beep();
}

void FrmKestoTimer::ShowError(const std::string& description) {
    m_ctx.dialogs.Show(
        Message{"", description, MessageIcon::None, MessageButtons::Ok, MessageAnswer::Ok});
}

} // namespace kesto
