#include "report/summary_lines.h"

#include <charconv>
#include <cstdio>
#include <utility>
#include <vector>

#include "core/pass_statistics.h"
#include "report/scoring.h"
#include "report/statistics.h"

namespace {

std::string two_decimals(double value) {
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
  return std::string(text, end);
}

std::string total_text(const GroupTotal& group) {
  return group.complete ? two_decimals(group.value) : "n/a";
}

}  // namespace

std::string precision_lines(const RunOptions& options, const RunResults& results,
                            const RunRecord& record) {
  const int passes = counted_slots(options.loops);
  const std::vector<PrecisionMiss> misses =
      precision_misses(results, passes, options.precision_percent);
  char head[160];
  std::snprintf(head, sizeof head, "Tarvelin precision: %d pass%s, %s; ", passes,
                passes == 1 ? "" : "es", record.precision_stop.c_str());
  char target[32];
  std::snprintf(target, sizeof target, "%g%%", options.precision_percent);
  std::string line = head;
  if (misses.empty()) return line + "every timed test within " + target + " (95% confidence)\n";
  line += std::string("not within ") + target + ":";
  for (size_t i = 0; i < misses.size(); ++i) {
    const PrecisionMiss& miss = misses[i];
    line += std::string(i == 0 ? " " : ", ") + test_catalogue[miss.id].keyword + " " +
            (miss.half_width && passes >= MIN_INTERVAL_PASSES
                 ? two_decimals(100.0 * *miss.half_width) + "%"
                 : "(too few passes)");
  }
  return line + "\n";
}

std::string summary_lines(const RunOptions& options, const RunResults& results) {
  const GroupTotals totals = compute_group_totals(options, results);
  std::string lines;
  for (const auto& [name, group] : {std::pair{"3D", totals.group_3d}, {"2D", totals.group_2d}}) {
    if (!group.complete && group.measured > 0) {
      lines +=
          std::string("Tarvelin ") + name + " implemented: " + two_decimals(group.value) + "\n";
    }
  }
  return lines + "Tarvelin 3D total: " + total_text(totals.group_3d) +
         "\nTarvelin 2D total: " + total_text(totals.group_2d) + "\n";
}
