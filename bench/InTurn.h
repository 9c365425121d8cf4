#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <functional>
#include <string>

// User and system CPU seconds of this process (RUSAGE_SELF), or of its waited-for children
// (RUSAGE_CHILDREN).
inline double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Wall and CPU seconds at one moment: the CPU of the whole process (every thread) and, with
// `children`, of the child processes it waited for, so that a tool run through the shell counts
// whole.
struct Spent {
    double wall = 0;
    double cpu = 0;

    static Spent Now(bool children = false) {
        timespec wall{};
        timespec cpu{};
        clock_gettime(CLOCK_MONOTONIC, &wall);
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        const auto seconds = [](const timespec& t) {
            return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
        };
        return {seconds(wall), seconds(cpu) + (children ? CpuSeconds(RUSAGE_CHILDREN) : 0.0)};
    }
    Spent operator-(const Spent& other) const { return {wall - other.wall, cpu - other.cpu}; }
    Spent& operator+=(const Spent& other) {
        wall += other.wall;
        cpu += other.cpu;
        return *this;
    }
};

// What `work` spent, with the child processes it waited for unless `children` is false (which
// spares a system call on each side of work that starts none).
template <typename Work>
Spent Measure(const Work& work, bool children = true) {
    const Spent start = Spent::Now(children);
    work();
    return Spent::Now(children) - start;
}

// The program's work and a baseline doing the same work, in turn round after round (the
// baseline first every other round), so that both meet the same load on the machine and
// neither always finds the caches warmed by the other. Reports per round (or per run of the work):
// wall and cpu for the program, base_wall and base_cpu for the baseline, and the ratios x_wall and
// x_cpu; the label names the baseline.
class InTurn {
public:
    void AddProgram(const Spent& spent) { m_program += spent; }
    void AddBaseline(const Spent& spent) { m_base += spent; }

    // Runs both sides of round `round` in its order.
    template <typename Baseline, typename Program>
    static void Round(benchmark::IterationCount round, const Baseline& baseline,
                      const Program& program) {
        if (round % 2 == 0) {
            baseline();
            program();
        } else {
            program();
            baseline();
        }
    }

    // `runsPerTurn`: how often each side did its work in one turn.
    void Report(benchmark::State& state, const std::string& baseline, int runsPerTurn = 1) const {
        const auto perRound = [runsPerTurn](double seconds) {
            return benchmark::Counter(seconds / runsPerTurn, benchmark::Counter::kAvgIterations);
        };
        state.counters["wall"] = perRound(m_program.wall);
        state.counters["cpu"] = perRound(m_program.cpu);
        state.counters["base_wall"] = perRound(m_base.wall);
        state.counters["base_cpu"] = perRound(m_base.cpu);
        state.counters["x_wall"] = m_program.wall / std::max(m_base.wall, 1e-12);
        state.counters["x_cpu"] = m_program.cpu / std::max(m_base.cpu, 1e-12);
        state.SetLabel("baseline: " + baseline);
    }

private:
    Spent m_program;
    Spent m_base;
};

// Both sides in this process, each round timed whole. Reading the process's CPU clock is a
// system call that costs more than a microsecond on a virtual machine, and half of it falls on
// the measured side: work of a few microseconds is therefore run `runsPerTurn` times in a row
// on each side, and the counters are per run.
inline void MeasureInTurn(benchmark::State& state, const std::string& baseline,
                          const std::function<void()>& baselineWork,
                          const std::function<void()>& programWork, int runsPerTurn = 1) {
    const auto turn = [runsPerTurn](const std::function<void()>& work) {
        return Measure(
            [&] {
                for (int run = 0; run < runsPerTurn; ++run) {
                    work();
                }
            },
            false);
    };
    InTurn turns;
    for (auto _ : state) {
        InTurn::Round(
            state.iterations(), [&] { turns.AddBaseline(turn(baselineWork)); },
            [&] { turns.AddProgram(turn(programWork)); });
    }
    turns.Report(state, baseline, runsPerTurn);
}
