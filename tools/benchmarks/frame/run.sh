# tools/bench frame: under Wine, inside a virtual desktop (the only place Wine
# shows non-client painting), the English main window's skinned frame against
# Wine's own frame of the same 780 x 631 window once unskinned, both in each
# of three rounds: one full WM_NCPAINT (a round's median of 60, the mean of all
# runs too) and resizing in 100 steps, by injected mouse drags of the
# bottom-right corner (and by SetWindowPos steps, which stand in when a drag
# did not land every step); profile_* keys time the parts of one skinned
# paint. Min, median and max over the rounds, each ratio taken within a round.
bench_frame() {
  tb_build_windows bench-frame
  tb_wine_desktop_bench benchframe "$root/build/bench-windows/tools/benchmarks/frame/bench-frame.exe"
}
