// The second half of the report: one score per test, the group averages,
// and comment lines on pictures that differed.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/catalogue.h"
#include "core/run_options.h"
#include "core/run_results.h"

// Writes the result section of `results` to `out`: the 3D tests (FIRST_3D_TEST to
// LAST_3D_TEST), then the 2D tests, each on a line of its report label padded to 25 columns,
// ": " and its score ("%f") or "skipped" (the swap_buffer line is followed
// by an empty line), then the totals. Scores come from compute_score with
// loops and quarter of `options`.
//
// Group values: the 3D group is the 3D tests after swap_buffer
// (which belongs to no group), the 2D group the 2D tests. A group's value is the mean of the
// scores of its tests that were measured, 0.0 when none was. When every
// test of the group was measured its total shows the value; otherwise the
// total shows "-----" and an "implemented" line gives the value.
//
// A test that ran but whose mean time was 0.0 (a run shorter than the
// nanosecond clock can tell, or a slot a test never filled) is written with the score "inf" and
// counts like a skipped test for its group: left out of the mean, the total shows "-----". So no
// group average is ever infinite.
//
// When the check of a test's picture found it differing from its reference,
// the section ends with comment lines ("#") that name each such test by its
// label, with the figures of its worst pass; otherwise it ends with the
// totals as it always has.
void write_results_text(FILE* out, const RunOptions& options, const RunResults& results);
void write_picture_comments(FILE* out, const RunResults& results);
