#include "sound/qt/sound_window.h"

#include "base/program_folder.h"
#include "config/sound_choices_file.h"
#include "sound/call_phrases.h"
#include "sound/qt/speech_panel.h"
#include "sound/qt/spoken_calls.h"
#include "sound/sound_file_list.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kesto {

namespace {
// Windows colour values are red in the low byte; these two read the same.
const QColor TestedColor(0x00, 0xFF, 0x00);
const QColor IdleColor(0xE0, 0xE0, 0xE0);
constexpr int TestFlashMs = 333;

const std::array<const char*, RaceSoundCount> RaceSoundTexts = {
    "Race Starts in 20 sec", "Race Starts in 5 sec", "Get Ready",     "Go",
    "Yellow Flag",           "White Flag",           "1 Minute Left", "5 Minutes Left",
    "Halfway thru the Race", "10 Seconds Left",      "Race Over",     "Checkered Flag"};

const std::array<const char*, FrmKestoSound::SlotCount> SlotCaptions = {
    "Overall Best Lap:", "Each Lap:", "Personal Best Lap:"};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString Named(const char* prefix, int index) {
    return QLatin1String(prefix) + QString::number(index);
}
} // namespace

FrmKestoSound::FrmKestoSound(SoundChoices& choices, SoundPlayer& player, Dialogs& dialogs,
                             std::filesystem::path programFolder, std::function<void()> help,
                             QWidget* parent)
    : QDialog(parent), m_choices(choices), m_player(player), m_dialogs(dialogs),
      m_programFolder(std::move(programFolder)), m_help(std::move(help)) {
    setObjectName(QStringLiteral("frmKestoSound"));
    setWindowTitle(QStringLiteral("Sounds"));
    setModal(true);
    setMouseTracking(true);
    BuildControls();
    tmrSound_Timer(); // every slot starts idle grey
    AddRaceWavFiles();
    m_lblInstruction->setText(
        QStringLiteral("Click on \"Change\" Button to change Wav file then select wav file"));
    ShowSoundChoices();
}

