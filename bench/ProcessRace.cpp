// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Whole processes timed side by side: `bench_race RUNS PLAN` runs every case of PLAN once per round, the
// cases of a round in a new random order, so that a burst of load on the shared machine hits all sides,
// and prints the median wall time, the median processor time (user + system) and the peak memory of each
// case, then the ratios the plan asks for. The limits hold for the wall time; the processor time, which a
// busy machine disturbs less, is shown beside it. Exits 1 when a ratio misses its limit.
//
// PLAN has one line per item, fields separated by tabs:
//   case  NAME  COMMAND        COMMAND: words separated by blanks; "&&" starts the next process, run only
//                              when the one before succeeded; "> FILE" sends a process's output to FILE
//   frame  NAME  COMMAND       one process that shows a window, timed from its start to its first frame
//                              (the instant its output reports, FirstFrame.h) rather than to its end: the
//                              user waits for the window, not for the program to close
//   time  WHAT  NAME  BASELINE  LIMIT        median time of NAME / median time of BASELINE <= LIMIT
//   memory  WHAT  NAME  LIMIT_KIB            peak resident memory of NAME <= LIMIT_KIB
// No shell runs in between: a baseline pays for its own processes only.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct Process
{
    std::vector<std::string> argv;
    std::string output = "/dev/null";
};

struct Case
{
    std::string name;
    std::vector<Process> steps;
    std::vector<double> ms;
    std::vector<double> cpuMs;
    long peakKib = 0;
    bool failed = false;
    bool toFrame = false;
};

std::vector<std::string> split(const std::string& line, char sep)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, sep))
        fields.push_back(field);
    return fields;
}

std::vector<Process> parseCommand(const std::string& text)
{
    std::vector<Process> steps(1);
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        if (word == "&&")
            steps.emplace_back();
        else if (word == ">")
            in >> steps.back().output;
        else
            steps.back().argv.push_back(word);
    }
    return steps;
}

double msOf(const timeval& t)
{
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

// Runs one process to its end; false when it cannot start or does not exit with 0.
bool run(const Process& p, long& peakKib, double& cpuMs)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, p.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0); // a failure shows as FAILED
    std::vector<char*> argv;
    for (const std::string& a : p.argv)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return false;
    peakKib = std::max(peakKib, usage.ru_maxrss);
    cpuMs += msOf(usage.ru_utime) + msOf(usage.ru_stime);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The instant a frame case's output reports, on the steady clock; nothing when it reports none.
std::optional<std::chrono::steady_clock::time_point> reportedFrame(const std::string& output)
{
    std::ifstream in(output);
    long long ns = 0;
    std::string line;
    while (std::getline(in, line))
        if (std::sscanf(line.c_str(), "first frame at %lld ns", &ns) == 1)
            return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(ns));
    return std::nullopt;
}

void runOnce(Case& c, bool counted)
{
    const auto start = std::chrono::steady_clock::now();
    long peak = 0;
    double cpu = 0;
    bool ok = true;
    for (const Process& p : c.steps)
        if (!(ok = run(p, peak, cpu)))
            break;
    auto end = std::chrono::steady_clock::now();
    if (c.toFrame) {
        const auto frame = reportedFrame(c.steps.front().output);
        ok = ok && frame.has_value();
        if (frame)
            end = *frame;
    }
    const std::chrono::duration<double, std::milli> took = end - start;
    c.failed = c.failed || !ok;
    if (counted) {
        c.ms.push_back(took.count());
        c.cpuMs.push_back(cpu);
        c.peakKib = std::max(c.peakKib, peak);
    }
}

// Where a frame case's output goes: beside the plan, which lives in a folder of the run's own.
std::string framesFile(const std::string& plan, std::size_t index)
{
    return plan + ".frame" + std::to_string(index) + ".txt";
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_race RUNS PLAN\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::ifstream plan(argv[2]);
    std::vector<Case> cases;
    std::vector<std::vector<std::string>> checks;
    for (std::string line; std::getline(plan, line);) {
        const auto f = split(line, '\t');
        if (f.size() == 3 && f[0] == "case")
            cases.push_back({f[1], parseCommand(f[2]), {}, {}, 0, false, false});
        else if (f.size() == 3 && f[0] == "frame") {
            Case c{f[1], parseCommand(f[2]), {}, {}, 0, false, true};
            c.steps.resize(1);
            c.steps.front().output = framesFile(argv[2], cases.size());
            cases.push_back(std::move(c));
        } else if (!f.empty() && (f[0] == "time" || f[0] == "memory"))
            checks.push_back(f);
    }
    std::map<std::string, Case*> byName;
    for (Case& c : cases)
        byName[c.name] = &c;

    std::mt19937 random(std::random_device{}());
    std::vector<Case*> order;
    for (Case& c : cases)
        order.push_back(&c);
    for (int round = 0; round <= runs; ++round) { // round 0 warms the page cache and is not counted
        std::shuffle(order.begin(), order.end(), random);
        for (Case* c : order)
            runOnce(*c, round > 0);
    }

    std::printf("Whole processes, median of %d interleaved runs:\n", runs);
    for (const Case& c : cases)
        std::printf("  %-34s %8.2f ms%s  (processor %7.2f ms)  %6ld KiB peak%s\n", c.name.c_str(),
                    median(c.ms), c.toFrame ? " to its first frame" : "", median(c.cpuMs), c.peakKib,
                    c.failed ? "  FAILED" : "");
    bool met = true;
    for (const auto& f : checks) {
        const bool time = f[0] == "time";
        if (f.size() != (time ? 5u : 4u) || !byName.count(f[2]) || (time && !byName.count(f[3]))) {
            std::printf("  bad plan line: %s ...\n", f[1].c_str());
            met = false;
            continue;
        }
        const Case& c = *byName[f[2]];
        const double limit = std::atof(f.back().c_str());
        double ratio = 0;
        std::string detail;
        char buffer[160];
        if (time) {
            const Case& base = *byName[f[3]];
            ratio = median(c.ms) / median(base.ms);
            std::snprintf(buffer, sizeof buffer, "(%.2f ms / %.2f ms, limit %.2f; processor %.2f)",
                          median(c.ms), median(base.ms), limit, median(c.cpuMs) / median(base.cpuMs));
            detail = buffer;
            if (base.failed)
                ratio = 1e9;
        } else {
            ratio = static_cast<double>(c.peakKib) / limit;
            std::snprintf(buffer, sizeof buffer, "(%.1f MiB, limit %.1f MiB)",
                          static_cast<double>(c.peakKib) / 1024, limit / 1024);
            detail = buffer;
        }
        const bool ok = !c.failed && (time ? ratio <= limit : ratio <= 1.0);
        met = met && ok;
        std::printf("  %-58s %5.2f  %s  %s\n", f[1].c_str(), ratio, detail.c_str(), ok ? "ok" : "MISSED");
    }
    return met ? 0 : 1;
}
