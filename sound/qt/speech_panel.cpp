#include "sound/qt/speech_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kesto {

namespace {

QCheckBox* CheckBox(const char* text, const char* name, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromUtf8(text), parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    return box;
}

QSpinBox* SpinBox(const char* name, int low, int high, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

QString VoiceText(const SpeechVoice& voice) {
    QString name = QString::fromStdString(voice.name);
    name.replace(QLatin1Char('_'), QLatin1Char(' '));
    return name + QStringLiteral(" (") + QString::fromStdString(voice.language) + QLatin1Char(')');
}

} // namespace

SpeechPanel::SpeechPanel(const SpeechSettings& shown, QWidget* parent)
    : QGroupBox(QStringLiteral("Spoken calls:"), parent), m_shown(shown) {
    setObjectName(QStringLiteral("fraSpokenCalls"));
    m_chkCallBestLap =
        CheckBox("New best lap, with name and time", "chkCallBestLap", shown.bestLap, this);
    m_cmbCallLapCounts = new QComboBox(this);
    m_cmbCallLapCounts->setObjectName(QStringLiteral("cmbCallLapCounts"));
    m_cmbCallLapCounts->addItem(QStringLiteral("No lap counts"));
    m_cmbCallLapCounts->addItem(QStringLiteral("Every car's laps"));
    m_cmbCallLapCounts->addItem(QStringLiteral("The leader's laps"));
    m_cmbCallLapCounts->setCurrentIndex(static_cast<int>(shown.lapCounts));
    m_chkCallPodium =
        CheckBox("Winner and podium at the close", "chkCallPodium", shown.podium, this);
    m_chkCallRacers =
        CheckBox("Racers' names at the start lights", "chkCallRacers", shown.racers, this);
    m_chkCallTimeLeft = CheckBox("Time left spoken instead of its wave file", "chkCallTimeLeft",
                                 shown.timeLeft, this);

    m_cmbVoice = new QComboBox(this);
    m_cmbVoice->setObjectName(QStringLiteral("cmbVoice"));
    SetVoices({});
    m_spnSpeed = SpinBox("spnSpeed", MinSpeechSpeed, MaxSpeechSpeed, shown.speed, this);
    m_spnSpeed->setSuffix(QStringLiteral(" words a minute"));
    m_spnVolume = SpinBox("spnVolume", 0, 100, shown.volume, this);
    auto* say = new QPushButton(QStringLiteral("Say"), this);
    say->setObjectName(QStringLiteral("cmdSay"));
    connect(say, &QPushButton::clicked, this, [this] {
        if (onSay)
            onSay(Chosen());
    });

    auto* voice = new QFormLayout;
    voice->addRow(QStringLiteral("Lap counts:"), m_cmbCallLapCounts);
    voice->addRow(QStringLiteral("Voice:"), m_cmbVoice);
    voice->addRow(QStringLiteral("Speed:"), m_spnSpeed);
    auto* volumeRow = new QHBoxLayout;
    volumeRow->addWidget(m_spnVolume);
    volumeRow->addStretch();
    volumeRow->addWidget(say);
    voice->addRow(QStringLiteral("Volume:"), volumeRow);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_chkCallBestLap);
    layout->addWidget(m_chkCallPodium);
    layout->addWidget(m_chkCallRacers);
    layout->addWidget(m_chkCallTimeLeft);
    layout->addLayout(voice);
}

void SpeechPanel::SetVoices(const std::vector<SpeechVoice>& voices) {
    const QString chosen = m_cmbVoice->count() > 0 ? m_cmbVoice->currentData().toString()
                                                   : QString::fromStdString(m_shown.voice);
    m_cmbVoice->clear();
    m_cmbVoice->addItem(QStringLiteral("English (espeak-ng's own)"), QString());
    for (const SpeechVoice& voice : voices)
        m_cmbVoice->addItem(VoiceText(voice), QString::fromStdString(voice.name));
    int index = m_cmbVoice->findData(chosen);
    if (index < 0) {
        m_cmbVoice->addItem(chosen, chosen);
        index = m_cmbVoice->count() - 1;
    }
    m_cmbVoice->setCurrentIndex(index);
}

SpeechSettings SpeechPanel::Chosen() const {
    SpeechSettings settings = m_shown;
    settings.bestLap = m_chkCallBestLap->isChecked();
    settings.lapCounts = static_cast<LapCountCalls>(m_cmbCallLapCounts->currentIndex());
    settings.podium = m_chkCallPodium->isChecked();
    settings.racers = m_chkCallRacers->isChecked();
    settings.timeLeft = m_chkCallTimeLeft->isChecked();
    settings.voice = m_cmbVoice->currentData().toString().toStdString();
    settings.speed = m_spnSpeed->value();
    settings.volume = m_spnVolume->value();
    return settings;
}

} // namespace kesto
