#include "config/qt/settings_window.h"

#include "config/port_device_text.h"
#include "config/settings_confirm.h"
#include "config/settings_files.h"
#include "config/settings_lists.h"
#include "engine/open_com_port.h"
#include "engine/port_resolution.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace kesto {

namespace {

const char* const ColorTipIdle = " Left Click to select color of ID ";
const char* const ColorTipRace = "Changing color is not available during race";
const char* const InvalidPositionText = "Invalid property value";
constexpr const char* IdProperty = "kestoId";

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString Named(const char* prefix, int index) {
    return QLatin1String(prefix) + QString::number(index);
}

QColor FromWindowsColor(int32_t color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// The racer's name stays readable on any colour (black, the colour of
// settings never chosen, gets white text).
QColor TextOn(const QColor& background) {
    const int luminance =
        (299 * background.red() + 587 * background.green() + 114 * background.blue()) / 1000;
    return luminance < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

QComboBox* MakeList(QWidget* parent, const char* name, const std::vector<std::string>& entries,
                    int width) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    for (const std::string& entry : entries)
        list->addItem(Text(entry));
    list->setMaxVisibleItems(16);
    list->setMinimumWidth(width);
    return list;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption) {
    auto* label = new QLabel(QLatin1String(caption), parent);
    if (name)
        label->setObjectName(QLatin1String(name));
    return label;
}

// While OK runs the wait pointer shows; every box it opens first brings the
// default pointer back, so no question is asked under an hourglass.
class PointerRestoringDialogs final : public Dialogs {
public:
    explicit PointerRestoringDialogs(Dialogs& dialogs) : m_dialogs(dialogs) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~PointerRestoringDialogs() override { Restore(); }
    PointerRestoringDialogs(const PointerRestoringDialogs&) = delete;
    PointerRestoringDialogs& operator=(const PointerRestoringDialogs&) = delete;

    void Restore() {
        if (m_waiting)
            QApplication::restoreOverrideCursor();
        m_waiting = false;
    }
    MessageAnswer Show(const Message& message) override {
        Restore();
        return m_dialogs.Show(message);
    }
    std::optional<std::string> ChooseFile(const FileChoice& choice) override {
        Restore();
        return m_dialogs.ChooseFile(choice);
    }
    std::optional<int32_t> ChooseColor(int32_t initial) override {
        Restore();
        return m_dialogs.ChooseColor(initial);
    }

private:
    Dialogs& m_dialogs;
    bool m_waiting = true;
};

} // namespace

FrmKestoSettings::FrmKestoSettings(RaceContext& ctx, std::filesystem::path programFolder,
                                   SettingsWindowHooks hooks, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_state(ctx.state), m_folder(std::move(programFolder)),
      m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("frmKestoSettings"));
    setWindowTitle(QStringLiteral("  Settings"));
    setModal(true);
    BuildControls();
    FillLists();
    SelectStoredPositions();
    ShowSettingsValues();
    connect(m_cmbCommPort, &QComboBox::currentIndexChanged, this,
            &FrmKestoSettings::ShowPortDevice);
    ShowPortDevice();
}

// --- construction --------------------------------------------------------------------

