#include "meeting/meeting_json.h"

#include "meeting/meeting_file_check.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>

namespace kesto {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* FileKind = "Kesto Timer meeting";

const char* RuleName(ScoringRule rule) {
    switch (rule) {
    case ScoringRule::BestRounds:
        return "best rounds";
    case ScoringRule::Points:
        return "points";
    case ScoringRule::LaneRotation:
        return "lane rotation";
    }
    return "";
}

const char* FinishName(FinishRule rule) {
    return rule == FinishRule::EveryCarOnNextPass ? "every car on its next pass"
                                                  : "leader at the flag";
}

Json FormatJson(const HeatFormat& format) {
    return Json{{format.kind == HeatFormatKind::Laps ? "laps" : "minutes", format.count}};
}

Json ResultJson(const HeatResult& result) {
    Json racers = Json::array();
    for (const auto& racer : result)
        racers.push_back({{"entry", racer.entry},
                          {"laps", racer.laps},
                          {"timeMs", racer.timeMs},
                          {"noShow", racer.noShow}});
    return racers;
}

Json HeatJson(const Heat& heat) {
    Json json{{"heat", heat.number}};
    if (heat.stage == HeatStage::Qualifying)
        json["round"] = heat.round;
    else
        json["main"] = MainName(heat.main);
    Json racers = Json::array();
    for (const auto& slot : heat.slots)
        racers.push_back({{"entry", slot.entry},
                          {"id", slot.carId},
                          {"noShow", slot.noShow},
                          {"bumpedUp", slot.bumpedUp}});
    json["racers"] = std::move(racers);
    json["result"] = heat.result ? ResultJson(*heat.result) : Json(nullptr);
    Json setAside = Json::array();
    for (const auto& result : heat.setAside)
        setAside.push_back(ResultJson(result));
    json["setAside"] = std::move(setAside);
    return json;
}

// A scalar as JSON text; a name that is not valid UTF-8 is written with
// U+FFFD rather than lost.
std::string Scalar(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool IsFlat(const Json& value) {
    return std::none_of(value.begin(), value.end(),
                        [](const Json& item) { return item.is_structured(); });
}

// Two-space indents, but an object or list of plain values on one line: one
// line per racer, per result, per entry.
void Pretty(const Json& value, int indent, std::string& out) {
    if (!value.is_structured()) {
        out += Scalar(value);
        return;
    }
    const bool object = value.is_object();
    if (value.empty()) {
        out += object ? "{}" : "[]";
        return;
    }
    const bool flat = IsFlat(value);
    const std::string inner = flat ? "" : "\n" + std::string(static_cast<size_t>(indent + 2), ' ');
    out += object ? "{" : "[";
    bool first = true;
    for (auto item = value.begin(); item != value.end(); ++item) {
        out += first ? inner : (flat ? ", " : "," + inner);
        first = false;
        if (object)
            out += Scalar(item.key()) + ": ";
        Pretty(item.value(), indent + 2, out);
    }
    out += flat ? "" : "\n" + std::string(static_cast<size_t>(indent), ' ');
    out += object ? "}" : "]";
}

// --- reading -----------------------------------------------------------------

// What is wrong, and where in the file.
struct Damage {
    std::string text;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    throw Damage{where + ": " + what};
}

std::string At(const std::string& where, const char* key) {
    return where.empty() ? std::string(key) : where + "." + key;
}

std::string At(const std::string& where, size_t index) {
    return where + "[" + std::to_string(index) + "]";
}

const Json& Member(const Json& object, const char* key, const std::string& where) {
    if (!object.is_object())
        Fail(where.empty() ? "the file" : where, "not an object");
    const auto found = object.find(key);
    if (found == object.end())
        Fail(At(where, key), "missing");
    return *found;
}

int Whole(const Json& object, const char* key, const std::string& where, int lowest,
          int highest = std::numeric_limits<int>::max()) {
    const Json& value = Member(object, key, where);
    if (!value.is_number_integer())
        Fail(At(where, key), "not a whole number");
    const auto number = value.get<long long>();
    if (number < lowest || number > highest)
        Fail(At(where, key), std::to_string(number) + " is outside " + std::to_string(lowest) +
                                 ".." + std::to_string(highest));
    return static_cast<int>(number);
}

bool Flag(const Json& object, const char* key, const std::string& where) {
    const Json& value = Member(object, key, where);
    if (!value.is_boolean())
        Fail(At(where, key), "not true or false");
    return value.get<bool>();
}

std::string Text(const Json& object, const char* key, const std::string& where) {
    const Json& value = Member(object, key, where);
    if (!value.is_string())
        Fail(At(where, key), "not a text");
    return value.get<std::string>();
}

const Json& List(const Json& object, const char* key, const std::string& where) {
    const Json& value = Member(object, key, where);
    if (!value.is_array())
        Fail(At(where, key), "not a list");
    return value;
}

HeatFormat ReadFormat(const Json& object, const char* key, const std::string& where) {
    const Json& value = Member(object, key, where);
    const std::string at = At(where, key);
    if (!value.is_object() || value.size() != 1)
        Fail(at, "must be {\"laps\": N} or {\"minutes\": N}");
    HeatFormat format;
    format.kind = value.contains("laps") ? HeatFormatKind::Laps : HeatFormatKind::Minutes;
    format.count = Whole(value, format.kind == HeatFormatKind::Laps ? "laps" : "minutes", at, 1);
    return format;
}

Scoring ReadScoring(const Json& object, const std::string& where) {
    const std::string at = At(where, "scoring");
    const Json& json = Member(object, "scoring", where);
    Scoring scoring;
    const std::string rule = Text(json, "rule", at);
    if (rule == RuleName(ScoringRule::BestRounds))
        scoring.rule = ScoringRule::BestRounds;
    else if (rule == RuleName(ScoringRule::Points))
        scoring.rule = ScoringRule::Points;
    else if (rule == RuleName(ScoringRule::LaneRotation))
        scoring.rule = ScoringRule::LaneRotation;
    else
        Fail(At(at, "rule"),
             "\"" + rule + "\" is none of \"best rounds\", \"points\", \"lane rotation\"");
    scoring.countedRounds = Whole(json, "countedRounds", at, 0);
    const Json& points = List(json, "points", at);
    for (size_t i = 0; i < points.size(); ++i) {
        if (!points[i].is_number_integer() || points[i].get<long long>() < 0 ||
            points[i].get<long long>() > std::numeric_limits<int>::max())
            Fail(At(At(at, "points"), i), "not a whole number of points");
        scoring.points.push_back(points[i].get<int>());
    }
    scoring.dropWorstRound = Flag(json, "dropWorstRound", at);
    return scoring;
}

HeatResult ReadResult(const Json& racers, const std::string& where) {
    if (!racers.is_array())
        Fail(where, "not a list");
    HeatResult result;
    for (size_t i = 0; i < racers.size(); ++i) {
        const std::string at = At(where, i);
        RacerResult racer;
        racer.entry = Whole(racers[i], "entry", at, 1);
        racer.laps = Whole(racers[i], "laps", at, 0, MaxHeatResultLaps);
        racer.timeMs = Whole(racers[i], "timeMs", at, 0);
        racer.noShow = Flag(racers[i], "noShow", at);
        result.push_back(racer);
    }
    return result;
}

int ReadMain(const Json& heat, const std::string& where) {
    const std::string name = Text(heat, "main", where);
    if (name.size() != 1 || name[0] < 'A' || name[0] > 'Z')
        Fail(At(where, "main"), "\"" + name + "\" is not a main (A, B, ...)");
    return name[0] - 'A';
}

Heat ReadHeat(const Json& json, const std::string& where) {
    Heat heat;
    heat.number = Whole(json, "heat", where, 1);
    const bool final = json.is_object() && json.contains("main");
    heat.stage = final ? HeatStage::Final : HeatStage::Qualifying;
    if (final)
        heat.main = ReadMain(json, where);
    else
        heat.round = Whole(json, "round", where, 1);
    const Json& racers = List(json, "racers", where);
    for (size_t i = 0; i < racers.size(); ++i) {
        const std::string at = At(At(where, "racers"), i);
        HeatSlot slot;
        slot.entry = Whole(racers[i], "entry", at, 1);
        slot.carId = Whole(racers[i], "id", at, 1, MaxHeatSize);
        slot.noShow = Flag(racers[i], "noShow", at);
        slot.bumpedUp = Flag(racers[i], "bumpedUp", at);
        heat.slots.push_back(slot);
    }
    const Json& result = Member(json, "result", where);
    if (!result.is_null())
        heat.result = ReadResult(result, At(where, "result"));
    const Json& setAside = List(json, "setAside", where);
    for (size_t i = 0; i < setAside.size(); ++i)
        heat.setAside.push_back(ReadResult(setAside[i], At(At(where, "setAside"), i)));
    return heat;
}

Meeting ReadMeeting(const Json& json) {
    if (!json.is_object() || !json.contains("format") || json["format"] != FileKind)
        Fail("the file", "not a Kesto Timer meeting file");
    const int version = Whole(json, "version", "", 1);
    if (version > MeetingFileVersion)
        Fail("version",
             "written by a newer Kesto Timer (file version " + std::to_string(version) + ")");
    Meeting meeting;
    meeting.name = Text(json, "name", "");
    meeting.date = Text(json, "date", "");
    meeting.heatFormat = ReadFormat(json, "heatFormat", "");
    meeting.rounds = Whole(json, "qualifyingRounds", "", 1);
    meeting.heatSize = Whole(json, "heatSize", "", 1);
    meeting.scoring = ReadScoring(json, "");
    // Meetings saved before the finish rule was kept ran under the usual one.
    if (json.contains("finishRule")) {
        const std::string rule = Text(json, "finishRule", "");
        if (rule == FinishName(FinishRule::EveryCarOnNextPass))
            meeting.finish = FinishRule::EveryCarOnNextPass;
        else if (rule != FinishName(FinishRule::LeaderAtFlag))
            Fail("finishRule", "\"" + rule +
                                   "\" is neither \"leader at the flag\" nor \"every car on "
                                   "its next pass\"");
    }
    const Json& entries = List(json, "entries", "");
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string at = At("entries", i);
        MeetingEntry entry;
        entry.number = Whole(entries[i], "entry", at, 1);
        entry.name = Text(entries[i], "name", at);
        entry.transponder = Whole(entries[i], "transponder", at, 0, MaxHeatSize);
        entry.late = Flag(entries[i], "late", at);
        meeting.entries.push_back(entry);
    }
    const Json& heats = List(json, "heats", "");
    for (size_t i = 0; i < heats.size(); ++i)
        meeting.heats.push_back(ReadHeat(heats[i], At("heats", i)));
    const Json& finals = Member(json, "finals", "");
    if (!finals.is_null()) {
        FinalsSetup setup;
        const Json& sizes = List(finals, "mainSizes", "finals");
        for (size_t i = 0; i < sizes.size(); ++i) {
            if (!sizes[i].is_number_integer() || sizes[i].get<long long>() < 1 ||
                sizes[i].get<long long>() > MaxHeatSize)
                Fail(At(At("finals", "mainSizes"), i), "not a main size of 1..14");
            setup.mainSizes.push_back(sizes[i].get<int>());
        }
        setup.bumpUp = Whole(finals, "bumpUp", "finals", 0, MaxHeatSize);
        setup.format = ReadFormat(finals, "heatFormat", "finals");
        meeting.finals = setup;
    }
    return meeting;
}

// The parser's own message without its "[json.exception...] " prefix.
std::string ParseProblem(const std::exception& error) {
    std::string text = error.what();
    const auto end = text.find("] ");
    return end == std::string::npos ? text : text.substr(end + 2);
}

} // namespace

