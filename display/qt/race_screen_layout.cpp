#include "display/qt/race_screen_layout.h"

#include "base/qt/logo_picture.h"
#include "display/qt/alarm_banner.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>

#include <cmath>

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

void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(TwipsToPixels(widget, left), TwipsToPixels(widget, top),
                        TwipsToPixels(widget, width), TwipsToPixels(widget, height));
}

QLabel* MakeLabel(QWidget* canvas, QObject* events, const char* objectName, int left, int top,
                  int width, int height, double pointSize, Qt::Alignment alignment) {
    auto* label = new QLabel(canvas);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextFormat(Qt::PlainText);
    label->setFont(ArialBold(pointSize));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setMouseTracking(true);
    label->installEventFilter(events);
    Place(label, left, top, width, height);
    return label;
}

QWidget* MakeCanvas(QWidget* parent, QObject* events) {
    auto* canvas = new QWidget(parent);
    canvas->setObjectName(QStringLiteral("frmKestoTimerClient"));
    canvas->setAutoFillBackground(true);
    QPalette palette = canvas->palette();
    palette.setColor(QPalette::Window, Qt::black);
    canvas->setPalette(palette);
    // A click on the screen takes the focus from an open name list.
    canvas->setFocusPolicy(Qt::ClickFocus);
    canvas->setMouseTracking(true);
    canvas->installEventFilter(events);
    // The design size: the inner area is 11700 x 5295 twips.
    canvas->resize(TwipsToPixels(canvas, 11700), TwipsToPixels(canvas, 5295));
    return canvas;
}

void BuildHeaders(RaceScreenControls& c, QObject* events) {
    const QColor headerText = c.canvas->palette().color(QPalette::HighlightedText);
    auto header = [&](const char* name, int left, int width, const char* text,
                      Qt::Alignment alignment) {
        QLabel* label =
            MakeLabel(c.canvas, events, name, left, 30, width, 375, HeaderFontSize, alignment);
        label->setText(QString::fromLatin1(text));
        SetTextColor(label, headerText);
        return label;
    };
    c.lblHeaderID = header("lblHeaderID", 0, 480, "ID", Qt::AlignHCenter);
    c.lblRaceFormat = header("lblRaceFormat", 525, 3285, "", Qt::AlignLeft);
    SetTextColor(c.lblRaceFormat, QColor(192, 192, 192));
    c.lblLapNumber = header("lblLapNumber", 3825, 1140, "Lap", Qt::AlignHCenter);
    c.lblLapTimeHeader = header("lblLapTime_0", 4980, 1335, "Lap Time", Qt::AlignHCenter);
    c.lblLag = header("lblLag", 6315, 1710, LagBehindMode, Qt::AlignHCenter);
    c.lblBestLap = header("lblBestLap", 8070, 1500, BestLapMode, Qt::AlignHCenter);
}

void BuildRow(RaceScreenControls& c, QObject* events, int k) {
    const int top = RowTop(k);
    auto cell = [&](Cell kind, const char* array, Column column, Qt::Alignment alignment) {
        auto* label = new RowLabel(c.canvas); // opaque, in the car's colour
        label->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(k));
        label->setFont(ArialBold(RowFontSize));
        label->setAlignment(alignment | Qt::AlignVCenter);
        label->setMouseTracking(true);
        label->installEventFilter(events);
        label->setProperty(RowProperty, k);
        Place(label, column.left, top, column.width, RowHeight);
        c.cells[k][static_cast<int>(kind)] = label;
    };
    cell(Cell::Id, "lblID", IdColumn, Qt::AlignHCenter);
    cell(Cell::Name, "lblName", NameColumn, Qt::AlignLeft);
    cell(Cell::LapNum, "lblLapNum", LapNumColumn, Qt::AlignHCenter);
    cell(Cell::LapTime, "lblLapTime", LapTimeColumn, Qt::AlignHCenter);
    cell(Cell::Lag, "lblLagTime", LagColumn, Qt::AlignHCenter);
    cell(Cell::Best, "lblBest", BestColumn, Qt::AlignHCenter);
    c.CellLabel(k, Cell::Id)->setText(QString::number(k));
    c.CellLabel(k, Cell::Name)->setText(QStringLiteral(" Select Name"));
    c.CellLabel(k, Cell::Name)->setToolTip(QStringLiteral("Click to change name."));
    c.CellLabel(k, Cell::Best)
        ->setToolTip(QStringLiteral("When \"Best Lap\" displayed, click to reset"));

    auto* combo = new QComboBox(c.canvas);
    combo->setObjectName(QStringLiteral("Select_Name_%1").arg(k));
    combo->setProperty(RowProperty, k);
    combo->setFont(ArialBold(RowFontSize));
    combo->setMaxVisibleItems(20);
    // However long the roster, neither the box nor its list measures every name.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto* list = qobject_cast<QListView*>(combo->view()))
        list->setUniformItemSizes(true);
    combo->installEventFilter(events);
    Place(combo, SelectNameColumn.left, top, SelectNameColumn.width, RowHeight);
    combo->hide();
    c.Select_Name[k] = combo;
}

