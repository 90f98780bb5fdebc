#pragma once
// Shows the start windows modally over the main window: the countdown of the
// start delay and then the start lights, or the start lights alone.

#include "engine/race_context.h"
#include "engine/start_sequence.h"

class QWidget;

namespace kesto {

class QtStartSequenceLauncher final : public StartSequenceLauncher {
public:
    QtStartSequenceLauncher(RaceContext& ctx, QWidget* parent) : m_ctx(ctx), m_parent(parent) {}

    void ShowCountdown(StartSequenceHost& host) override;
    void ShowStartLights(StartSequenceHost& host) override;

private:
    RaceContext& m_ctx;
    QWidget* m_parent;
};

} // namespace kesto
