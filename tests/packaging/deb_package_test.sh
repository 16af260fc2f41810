#!/usr/bin/env bash
# The .deb made by `cpack -G DEB` in a build: what it holds, what it depends on, and that it
# installs with dpkg into a scratch root, where the packaged vesk-cli --version runs from the
# PATH and the systemd unit names it.
#   deb_package_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
deb="$(ls "$work"/out/vesk-monitor_*.deb)"
echo "package: $(basename "$deb")"

contents="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for file in ./usr/bin/vesk-monitor ./usr/bin/vesk-cli ./usr/bin/vesk-board-sim \
  ./usr/share/applications/vesk-monitor.desktop \
  ./usr/share/icons/hicolor/scalable/apps/vesk-monitor.svg \
  ./usr/lib/systemd/system/vesk-serve.service \
  ./usr/share/doc/vesk-monitor/README.md ./usr/share/doc/vesk-monitor/README-cli.md \
  ./usr/share/doc/vesk-monitor/README-integrations.md; do
  grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
if grep -q "test_\|bench_\|/include/" <<<"$contents"; then
  fail "the package holds tests, benchmarks or headers"
fi

depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for package in libqt6widgets6 libqt6core6 libmosquitto1 libcurl4 qt6-qpa-plugins; do
  grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package"
done

# dpkg into a root of its own: its database made empty, the libraries taken from this machine.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends --force-not-root --force-script-chrootless \
  --log=/dev/null -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i"; }
dpkg --root="$root" -s vesk-monitor | grep -qx "Status: install ok installed" ||
  fail "dpkg does not list vesk-monitor as installed"

version="$(PATH="$root/usr/bin:$PATH" vesk-cli --version)"
echo "$version"
grep -Eqx "vesk-cli [0-9]+\.[0-9]+(\.[0-9]+)? \(commit [0-9a-f]+(-dirty)?\)|vesk-cli [0-9.]+ \(commit unknown\)" \
  <<<"$version" || fail "vesk-cli --version printed \"$version\""
grep -qx "ExecStart=/usr/bin/vesk-cli serve --folder /var/lib/vesk" \
  "$root/usr/lib/systemd/system/vesk-serve.service" || fail "the unit does not start /usr/bin/vesk-cli"
grep -qx "Exec=vesk-monitor" "$root/usr/share/applications/vesk-monitor.desktop" ||
  fail "the desktop entry does not start vesk-monitor"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/vesk-monitor.desktop"
fi