void FrmKestoSettings::BuildControls() {
    // Port, first lap and delay: a caption, its list, and beside the port
    // list the device the chosen number reaches.
    auto* timing = new QGridLayout;
    auto* lblPort = MakeLabel(this, "lblLapmarkConnectedToComm", "Lapmark Connected to Comm Port:");
    m_cmbCommPort = MakeList(this, "cmbCommPort", {}, 60);
    m_cmbCommPort->setToolTip(QStringLiteral("Lapmark Hardware is connected to this port"));
    lblPort->setBuddy(m_cmbCommPort);
    m_lblPortDevice = MakeLabel(this, "lblPortDevice", "");
    m_lblPortDevice->setMinimumWidth(150);
    m_lblPortDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* lblFirstLap = MakeLabel(this, "lblFirstLap", "Race Begins With Lap:");
    m_cmbFirstLap = MakeList(this, "cmbFirstLap", {}, 60);
    const QString firstLapTip =
        QStringLiteral("Car before sensor,select 0. Car after sensor select 1.");
    lblFirstLap->setToolTip(firstLapTip);
    m_cmbFirstLap->setToolTip(firstLapTip);

    auto* lblStartDelay = MakeLabel(this, "lblStartDelay", "Start Delay, Seconds:");
    m_cmbDelay = MakeList(this, "cmbDelay", {}, 60);
    const QString delayTip = QStringLiteral("Delay in seconds before \"Formula1 Starts\"");
    lblStartDelay->setToolTip(delayTip);
    m_cmbDelay->setToolTip(delayTip);

    timing->addWidget(lblPort, 0, 0);
    timing->addWidget(m_cmbCommPort, 0, 1);
    timing->addWidget(m_lblPortDevice, 0, 2);
    timing->addWidget(lblFirstLap, 1, 0);
    timing->addWidget(m_cmbFirstLap, 1, 1);
    timing->addWidget(lblStartDelay, 2, 0);
    timing->addWidget(m_cmbDelay, 2, 1);
    timing->setColumnStretch(2, 1);

    auto* fraTrack = new QGroupBox(QStringLiteral("Track"), this);
    fraTrack->setObjectName(QStringLiteral("fraTrack"));
    m_txtTrackName = new QLineEdit(fraTrack);
    m_txtTrackName->setObjectName(QStringLiteral("txtTrackName"));
    auto* lblTrackName = MakeLabel(fraTrack, "lblTrackName", "Enter Track Name:");
    lblTrackName->setBuddy(m_txtTrackName);
    auto* trackLayout = new QHBoxLayout(fraTrack);
    trackLayout->addWidget(lblTrackName);
    trackLayout->addWidget(m_txtTrackName, 1);

    auto* fraLength = new QGroupBox(QStringLiteral("Length:"), this);
    fraLength->setObjectName(QStringLiteral("fraLength"));
    m_cmbTrackLength = MakeList(fraLength, "cmbTrackLength", {}, 70);
    const QString lengthTip = QStringLiteral("Average length of track in feet");
    fraLength->setToolTip(lengthTip);
    m_cmbTrackLength->setToolTip(lengthTip);
    auto* lengthLayout = new QHBoxLayout(fraLength);
    lengthLayout->addWidget(m_cmbTrackLength);
    lengthLayout->addWidget(MakeLabel(fraLength, "lblFeet", "Feet"));

    auto* fraScale = new QGroupBox(QStringLiteral("Scale:"), this);
    fraScale->setObjectName(QStringLiteral("fraScale"));
    m_cmbScale = MakeList(fraScale, "cmbScale", {}, 70);
    (new QHBoxLayout(fraScale))->addWidget(m_cmbScale);

    auto* fraMinLapTime = new QGroupBox(QStringLiteral("Min Lap Time:"), this);
    fraMinLapTime->setObjectName(QStringLiteral("fraMinLapTime"));
    m_cmbMinLapTime = MakeList(fraMinLapTime, "cmbMinLapTime", {}, 70);
    const QString minLapTip = QStringLiteral("Lap will not count if under this time");
    fraMinLapTime->setToolTip(minLapTip);
    m_cmbMinLapTime->setToolTip(minLapTip);
    auto* minLapLayout = new QHBoxLayout(fraMinLapTime);
    minLapLayout->addWidget(m_cmbMinLapTime);
    minLapLayout->addWidget(MakeLabel(fraMinLapTime, "lblSeconds", "Seconds"));

    auto* measures = new QHBoxLayout;
    measures->addWidget(fraLength);
    measures->addWidget(fraScale);
    measures->addWidget(fraMinLapTime);

    m_cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_cmdOK, &QPushButton::clicked, this, &FrmKestoSettings::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &FrmKestoSettings::cmdCancel_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);

    auto* left = new QVBoxLayout;
    left->addLayout(timing);
    left->addWidget(fraTrack);
    left->addLayout(measures);
    left->addStretch(1);
    left->addLayout(buttons);

    // One swatch per car ID, captioned with the racer's name.
    auto* fraColor = new QGroupBox(QStringLiteral("ID    Color"), this);
    fraColor->setObjectName(QStringLiteral("fraColor"));
    auto* colors = new QGridLayout(fraColor);
    colors->setVerticalSpacing(3);
    for (int id = 0; id <= Ids; ++id) {
        // Index 0 is the spare of each control array; it is never shown.
        auto* lblID = new QLabel(QString::number(id), fraColor);
        lblID->setObjectName(Named("lblID", id));
        lblID->setAlignment(Qt::AlignCenter);
        lblID->setMinimumWidth(28);
        auto* swatch = new QLabel(fraColor);
        swatch->setObjectName(Named("lblTrackColor", id));
        swatch->setAutoFillBackground(true);
        swatch->setMinimumSize(170, 20);
        swatch->setMargin(1);
        swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken); // a white swatch still shows
        swatch->setProperty(IdProperty, id);
        swatch->setMouseTracking(true);
        m_lblID[id] = lblID;
        m_lblTrackColor[id] = swatch;
        if (id == 0) {
            lblID->hide();
            swatch->hide();
            continue;
        }
        swatch->setToolTip(QLatin1String(ColorTipIdle) + QString::number(id));
        swatch->installEventFilter(this);
        colors->addWidget(lblID, id - 1, 0);
        colors->addWidget(swatch, id - 1, 1);
    }

    auto* root = new QHBoxLayout(this);
    root->addLayout(left, 1);
    root->addWidget(fraColor);
}

