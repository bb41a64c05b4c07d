// How the comparison chart looks: the title, the legend, the groups of
// bars with their marks and decisions, and the score axis, drawn onto any
// cairo surface in the places a Layout (compare/chart_layout.h) gives.
// The file and the window picture are both made by it.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "compare/chart_layout.h"
#include "compare/run_changes.h"
#include "compare/run_file.h"

// The whole chart on a white ground: `layout` is lay_out's for the same
// runs, keywords and changes (none: no decision marks).
void draw_chart(cairo_t* cr, const Layout& layout, const std::vector<RunFile>& runs,
                const std::vector<std::string>& keywords, const Changes* changes);
