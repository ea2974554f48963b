# Sourced by the Wine scripts: a project-local prefix per architecture, quiet, code page 932,
# no dialogs, one private X server when there is no display.
script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo_dir=$(cd "$script_dir/.." && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
# Wine takes the ANSI code page from the locale: ja_JP gives 932 (Shift_JIS).
wine_locale=ja_JP.UTF-8
# No Mono or Gecko installer dialog when the prefix is made or a program touches .NET/HTML.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
x_state=$repo_dir/build/xvfb

# use_arch win64|win32: selects the prefix and the Wine binaries for that architecture.
use_arch() {
  export WINEARCH=$1
  export WINEPREFIX=${SABLA_WINEPREFIX:-$repo_dir/build/wineprefix-$1}
  if [ "$1" = win64 ]; then
    wine_cmd=/usr/lib/wine/wine64; wineserver_cmd=/usr/lib/wine/wineserver64
  else
    wine_cmd=/usr/lib/wine/wine; wineserver_cmd=/usr/lib/wine/wineserver32
  fi
  export WINESERVER=$wineserver_cmd
}

# The architecture of a PE file: the machine field behind the "PE\0\0" signature.
arch_of() {
  local pe machine
  pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  [ "$machine" = 8664 ] && echo win64 || echo win32
}

# 32-bit Wine needs the kernel to run i386 Linux programs; some virtual machines refuse them.
i386_runs() { /lib/ld-linux.so.2 --help >/dev/null 2>&1; }

# Named after the prefix's settings: a prefix made with older settings is made again.
ready_mark=.sabla-ready-unmanaged

# Creates the prefix once. Serial by a lock, because parallel first starts of Wine race.
ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/$ready_mark" ]; then
      # The lock's descriptor is closed for everything started here: a wineserver or Xvfb that
      # inherited it would hold the lock for as long as it lives.
      "$wineserver_cmd" -k 9>&- 2>/dev/null
      rm -rf "$WINEPREFIX"
      DISPLAY= LC_ALL=$wine_locale "$wine_cmd" wineboot -i 9>&- >/dev/null 2>&1
      "$wineserver_cmd" -w 9>&-
      # A crashing test must fail, not wait for someone to close winedbg's dialog.
      "$wine_cmd" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        9>&- >/dev/null 2>&1
      # Wine draws the window frames itself: with no window manager on the X server, hiding a
      # managed window waits two seconds for a manager that never answers.
      "$wine_cmd" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        9>&- >/dev/null 2>&1
      "$wineserver_cmd" -w 9>&-
      [ -d "$WINEPREFIX/drive_c/windows/system32" ] && touch "$WINEPREFIX/$ready_mark"
    fi
  ) 9>"$WINEPREFIX.lock"
  [ -f "$WINEPREFIX/$ready_mark" ] || { echo "could not create the Wine prefix $WINEPREFIX" >&2; return 1; }
}

# start_xvfb WIDTHxHEIGHT: a private X server on a free display; its pid goes to `xvfb_pid` and
# its display (":N") to `xvfb_display`. Fails, leaving nothing behind, when it does not start.
start_xvfb() {
  local fifo num
  fifo=$(mktemp -u); mkfifo "$fifo"
  setsid Xvfb -displayfd 4 -screen 0 "${1}x24" -nolisten tcp 4>"$fifo" 9>&- >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 num < "$fifo" || num=""
  rm -f "$fifo"
  if [ -z "$num" ]; then
    kill "$xvfb_pid" 2>/dev/null
    echo "Xvfb did not start" >&2
    return 1
  fi
  xvfb_display=":$num"
}

# Starts one Xvfb for the whole test run when there is no display, and records it.
ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  mkdir -p "$(dirname "$x_state")"
  (
    flock 9
    if [ -f "$x_state.pid" ] && kill -0 "$(cat "$x_state.pid")" 2>/dev/null; then exit 0; fi
    start_xvfb 1280x1024 || exit 1
    echo "$xvfb_pid" > "$x_state.pid"
    echo "${xvfb_display#:}" > "$x_state.display"
  ) 9>"$x_state.lock" || return 1
  export DISPLAY=":$(cat "$x_state.display")"
}

# Wine closes a desktop a second after its last program ends, and a program that starts in that
# second can be handed the closing desktop's window: its first CreateWindow fails with "invalid
# window handle". A program that waits on its input for the whole run keeps one desktop (and the
# Wine server) up between the tests. Bounded, so that a run killed before its cleanup does not
# leave it behind for good.
keeper_state() { echo "$WINEPREFIX.desktop-keeper.pid"; }

start_desktop_keeper() {
  local state ready
  state=$(keeper_state)
  if [ -f "$state" ] && kill -0 "$(cat "$state")" 2>/dev/null; then return 0; fi
  # The Wine server and the desktop keep the error output of the program that started them, and
  # ctest waits for a test's output to close: they must be the keeper's, which has none. It says
  # so once it runs, by when both are up.
  ready="$WINEPREFIX.desktop-keeper.ready"
  rm -f "$ready"
  LC_ALL=$wine_locale setsid sh -c \
    "sleep 3600 | exec '$wine_cmd' cmd /c 'echo ready>Z:${ready//\//\\}& pause'" \
    </dev/null >/dev/null 2>&1 9>&- &
  echo $! > "$state"
  for _ in $(seq 600); do
    [ -f "$ready" ] && return 0
    sleep 0.1
  done
  echo "the Wine desktop did not come up" >&2
  return 1
}

stop_desktop_keeper() {
  local state; state=$(keeper_state)
  if [ -f "$state" ]; then
    kill -- "-$(cat "$state")" 2>/dev/null || true
    rm -f "$state" "$WINEPREFIX.desktop-keeper.ready"
  fi
}

stop_display() {
  if [ -f "$x_state.pid" ]; then
    kill "$(cat "$x_state.pid")" 2>/dev/null || true
    rm -f "$x_state.pid" "$x_state.display"
  fi
}