std::string MeetingToJson(const Meeting& meeting) {
    Json json{{"format", FileKind},
              {"version", MeetingFileVersion},
              {"name", meeting.name},
              {"date", meeting.date},
              {"heatFormat", FormatJson(meeting.heatFormat)},
              {"qualifyingRounds", meeting.rounds},
              {"heatSize", meeting.heatSize}};
    json["scoring"] = {{"rule", RuleName(meeting.scoring.rule)},
                       {"countedRounds", meeting.scoring.countedRounds},
                       {"points", meeting.scoring.points},
                       {"dropWorstRound", meeting.scoring.dropWorstRound}};
    json["finishRule"] = FinishName(meeting.finish);
    Json entries = Json::array();
    for (const auto& entry : meeting.entries)
        entries.push_back({{"entry", entry.number},
                           {"name", entry.name},
                           {"transponder", entry.transponder},
                           {"late", entry.late}});
    json["entries"] = std::move(entries);
    Json heats = Json::array();
    for (const auto& heat : meeting.heats)
        heats.push_back(HeatJson(heat));
    json["heats"] = std::move(heats);
    if (meeting.finals)
        json["finals"] = {{"mainSizes", meeting.finals->mainSizes},
                          {"bumpUp", meeting.finals->bumpUp},
                          {"heatFormat", FormatJson(meeting.finals->format)}};
    else
        json["finals"] = nullptr;
    std::string text;
    Pretty(json, 0, text);
    return text + "\n";
}

Refusal MeetingFromJson(std::string_view text, Meeting& meeting) {
    Json json;
    try {
        json = Json::parse(text);
    } catch (const Json::exception& error) {
        // A number too large for a double is an out_of_range, not a parse_error.
        return text.empty() ? "the file is empty" : ParseProblem(error);
    }
    try {
        Meeting read = ReadMeeting(json);
        if (Refusal fault = CheckMeetingFile(read))
            return fault;
        meeting = std::move(read);
        return std::nullopt;
    } catch (const Damage& damage) {
        return damage.text;
    } catch (const Json::exception& error) {
        return ParseProblem(error);
    }
}

} // namespace kesto
