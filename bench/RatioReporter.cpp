// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RatioReporter.h"

#include <cstdio>
#include <unistd.h>

namespace klavoset::bench {

// Colours only on a terminal; a log gets plain text.
RatioReporter::RatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        if (run.error_occurred)
            continue;
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (single || (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median"))
            m_median[run.run_name.function_name] = run.GetAdjustedRealTime() *
                                                   benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
                                                   benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
    ConsoleReporter::ReportRuns(runs);
}

bool RatioReporter::printRatios(const std::vector<Ratio>& ratios, std::ostream& out) const
{
    bool allMet = true;
    out << "\nratios (median real time):\n";
    for (const Ratio& r : ratios) {
        const auto measured = m_median.find(r.measured);
        const auto baseline = m_median.find(r.baseline);
        char line[200];
        if (measured == m_median.end() || baseline == m_median.end() || baseline->second <= 0) {
            std::snprintf(line, sizeof line, "  %-58s not measured\n", r.what.c_str());
        } else {
            const double ratio = measured->second / baseline->second;
            const bool met = ratio <= r.limit;
            allMet = allMet && met;
            std::snprintf(line, sizeof line, "  %-58s %5.2f  (%.1f ms / %.1f ms, limit %.1f)  %s\n",
                          r.what.c_str(), ratio, measured->second / 1e6, baseline->second / 1e6, r.limit,
                          met ? "ok" : "MISSED");
        }
        out << line;
    }
    return allMet;
}

} // namespace klavoset::bench
