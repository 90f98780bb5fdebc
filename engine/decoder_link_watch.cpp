#include "engine/decoder_link_watch.h"

#include "base/guarded_step.h"
#include "engine/port_resolution.h"

#include <algorithm>
#include <limits>

namespace kesto {

std::string LinkLostAlarmText(int portNumber) {
    return "DECODER LINK LOST - reconnecting to COM" + std::to_string(portNumber) + " ...";
}

std::string NoSignalAlarmText() {
    return "NO SIGNAL FROM THE DECODER - check its power and cable";
}

DecoderLinkWatch::DecoderLinkWatch(RaceContext& ctx, RaceScreen& screen, ReceiveBuffer& input)
    : m_ctx(ctx), m_screen(screen), m_input(input) {}

bool DecoderLinkWatch::Watching() const {
    return m_ctx.state.TimerEnabled && !m_ctx.state.DemoMode;
}

int32_t DecoderLinkWatch::SilenceAllowedMs() const {
    return static_cast<int32_t>(
        std::min<int64_t>(std::max<int64_t>(SilenceLimitMs, int64_t{3} * m_clockPeriodMs),
                          std::numeric_limits<int32_t>::max()));
}

void DecoderLinkWatch::Tick(int32_t elapsedMs, const PortReading& reading) {
    if (!Watching()) {
        Stop();
        return;
    }
    if (const int32_t period = m_ctx.state.Decoder.ClockPeriodMs(); period > 0)
        m_clockPeriodMs = period;
    const int32_t elapsed = std::max(elapsedMs, 0);
    if (reading.clockLines > 0)
        m_silentMs = 0;
    else
        m_silentMs = std::min(m_silentMs, std::numeric_limits<int32_t>::max() - elapsed) + elapsed;

    DecoderPort& port = m_ctx.port;
    switch (m_link) {
    case Link::Fine:
        if (!port.IsOpen() || port.LinkLost()) {
            LoseDevice();
        } else if (m_silentMs >= SilenceAllowedMs()) {
            m_link = Link::NoSignal;
            RaiseAlarm(NoSignalAlarmText());
        }
        break;
    case Link::NoSignal:
        if (!port.IsOpen() || port.LinkLost())
            LoseDevice();
        else if (reading.clockLines > 0)
            ClearAlarm();
        else if (m_silentMs >= SilenceAllowedMs())
            RaiseAlarm(NoSignalAlarmText()); // a reopened device whose decoder stays quiet
        break;
    case Link::Lost:
        if (port.IsOpen() && !port.LinkLost()) {
            // Opened behind the watch's back (the settings window): wait for
            // the decoder as after a reopen.
            m_link = Link::NoSignal;
            m_silentMs = 0;
            break;
        }
        if (port.IsOpen())
            port.Close();
        m_untilReopen -= elapsed;
        if (m_untilReopen <= 0)
            TryReopen();
        break;
    }
}

void DecoderLinkWatch::LoseDevice() {
    // A hung-up descriptor stays readable forever: closing it at once is what
    // keeps the processor free while the device is away.
    RunGuarded([&] { m_ctx.port.Close(); });
    // The start of a line cut off by the outage must not be glued to the
    // first line of the next connection.
    m_input.Clear();
    m_link = Link::Lost;
    m_untilReopen = ReopenIntervalMs;
    RaiseAlarm(LinkLostAlarmText(m_ctx.state.Settings.ComPort));
}

void DecoderLinkWatch::TryReopen() {
    m_untilReopen = ReopenIntervalMs;
    const int portNumber = m_ctx.state.Settings.ComPort;
    if (!IsValidPortNumber(portNumber))
        return;
    ++m_reopenAttempts;
    DecoderPort& port = m_ctx.port;
    // The device the race was started on, never another one.
    if (!port.Reopen(portNumber))
        return;
    if (port.LinkLost()) {
        port.Close();
        return;
    }
    // The decoder sees RTS as the race left it. The alarm stays up until the
    // decoder's clock lines flow again.
    RunGuarded([&] { port.SetRts(m_ctx.state.RtsRaised); });
    m_link = Link::NoSignal;
    m_silentMs = 0;
}

void DecoderLinkWatch::RaiseAlarm(const std::string& text) {
    if (text != m_alarmText) {
        m_alarmText = text;
        RunGuarded([&] { m_screen.ShowLinkAlarm(text); });
    }
    if (!m_warned) {
        m_warned = true;
        RunGuarded([&] { m_ctx.player.PlayWav(DecoderLostSound); });
    }
}

void DecoderLinkWatch::ClearAlarm() {
    m_link = Link::Fine;
    m_warned = false;
    if (m_alarmText.empty())
        return;
    m_alarmText.clear();
    RunGuarded([&] { m_screen.HideLinkAlarm(); });
}

void DecoderLinkWatch::Stop() {
    // A port the watch closed gets one more try, so that it is open between
    // races when the device is back (RTS now as the stopped race left it).
    if (m_link == Link::Lost && !m_ctx.port.IsOpen())
        RunGuarded([&] { TryReopen(); });
    ClearAlarm();
    m_silentMs = 0;
    m_untilReopen = 0;
    m_reopenAttempts = 0;
}

} // namespace kesto