void BuildPanel(RaceScreenControls& c, QObject* events,
                const std::filesystem::path& programFolder) {
    c.imgLapmark =
        MakeLabel(c.canvas, events, "imgLapmark", 9705, 45, 1950, 735, 8, Qt::AlignCenter);
    c.imgLapmark->setScaledContents(true);
    const QPixmap logo = LoadLogo(programFolder);
    if (!logo.isNull())
        c.imgLapmark->setPixmap(logo);
    c.imgFlag = MakeLabel(c.canvas, events, "imgFlag", 9705, 945, 1950, 735, 8, Qt::AlignCenter);
    c.imgFlag->setScaledContents(true);

    c.lblRaceOver =
        MakeLabel(c.canvas, events, "lblRaceOver", 9705, 1785, 1950, 570, 18, Qt::AlignHCenter);
    c.lblRaceOver->setText(QStringLiteral("Race  Over"));
    SetTextColor(c.lblRaceOver, Qt::red);
    c.lblRaceOver->hide();

    c.lblClock = MakeLabel(c.canvas, events, "lblClock", 9585, 2415, 2100, 915, ClockFontSize,
                           Qt::AlignHCenter);
    c.lblClock->setText(QStringLiteral("00:00"));
    SetTextColor(c.lblClock, Qt::white);
    c.lblClock->setToolTip(
        QStringLiteral("Clock, Left click to increase Clock size, right click to decrease"));

    c.lblDemo =
        MakeLabel(c.canvas, events, "lblDemo", 9660, 3960, 1950, 570, 27.75, Qt::AlignHCenter);
    c.lblDemo->setText(QStringLiteral("Demo"));
    SetTextColor(c.lblDemo, Qt::red);
    c.lblDemo->hide();

    c.cmdStart = new QPushButton(QStringLiteral("Start"), c.canvas);
    c.cmdStart->setObjectName(QStringLiteral("cmdStart"));
    c.cmdStart->setFont(ArialBold(HeaderFontSize));
    c.cmdStart->installEventFilter(events);
    c.cmdStart->setMouseTracking(true);
    Place(c.cmdStart, 9660, 4680, 1950, 570);
}

// The decoder link's alarm: white on red across the top rows, over them; the
// race journal's, alike and just below it: both may be up at once.
void BuildAlarms(RaceScreenControls& c) {
    c.lblLinkAlarm = MakeAlarmBanner(c.canvas, "lblLinkAlarm", ArialBold(LinkAlarmFontSize));
    Place(c.lblLinkAlarm, IdColumn.left, RowTop(1), BestColumn.left + BestColumn.width,
          3 * RowHeight);
    c.lblJournalAlarm = MakeAlarmBanner(c.canvas, "lblJournalAlarm", ArialBold(LinkAlarmFontSize));
    Place(c.lblJournalAlarm, IdColumn.left, RowTop(4), BestColumn.left + BestColumn.width,
          3 * RowHeight);
}

} // namespace

int TwipsToPixels(const QWidget* widget, double twips) {
    return static_cast<int>(std::lround(twips * widget->logicalDpiX() / 1440.0));
}

double PixelsToTwips(const QWidget* widget, int pixels) {
    return pixels * 1440.0 / widget->logicalDpiX();
}

int RowOf(const QObject* control) {
    return control->property(RowProperty).toInt();
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

RaceScreenControls BuildRaceScreen(QWidget* parent, QObject* events,
                                   const std::filesystem::path& programFolder) {
    RaceScreenControls c;
    c.canvas = MakeCanvas(parent, events);
    BuildHeaders(c, events);
    for (int k = 1; k <= RaceScreenControls::Rows; ++k)
        BuildRow(c, events, k);
    BuildPanel(c, events, programFolder);
    BuildAlarms(c);
    return c;
}

} // namespace kesto
