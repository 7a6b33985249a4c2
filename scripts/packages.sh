# Shared by the project's scripts (sourced, not run): installing what a
# script needs, once, on a fresh machine.

# Installs Debian packages unless they are there already; the package index
# is refreshed once, only when something has to be installed.
install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing ${missing[*]}"
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# The Debian packages of the browser engines named in $1 (comma-separated,
# as QUELT_BROWSERS names them), one a line: each browser, and for WebKit its
# WebDriver and the virtual X display its browser window needs.
browser_packages() {
  local engine
  for engine in ${1//,/ }; do
    case $engine in
      chromium) echo chromium ;;
      firefox) echo firefox-esr ;;
      webkit) printf '%s\n' webkit2gtk-driver xvfb xauth ;;
      *) echo "unknown browser engine: $engine" >&2; return 1 ;;
    esac
  done
}

# The web page's browser test's npm packages, puppeteer-core (the driver of
# Chromium and Firefox) and axe-core, as tests/web/package-lock.json pins
# them, installed again only when the lockfile changed. No browser is
# downloaded: the test drives Debian's. $1: the project's root.
install_browser_driver() {
  local dir=$1/tests/web
  cmp -s "$dir/package-lock.json" "$dir/node_modules/.installed-lock.json" && return 0
  (cd "$dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error &&
   cp package-lock.json node_modules/.installed-lock.json)
}

# Runs a command that drives the browsers named in $1 (as browser_packages
# takes them): WebKit's browser opens a window, so with WebKit among them the
# command runs on a virtual X display of its own (xvfb-run), whatever display
# the developer has. -noreset: by default the X server resets when its last
# client leaves, refusing the connections that arrive meanwhile; a session's
# MiniBrowser that starts as the previous one closes is refused its display
# and ends, and WebKitWebDriver then never answers the session's start.
run_with_browsers() {
  local engines=$1
  shift
  case ",$engines," in
    *,webkit,*) xvfb-run -a -s '-screen 0 1280x1024x24 -noreset' "$@" ;;
    *) "$@" ;;
  esac
}