void FrmKestoSound::BuildControls() {
    auto* fraRaceSounds = new QGroupBox(QStringLiteral("Select sounds  to play:"), this);
    fraRaceSounds->setObjectName(QStringLiteral("fraRaceSounds"));
    m_lstRaceSounds = new QListWidget(fraRaceSounds);
    m_lstRaceSounds->setObjectName(QStringLiteral("lstRaceSounds"));
    m_lstRaceSounds->viewport()->installEventFilter(this);
    (new QVBoxLayout(fraRaceSounds))->addWidget(m_lstRaceSounds);

    auto* fraCarSounds = new QGroupBox(QStringLiteral("Select car sounds:"), this);
    fraCarSounds->setObjectName(QStringLiteral("fraCarSounds"));
    auto* carLayout = new QVBoxLayout(fraCarSounds);
    for (int slot = 0; slot < SlotCount; ++slot) {
        auto* frame = new QGroupBox(QLatin1String(SlotCaptions[slot]), fraCarSounds);
        frame->setObjectName(Named("fraSound", slot));
        frame->setAutoFillBackground(true);
        auto* check = new QCheckBox(frame);
        check->setObjectName(Named("chkPlay", slot));
        check->setAutoFillBackground(true);
        check->setAccessibleName(QLatin1String(SlotCaptions[slot]));
        auto* label = new QLabel(frame);
        label->setObjectName(Named("lblSound", slot));
        label->setTextFormat(Qt::PlainText); // a file name is never markup
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(150);
        label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        auto* change = new QPushButton(QStringLiteral("Change"), frame);
        change->setObjectName(Named("cmdChange", slot));
        auto* test = new QPushButton(QStringLiteral("Test"), frame);
        test->setObjectName(Named("cmdTest", slot));
        connect(change, &QPushButton::clicked, this, [this, slot] { cmdChange_Click(slot); });
        connect(test, &QPushButton::clicked, this, [this, slot] { cmdTest_Click(slot); });

        auto* row = new QHBoxLayout(frame);
        row->addWidget(check);
        row->addWidget(label, 1);
        row->addWidget(change);
        row->addWidget(test);
        carLayout->addWidget(frame);
        m_fraSound[slot] = frame;
        m_chkPlay[slot] = check;
        m_lblSound[slot] = label;
    }

    m_lblSelectSound = new QLabel(QStringLiteral("Instructions"), this);
    m_lblSelectSound->setObjectName(QStringLiteral("lblSelectSound"));
    m_lblSelectSound->setTextFormat(Qt::PlainText);
    m_lblSelectSound->setCursor(Qt::PointingHandCursor);
    m_lblSelectSound->installEventFilter(this);
    QFont bold = m_lblSelectSound->font();
    bold.setBold(true);
    m_lblSelectSound->setFont(bold);

    m_lblInstruction = new QLabel(this);
    m_lblInstruction->setObjectName(QStringLiteral("lblInstruction"));
    m_lblInstruction->setTextFormat(Qt::PlainText);
    m_lblInstruction->setWordWrap(true);
    m_lblInstruction->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_fileSounds = new QListWidget(this);
    m_fileSounds->setObjectName(QStringLiteral("FileSounds"));
    m_fileSounds->hide();
    connect(m_fileSounds, &QListWidget::itemClicked, this, &FrmKestoSound::FileSounds_Click);
    connect(m_fileSounds, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* current) { FileSounds_Click(current); });

    m_tmrSound = new QTimer(this);
    m_tmrSound->setObjectName(QStringLiteral("tmrSound"));
    m_tmrSound->setInterval(TestFlashMs);
    connect(m_tmrSound, &QTimer::timeout, this, &FrmKestoSound::tmrSound_Timer);

    auto* cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* cmdHelp = new QPushButton(QStringLiteral("&Help"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    connect(cmdOK, &QPushButton::clicked, this, &FrmKestoSound::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmKestoSound::cmdCancel_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &FrmKestoSound::cmdHelp_Click);

    auto* right = new QVBoxLayout;
    m_rightColumn = right;
    right->addWidget(fraCarSounds);
    right->addWidget(m_lblSelectSound);
    right->addWidget(m_lblInstruction);
    right->addWidget(m_fileSounds, 1);
    right->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(fraRaceSounds);
    top->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdHelp);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
}

