# tools/bench startup: time from process start to the main window's first
# paint under Wine, for each edition against a bare one-window program of the
# same size, plus executable size and private memory once shown.
bench_startup() {
  tb_build_windows tagbench-en tagbench-zh bench-bare-window bench-startup
  local bin="$root/build/bench-windows" out
  out=$(tb_wine "$bin/tools/benchmarks/startup/bench-startup.exe" \
    "$bin/tools/benchmarks/startup/bench-bare-window.exe" \
    "$bin/console/tagbench-en.exe" "$bin/console/tagbench-zh.exe" | tr -d '\r')
  local bare
  bare=$(awk '$1 == "bench-bare-window" { print $2 }' <<<"$out")
  echo "startup_bare_window_ms: $bare"
  awk -v bare="$bare" '$1 ~ /^tagbench-/ {
    ed = substr($1, 10)
    printf "startup_%s_ms: %s\n", ed, $2
    printf "startup_%s_ratio: %.2f\n", ed, $2 / bare
    printf "exe_size_%s_bytes: %s\n", ed, $3
    printf "private_memory_%s_kib: %d\n", ed, $4 / 1024
  }' <<<"$out"
  awk '$1 == "bench-bare-window" { printf "private_memory_bare_window_kib: %d\n", $4 / 1024 }' <<<"$out"
}
