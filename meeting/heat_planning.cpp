#include "meeting/heat_planning.h"

#include <algorithm>

namespace kesto {
namespace {

bool HasRun(const Heat& heat) {
    return heat.result.has_value();
}

bool IdTaken(const Heat& heat, int id) {
    return std::any_of(heat.grid.begin(), heat.grid.end(),
                       [&](const HeatSlot& slot) { return slot.carId == id; });
}

int Size(const Heat& heat) {
    return static_cast<int>(heat.grid.size());
}

Heat NewQualifyingHeat(int number, int round) {
    Heat heat;
    heat.number = number;
    heat.stage = HeatStage::Qualifying;
    heat.round = round;
    return heat;
}

void AddOnOwnId(Heat& heat, const MeetingEntry& entry) {
    heat.grid.push_back(HeatSlot{entry.number, FreeCarId(heat, entry.transponder)});
}

void AddUnseated(Heat& heat, const MeetingEntry& entry) {
    heat.grid.push_back(HeatSlot{entry.number, 0});
}

void PlanRcRounds(Meeting& meeting) {
    const int racers = static_cast<int>(meeting.entries.size());
    const int heats = (racers + meeting.heatSize - 1) / meeting.heatSize;
    int number = 1;
    for (int round = 1; round <= meeting.rounds; ++round) {
        size_t next = 0;
        for (int h = 0; h < heats; ++h) {
            // The first racers % heats heats take one racer more.
            const int size = racers / heats + (h < racers % heats ? 1 : 0);
            Heat heat = NewQualifyingHeat(number++, round);
            for (int i = 0; i < size; ++i)
                AddUnseated(heat, meeting.entries[next++]);
            SeatOnIds(meeting, heat);
            meeting.heats.push_back(std::move(heat));
        }
    }
}

void PlanLaneRotation(Meeting& meeting) {
    const int racers = static_cast<int>(meeting.entries.size());
    const int lanes = meeting.heatSize;
    const int heats = std::max(racers, lanes);
    int number = 1;
    for (int round = 1; round <= meeting.rounds; ++round) {
        for (int k = 0; k < heats; ++k) {
            Heat heat = NewQualifyingHeat(number++, round);
            for (int lane = 1; lane <= lanes; ++lane) {
                const int racer = (k + lane - 1) % heats;
                if (racer < racers)
                    heat.grid.push_back(HeatSlot{meeting.entries[racer].number, lane});
            }
            meeting.heats.push_back(std::move(heat));
        }
    }
}

// Where a new heat of `round` goes: after the round's last heat.
size_t EndOfRound(const Meeting& meeting, int round) {
    size_t end = 0;
    for (size_t i = 0; i < meeting.heats.size(); ++i)
        if (meeting.heats[i].stage == HeatStage::Qualifying && meeting.heats[i].round <= round)
            end = i + 1;
    return end;
}

Heat& InsertHeat(Meeting& meeting, int round) {
    const auto at = meeting.heats.begin() + static_cast<std::ptrdiff_t>(EndOfRound(meeting, round));
    return *meeting.heats.insert(at, NewQualifyingHeat(NextHeatNumber(meeting), round));
}

std::vector<Heat*> HeatsToRun(Meeting& meeting, int round) {
    std::vector<Heat*> heats;
    for (auto& heat : meeting.heats)
        if (heat.stage == HeatStage::Qualifying && heat.round == round && !HasRun(heat))
            heats.push_back(&heat);
    return heats;
}

void PlaceLateRc(Meeting& meeting, const MeetingEntry& entry, int round) {
    Heat* smallest = nullptr;
    for (Heat* heat : HeatsToRun(meeting, round))
        if (Size(*heat) < MaxHeatSize && (smallest == nullptr || Size(*heat) < Size(*smallest)))
            smallest = heat;
    AddOnOwnId(smallest != nullptr ? *smallest : InsertHeat(meeting, round), entry);
}

void PlaceLateOnLanes(Meeting& meeting, const MeetingEntry& entry, int round) {
    for (int lane = 1; lane <= meeting.heatSize; ++lane) {
        Heat* target = nullptr;
        for (Heat* heat : HeatsToRun(meeting, round))
            if (!IdTaken(*heat, lane) && FindSlot(*heat, entry.number) == nullptr) {
                target = heat;
                break;
            }
        if (target == nullptr)
            target = &InsertHeat(meeting, round);
        target->grid.push_back(HeatSlot{entry.number, lane});
    }
}

bool RoundStillRuns(const Meeting& meeting, int round) {
    return std::any_of(meeting.heats.begin(), meeting.heats.end(), [&](const Heat& heat) {
        return heat.stage == HeatStage::Qualifying && heat.round == round && !HasRun(heat);
    });
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string HeatName(const Heat& heat) {
    return "heat " + std::to_string(heat.number);
}

} // namespace

void SeatOnIds(const Meeting& meeting, Heat& heat) {
    auto transponderOf = [&](const HeatSlot& slot) {
        const MeetingEntry* entry = FindEntry(meeting, slot.entry);
        return entry != nullptr ? entry->transponder : 0;
    };
    for (auto& slot : heat.grid)
        if (slot.carId == 0)
            slot.carId = IdTaken(heat, transponderOf(slot)) ? 0 : transponderOf(slot);
    for (auto& slot : heat.grid) {
        if (slot.carId != 0)
            continue;
        // The lowest ID that nobody in the heat has or owns, else the lowest free one.
        for (int id = 1; id <= MaxHeatSize && slot.carId == 0; ++id)
            if (!IdTaken(heat, id) &&
                std::none_of(heat.grid.begin(), heat.grid.end(),
                             [&](const HeatSlot& other) { return transponderOf(other) == id; }))
                slot.carId = id;
        if (slot.carId == 0)
            slot.carId = FreeCarId(heat, 0);
    }
}

int FreeCarId(const Heat& heat, int transponder) {
    if (transponder >= 1 && transponder <= MaxHeatSize && !IdTaken(heat, transponder))
        return transponder;
    for (int id = 1; id <= MaxHeatSize; ++id)
        if (!IdTaken(heat, id))
            return id;
    return 0;
}

int NextHeatNumber(const Meeting& meeting) {
    int highest = 0;
    for (const auto& heat : meeting.heats)
        highest = std::max(highest, heat.number);
    return highest + 1;
}

Refusal PlanQualifying(Meeting& meeting) {
    if (Refusal fault = CheckSetup(meeting))
        return fault;
    if (meeting.entries.empty())
        return "Enter the racers first.";
    if (std::any_of(meeting.heats.begin(), meeting.heats.end(),
                    [](const Heat& heat) { return HasRun(heat) || !heat.setAside.empty(); }))
        return "Heats have been run: the plan stays as it is.";
    meeting.heats.clear();
    meeting.finals.reset();
    for (auto& entry : meeting.entries)
        entry.late = false;
    if (IsLaneRotation(meeting))
        PlanLaneRotation(meeting);
    else
        PlanRcRounds(meeting);
    return std::nullopt;
}

Refusal AddEntry(Meeting& meeting, const std::string& name, int transponder) {
    const std::string racer = Trimmed(name);
    if (racer.empty())
        return "Choose a racer.";
    if (std::any_of(meeting.entries.begin(), meeting.entries.end(),
                    [&](const MeetingEntry& entry) { return entry.name == racer; }))
        return racer + " is already entered.";
    if (transponder < 0 || transponder > MaxHeatSize)
        return "A transponder ID is 1 to 14.";
    if (meeting.finals)
        return "The finals are planned: no more entries.";

    int number = 1;
    for (const auto& entry : meeting.entries)
        number = std::max(number, entry.number + 1);
    MeetingEntry entry{number, racer, IsLaneRotation(meeting) ? 0 : transponder,
                       !meeting.heats.empty()};
    meeting.entries.push_back(entry);
    if (!entry.late)
        return std::nullopt;
    for (int round = 1; round <= meeting.rounds; ++round) {
        if (!RoundStillRuns(meeting, round))
            continue;
        if (IsLaneRotation(meeting))
            PlaceLateOnLanes(meeting, entry, round);
        else
            PlaceLateRc(meeting, entry, round);
    }
    return std::nullopt;
}

Refusal MoveRacer(Meeting& meeting, int entry, int fromHeat, int toHeat) {
    Heat* from = FindHeat(meeting, fromHeat);
    Heat* to = FindHeat(meeting, toHeat);
    if (from == nullptr || to == nullptr || from == to)
        return "Choose two heats.";
    const HeatSlot* slot = FindSlot(*from, entry);
    if (slot == nullptr)
        return EntryName(meeting, entry) + " is not in " + HeatName(*from) + ".";
    if (HasRun(*from) || HasRun(*to))
        return "A heat that has been run keeps its racers.";
    if (from->stage != to->stage ||
        (from->stage == HeatStage::Qualifying && from->round != to->round))
        return "A racer moves only to another heat of the same round.";
    if (FindSlot(*to, entry) != nullptr)
        return EntryName(meeting, entry) + " is already in " + HeatName(*to) + ".";
    if (Size(*to) >= HeatCapacity(meeting))
        return HeatName(*to) + " is full.";

    HeatSlot moved = *slot;
    if (IsLaneRotation(meeting)) {
        if (IdTaken(*to, moved.carId))
            return "Lane " + std::to_string(moved.carId) + " is taken in " + HeatName(*to) + ".";
    } else {
        const MeetingEntry* racer = FindEntry(meeting, entry);
        moved.carId = FreeCarId(*to, racer != nullptr ? racer->transponder : 0);
    }
    std::erase_if(from->grid, [&](const HeatSlot& s) { return s.entry == entry; });
    to->grid.push_back(moved);
    return std::nullopt;
}

const Heat* NextHeat(const Meeting& meeting) {
    for (const auto& heat : meeting.heats)
        if (!HasRun(heat))
            return &heat;
    return nullptr;
}

bool QualifyingComplete(const Meeting& meeting) {
    bool any = false;
    for (const auto& heat : meeting.heats) {
        if (heat.stage != HeatStage::Qualifying)
            continue;
        if (!HasRun(heat))
            return false;
        any = true;
    }
    return any;
}

} // namespace kesto
