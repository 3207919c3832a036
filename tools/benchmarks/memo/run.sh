# tools/bench memo: microseconds per Lines->Add on a shown memo holding a
# short and a long log, and their ratio (near 1 when adding stays linear).
bench_memo() {
  tb_build_windows bench-memo
  tb_wine "$root/build/bench-windows/tools/benchmarks/memo/bench-memo.exe" | tr -d '\r'
}
