# tools/bench adapters: under Wine, the English main window as the program
# makes it, skinned, against the same window without control adapters: the
# cost an adapter adds to every message of its control (100,000
# WM_GETTEXTLENGTH to the edit box, through the edit adapter), 500
# characters typed into the edit box with a repaint after each, and the repaint of the page control
# drawn from the skin against its own painting.
bench_adapters() {
  tb_build_windows bench-adapters
  tb_wine "$root/build/bench-windows/tools/benchmarks/adapters/bench-adapters.exe" | tr -d '\r'
}
