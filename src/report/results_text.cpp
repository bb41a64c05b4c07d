#include "report/results_text.h"

#include <optional>

#include "report/scoring.h"

namespace {

// The groups are ranges of the catalogue: the 3D group every 3D row after
// swap_buffer, the 2D group every 2D row (the catalogue checks that those
// rows are the 2D ones).
static_assert(test_id::swap_buffer == FIRST_3D_TEST && test_id::lines == FIRST_3D_TEST + 1);
static_assert(FIRST_2D_TEST == 0 && LAST_2D_TEST + 1 == FIRST_3D_TEST);

// Running state of one group within one call.
struct GroupTally {
  double sum = 0.0;
  int count = 0;
  bool incomplete = false;  // a test was skipped or not measurable

  double value() const { return count > 0 ? sum / count : 0.0; }
};

struct TestLines {
  const RunOptions& options;
  const uint8_t* flags;
  const double (*times)[TIME_SLOTS];
  FILE* out;

  // Writes the line of one test and returns its score; none when skipped.
  std::optional<double> write_line(int id) const {
    const TestInfo& info = test_catalogue[id];
    const char* gap = id == test_id::swap_buffer ? "\n" : "";
    if (flags[id]) {
      std::fprintf(out, "%-25s: skipped\n%s", info.label, gap);
      return std::nullopt;
    }
    const double score =
        compute_score(times[id], info.reference, options.loops, options.quarter != 0);
    std::fprintf(out, "%-25s: %f\n%s", info.label, score, gap);
    return score;
  }

  void write_group(int first, int last, GroupTally* tally) const {
    for (int id = first; id <= last; ++id) {
      const std::optional<double> score = write_line(id);
      if (score && is_measured_score(*score)) {
        tally->sum += *score;
        ++tally->count;
      } else {
        tally->incomplete = true;
      }
    }
  }
};

void write_totals(FILE* out, const GroupTally& group_3d, const GroupTally& group_2d) {
  std::fprintf(out, "# 3D average without swap_buffer\n");
  if (group_3d.incomplete) {
    std::fprintf(out, "3D total : -----\n");
  } else {
    std::fprintf(out, "3D total : %f\n", group_3d.value());
  }
  if (group_2d.incomplete) {
    std::fprintf(out, "2D total : -----\n");
  } else {
    std::fprintf(out, "2D total : %f\n", group_2d.value());
  }
  if (group_3d.incomplete) std::fprintf(out, "3D implemented : %f\n", group_3d.value());
  if (group_2d.incomplete) std::fprintf(out, "2D implemented : %f\n", group_2d.value());
}

}  // namespace

void write_results_text(FILE* out, const RunOptions& options, const RunResults& results) {
  const TestLines lines{options, results.skip_flags, results.test_times, out};
  GroupTally group_3d;
  GroupTally group_2d;
  std::fprintf(out, "# result : 100.0 or higher is best\n\n");
  lines.write_line(test_id::swap_buffer);
  lines.write_group(test_id::lines, LAST_3D_TEST, &group_3d);
  std::fprintf(out, "\n");
  lines.write_group(FIRST_2D_TEST, LAST_2D_TEST, &group_2d);
  std::fprintf(out, "\n");
  write_totals(out, group_3d, group_2d);
}
