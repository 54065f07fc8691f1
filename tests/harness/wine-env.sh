# Sourced by tools/test.sh and tools/demo.sh: the Wine prefix, a persistent wineserver and an
# X display for windows. Ends them again when the sourcing script exits.

export WINEDEBUG=-all
export WINEPREFIX="${TANDREL_WINEPREFIX:-$HOME/.cache/tandrel/wineprefix}"
_tandrel_harness="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# The prefix is rebuilt whenever its set-up script changes.
_tandrel_stamp="$(sha256sum "$_tandrel_harness/setup-prefix.sh" | cut -d' ' -f1)"
if [ "$(cat "$WINEPREFIX/.tandrel-ready" 2>/dev/null)" != "$_tandrel_stamp" ]; then
  echo "wine-env: creating the Wine prefix $WINEPREFIX"
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  sh "$_tandrel_harness/setup-prefix.sh"
  echo "$_tandrel_stamp" >"$WINEPREFIX/.tandrel-ready"
fi

# The display comes first: Wine's desktop process takes the display of the process that
# starts it.
_tandrel_xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 77 99); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
      _tandrel_xvfb=$!
      export DISPLAY=":$n"
      break
    fi
  done
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
fi

# A persistent server, detached from every pipe; then start Wine's services once with stdio
# on /dev/null so that nothing reading a test's output waits for them.
wineserver -p >/dev/null 2>&1 </dev/null || true
wine wineboot >/dev/null 2>&1 </dev/null || true

tandrel_wine_env_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$_tandrel_xvfb" ] && kill "$_tandrel_xvfb" 2>/dev/null || true
}
trap tandrel_wine_env_cleanup EXIT
