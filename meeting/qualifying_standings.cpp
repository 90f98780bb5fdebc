#include "meeting/qualifying_standings.h"

#include "meeting/heat_ranking.h"

#include <algorithm>

namespace kesto {
namespace {

// The heat of `round` in which `entry` runs (on `lane` when given).
const Heat* HeatOf(const Meeting& meeting, int entry, int round, int lane) {
    for (const auto& heat : meeting.heats) {
        if (heat.stage != HeatStage::Qualifying || heat.round != round)
            continue;
        const HeatSlot* slot = FindSlot(heat, entry);
        if (slot != nullptr && (lane == 0 || slot->carId == lane))
            return &heat;
    }
    return nullptr;
}

RoundScore ScoreOf(const Meeting& meeting, int entry, int round, int lane) {
    RoundScore score;
    score.round = round;
    score.lane = lane;
    const Heat* heat = HeatOf(meeting, entry, round, lane);
    if (heat == nullptr)
        return score;
    score.heat = heat->number;
    const RacerResult* result = heat->result ? FindResult(*heat->result, entry) : nullptr;
    if (result == nullptr || result->noShow)
        return score;
    score.ran = true;
    score.laps = result->laps;
    score.timeMs = result->laps > 0 ? result->timeMs : 0;
    score.place = FinishingPlace(*heat->result, entry);
    const auto& points = meeting.scoring.points;
    if (score.place > 0 && score.place <= static_cast<int>(points.size()))
        score.points = points[static_cast<size_t>(score.place - 1)];
    return score;
}

// Negative when laps a in time a are better than laps b in time b, 0 when
// level: more laps, then less time; without laps, time does not count.
int CompareLapsThenTime(int lapsA, int64_t timeA, int lapsB, int64_t timeB) {
    if (lapsA != lapsB)
        return lapsA > lapsB ? -1 : 1;
    if (lapsA == 0 || timeA == timeB)
        return 0;
    return timeA < timeB ? -1 : 1;
}

int CompareRounds(const RoundScore& a, const RoundScore& b) {
    return CompareLapsThenTime(a.laps, a.timeMs, b.laps, b.timeMs);
}

bool BetterRound(const RoundScore& a, const RoundScore& b) {
    return CompareRounds(a, b) < 0;
}

// The rounds best first, counted ones before the others.
std::vector<RoundScore> BestFirst(const std::vector<RoundScore>& rounds) {
    std::vector<RoundScore> sorted = rounds;
    std::stable_sort(sorted.begin(), sorted.end(), [](const RoundScore& a, const RoundScore& b) {
        return a.counted != b.counted ? a.counted : BetterRound(a, b);
    });
    return sorted;
}

void ScoreBestRounds(QualifyingRow& row, int counted) {
    std::vector<RoundScore*> order;
    for (auto& round : row.rounds)
        order.push_back(&round);
    std::stable_sort(order.begin(), order.end(),
                     [](const RoundScore* a, const RoundScore* b) { return BetterRound(*a, *b); });
    for (size_t i = 0; i < order.size() && i < static_cast<size_t>(counted); ++i)
        order[i]->counted = true;
}

void ScorePoints(QualifyingRow& row, bool dropWorst) {
    for (auto& round : row.rounds)
        round.counted = true;
    if (dropWorst && row.rounds.size() >= 2)
        std::min_element(
            row.rounds.begin(), row.rounds.end(),
            [](const RoundScore& a, const RoundScore& b) { return a.points < b.points; })
            ->counted = false;
}

void Total(QualifyingRow& row) {
    for (const auto& round : row.rounds) {
        if (!round.counted)
            continue;
        row.laps += round.laps;
        row.timeMs += round.timeMs;
        row.points += round.points;
    }
}

// Negative when `a` stands ahead of `b`, 0 when they are level on everything.
int CompareRows(const QualifyingRow& a, const QualifyingRow& b, ScoringRule rule) {
    if (rule == ScoringRule::Points) {
        if (a.points != b.points)
            return a.points > b.points ? -1 : 1;
        std::vector<int> pa, pb;
        for (const auto& r : a.rounds)
            pa.push_back(r.points);
        for (const auto& r : b.rounds)
            pb.push_back(r.points);
        std::sort(pa.rbegin(), pa.rend());
        std::sort(pb.rbegin(), pb.rend());
        return pa == pb ? 0 : (pa > pb ? -1 : 1);
    }
    if (int order = CompareLapsThenTime(a.laps, a.timeMs, b.laps, b.timeMs))
        return order;
    if (rule == ScoringRule::LaneRotation)
        return 0;
    // The next best rounds, those that did not count, best first.
    const auto ra = BestFirst(a.rounds);
    const auto rb = BestFirst(b.rounds);
    for (size_t i = 0; i < ra.size() && i < rb.size(); ++i) {
        if (ra[i].counted || rb[i].counted)
            continue;
        if (int order = CompareRounds(ra[i], rb[i]))
            return order;
    }
    return 0;
}

} // namespace

std::vector<QualifyingRow> QualifyingStandings(const Meeting& meeting) {
    const ScoringRule rule = meeting.scoring.rule;
    const int lanes = rule == ScoringRule::LaneRotation ? meeting.heatSize : 0;
    std::vector<QualifyingRow> rows;
    for (const auto& entry : meeting.entries) {
        QualifyingRow row;
        row.entry = entry.number;
        for (int round = 1; round <= meeting.rounds; ++round) {
            if (lanes == 0)
                row.rounds.push_back(ScoreOf(meeting, entry.number, round, 0));
            for (int lane = 1; lane <= lanes; ++lane)
                row.rounds.push_back(ScoreOf(meeting, entry.number, round, lane));
        }
        if (rule == ScoringRule::BestRounds)
            ScoreBestRounds(row, meeting.scoring.countedRounds);
        else if (rule == ScoringRule::Points)
            ScorePoints(row, meeting.scoring.dropWorstRound);
        else
            for (auto& round : row.rounds)
                round.counted = true;
        Total(row);
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const QualifyingRow& a, const QualifyingRow& b) {
        return CompareRows(a, b, rule) < 0;
    });
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].position = i > 0 && CompareRows(rows[i - 1], rows[i], rule) == 0
                               ? rows[i - 1].position
                               : static_cast<int>(i) + 1;
    return rows;
}

} // namespace kesto
