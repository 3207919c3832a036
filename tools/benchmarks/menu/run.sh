# tools/bench menu: under Wine, inside a virtual desktop, a raw 780 x 631
# window with a 6-item menu bar skinned by the English main window's skin
# against the same window once the skin is switched off: a 15-item drop-down
# from its opening to its first complete paint, one full WM_NCPAINT of the
# window with its bar, and one repaint of a 20-item drop-down (owner-drawn
# when skinned); skinned and native in every round, a new window each round,
# min, median and max over the rounds of each round's medians, and each
# skinned / native ratio taken within a round.
bench_menu() {
  tb_build_windows bench-menu
  tb_wine_desktop_bench benchmenu "$root/build/bench-windows/tools/benchmarks/menu/bench-menu.exe"
}
