#include "engine/race_journal.h"

namespace kesto {
namespace {

class NoJournal final : public RaceJournal {
public:
    void RaceStarted(const RaceState&) override {}
    void TimingStarted() override {}
    void DecoderLine(int32_t, std::string_view) override {}
    void TypedRecord(int32_t, std::string_view) override {}
    void DemoPass(int32_t, int, int32_t) override {}
    void ScreenUpdated(int32_t) override {}
    void WhiteFlagShown(const RaceState&) override {}
    void CheckeredFlagDropped(const RaceState&) override {}
    void RaceClosed(const RaceState&) override {}
    void BestLapCleared(int) override {}
    void NameChosen(int, std::string_view) override {}
    void UnsavedMarks(bool, bool) override {}
    void RaceAborted() override {}
    void RaceReset() override {}
};

} // namespace

RaceJournal& NoRaceJournal() {
    static NoJournal none;
    return none;
}

} // namespace kesto