void FrmKestoSettings::FillLists() {
    for (const std::string& entry : TrackLengthEntries())
        m_cmbTrackLength->addItem(Text(entry));
    for (const std::string& entry : ScaleEntries())
        m_cmbScale->addItem(Text(entry));
    for (const std::string& entry : MinLapTimeEntries())
        m_cmbMinLapTime->addItem(Text(entry));
    for (const std::string& entry : StartDelayEntries())
        m_cmbDelay->addItem(Text(entry));
    for (const std::string& entry : FirstLapEntries())
        m_cmbFirstLap->addItem(Text(entry));
    AddPorts();
    for (int id = 1; id <= Ids; ++id)
        m_lblTrackColor[id]->setText(Text(m_state.IdName(id)));
}

void FrmKestoSettings::AddPorts() {
    for (const std::string& entry : PortEntries())
        m_cmbCommPort->addItem(Text(entry));
}

void FrmKestoSettings::SelectStoredPositions() {
    SettingsRecord& settings = m_state.Settings;
    SelectPosition(m_cmbTrackLength, settings.TrackLengthIndex);
    SelectPosition(m_cmbScale, settings.ScaleIndex);
    SelectPosition(m_cmbMinLapTime, settings.MinLapTimeIndex);
    SelectPosition(m_cmbDelay, settings.StartDelayIndex);
    // A port position past the list (a port list of older, longer days)
    // falls back to the first port.
    if (settings.ComPortIndex >= m_cmbCommPort->count())
        settings.ComPortIndex = 0;
    SelectPosition(m_cmbCommPort, settings.ComPortIndex);
    SelectPosition(m_cmbFirstLap, settings.FirstLapIndex);
}

void FrmKestoSettings::SelectPosition(QComboBox* list, int position) {
    // -1 is a list without a choice; anything else outside the list is a
    // damaged settings file: said once per list, and the list stays unchosen.
    if (position < -1 || position >= list->count()) {
        list->setCurrentIndex(-1);
        ShowError(InvalidPositionText);
        return;
    }
    list->setCurrentIndex(position);
}

void FrmKestoSettings::ShowSettingsValues() {
    m_txtTrackName->setText(Text(m_state.Settings.TrackName));
    for (int id = 1; id <= Ids; ++id)
        PaintSwatch(id, m_state.Settings.IdColor[id - 1]);
}

void FrmKestoSettings::PaintSwatch(int id, int32_t windowsColor) {
    m_swatchColor[id] = windowsColor;
    QLabel* swatch = m_lblTrackColor[id];
    QPalette palette = swatch->palette();
    const QColor color = FromWindowsColor(windowsColor);
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::WindowText, TextOn(color));
    swatch->setPalette(palette);
}

void FrmKestoSettings::ShowPortDevice() {
    const int port = m_cmbCommPort->currentText().toInt();
    const std::string device = PortDeviceText(port, m_folder, m_hooks.devFolder);
    m_lblPortDevice->setText(Text(device));
    m_lblPortDevice->setToolTip(Text(DescribePort(port, m_folder, m_hooks.devFolder)));
}

// --- actions -------------------------------------------------------------------------

