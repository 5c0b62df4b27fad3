# Sourced by the scripts that build or run the Windows programs: Wine quiet, in
# a prefix of the build's own, with UTF-8 arguments, and no offer to install
# Mono or Gecko (nothing here needs them).
wine_build="${SONVERA_WINDOWS_BUILD_DIR:-$root/build-windows}"
export WINEPREFIX="$wine_build/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver)"

# A prefix made once, before any program runs, and one Wine server for the
# whole run, so each program starts at once.
wine_start() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot --init </dev/null >/dev/null 2>&1
    "$wineserver" -w
  fi
  "$wineserver" -p </dev/null >/dev/null 2>&1
  # The first program of a server starts Wine's own services, which live on
  # holding that program's output; started here, they hold nothing of a test's.
  "$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
}
wine_stop() { "$wineserver" -k </dev/null >/dev/null 2>&1 || true; }
