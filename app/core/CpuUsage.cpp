#include "app/core/CpuUsage.h"

#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "platform/core/Exceptions.h"

namespace {
// The file is a few kilobytes; anything far larger is not the kernel's.
constexpr std::streamsize kMaxStatSize = 1 << 20;

// The counters of every "cpuN" line by N; the summary line "cpu" is left out.
std::map<int, std::vector<uint64_t>> ReadCpuLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Exception("Unable to read performance data");
    std::string text(static_cast<size_t>(kMaxStatSize), '\0');
    in.read(text.data(), kMaxStatSize);
    if (in.bad())
        throw Exception("Unable to read performance data");
    text.resize(static_cast<size_t>(in.gcount()));

    std::map<int, std::vector<uint64_t>> lines;
    std::istringstream rows(text);
    for (std::string row; std::getline(rows, row);) {
        if (row.size() < 4 || row.compare(0, 3, "cpu") != 0 || row[3] < '0' || row[3] > '9')
            continue;
        std::istringstream fields(row.substr(3));
        int index = -1;
        fields >> index;
        std::vector<uint64_t> counters;
        for (uint64_t value; counters.size() < 8 && fields >> value;)
            counters.push_back(value);
        if (index >= 0)
            lines[index] = std::move(counters);
    }
    if (lines.empty())
        throw Exception("Unable to locate the \"Processor\" performance object");
    return lines;
}
}  // namespace

TCpuUsage::TCpuUsage(std::string statPath) : FPath(std::move(statPath)) {}

int TCpuUsage::GetCPUCount()
{
    if (FCount < 0)
        CollectCPUData();
    return FCount;
}

void TCpuUsage::CollectCPUData()
{
    const auto lines = ReadCpuLines(FPath);
    if (FCount < 0) {
        FCount = static_cast<int>(lines.size());
        FCurrent.assign(static_cast<size_t>(FCount), {});
    }
    FPrevious = FCurrent;
    for (int i = 0; i < FCount; ++i) {
        const auto found = lines.find(i);
        if (found == lines.end())
            continue;  // a processor taken off line keeps its last reading
        const std::vector<uint64_t>& c = found->second;
        // user nice system idle iowait irq softirq steal
        if (c.size() < 8)
            throw Exception("Unable to locate the \"% of CPU usage\" performance counter");
        TTimes& t = FCurrent[static_cast<size_t>(i)];
        t.Idle = c[3] + c[4];
        t.Total = 0;
        for (uint64_t v : c)
            t.Total += v;
    }
}

double TCpuUsage::GetCPUUsage(int index)
{
    if (FCount < 0)
        CollectCPUData();
    if (index < 0 || index >= FCount)
        throw Exception("CPU index out of bounds");
    const TTimes& now = FCurrent[static_cast<size_t>(index)];
    const TTimes& before = FPrevious[static_cast<size_t>(index)];
    if (now.Total <= before.Total)
        return 0.0;
    const double idle = now.Idle >= before.Idle ? static_cast<double>(now.Idle - before.Idle) : 0.0;
    const double share = idle / static_cast<double>(now.Total - before.Total);
    return share >= 1.0 ? 0.0 : 1.0 - share;
}
