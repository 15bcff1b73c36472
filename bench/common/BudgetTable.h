#pragma once

// The figures a benchmark prints: one line per row of the performance budget with the median
// of several runs, the target, whether it holds and, for rows measured at two sizes, how the cost
// grows from the smaller to the larger (100,000 to 1,000,000 unless the table says otherwise).

#include <optional>
#include <string>
#include <vector>

namespace bench {

double median(std::vector<double> samples);

// Resident memory of this process, read from /proc.
double residentBytes();

// CPU seconds this process has used, user and system together.
double processCpuSeconds();

// What a row must stay under; a row without one is printed for reference.
struct Target {
    double limit;
    std::string text; // as the budget words it, e.g. "< 1 s"
};

class BudgetTable {
public:
    // Prints the heading of the table; `growth` heads the column of ratios.
    explicit BudgetTable(const std::string &title, const std::string &growth = "1M/100k");
    // Prints one row. `at100k` is the same work's median at the smaller size where the row grows
    // with size.
    void row(const std::string &work, double medianValue, const std::string &unit,
             const std::optional<Target> &target = std::nullopt,
             std::optional<double> at100k = std::nullopt);
    // A line of explanation under the rows.
    void note(const std::string &text);
};

} // namespace bench
