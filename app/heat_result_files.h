#pragma once
// A meeting heat's result files, written with the reports' own writers: the
// summary grid file (.sum) and the lap grid file (.lap) the viewers open again.

#include "meeting/finals.h"
#include "meeting/heat_load.h"
#include "meeting/heat_planning.h"
#include "meeting/heat_results.h"
#include "meeting/meeting.h"
#include "meeting/meeting_desk.h"
#include "meeting/meeting_file.h"
#include "meeting/qualifying_standings.h"
#include "meeting/standings_report.h"

namespace kesto {

struct RaceContext;

// Each file written counts as the race's results saved (the operator is not
// asked about them at Reset); one that failed leaves its mark.
class ReportHeatFiles final : public HeatFiles {
public:
    explicit ReportHeatFiles(RaceContext& ctx) : m_ctx(ctx) {}
    Refusal WriteHeatFiles(const RaceState& state, const std::filesystem::path& folder,
                           const std::string& baseName) override;

private:
    RaceContext& m_ctx;
};

} // namespace kesto
