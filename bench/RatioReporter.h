// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace klavoset::bench {

// The console report, plus the median real time of every benchmark, so that each editor operation can be
// set against the plain operation it must stay close to.
class RatioReporter : public benchmark::ConsoleReporter
{
  public:
    struct Ratio
    {
        std::string what;
        std::string measured; // benchmark names
        std::string baseline;
        double limit;
    };

    RatioReporter();
    void ReportRuns(const std::vector<Run>& runs) override;

    // Prints each ratio with its limit; false when one misses it (one not measured is reported only).
    [[nodiscard]] bool printRatios(const std::vector<Ratio>& ratios, std::ostream& out) const;

  private:
    std::map<std::string, double> m_median; // by function name, in nanoseconds
};

} // namespace klavoset::bench
