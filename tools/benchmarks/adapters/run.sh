# tools/bench adapters: under Wine, the English main window as the program
# makes it, skinned, against the same window without control adapters: the
# cost an adapter adds to every message of its control (100,000
# WM_GETTEXTLENGTH to the edit box, through the edit adapter), 500
# characters typed into the edit box with a repaint after each, the repaint
# of the page control drawn from the skin against its own painting, 100
# switches between the window's sheets with the whole window skinned and
# unskinned, a 101 x 25 bit button repainted, the check boxes toggled with
# repaint, a panel with ten speed buttons repainted, skinned against native;
# a memo of 10,000 lines taking more, and thumb-drag steps, with its
# scroll-bar covers and without; 100 page scrolls of a 1,000-row list view
# with its adapter (covers and header) and without. Skinned and native take
# turns in every round; min, median and max of each figure over the rounds,
# each ratio taken within a round.
bench_adapters() {
  tb_build_windows bench-adapters
  tb_wine "$root/build/bench-windows/tools/benchmarks/adapters/bench-adapters.exe" "$@" | tr -d '\r'
}
