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

# The web page's browser driver, puppeteer-core, as tests/web/package-lock.json
# pins it, installed again only when the lockfile changed. It drives Debian's
# Chromium and downloads no browser of its own. $1: the project's root.
install_browser_driver() {
  local dir=$1/tests/web
  cmp -s "$dir/package-lock.json" "$dir/node_modules/.installed-lock.json" && return 0
  (cd "$dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error &&
   cp package-lock.json node_modules/.installed-lock.json)
}
