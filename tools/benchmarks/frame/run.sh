# tools/bench frame: under Wine, inside a virtual desktop (the only place Wine
# shows non-client painting), the English main window's skinned frame against
# Wine's own frame of the same 780 x 631 window once unskinned: one full
# WM_NCPAINT (median of 300, mean too) and resizing in 100 steps, by injected
# mouse drags of the bottom-right corner in two rounds taken in turn (and by
# SetWindowPos steps, which stand in when a drag did not land every step);
# profile_* keys time the parts of one skinned paint.
bench_frame() {
  tb_build_windows bench-frame
  local exe="$root/build/bench-windows/tools/benchmarks/frame/bench-frame.exe"
  local out
  out=$(mktemp "${TMPDIR:-/tmp}/bench-frame.XXXXXX")
  # Explorer does not pass the program's output on: the program writes a file.
  tb_wine explorer /desktop=benchframe,1024x768 "$exe" "Z:$(printf '%s' "$out" | tr / '\\')" >/dev/null 2>&1 || true
  local status=0
  if [ ! -s "$out" ]; then
    echo "error: bench-frame wrote no results" >&2
    status=1
  else
    tr -d '\r' <"$out"
    grep -q '^error:' "$out" && status=1
  fi
  rm -f "$out"
  return $status
}
