// FormatFloat with long formats: 100 KB and 1 MB of "0" placeholders before the point, after it,
// and in the exponent. The peer, in the same run: one copy of the format's bytes and a count of
// its zeros (a linear pass over the same text). Prints METRIC lines, the median of five runs
// each, and for each kind the ratio of the 1 MB time to the 100 KB time: about 10 when the cost
// is in proportion to the length (the target), about 100 when it is quadratic.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/core/FloatFormat.h"

namespace {

constexpr int kRuns = 5;

template <class F>
double MedianMs(F run)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[kRuns / 2];
}

void Metric(const std::string& name, double value) { std::printf("METRIC %s %.6g\n", name.c_str(), value); }

struct TKind {
    const char* Name;
    std::string (*Format)(const std::string& zeros);
};

const TKind kKinds[] = {
    {"integer_zeros", [](const std::string& zeros) { return zeros; }},
    {"decimal_zeros", [](const std::string& zeros) { return "0." + zeros; }},
    {"exponent_zeros", [](const std::string& zeros) { return "0.0E+" + zeros; }},
};

}  // namespace

int main()
{
    size_t written = 0;
    for (const TKind& kind : kKinds) {
        double small = 0;
        for (const size_t length : {size_t{100000}, size_t{1000000}}) {
            const std::string format = kind.Format(std::string(length, '0'));
            const double ms = MedianMs([&] { written += FormatFloat(format, 1234.5678).size(); });
            const double peer = MedianMs([&] {
                const std::string copy = format;
                written += static_cast<size_t>(std::count(copy.begin(), copy.end(), '0'));
            });
            const std::string size = length == 100000 ? "100k" : "1m";
            Metric(std::string("format_") + kind.Name + "_" + size + "_ms", ms);
            Metric(std::string("copy_") + kind.Name + "_" + size + "_ms", peer);
            Metric(std::string("format_over_copy_") + kind.Name + "_" + size, ms / std::max(peer, 1e-6));
            if (length == 100000)
                small = ms;
            else
                Metric(std::string("growth_1m_over_100k_") + kind.Name, ms / std::max(small, 1e-6));
        }
    }
    return written == 0;
}
