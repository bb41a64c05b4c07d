#!/usr/bin/env bash
# The layers depend one way: each folder of src/ may include only itself and
# the folders below it. Prints every include that runs upward or sideways
# and fails if there is one.
#   platform  <-  core  <-  raster2d, scene3d, report  <-  judge  <-  app
# judge, the check of the tests' pictures, stands above report, whose
# statistics say why a test went unchecked; the suites never include it.
# compare, the result-file comparison, stands apart: it includes itself and,
# of the others, only the core headers it shares with the program: how a
# file is written (replacement_file.h), how outside text is shown
# (printable.h), the result files' names (result_fields.h), the statistics
# (pass_statistics.h, confidence.h), the decisions on them
# (ratio_decision.h) and the kept runs (run_history.h); no more of core. app,
# on top, may use compare to show its chart.
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}

declare -A allowed=(
  [platform]="platform"
  [core]="core platform"
  [raster2d]="raster2d core"
  [scene3d]="scene3d core"
  [report]="report core"
  [judge]="judge core report"
  [app]="app core platform raster2d scene3d report judge compare"
  [compare]="compare"
)
# Single headers a layer may include from a folder it may not.
declare -A allowed_headers=(
  [compare]="core/replacement_file.h core/printable.h core/result_fields.h core/pass_statistics.h core/confidence.h core/ratio_decision.h core/run_history.h"
)

bad=0
for layer in "${!allowed[@]}"; do
  [ -d "$src/$layer" ] || { echo "missing layer folder: $layer" >&2; bad=1; continue; }
  while IFS= read -r hit; do
    file=${hit%%:*}
    header=$(echo "$hit" | sed -n 's/.*#include "\([^"]*\)".*/\1/p')
    target=${header%%/*}
    [ "$target" != "$header" ] || continue
    case " ${allowed[$layer]} ${allowed_headers[$layer]:-} " in
      *" $target "* | *" $header "*) ;;
      *)
        echo "${file#"$src"/}: $layer may not include $target: ${hit#*:}"
        bad=1
        ;;
    esac
  done < <(grep -rnH '^#include "' "$src/$layer" || true)
done
for folder in "$src"/*/; do
  name=$(basename "$folder")
  [ -n "${allowed[$name]+set}" ] || { echo "src/$name is in no layer" >&2; bad=1; }
done
[ $bad -eq 0 ] && echo "layers: every include runs downward"
exit $bad
