# Shell functions shared by the scripts that run Windows programs under Wine.
# Source it; it defines functions only.

# The Windows architectures, 32-bit (the product) first.
velmora_all_arches="x86 x64"

# velmora_wine_loader ARCH: the Wine loader that runs ARCH's programs.
velmora_wine_loader() {
  case "$1" in
    x86) echo /usr/lib/wine/wine ;;
    x64) echo /usr/lib/wine/wine64 ;;
    *) return 1 ;;
  esac
}

# velmora_wine_runs ARCH: whether this machine runs ARCH's programs under
# Wine, found out by starting the loader. On failure prints the reason.
velmora_wine_runs() {
  local loader output
  loader=$(velmora_wine_loader "$1") || { echo "unknown architecture '$1'"; return 1; }
  if [ ! -x "$loader" ]; then
    echo "$loader is not installed"
    return 1
  fi
  if ! output=$("$loader" --version 2>&1); then
    if [[ "$output" == *"Exec format error"* ]] || [ "$1" = x86 ]; then
      echo "this machine runs no 32-bit (i386) programs: $loader --version failed (${output##*: })"
    else
      echo "$loader --version failed: $output"
    fi
    return 1
  fi
}

# velmora_wine_arches_to_run: the architectures to run here, one a line, as
# ARCH or "-ARCH REASON" for one that cannot run. VELMORA_WINE_ARCHES (for
# example "x64") limits them.
velmora_wine_arches_to_run() {
  local arch reason
  for arch in $velmora_all_arches; do
    if [ -n "${VELMORA_WINE_ARCHES:-}" ] && [[ " ${VELMORA_WINE_ARCHES//,/ } " != *" $arch "* ]]; then
      echo "-$arch left out by VELMORA_WINE_ARCHES=$VELMORA_WINE_ARCHES"
    elif reason=$(velmora_wine_runs "$arch"); then
      echo "$arch"
    else
      echo "-$arch $reason"
    fi
  done
}

# velmora_wine_server WIN-BUILD LOG: starts the wineserver of the prefix
# $WINEPREFIX in the foreground of a session of its own, its output in LOG,
# and returns once it takes connections. A Wine program started before then
# finds no server and starts one of its own; the one started here then ends
# at once, with an error status that whoever waits for it would take for the
# program's. Sets velmora_wine_server_pid to the server's PID, or to nothing
# when the prefix already has a server (that one is used then, and is not
# ours to stop). Fails when the server does not come up within 10 s.
velmora_wine_server() {
  setsid "$1/velmora-wineserver" -f -p >>"$2" 2>&1 &
  velmora_wine_server_pid=$!
  local n fd dir
  for n in $(seq 500); do
    if ! kill -0 "$velmora_wine_server_pid" 2>/dev/null; then
      wait "$velmora_wine_server_pid" 2>/dev/null || true
      velmora_wine_server_pid=
      return 0
    fi
    # The server holds its directory open; the socket in it is bound just
    # before the server listens on it.
    for fd in /proc/"$velmora_wine_server_pid"/fd/*; do
      dir=$(readlink "$fd" 2>/dev/null) || continue
      [ -S "$dir/socket" ] && return 0
    done
    sleep 0.02
  done
  echo "the wineserver of $WINEPREFIX did not come up" >&2
  return 1
}

# velmora_wine_boot WIN-BUILD LOG: makes the Wine prefix $WINEPREFIX when it
# is new, with the build's own loader, and starts its service processes with
# their output in LOG: started later by a program of a test, they would hold
# that program's output pipe open, and whoever reads it would wait for them.
# Call it with the prefix's wineserver already running (velmora_wine_server,
# stopped by its PID).
velmora_wine_boot() {
  local init=
  [ -f "$WINEPREFIX/system.reg" ] || init=-i
  WINEDLLOVERRIDES="mscoree,mshtml=" "$1/velmora-wine" wineboot.exe $init >"$2" 2>&1 </dev/null
}

# velmora_wine_marlett: gives the prefix $WINEPREFIX Wine's own Marlett
# (Debian's fonts-wine), which draws the title bars' buttons. Wine does not
# find it where the package puts it: without a copy in the prefix's font
# folder the buttons show as the letters "0 1 r".
velmora_wine_marlett() {
  local font=/usr/share/wine/fonts/marlett.ttf fonts=$WINEPREFIX/drive_c/windows/Fonts
  [ -f "$font" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] && cp "$font" "$fonts/"
  return 0
}
