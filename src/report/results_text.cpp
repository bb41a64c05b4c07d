#include "report/results_text.h"

#include "report/scoring.h"

namespace {

void write_line(FILE* out, const RunOptions& options, const RunResults& results, int id) {
  const TestInfo& info = test_catalogue[id];
  const char* gap = id == test_id::swap_buffer ? "\n" : "";
  if (!test_scored(results, info.id)) {
    std::fprintf(out, "%-25s: skipped\n%s", info.label, gap);
  } else {
    std::fprintf(out, "%-25s: %f\n%s", info.label, test_score(options, results, info.id), gap);
  }
}

void write_totals(FILE* out, const GroupTotals& totals) {
  const GroupTotal& group_3d = totals.group_3d;
  const GroupTotal& group_2d = totals.group_2d;
  std::fprintf(out, "# 3D average without swap_buffer\n");
  if (!group_3d.complete) {
    std::fprintf(out, "3D total : -----\n");
  } else {
    std::fprintf(out, "3D total : %f\n", group_3d.value);
  }
  if (!group_2d.complete) {
    std::fprintf(out, "2D total : -----\n");
  } else {
    std::fprintf(out, "2D total : %f\n", group_2d.value);
  }
  if (!group_3d.complete) std::fprintf(out, "3D implemented : %f\n", group_3d.value);
  if (!group_2d.complete) std::fprintf(out, "2D implemented : %f\n", group_2d.value);
}

}  // namespace

void write_picture_comments(FILE* out, const RunResults& results) {
  bool first = true;
  for (const TestInfo& test : test_catalogue) {
    const PictureVerdict& verdict = results.verdicts[test.id];
    if (verdict.state != PictureVerdict::differs) continue;
    if (first) {
      std::fprintf(out,
                   "\n# These tests drew pictures that differ from their references,\n"
                   "# so their scores time drawing that went wrong:\n");
      first = false;
    }
    std::fprintf(out, "#   %s: %s\n", test.label, verdict_figures(verdict).c_str());
  }
}

void write_results_text(FILE* out, const RunOptions& options, const RunResults& results) {
  std::fprintf(out, "# result : 100.0 or higher is best\n\n");
  for (int id = FIRST_3D_TEST; id <= LAST_3D_TEST; ++id) write_line(out, options, results, id);
  std::fprintf(out, "\n");
  for (int id = FIRST_2D_TEST; id <= LAST_2D_TEST; ++id) write_line(out, options, results, id);
  std::fprintf(out, "\n");
  write_totals(out, compute_group_totals(options, results));
  write_picture_comments(out, results);
}
