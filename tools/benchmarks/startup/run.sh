# tools/bench startup: time from process start to the main window's first
# paint under Wine, for each edition against two references started the same
# way: a bare one-window program of the same size, and the floor, the same
# tree of windows made by direct calls (bench-startup-floor). Then the phases
# of each edition's own start-up (medians of a few runs), executable size and
# private memory once shown. Last, the time to the main window's first paint
# with its controls skinned against the same with the skin component switched
# off (medians of a few runs).
bench_startup() {
  tb_build_windows tagbench-en tagbench-zh bench-bare-window bench-startup bench-startup-floor \
    bench-startup-phases-en bench-startup-phases-zh
  local bin="$root/build/bench-windows" dir="$root/build/bench-windows/tools/benchmarks/startup" out phases ed
  # The phase runs also write the trees of windows that the floor makes.
  phases=$(WINEPREFIX="${WINEPREFIX:-$root/build/bench-wineprefix}" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    for round in 1 2 3 4 5; do
      for ed in en zh; do
        "$0/tools/wine-run" "$1/bench-startup-phases-$ed.exe" "Z:$1/startup-tree-$ed.txt" | sed "s/^/$ed /"
        for mode in skinned inactive; do
          "$0/tools/wine-run" "$1/bench-startup-phases-$ed.exe" --$mode-paint | sed "s/^/$ed-$mode /"
        done
      done
    done' "$root" "$dir" | tr -d '\r')
  out=$(tb_wine "$dir/bench-startup.exe" "$dir/bench-bare-window.exe" \
    "$dir/bench-startup-floor.exe?Z:$dir/startup-tree-en.txt" "$dir/bench-startup-floor.exe?Z:$dir/startup-tree-zh.txt" \
    "$bin/console/tagbench-en.exe" "$bin/console/tagbench-zh.exe" | tr -d '\r')
  local bare
  bare=$(awk '$1 == "bench-bare-window" { print $2 }' <<<"$out")
  echo "startup_bare_window_ms: $bare"
  for ed in en zh; do
    local floor ours
    floor=$(awk -v n="bench-startup-floor@startup-tree-$ed" '$1 == n { print $2 }' <<<"$out")
    ours=$(awk -v n="tagbench-$ed" '$1 == n { print $2 }' <<<"$out")
    echo "startup_floor_${ed}_ms: $floor"
    echo "startup_${ed}_ms: $ours"
    awk -v o="$ours" -v b="$bare" -v f="$floor" -v ed="$ed" 'BEGIN {
      printf "startup_%s_ratio: %.2f\n", ed, o / b
      printf "startup_%s_floor_ratio: %.2f\n", ed, o / f
    }'
    awk -v n="tagbench-$ed" '$1 == n {
      printf "exe_size_%s_bytes: %s\n", substr(n, 10), $3
      printf "private_memory_%s_kib: %d\n", substr(n, 10), $4 / 1024
    }' <<<"$out"
    # Median of each phase over the runs.
    awk -v ed="$ed" '$1 == ed { sub(":", "", $2); v[$2] = v[$2] " " $3; if (!($2 in seen)) { seen[$2] = 1; order[++n] = $2 } }
      END { for (i = 1; i <= n; i++) { k = order[i]; c = split(v[k], a, " ");
        for (x = 1; x <= c; x++) for (y = x + 1; y <= c; y++) if (a[y] + 0 < a[x] + 0) { t = a[x]; a[x] = a[y]; a[y] = t }
        printf "startup_%s_phase_%s: %s\n", ed, k, a[int((c + 1) / 2)] } }' <<<"$phases"
  done
  for ed in en zh; do
    # Median of the first paints with skinned controls and with the skin off.
    awk -v ed="$ed" '$1 == ed "-skinned" || $1 == ed "-inactive" { v[$1] = v[$1] " " $3 }
      function median(s,   a, c, x, y, t) { c = split(s, a, " ")
        for (x = 1; x <= c; x++) for (y = x + 1; y <= c; y++) if (a[y] + 0 < a[x] + 0) { t = a[x]; a[x] = a[y]; a[y] = t }
        return a[int((c + 1) / 2)] }
      END { s = median(v[ed "-skinned"]); i = median(v[ed "-inactive"])
        printf "startup_%s_first_paint_skinned_controls_ms: %s\n", ed, s
        printf "startup_%s_first_paint_skin_inactive_ms: %s\n", ed, i
        printf "startup_%s_first_paint_skinned_ratio: %.2f\n", ed, s / i }' <<<"$phases"
  done
  awk '$1 == "bench-bare-window" { printf "private_memory_bare_window_kib: %d\n", $4 / 1024 }' <<<"$out"
  awk '$1 ~ /^bench-startup-floor/ { printf "private_memory_floor_%s_kib: %d\n", substr($1, length($1) - 1), $4 / 1024 }' <<<"$out"
}
