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
    --skinned "$bin/console/tagbench-en.exe" --skinned "$bin/console/tagbench-zh.exe" | tr -d '\r')
  # The launcher's line per program: name, min, median, max ms, size, private bytes.
  spread() { awk -v n="$1" -v k="$2" '$1 == n { printf "%s_min_ms: %s\n%s_median_ms: %s\n%s_max_ms: %s\n", k, $2, k, $3, k, $4 }' <<<"$out"; }
  local bare
  bare=$(awk '$1 == "bench-bare-window" { print $3 }' <<<"$out")
  spread bench-bare-window startup_bare_window
  for ed in en zh; do
    local floor ours
    floor=$(awk -v n="bench-startup-floor@startup-tree-$ed" '$1 == n { print $3 }' <<<"$out")
    ours=$(awk -v n="tagbench-$ed" '$1 == n { print $3 }' <<<"$out")
    spread "bench-startup-floor@startup-tree-$ed" "startup_floor_$ed"
    spread "tagbench-$ed" "startup_$ed"
    # Ratios of the medians, each against a program started in the same rounds.
    awk -v o="$ours" -v b="$bare" -v f="$floor" -v ed="$ed" 'BEGIN {
      printf "startup_%s_ratio: %.2f\n", ed, o / b
      printf "startup_%s_floor_ratio: %.2f\n", ed, o / f
    }'
    awk -v n="tagbench-$ed" '$1 == n {
      printf "exe_size_%s_bytes: %s\n", substr(n, 10), $5
      printf "private_memory_%s_kib: %d\n", substr(n, 10), $6 / 1024
    }' <<<"$out"
    # Least, median and greatest of each phase over the runs.
    awk -v ed="$ed" '$1 == ed { sub(":", "", $2); v[$2] = v[$2] " " $3; if (!($2 in seen)) { seen[$2] = 1; order[++n] = $2 } }
      END { for (i = 1; i <= n; i++) { k = order[i]; c = split(v[k], a, " ");
        for (x = 1; x <= c; x++) for (y = x + 1; y <= c; y++) if (a[y] + 0 < a[x] + 0) { t = a[x]; a[x] = a[y]; a[y] = t }
        base = k; unit = ""; if (sub(/_ms$/, "", base)) unit = "_ms"
        printf "startup_%s_phase_%s_min%s: %s\n", ed, base, unit, a[1]
        printf "startup_%s_phase_%s_median%s: %s\n", ed, base, unit, a[int((c + 1) / 2)]
        printf "startup_%s_phase_%s_max%s: %s\n", ed, base, unit, a[c] } }' <<<"$phases"
  done
  for ed in en zh; do
    # The first paints with skinned controls and with the skin off.
    awk -v ed="$ed" '$1 == ed "-skinned" || $1 == ed "-inactive" { v[$1] = v[$1] " " $3 }
      function sorted(s, a,   c, x, y, t) { c = split(s, a, " ")
        for (x = 1; x <= c; x++) for (y = x + 1; y <= c; y++) if (a[y] + 0 < a[x] + 0) { t = a[x]; a[x] = a[y]; a[y] = t }
        return c }
      function show(key, s,   a, c) { c = sorted(s, a)
        printf "startup_%s_first_paint_%s_min_ms: %s\n", ed, key, a[1]
        printf "startup_%s_first_paint_%s_median_ms: %s\n", ed, key, a[int((c + 1) / 2)]
        printf "startup_%s_first_paint_%s_max_ms: %s\n", ed, key, a[c]
        return a[int((c + 1) / 2)] }
      END { s = show("skinned_controls", v[ed "-skinned"]); i = show("skin_inactive", v[ed "-inactive"])
        printf "startup_%s_first_paint_skinned_ratio: %.2f\n", ed, s / i }' <<<"$phases"
  done
  awk '$1 == "bench-bare-window" { printf "private_memory_bare_window_kib: %d\n", $6 / 1024 }' <<<"$out"
  awk '$1 ~ /^bench-startup-floor/ { printf "private_memory_floor_%s_kib: %d\n", substr($1, length($1) - 1), $6 / 1024 }' <<<"$out"
}
