#!/usr/bin/env bash
# Start-up time of the desktop: from launching `quillmark` to the first paint of
# its main window, on a virtual X display. Prints each run and the median.
#
#   tools/bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-7}
exe=$build/quillmark
[[ -x $exe ]] || { echo "no executable at $exe (build it first)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/measure.sh" <<INNER
#!/usr/bin/env bash
set -euo pipefail
cd "$work"
for i in \$(seq 1 $runs); do
  start=\$(date +%s%N)
  out=\$(QM_STARTUP_PROBE=1 "$PWD/$exe" 2>/dev/null)
  at() { echo "\$out" | awk -v step="\$1-at-ns" '\$1 == step {print \$2}'; }
  app=\$(at application); win=\$(at window); shown=\$(at shown)
  echo "\$(( (shown - start) / 1000000 )) \$(( (app - start) / 1000000 )) \$(( (win - app) / 1000000 )) \$(( (shown - win) / 1000000 ))"
done
INNER
chmod +x "$work/measure.sh"

# One untimed run first so that the figures do not include a cold disk cache.
QT_QPA_PLATFORM=offscreen QM_STARTUP_PROBE=1 "$exe" >/dev/null 2>&1 || true
mapfile -t rows < <(xvfb-run -a -s "-screen 0 1400x900x24" "$work/measure.sh")
for row in "${rows[@]}"; do
  read -r total app window paint <<<"$row"
  echo "run ${total} ms (application ${app}, window built ${window}, first paint ${paint})"
done
median=$(printf '%s\n' "${rows[@]}" | awk '{print $1}' | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
times=("${rows[@]}")
echo "start-up to a shown window: median ${median} ms over ${#times[@]} runs (goal: under 300 ms)"
