#include "meeting/finals.h"

#include "meeting/heat_planning.h"
#include "meeting/heat_ranking.h"
#include "meeting/qualifying_standings.h"

#include <algorithm>

namespace kesto {
namespace {

Heat* MainHeat(Meeting& meeting, int main) {
    for (auto& heat : meeting.heats)
        if (heat.stage == HeatStage::Final && heat.main == main)
            return &heat;
    return nullptr;
}

const Heat* MainHeat(const Meeting& meeting, int main) {
    for (const auto& heat : meeting.heats)
        if (heat.stage == HeatStage::Final && heat.main == main)
            return &heat;
    return nullptr;
}

// A bumped-up racer joins a seated main: its own ID when free, else the lowest
// free one (the lowest free lane of a lane rotation).
void SeatBumpedUp(const Meeting& meeting, Heat& heat, int entry) {
    const MeetingEntry* racer = FindEntry(meeting, entry);
    const int transponder = IsLaneRotation(meeting) || racer == nullptr ? 0 : racer->transponder;
    heat.grid.push_back(HeatSlot{entry, FreeCarId(heat, transponder), false, true});
}

Refusal CheckFinalsSetup(const Meeting& meeting, const FinalsSetup& setup) {
    if (Refusal fault = CheckHeatFormat(setup.format))
        return fault;
    const int capacity = HeatCapacity(meeting);
    if (setup.mainSizes.empty() || setup.bumpUp < 0)
        return "Choose the size of each main.";
    for (size_t m = 0; m < setup.mainSizes.size(); ++m) {
        const bool hasMainBelow = m + 1 < setup.mainSizes.size();
        const int seats = setup.mainSizes[m] + (hasMainBelow ? setup.bumpUp : 0);
        if (setup.mainSizes[m] < 1 || seats > capacity)
            return "The " + MainName(static_cast<int>(m)) + " main can seat 1 to " +
                   std::to_string(capacity) + " cars, bump-ups included.";
    }
    return std::nullopt;
}

// The racers of one main in finishing order (seeding order before it ran),
// less those listed with a higher main.
void AddMain(const Heat& heat, const std::vector<int>& leftOut,
             std::vector<FinalStanding>& standings) {
    HeatResult order;
    for (const auto& slot : heat.grid) {
        const RacerResult* result = heat.result ? FindResult(*heat.result, slot.entry) : nullptr;
        order.push_back(result != nullptr ? *result : RacerResult{slot.entry});
    }
    if (heat.result)
        order = FinishingOrder(order);
    for (const auto& racer : order) {
        if (std::find(leftOut.begin(), leftOut.end(), racer.entry) != leftOut.end())
            continue;
        FinalStanding row;
        row.entry = racer.entry;
        row.main = heat.main;
        row.place = heat.result ? FinishingPlace(order, racer.entry) : 0;
        const HeatSlot* slot = FindSlot(heat, racer.entry);
        row.noShow = racer.noShow || slot->noShow;
        row.laps = row.noShow ? 0 : racer.laps;
        row.timeMs = row.laps > 0 ? racer.timeMs : 0;
        row.bumpedUp = slot->bumpedUp;
        standings.push_back(row);
    }
}

} // namespace

Refusal PlanFinals(Meeting& meeting, const FinalsSetup& setup) {
    if (!QualifyingComplete(meeting))
        return "Qualifying is not finished.";
    if (std::any_of(meeting.heats.begin(), meeting.heats.end(), [](const Heat& heat) {
            return heat.stage == HeatStage::Final && (heat.result || !heat.setAside.empty());
        }))
        return "Finals have been run: they stay as they are.";
    if (Refusal fault = CheckFinalsSetup(meeting, setup))
        return fault;

    std::erase_if(meeting.heats, [](const Heat& heat) { return heat.stage == HeatStage::Final; });
    const auto standings = QualifyingStandings(meeting);
    std::vector<Heat> mains;
    size_t next = 0;
    for (size_t m = 0; m < setup.mainSizes.size() && next < standings.size(); ++m) {
        Heat heat;
        heat.stage = HeatStage::Final;
        heat.main = static_cast<int>(m);
        for (int seat = 0; seat < setup.mainSizes[m] && next < standings.size(); ++seat)
            heat.grid.push_back(HeatSlot{standings[next++].entry, 0});
        if (IsLaneRotation(meeting))
            for (size_t lane = 0; lane < heat.grid.size(); ++lane)
                heat.grid[lane].carId = static_cast<int>(lane) + 1; // in seeding order
        else
            SeatOnIds(meeting, heat);
        mains.push_back(std::move(heat));
    }
    // Run from the lowest main up, so each main's bump-ups are known in time.
    int number = NextHeatNumber(meeting);
    for (auto main = mains.rbegin(); main != mains.rend(); ++main) {
        main->number = number++;
        meeting.heats.push_back(std::move(*main));
    }
    meeting.finals = setup;
    return std::nullopt;
}

void RefreshBumpUps(Meeting& meeting) {
    if (!meeting.finals || meeting.finals->bumpUp == 0)
        return;
    // From the lowest main up: a main's bump-ups may come from a main that had
    // its own bump-ups.
    for (int main = static_cast<int>(meeting.finals->mainSizes.size()) - 2; main >= 0; --main) {
        Heat* heat = MainHeat(meeting, main);
        const Heat* below = MainHeat(meeting, main + 1);
        if (heat == nullptr || heat->result)
            continue;
        std::vector<int> up; // the main below's top finishers
        if (below != nullptr && below->result)
            for (const auto& racer : FinishingOrder(*below->result))
                if (static_cast<int>(up.size()) < meeting.finals->bumpUp &&
                    HasFinishingPlace(racer))
                    up.push_back(racer.entry);
        // Racers who stay up keep their seat, ID and no-show mark.
        std::erase_if(heat->grid, [&](const HeatSlot& slot) {
            return slot.bumpedUp && std::find(up.begin(), up.end(), slot.entry) == up.end();
        });
        for (int entry : up)
            if (FindSlot(*heat, entry) == nullptr)
                SeatBumpedUp(meeting, *heat, entry);
    }
}

std::vector<FinalStanding> FinalStandings(const Meeting& meeting) {
    const auto qualifying = QualifyingStandings(meeting);
    std::vector<FinalStanding> standings;
    std::vector<int> inAMain; // racers already listed with a higher main
    const int mains = meeting.finals ? static_cast<int>(meeting.finals->mainSizes.size()) : 0;
    for (int main = 0; main < mains; ++main) {
        const Heat* heat = MainHeat(meeting, main);
        if (heat == nullptr)
            continue;
        AddMain(*heat, inAMain, standings);
        for (const auto& slot : heat->grid)
            inAMain.push_back(slot.entry);
    }
    for (const auto& row : qualifying)
        if (std::find(inAMain.begin(), inAMain.end(), row.entry) == inAMain.end()) {
            FinalStanding standing;
            standing.entry = row.entry;
            standings.push_back(standing);
        }
    for (size_t i = 0; i < standings.size(); ++i) {
        standings[i].position = static_cast<int>(i) + 1;
        for (const auto& row : qualifying)
            if (row.entry == standings[i].entry)
                standings[i].qualifying = row.position;
    }
    return standings;
}

} // namespace kesto
