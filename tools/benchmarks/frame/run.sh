# tools/bench frame: under Wine, inside a virtual desktop (the only place Wine
# shows non-client painting), the English main window's skinned frame against
# Wine's own frame of the same 780 x 631 window once unskinned: one full
# WM_NCPAINT (median of 300, mean too) and resizing in 100 steps, by injected
# mouse drags of the bottom-right corner in two rounds taken in turn (and by
# SetWindowPos steps, which stand in when a drag did not land every step);
# profile_* keys time the parts of one skinned paint.
bench_frame() {
  tb_build_windows bench-frame
  tb_wine_desktop_bench benchframe "$root/build/bench-windows/tools/benchmarks/frame/bench-frame.exe"
}