void FrmKestoSettings::cmdOK_Click() {
    SettingsChoices choices;
    choices.trackLength = m_cmbTrackLength->currentText().toStdString();
    choices.scale = m_cmbScale->currentText().toStdString();
    choices.minLapTime = m_cmbMinLapTime->currentText().toStdString();
    choices.comPort = m_cmbCommPort->currentText().toStdString();
    choices.startDelay = m_cmbDelay->currentText().toStdString();
    choices.firstLap = m_cmbFirstLap->currentText().toStdString();
    choices.trackLengthIndex = static_cast<int16_t>(m_cmbTrackLength->currentIndex());
    choices.scaleIndex = static_cast<int16_t>(m_cmbScale->currentIndex());
    choices.minLapTimeIndex = static_cast<int16_t>(m_cmbMinLapTime->currentIndex());
    choices.comPortIndex = static_cast<int16_t>(m_cmbCommPort->currentIndex());
    choices.startDelayIndex = static_cast<int16_t>(m_cmbDelay->currentIndex());
    choices.firstLapIndex = static_cast<int16_t>(m_cmbFirstLap->currentIndex());
    choices.trackName = m_txtTrackName->text().toStdString();

    m_closedByPortChoice = false;
    PointerRestoringDialogs dialogs(m_ctx.dialogs);
    RaceContext ctx{m_ctx.state,  m_ctx.sounds, m_ctx.player, dialogs,
                    m_ctx.random, m_ctx.clock,  m_ctx.port,   m_ctx.journal};
    SettingsConfirmHooks hooks;
    hooks.composeTitle = m_hooks.composeTitle;
    hooks.openComPort = [&](int port) {
        OpenComPortHooks portHooks;
        portHooks.settingsWindowShowing = [] { return true; }; // OK runs in this window
        portHooks.closeSettingsWindow = [this] { m_closedByPortChoice = true; };
        portHooks.composeTitle = m_hooks.composeTitle;
        OpenComPort(ctx, port, portHooks);
    };
    const SettingsConfirmResult result =
        ConfirmSettings(m_state, choices, m_folder, dialogs, hooks);
    dialogs.Restore();
    if (result == SettingsConfirmResult::MissingOptions)
        return;
    // A race under way goes on with the new minimum lap time and scale; a
    // resumed race must too.
    m_ctx.Journal().Record(JournalEvent::SettingsChanged(m_state));
    if (m_closedByPortChoice || !m_state.KeepSettingsOpen)
        accept();
    else
        ShowPortDevice(); // the user picks another port in this window
}

void FrmKestoSettings::cmdCancel_Click() {
    reject();
}

bool FrmKestoSettings::RaceInProgress() const {
    return m_state.Button != StartButton::Start;
}

void FrmKestoSettings::lblTrackColor_MouseMove(int id) {
    m_lblTrackColor[id]->setToolTip(RaceInProgress()
                                        ? QLatin1String(ColorTipRace)
                                        : QLatin1String(ColorTipIdle) + QString::number(id));
}

void FrmKestoSettings::lblTrackColor_Click(int id) {
    if (id < 1 || id > Ids)
        return;
    if (RaceInProgress()) {
        m_lblTrackColor[id]->setToolTip(QLatin1String(ColorTipRace));
        return;
    }
    m_lblID[id]->setFrameShape(QFrame::Box);
    const std::optional<int32_t> color = m_ctx.dialogs.ChooseColor(m_swatchColor[id]);
    m_lblID[id]->setFrameShape(QFrame::NoFrame);
    if (!color)
        return;
    PaintSwatch(id, *color);
    m_state.Settings.IdColor[id - 1] = *color;
    SetColorArray();
    if (m_hooks.applyIdColors)
        m_hooks.applyIdColors();
}

void FrmKestoSettings::SetColorArray() {
    for (int id = 1; id <= Ids; ++id)
        m_state.Settings.IdColor[id - 1] = m_swatchColor[id];
    std::string error;
    if (!SaveSettingsFile(m_folder, SettingsFileName, m_state.Settings, &error))
        ShowError(error);
}

void FrmKestoSettings::ShowError(const std::string& description) {
    Message box;
    box.text = description;
    m_ctx.dialogs.Show(box);
}

// --- events --------------------------------------------------------------------------

bool FrmKestoSettings::event(QEvent* event) {
    // A USB adapter may have been plugged in while the window was away.
    if (event->type() == QEvent::WindowActivate && m_cmbCommPort)
        ShowPortDevice();
    return QDialog::event(event);
}

bool FrmKestoSettings::eventFilter(QObject* watched, QEvent* event) {
    const QVariant id = watched->property(IdProperty);
    if (id.isValid()) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::ToolTip)
            lblTrackColor_MouseMove(id.toInt());
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            lblTrackColor_Click(id.toInt());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kesto
