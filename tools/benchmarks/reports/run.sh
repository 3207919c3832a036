# tools/bench reports: the simulated reader sends 200 tag reports, one every
# 150 ms, to the main window under Wine; how many reach Memo2 and the count,
# and the GUI thread's time per report, the repaints it causes included,
# against its 100 ms wait and against a bare Sleep(100) measured in the same
# run, then with the edit control's own appends of the same lines (repainted
# too) taken away as well; min, median and max of each time.
bench_reports() {
  tb_build_native reader-sim
  tb_build_windows bench-reports
  # Wine's standard error carries the wineserver's object dump when the run
  # ends; only the program's own lines are shown, and those only on failure.
  local log status=0
  log=$(mktemp "${TMPDIR:-/tmp}/bench-reports.XXXXXX")
  TB_READER_SIM="$root/build/bench-native/tools/reader-sim-src/reader-sim" \
    tb_wine "$root/build/bench-windows/tools/benchmarks/reports/bench-reports.exe" "$@" 2>"$log" | tr -d '\r' ||
    status=$?
  if [ $status -ne 0 ]; then
    grep -Ev '^(0x[0-9a-f]+:|[[:space:]]+[0-9a-f]{4}: 0x)' "$log" >&2 || true
  fi
  rm -f "$log"
  return $status
}
