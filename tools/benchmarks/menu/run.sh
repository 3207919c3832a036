# tools/bench menu: under Wine, inside a virtual desktop, a raw 780 x 631
# window with a 6-item menu bar skinned by the English main window's skin
# against the same window once the skin is switched off: a 15-item drop-down
# from its opening to its first complete paint, one full WM_NCPAINT of the
# window with its bar, and one repaint of a 20-item drop-down (owner-drawn
# when skinned); medians, and each skinned / native ratio.
bench_menu() {
  tb_build_windows bench-menu
  local exe="$root/build/bench-windows/tools/benchmarks/menu/bench-menu.exe"
  local out
  out=$(mktemp "${TMPDIR:-/tmp}/bench-menu.XXXXXX")
  # Explorer does not pass the program's output on: the program writes a file.
  tb_wine explorer /desktop=benchmenu,1024x768 "$exe" "Z:$(printf '%s' "$out" | tr / '\\')" >/dev/null 2>&1 || true
  local status=0
  if [ ! -s "$out" ]; then
    echo "error: bench-menu wrote no results" >&2
    status=1
  else
    tr -d '\r' <"$out"
    grep -q '^error:' "$out" && status=1
  fi
  rm -f "$out"
  return $status
}