void FrmKestoSound::AddRaceWavFiles() {
    for (const char* text : RaceSoundTexts) {
        auto* item = new QListWidgetItem(QLatin1String(text), m_lstRaceSounds);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    // Wide enough for every entry without a scroll bar.
    m_lstRaceSounds->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lstRaceSounds->setMinimumWidth(m_lstRaceSounds->sizeHintForColumn(0) +
                                     2 * m_lstRaceSounds->frameWidth() + 8);
}

void FrmKestoSound::ShowSoundChoices() {
    for (int slot = 0; slot < SlotCount; ++slot) {
        m_chkPlay[slot]->setChecked(m_choices.CarSoundEnabled[slot] == 1);
        m_lblSound[slot]->setText(Text(m_choices.CarSoundFile[slot]));
    }
    for (int event = 0; event < RaceSoundCount; ++event)
        m_lstRaceSounds->item(event)->setCheckState(
            m_choices.RaceSoundEnabled[event] ? Qt::Checked : Qt::Unchecked);
}

void FrmKestoSound::ShowSpeechCalls(SpokenCalls& speech) {
    if (m_speechPanel)
        return;
    m_speech = &speech;
    m_speechPanel = new SpeechPanel(speech.Settings(), this);
    m_speechPanel->onSay = [this](const SpeechSettings& voice) {
        NumberLocale locale;
        m_speech->SaySample(BestLapPhrase("Ann Baker", 3250, locale), voice);
    };
    connect(m_speech, &SpokenCalls::voicesChanged, m_speechPanel,
            [this] { m_speechPanel->SetVoices(m_speech->Synthesizer().Voices()); });
    m_speechPanel->SetVoices(m_speech->Voices());
    m_rightColumn->insertWidget(1, m_speechPanel); // under the car sounds
}

void FrmKestoSound::KeepSpeechCalls() {
    if (!m_speech)
        return;
    m_speech->Settings() = m_speechPanel->Chosen();
    std::string error;
    if (!WriteSpeechSettings(m_speech->ProgramFolder(), m_speech->Settings(), &error))
        m_dialogs.Show(
            Message{"", error + "\n" + SpeechSettingsPath(m_speech->ProgramFolder()).string()});
    m_speech->SettingsChanged();
}

void FrmKestoSound::PaintSlot(int slot, QColor color) {
    QPalette palette = m_fraSound[slot]->palette();
    palette.setColor(QPalette::Window, color);
    m_fraSound[slot]->setPalette(palette);
}

void FrmKestoSound::cmdChange_Click(int slot) {
    if (slot < 0 || slot >= SlotCount)
        return;
    m_lblSelectSound->setText(QStringLiteral("Select\n") + m_fraSound[slot]->title());
    m_lblSelectSound->show();
    m_lblInstruction->hide();
    {
        const QSignalBlocker quiet(m_fileSounds); // filling the list chooses nothing
        m_fileSounds->clear();
        for (const std::string& name : ListWaveFiles(SoundFolderOf(m_programFolder)))
            m_fileSounds->addItem(Text(name));
    }
    m_fileSounds->show();
    m_soundSlotBeingChanged = slot;
}

void FrmKestoSound::FileSounds_Click(QListWidgetItem* item) {
    if (!item)
        return;
    m_lblSound[m_soundSlotBeingChanged]->setText(Text(ProperCase(item->text().toStdString())));
}

void FrmKestoSound::lblSelectSound_Click() {
    m_lblInstruction->show();
    m_lblSelectSound->setText(QStringLiteral("Instructions"));
    m_fileSounds->hide();
}

void FrmKestoSound::cmdTest_Click(int slot) {
    if (slot < 0 || slot >= SlotCount)
        return;
    const std::string file = m_lblSound[slot]->text().toStdString();
    if (file.empty()) {
        m_dialogs.Show(Message{"", "Select Sound File"});
        return;
    }
    m_tmrSound->stop();
    PaintSlot(slot, TestedColor);
    m_tmrSound->start();
    m_player.PlayWav(file);
}

void FrmKestoSound::tmrSound_Timer() {
    for (int slot = 0; slot < SlotCount; ++slot) {
        PaintSlot(slot, IdleColor);
        QPalette palette = m_chkPlay[slot]->palette();
        palette.setColor(QPalette::Window, IdleColor);
        m_chkPlay[slot]->setPalette(palette);
    }
}

void FrmKestoSound::lstRaceSounds_MouseDown(QListWidgetItem* item) {
    if (item)
        m_player.PlayWav(item->text().toStdString() + ".wav");
}

void FrmKestoSound::cmdOK_Click() {
    for (int slot = 0; slot < SlotCount; ++slot) {
        m_choices.CarSoundFile[slot] = m_lblSound[slot]->text().toStdString();
        m_choices.CarSoundEnabled[slot] = m_chkPlay[slot]->isChecked() ? 1 : 0;
    }
    for (int event = 0; event < RaceSoundCount; ++event)
        m_choices.RaceSoundEnabled[event] =
            m_lstRaceSounds->item(event)->checkState() == Qt::Checked;
    std::string error;
    if (!WriteSoundChoices(m_programFolder, m_choices, &error)) {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        // Which file could not be written, not only why.
        m_dialogs.Show(Message{"", error + "\n" + SoundChoicesPath(m_programFolder).string()});
    }
    KeepSpeechCalls();
    accept();
}

void FrmKestoSound::cmdCancel_Click() {
    reject();
}

void FrmKestoSound::cmdHelp_Click() {
    if (m_help)
        m_help();
}

bool FrmKestoSound::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_lblSelectSound) {
            lblSelectSound_Click();
        } else if (watched == m_lstRaceSounds->viewport()) {
            // Any button; the entry under the pointer becomes the current one.
            const auto* press = static_cast<QMouseEvent*>(event);
            QListWidgetItem* item = m_lstRaceSounds->itemAt(press->position().toPoint());
            lstRaceSounds_MouseDown(item ? item : m_lstRaceSounds->currentItem());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmKestoSound::mouseMoveEvent(QMouseEvent* event) {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    QDialog::mouseMoveEvent(event);
}

} // namespace kesto
