#pragma once
// The "Spoken calls:" part of the sound window: which calls the timer speaks
// (each off until ticked) and the voice, speed and volume that speak them.
// It shows a copy of the speech settings; the window keeps what it shows on OK.

#include "sound/qt/espeak_synthesizer.h"
#include "sound/speech_settings.h"

#include <QGroupBox>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace kesto {

class SpeechPanel final : public QGroupBox {
    Q_OBJECT
public:
    explicit SpeechPanel(const SpeechSettings& shown, QWidget* parent = nullptr);

    // The voices to choose from; the chosen voice stays chosen (listed even
    // when espeak-ng no longer has it, so it is not lost unseen).
    void SetVoices(const std::vector<SpeechVoice>& voices);
    // The settings as the panel shows them now.
    SpeechSettings Chosen() const;

    // "Say": a call spoken with the voice, speed and volume shown.
    std::function<void(const SpeechSettings&)> onSay;

private:
    SpeechSettings m_shown;
    QCheckBox* m_chkCallBestLap = nullptr;
    QComboBox* m_cmbCallLapCounts = nullptr;
    QCheckBox* m_chkCallPodium = nullptr;
    QCheckBox* m_chkCallRacers = nullptr;
    QCheckBox* m_chkCallTimeLeft = nullptr;
    QComboBox* m_cmbVoice = nullptr;
    QSpinBox* m_spnSpeed = nullptr;
    QSpinBox* m_spnVolume = nullptr;
};

} // namespace kesto
