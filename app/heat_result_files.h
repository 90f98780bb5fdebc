#pragma once
// A meeting heat's result files, written with the reports' own writers: the
// summary grid file (.sum) and the lap grid file (.lap) the viewers open again.

#include "meeting/qt/meeting_core.h"

namespace kesto {

class ReportHeatFiles final : public HeatFiles {
public:
    Refusal WriteHeatFiles(const RaceState& state, const std::filesystem::path& folder,
                           const std::string& baseName) override;
};

} // namespace kesto
