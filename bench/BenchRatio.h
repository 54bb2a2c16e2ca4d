#pragma once
// Cost ratios of the benchmarks, printed the same way by every program: the
// project's time over a named reference's time (a raw read of the same bytes
// in the same cache state, the 55 ms playback tick, ...), beside the target
// the ratio must stay within. The times come from the plain runs or, when the
// run reports aggregates only, from the median (else the mean) of the
// repetitions, so the ratios are printed either way.
//
// Besides the readable lines each ratio is printed once as a tab-separated
// row starting with "bench-row", which scripts/bench gathers into its table:
//   bench-row  measure  project ms  reference (name, ms)  ratio  target  met

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace vra::bench {

// Keeps each benchmark's real time per iteration, in milliseconds.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations <= 0) continue;
            const std::string name =
                run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit) / 1e3;
            const double ms = run.GetAdjustedRealTime() / unit, cpuMs = run.GetAdjustedCPUTime() / unit;
            int rank = 1;  // a plain run
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median")
                    rank = 3;
                else if (run.aggregate_name == "mean")
                    rank = 2;
                else
                    continue;
            }
            Entry& e = times_[name];
            if (rank >= e.rank) e = {ms, cpuMs, rank};
        }
    }

    bool Has(const std::string& name) const { return times_.count(name) != 0; }
    // Wall-clock time, or the thread's processor time (user and system).
    double Ms(const std::string& name, bool cpu = false) const {
        const auto it = times_.find(name);
        return it == times_.end() ? 0.0 : cpu ? it->second.cpuMs : it->second.ms;
    }

private:
    struct Entry {
        double ms = 0, cpuMs = 0;
        int rank = 0;
    };
    std::map<std::string, Entry> times_;
};

// One ratio: project time over reference time, at most target.
struct Ratio {
    std::string measure;          // what is measured, with warm or cold
    std::string project;          // benchmark name of the project's side
    std::string reference;        // benchmark name of the reference, or empty for a fixed time
    std::string referenceLabel;   // what the reference is, for the reader
    double target = 0;            // the ratio must not exceed this; 0: no target, shown for the record
    double referenceFixedMs = 0;  // the reference's time when it is not measured (a tick)
    // Both sides by the thread's processor time instead of the wall clock:
    // for warm work on a machine shared with other loads, where waiting for
    // a processor is no cost of the work. Cold reads keep the wall clock.
    bool cpuTime = false;
};

// Prints every ratio, a row without figures for one whose times were not
// measured; true when every target was met.
inline bool PrintRatios(const RatioReporter& r, const std::vector<Ratio>& ratios) {
    bool all = true;
    std::printf("\ncost ratios (project time / reference time):\n");
    for (const Ratio& x : ratios) {
        const bool hasTarget = x.target > 0;
        const std::string measure = x.measure + (x.cpuTime ? " (cpu time)" : "");
        char target[32] = "none";
        if (hasTarget) std::snprintf(target, sizeof target, "<= %.2f", x.target);
        const double p = r.Ms(x.project, x.cpuTime);
        const double ref = x.reference.empty() ? x.referenceFixedMs : r.Ms(x.reference, x.cpuTime);
        if (!r.Has(x.project) || (!x.reference.empty() && !r.Has(x.reference)) || !(ref > 0)) {
            // A side that did not run (filtered out, or skipped with an error)
            // still gets its row, so that a target is never left out unseen.
            all = all && !hasTarget;
            std::printf("  %-64s not measured (target %s)\n", measure.c_str(), target);
            std::printf("bench-row\t%s\t-\t%s\t-\t%s\t%s\n", measure.c_str(), x.referenceLabel.c_str(), target,
                        hasTarget ? "NO" : "-");
            continue;
        }
        const double ratio = p / ref;
        const bool met = !hasTarget || ratio <= x.target;
        all = all && met;
        std::printf("  %-64s %10.3f ms / %-44s %10.3f ms = %7.3f  (target %s%s)\n", measure.c_str(), p,
                    x.referenceLabel.c_str(), ref, ratio, target,
                    !hasTarget ? ""
                    : met      ? ": met"
                               : ": NOT MET");
        std::printf("bench-row\t%s\t%.3f ms\t%s, %.3f ms\t%.3f\t%s\t%s\n", measure.c_str(), p, x.referenceLabel.c_str(),
                    ref, ratio, target,
                    !hasTarget ? "-"
                    : met      ? "yes"
                               : "NO");
    }
    return all;
}

}  // namespace vra::bench
