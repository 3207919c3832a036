# Shell helpers shared by tools/run, tools/gallery and tools/screenshot (sourced, not run):
# building the Windows programs, a private Xvfb, and a window screenshot.
# Expects $root (the repository root).

# Builds Windows-tree targets into $TB_BUILD_DIR (default build/windows). A
# first build takes minutes: what it does and how far it is are told on
# standard error, and the build's own output only when it fails.
tb_gui_build() {
  local dir="${TB_BUILD_DIR:-$root/build/windows}" log status=0
  if [ ! -f "$dir/build.ninja" ]; then
    echo "configuring the Windows build in $dir" >&2
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
  fi
  log=$(mktemp -t tb-build.XXXXXX)
  cmake --build "$dir" --target "$@" 2>&1 | tee "$log" | awk -v what="$*" '
    /^\[[0-9]+\/[0-9]+\]/ && !/Re-checking globbed/ {
      split(substr($1, 2), n, "/"); tenth = int(n[1] * 10 / n[2])
      if (!begun) { printf "building %s (the first build takes a few minutes)\n", what > "/dev/stderr"; begun = 1 }
      if (tenth > shown) { shown = tenth; printf "  %d%% built\n", tenth * 10 > "/dev/stderr" }
    }' || status=$?
  [ "$status" -eq 0 ] || cat "$log" >&2
  rm -f "$log"
  [ "$status" -eq 0 ] || return "$status"
  tb_bin="$dir"
}

# The Wine path (drive Z:) of an absolute Unix path.
tb_gui_winpath() {
  printf 'Z:%s' "$1" | tr / '\\'
}

# Starts Xvfb on a free display; sets DISPLAY and tb_xvfb_pid.
tb_gui_xvfb() {
  local fifo; fifo=$(mktemp -u -t tb-xvfb.XXXXXX)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  tb_xvfb_pid=$!
  local n; read -r -t 20 n <"$fifo" || true
  rm -f "$fifo"
  [ -n "${n:-}" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$n"
}

# Runs a program of the Windows tree under Wine (tools/wine-run) in the background
# inside a Wine virtual desktop; sets tb_app_pid.
tb_gui_start() {
  "$root/tools/wine-run" explorer "/desktop=tagbench,1024x768" "$@" >/dev/null 2>&1 &
  tb_app_pid=$!
}

# Waits for Tagbench's main window, optionally shows page N and opens its
# system menu, and writes a PNG cropped to the window (and the menu).
# Usage: tb_gui_capture OUT.png [PAGE] [sysmenu]
tb_gui_capture() {
  local out=$1 page=${2:-} menu=${3:-} helper="$tb_bin/tools/guihelper-src/tb-guihelper.exe" rect
  rect=$("$root/tools/wine-run" "$helper" wait 60 | tr -d '\r') || { echo "the main window did not appear" >&2; return 1; }
  if [ -n "$page" ]; then
    "$root/tools/wine-run" "$helper" page "$page" || { echo "no page $page" >&2; return 1; }
  fi
  if [ -n "$menu" ]; then
    rect=$("$root/tools/wine-run" "$helper" sysmenu | tr -d '\r') || { echo "the system menu did not open" >&2; return 1; }
  fi
  sleep 1   # let the last paint reach the X server
  # A skin applied meanwhile gives the window its own border sizes.
  if [ -z "$menu" ]; then
    rect=$("$root/tools/wine-run" "$helper" wait 5 | tr -d '\r') || { echo "the main window went away" >&2; return 1; }
  fi
  local x y w h
  read -r x y w h <<<"$rect"
  x=$(( x < 0 ? 0 : x )); y=$(( y < 0 ? 0 : y ))
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
}

# Wine makes its COM links anew (one per /dev/ttyS*) each time it starts in a
# prefix; its Ports key makes it keep the device given here instead.
tb_gui_map_port() {  # NAME DEVICE
  "$root/tools/wine-run" reg add 'HKLM\Software\Wine\Ports' /v "$1" /d "$2" /f >/dev/null 2>&1 || true
  ln -sfn "$2" "$WINEPREFIX/dosdevices/$(tr 'A-Z' 'a-z' <<<"$1")"
}

# Makes a socat pty pair, one end COM1 of $WINEPREFIX and the other PEER (for
# the simulated reader); sets tb_socat_pid.
tb_gui_com1_pair() {  # PEER
  local peer=$1 com1="$WINEPREFIX/dosdevices/com1"
  [ -f "$WINEPREFIX/.tagbench-ready" ] || echo "making the Wine prefix $WINEPREFIX (first run only)" >&2
  "$root/tools/wine-run" cmd /c exit 0 >/dev/null 2>&1 || true   # makes the prefix on first use
  rm -f "$com1" "$peer"
  socat "pty,raw,echo=0,link=$com1" "pty,raw,echo=0,link=$peer" &
  tb_socat_pid=$!
  for _ in $(seq 100); do [ -e "$com1" ] && [ -e "$peer" ] && break; sleep 0.05; done
  [ -e "$peer" ] || { echo "socat did not make the pty pair" >&2; return 1; }
  tb_gui_map_port COM1 "$(readlink "$com1")"
}

# Asks the window to close, then ends what is left of the prefix, the pty
# pair and Xvfb.
tb_gui_stop() {
  if [ -n "${tb_bin:-}" ]; then
    "$root/tools/wine-run" "$tb_bin/tools/guihelper-src/tb-guihelper.exe" close >/dev/null 2>&1 || true
  fi
  if [ -n "${tb_app_pid:-}" ]; then
    for _ in $(seq 50); do kill -0 "$tb_app_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$tb_app_pid" 2>/dev/null || true
  fi
  WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
  [ -n "${tb_socat_pid:-}" ] && kill "$tb_socat_pid" 2>/dev/null || true
  [ -n "${tb_xvfb_pid:-}" ] && kill "$tb_xvfb_pid" 2>/dev/null || true
  tb_app_pid="" tb_socat_pid="" tb_xvfb_pid=""
}
