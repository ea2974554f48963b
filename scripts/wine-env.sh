# Sourced by the Wine scripts: one project-local prefix, quiet, code page 932, no dialogs.
script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo_dir=$(cd "$script_dir/.." && pwd)
export WINEPREFIX=${SABLA_WINEPREFIX:-$repo_dir/build/win32/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=ja_JP.UTF-8
# No Mono or Gecko installer dialog when the prefix is made or a test touches .NET/HTML.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
display_file=$WINEPREFIX.display
xvfb_pid_file=$WINEPREFIX.xvfb.pid

wine_bin() { command -v wine || echo /usr/lib/wine/wine; }

# Creates the prefix once. Serial by a lock, because parallel first starts of Wine race.
ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.sabla-ready" ]; then
      rm -rf "$WINEPREFIX"
      DISPLAY= wineboot -i >/dev/null 2>&1 || true
      wineserver -w
      # A crashing test must fail, not wait for someone to close winedbg's dialog.
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.sabla-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Starts one Xvfb for the session when there is no display, and records it for later runs.
ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  if [ -f "$display_file" ] && [ -f "$xvfb_pid_file" ] && kill -0 "$(cat "$xvfb_pid_file")" 2>/dev/null; then
    export DISPLAY=":$(cat "$display_file")"
    return 0
  fi
  (
    flock 9
    if [ -f "$xvfb_pid_file" ] && kill -0 "$(cat "$xvfb_pid_file")" 2>/dev/null; then exit 0; fi
    local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
    setsid Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
    echo $! > "$xvfb_pid_file"
    read -r -t 20 num < "$fifo" || num=""
    rm -f "$fifo"
    [ -n "$num" ] || { echo "Xvfb did not start" >&2; exit 1; }
    echo "$num" > "$display_file"
  ) 9>"$WINEPREFIX.xlock" || return 1
  export DISPLAY=":$(cat "$display_file")"
}

stop_display() {
  if [ -f "$xvfb_pid_file" ]; then
    kill "$(cat "$xvfb_pid_file")" 2>/dev/null || true
    rm -f "$xvfb_pid_file" "$display_file"
  fi
}
