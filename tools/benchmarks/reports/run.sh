# tools/bench reports: the simulated reader sends 200 tag reports, one every
# 150 ms, to the main window under Wine; how many reach Memo2 and the count,
# and the GUI thread's mean time per report against its 100 ms wait and
# against a bare Sleep(100) measured in the same run, then with the edit
# control's own appends of the same lines taken away too.
bench_reports() {
  tb_build_native reader-sim
  tb_build_windows bench-reports
  TB_READER_SIM="$root/build/bench-native/tools/reader-sim-src/reader-sim" \
    tb_wine "$root/build/bench-windows/tools/benchmarks/reports/bench-reports.exe" "$@" | tr -d '\r'
}
