# tools/bench memo: microseconds per Lines->Add on a shown memo holding a
# short and a long log, against the edit control's own appends, round by
# round (the ratio near 1 when adding costs next to nothing); min, median and
# max over the rounds; then the main window's memo skinned and not
# (tools/bench adapters memo).
bench_memo() {
  tb_build_windows bench-memo
  tb_wine "$root/build/bench-windows/tools/benchmarks/memo/bench-memo.exe" | tr -d '\r'
  bench_adapters memo | grep '^adapters_memo_\|^error'
}
