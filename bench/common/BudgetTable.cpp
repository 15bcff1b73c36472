#include "BudgetTable.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace bench {

double median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

double residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long long pages = 0;
    long long resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE));
}

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

BudgetTable::BudgetTable(const std::string &title, const std::string &growth)
{
    std::printf("\n== %s\n%-52s %14s  %-14s %-6s %s\n", title.c_str(), "work", "median", "target", "holds",
                growth.c_str());
    std::fflush(stdout);
}

void BudgetTable::row(const std::string &work, double medianValue, const std::string &unit,
                      const std::optional<Target> &target, std::optional<double> at100k)
{
    const bool holds = !target || medianValue < target->limit;
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.*f %s", medianValue < 10 ? 2 : medianValue < 100 ? 1 : 0, medianValue,
                  unit.c_str());
    char ratio[16] = "";
    if (at100k && *at100k > 0)
        std::snprintf(ratio, sizeof ratio, "%.2f", medianValue / *at100k);
    std::printf("%-52s %14s  %-14s %-6s %s\n", work.c_str(), figure, target ? target->text.c_str() : "-",
                !target ? "-" : holds ? "yes" : "NO", ratio);
    std::fflush(stdout);
}

void BudgetTable::note(const std::string &text)
{
    std::printf("  %s\n", text.c_str());
    std::fflush(stdout);
}

} // namespace bench
