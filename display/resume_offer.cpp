#include "display/resume_offer.h"

#include "base/file_names.h"
#include "engine/clock_format.h"
#include "engine/journal_file.h"
#include "engine/race_control.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <memory>
#include <system_error>

namespace kesto {

namespace {

std::string UnsavedText(const UnfinishedRace& race) {
    if (race.lapsUnsaved && race.summaryUnsaved)
        return "the lap times and the summary";
    if (race.lapsUnsaved)
        return "the lap times";
    return "the summary";
}

// False for a demo race: its cars are simulated, no decoder is involved.
bool RacedAgainstTheDecoder(const UnfinishedRace& race) {
    for (const JournalEvent& event : race.events)
        if (event.kind == JournalEventKind::RaceStarted && event.start)
            return !event.start->DemoMode;
    return true;
}

// How long the timer was down: since the journal's last line was written (it
// writes one on every tick that received something). 0 when unknown.
int64_t SinceJournalWritten(const std::filesystem::path& programFolder) {
    std::error_code error;
    const auto written =
        std::filesystem::last_write_time(ResolveInFolder(programFolder, JournalFileName), error);
    if (error)
        return 0;
    const auto age = std::filesystem::file_time_type::clock::now() - written;
    return std::max<int64_t>(0, std::chrono::duration_cast<std::chrono::milliseconds>(age).count());
}

} // namespace

std::string JournalDamageText(const JournalDamage& damage) {
    if (!damage.Any())
        return {};
    const size_t lines = damage.damagedLines;
    std::string text = "The race journal was damaged: ";
    if (damage.headerDamaged && lines == 0)
        text += "its first line is missing";
    else if (damage.headerDamaged && lines == 1)
        text += "its first line could not be read and was skipped";
    else
        text += std::to_string(lines) + (lines == 1 ? " line" : " lines") +
                " could not be read and " + (lines == 1 ? "was" : "were") + " skipped" +
                (damage.headerDamaged ? ", its first line among them" : "");
    const uint64_t first = damage.firstMissing;
    const uint64_t last = damage.lastMissing;
    if (damage.missingEvents == 0)
        text += "; no event of the race is missing";
    else if (damage.missingEvents == 1)
        text += "; event " + std::to_string(first) + " is missing";
    else if (damage.missingEvents == last - first + 1)
        text +=
            "; events " + std::to_string(first) + " to " + std::to_string(last) + " are missing";
    else
        text += "; " + std::to_string(damage.missingEvents) + " events between event " +
                std::to_string(first) + " and event " + std::to_string(last) + " are missing";
    return text + ".\n";
}

std::string JournalBehindText(const UnfinishedRace& race) {
    std::string text;
    if (race.behind)
        text += "The race journal could not be written from " + FormatClock(race.behindAt / 1000) +
                " on (" + race.behindReason +
                "): the race went on after that, so this is not the whole race.\n";
    if (race.lostEvents > 0)
        text += "The race journal had to drop " + std::to_string(race.lostEvents) +
                " events while the disk did not take them: this is not the whole race.\n";
    return text;
}

ResumeFigures FiguresOf(const RaceState& replayed) {
    ResumeFigures figures;
    for (int16_t laps : replayed.LapCount) {
        if (laps > 0) {
            figures.laps += laps;
            ++figures.cars;
        }
    }
    return figures;
}

Message ResumeRaceQuestion(const UnfinishedRace& race, const ResumeFigures& figures) {
    std::string text = race.closed ? "The timer was stopped after a race had finished, "
                                     "before its results were saved.\n\n"
                                   : "The timer was stopped in the middle of a race.\n\n";
    text +=
        "Race: " + (race.raceFormatText.empty() ? std::string("?") : race.raceFormatText) + "\n";
    text += "Race time reached: " + FormatClock(race.lastRaceClock / 1000) + "\n";
    text += "Laps recorded: " + std::to_string(figures.laps) + " (" + std::to_string(figures.cars) +
            (figures.cars == 1 ? " car" : " cars") + ")\n";
    if (race.closed)
        text += "Not saved: " + UnsavedText(race) + "\n";
    // A journal that does not hold the whole race says so first.
    const std::string behind = JournalBehindText(race);
    const std::string damage = JournalDamageText(race.damage);
    if (!behind.empty() || !damage.empty())
        text += "\n" + behind + damage;
    text += "\nResume this race?\n";
    if (race.closed)
        text += "Yes: the finished race comes back, so its results can be saved "
                "(View Data, then Save).\n";
    else if (RacedAgainstTheDecoder(race))
        text += "Yes: the race goes on from where it stopped; the decoder's laps are "
                "counted again from now on.\n";
    else
        text += "Yes: the race goes on from where it stopped.\n";
    text += "No: the race is put aside and the timer starts as usual.";

    Message message;
    message.title = ResumeRaceTitle;
    message.text = text;
    message.icon = MessageIcon::Question;
    message.buttons = MessageButtons::YesNo;
    message.defaultAnswer = MessageAnswer::Yes;
    return message;
}

namespace {

// A journal whose race cannot be rebuilt is told, and kept aside for whoever
// can read more from it; never dropped unseen, never overwritten by the next race.
ResumeOutcome KeepDamagedJournal(Dialogs& dialogs, const UnfinishedRace& race,
                                 const std::filesystem::path& programFolder) {
    const std::string journal = ResolveInFolder(programFolder, JournalFileName).string();
    std::string text = "The race journal " + journal +
                       " is damaged: the start of its race could not be read, so the race "
                       "cannot be rebuilt.\n" +
                       JournalDamageText(race.damage);
    const std::string kept = SetJournalAside(programFolder);
    text += kept.empty() ? "It is kept as " + std::string(JournalAsideName) + "." : kept;
    dialogs.Show(Message{ResumeRaceTitle, text, MessageIcon::Warning, MessageButtons::Ok,
                         MessageAnswer::Ok});
    return ResumeOutcome::KeptAside;
}

} // namespace

ResumeOutcome OfferToResumeRace(RaceContext& ctx, RaceControl& control, JournalFile& journal,
                                const std::filesystem::path& programFolder) {
    std::optional<UnfinishedRace> race;
    try {
        race = FindUnfinishedRace(programFolder);
    } catch (const std::exception&) {
        return ResumeOutcome::NoRace; // an unreadable journal: start as usual
    }
    if (!race)
        return ResumeOutcome::NoRace;
    if (!race->rebuildable)
        return KeepDamagedJournal(ctx.dialogs, *race, programFolder);

    try {
        // The race is rebuilt aside, on a copy of what the load set up, so
        // the question tells the laps as counted (second reads and too-short
        // laps left out) and a Yes takes the rebuilt race as it is.
        auto replayed = std::make_unique<RaceState>(ctx.state);
        SoundChoices replayedSounds = ctx.sounds;
        ReplayRace(*race, *replayed, replayedSounds);
        const Message question = ResumeRaceQuestion(*race, FiguresOf(*replayed));

        if (ctx.dialogs.Show(question) != MessageAnswer::Yes) {
            const std::string kept = SetJournalAside(programFolder);
            if (!kept.empty())
                ctx.dialogs.Show(Message{ResumeRaceTitle, kept, MessageIcon::Information,
                                         MessageButtons::Ok, MessageAnswer::Ok});
            return ResumeOutcome::Declined;
        }
        ctx.state = std::move(*replayed);
        ctx.sounds = std::move(replayedSounds);
        const int64_t downtimeMs = SinceJournalWritten(programFolder);
        // Without an appendable journal the race still goes on, unrecorded;
        // the journal keeps the reason in LastError().
        journal.ContinueExisting(race->end);
        control.ResumeRace(downtimeMs);
        return ResumeOutcome::Resumed;
    } catch (const std::exception& error) {
        // Whatever went wrong, the timer must come up usable: a clean screen
        // and the journal out of the way of the next race.
        try {
            SetJournalAside(programFolder);
            control.StartReset();
            control.ReSet();
        } catch (...) {
        }
        Message message;
        message.text = error.what();
        ctx.dialogs.Show(message);
        return ResumeOutcome::Declined;
    }
}

} // namespace kesto
