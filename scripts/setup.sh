#!/usr/bin/env bash
# Installs everything the build, the demo and the tests need on a fresh Debian 12
# machine. Safe to run again: it installs only what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

APT_PACKAGES=(
  # build
  cmake ninja-build g++ pkg-config git
  googletest libgtest-dev
  qt6-base-dev qt6-multimedia-dev libqt6multimediawidgets6 qt6-qpa-plugins
  libcli11-dev libmicrohttpd-dev libcpp-httplib-dev
  # the media probe and the index-first remux
  libavformat-dev libavcodec-dev libavutil-dev
  # quillmark check --json
  nlohmann-json3-dev
  # preview playback and the demo clip
  ffmpeg gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-libav
  # fonts: Liberation Serif is metric-compatible with Times New Roman
  fonts-liberation fonts-dejavu-core
  # art generator and its checks
  python3 python3-pil gifsicle
  # a real display for screenshots, and the browser for the player tests
  xvfb xauth chromium
  # the player tests in the other browser engines (Gecko through WebDriver BiDi,
  # WebKitGTK through its W3C WebDriver)
  firefox-esr webkit2gtk-driver
  # the web build
  nodejs
  # the publisher benchmarks (peak memory through GNU time)
  time
  # the Debian package and its desktop integration, built and checked by the tests
  dpkg-dev file desktop-file-utils appstream shared-mime-info xdg-utils libglib2.0-bin
  groff-base man-db
  # the user guide's check reads the PDF's pages, text and pictures
  poppler-utils
  # the checks that saves and publishing flush and write each file once
  strace
)

missing=()
for p in "${APT_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [[ $(id -u) -eq 0 ]] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

command -v npm >/dev/null || { echo "npm is missing (it comes with nodejs)" >&2; exit 1; }
# The browser drivers drive Debian's browsers; none may fetch a browser of its own.
export PUPPETEER_SKIP_DOWNLOAD=1 PUPPETEER_SKIP_CHROME_DOWNLOAD=1 PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1
if [[ -f package-lock.json ]]; then
  # Reinstall only when the lock file changed since the last install.
  stamp=node_modules/.package-lock.json
  if [[ ! -f $stamp || package-lock.json -nt $stamp ]]; then
    npm ci --no-audit --no-fund --loglevel=error
  fi
fi
