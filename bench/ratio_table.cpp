#include "ratio_table.h"
#include <algorithm>

#include <cstdio>
#include <ostream>
#include <sstream>

namespace lumora::bench {

namespace {

std::vector<std::string> SplitName(const std::string& name) {
    std::vector<std::string> parts;
    std::stringstream in(name);
    for (std::string part; std::getline(in, part, '/');) parts.push_back(part);
    return parts;
}

std::string Ratio(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", value);
    return text;
}

}  // namespace

RatioTable& RatioTable::Shared() {
    static RatioTable table;
    return table;
}

void RatioTable::Add(const std::string& name, double real_seconds, double cpu_seconds) {
    const std::vector<std::string> parts = SplitName(name);
    if (parts.size() < 3) return;
    Row& row = RowFor(parts[0], parts[2]);
    const std::string& impl = parts[1];
    if (!row.times.count(impl)) row.impls.push_back(impl);
    Times& times = row.times[impl];
    times.real += real_seconds;
    times.cpu += cpu_seconds;
    ++times.count;
}

void RatioTable::SetLimit(const std::string& group, const std::string& reference, double max_ratio, LimitOn on) {
    limits_[{group, reference}] = Limit{max_ratio, on};
}

RatioTable::Row& RatioTable::RowFor(const std::string& group, const std::string& size) {
    for (Row& row : rows_) {
        if (row.group == group && row.size == size) return row;
    }
    rows_.push_back(Row{group, size, {}, {}});
    return rows_.back();
}

std::string RatioTable::FormatRow(const Row& row) const {
    const auto subject = row.times.find(kSubject);
    if (subject == row.times.end()) return {};
    const Times& ours = subject->second;
    std::string line = row.group + " " + row.size + ":";
    std::string marks;
    bool first = true;
    for (const std::string& impl : row.impls) {
        if (impl == kSubject) continue;
        const Times& times = row.times.at(impl);
        const double ratio = (ours.real / ours.count) / (times.real / times.count);
        const double cpuRatio = (ours.cpu / ours.count) / (times.cpu / times.count);
        line += (first ? " " : ", ") + Ratio(ratio) + " " + impl + " (cpu " + Ratio(cpuRatio) + ")";
        first = false;
        const auto limit = limits_.find({row.group, impl});
        if (limit != limits_.end()) {
            const double compared = limit->second.on == LimitOn::kWallClock ? ratio : std::min(ratio, cpuRatio);
            if (compared > limit->second.max_ratio) marks += "  [over " + Ratio(limit->second.max_ratio) + " " + impl + "]";
        }
    }
    return first ? std::string() : line + marks;
}

void RatioTable::Print(std::ostream& out) const {
    out << "\nRatios of " << kSubject << " to each reference (real time, then the benchmark thread's CPU time;"
           " below 1 is faster):\n";
    for (const Row& row : rows_) {
        const std::string line = FormatRow(row);
        if (!line.empty()) out << "  " << line << "\n";
    }
}

}  // namespace lumora::bench
