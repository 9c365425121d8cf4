#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <functional>
#include <string>

// Wall and CPU seconds (of the whole process, every thread) at one moment.
struct Spent {
    double wall = 0;
    double cpu = 0;

    static Spent Now() {
        timespec wall{};
        timespec cpu{};
        clock_gettime(CLOCK_MONOTONIC, &wall);
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        const auto seconds = [](const timespec& t) {
            return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
        };
        return {seconds(wall), seconds(cpu)};
    }
    Spent operator-(const Spent& other) const { return {wall - other.wall, cpu - other.cpu}; }
    Spent& operator+=(const Spent& other) {
        wall += other.wall;
        cpu += other.cpu;
        return *this;
    }
};

// The program's work and a baseline doing the same work with the plain library, in turn round
// after round (each first every other round), so that both meet the same load on the machine.
// Reports per round: wall and cpu for the program, base_wall and base_cpu for the baseline,
// and the ratios x_wall and x_cpu; the label names the baseline.
inline void MeasureInTurn(benchmark::State& state, const std::string& baseline,
                          const std::function<void()>& baselineWork,
                          const std::function<void()>& programWork) {
    Spent program;
    Spent base;
    bool baseFirst = true;
    for (auto _ : state) {
        for (int side = 0; side < 2; ++side) {
            const bool isBase = (side == 0) == baseFirst;
            const Spent start = Spent::Now();
            (isBase ? baselineWork : programWork)();
            (isBase ? base : program) += Spent::Now() - start;
        }
        baseFirst = !baseFirst;
    }
    const auto perRound = [](double seconds) {
        return benchmark::Counter(seconds, benchmark::Counter::kAvgIterations);
    };
    state.counters["wall"] = perRound(program.wall);
    state.counters["cpu"] = perRound(program.cpu);
    state.counters["base_wall"] = perRound(base.wall);
    state.counters["base_cpu"] = perRound(base.cpu);
    state.counters["x_wall"] = program.wall / std::max(base.wall, 1e-12);
    state.counters["x_cpu"] = program.cpu / std::max(base.cpu, 1e-12);
    state.SetLabel("baseline: " + baseline);
}
