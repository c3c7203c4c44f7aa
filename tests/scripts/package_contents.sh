#!/usr/bin/env bash
# package_contents.sh BUILD_DIR SOURCE_DIR VERSION
# Makes the Debian package from the build folder with cpack (into a temporary
# folder) and checks it: its name, its control fields (the dependencies
# computed from the binaries, naming Qt 6), the files it holds and their
# owner, the binaries stripped, the data files as in the source tree, the
# changelog compressed without name or time, the service unit as systemd
# reads it and its command taking the example options, and the program,
# unpacked into a temporary root, running on the system's libraries.
set -uo pipefail
build="$1" source="$2" version="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! (cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1); then
  cat "$work/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
arch=$(dpkg --print-architecture)
deb="$work/out/zorneta_${version}-1_${arch}.deb"
[ -f "$deb" ] || { ls "$work/out"; echo "FAIL: no $deb"; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
expect_field() { [ "$(field "$1")" = "$2" ] || fail "$1 is '$(field "$1")', not '$2'"; }
expect_field Package zorneta
expect_field Version "${version}-1"
expect_field Architecture "$arch"
expect_field Section electronics
expect_field Priority optional
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Description | head -n1)" = "monitoring terminal for serial furnace thermoregulators" ] ||
  fail "Description: $(field Description | head -n1)"
[ "$(field Description | wc -l)" -gt 5 ] || fail "no long description"
# dpkg-shlibdeps names the libraries' packages with their least versions.
depends=$(field Depends)
echo "Depends: $depends"
for p in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6charts6 libqt6network6; do
  [[ ", $depends" == *", $p (>= "* ]] || fail "Depends lacks $p with its version"
done

dpkg-deb -c "$deb" >"$work/list"
for f in usr/bin/zorneta usr/bin/zorneta-sim usr/share/zorneta/Zorneta.hlp usr/share/zorneta/Price.htm \
  usr/share/applications/zorneta.desktop usr/share/icons/hicolor/scalable/apps/zorneta.svg \
  usr/lib/systemd/system/zorneta-recorder@.service usr/share/doc/zorneta/examples/furnace1.conf \
  usr/share/doc/zorneta/examples/logrotate/zorneta usr/share/doc/zorneta/copyright \
  usr/share/doc/zorneta/changelog.Debian.gz usr/share/doc/zorneta/README.md; do
  grep -qE "^-[rwx-]{9} root/root .* \./$f\$" "$work/list" || fail "the package lacks ./$f (a file of root)"
done
! grep -vE "^[d-][rwx-]{9} root/root " "$work/list" || fail "entries not owned by root or not plain"
grep -qE '^-rwxr-xr-x .* \./usr/bin/zorneta$' "$work/list" || fail "zorneta is not mode 0755"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for b in zorneta zorneta-sim; do
  what=$(file -b "$root/usr/bin/$b")
  grep -q ', stripped' <<<"$what" || fail "$b is not stripped: $what"
done
same() { cmp -s "$root/$1" "$source/$2" || fail "$1 differs from $2"; }
same usr/lib/systemd/system/zorneta-recorder@.service data/systemd/zorneta-recorder@.service
same usr/share/doc/zorneta/examples/furnace1.conf data/systemd/furnace1.conf
same usr/share/doc/zorneta/examples/logrotate/zorneta data/logrotate/zorneta
same usr/share/doc/zorneta/copyright data/debian/copyright
head -n1 "$root/usr/share/doc/zorneta/copyright" |
  grep -qxF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' || fail "copyright is not DEP-5"
changelog="$root/usr/share/doc/zorneta/changelog.Debian.gz"
[ "$(gzip -dc "$changelog" | head -n1)" = "zorneta (${version}-1) bookworm; urgency=medium" ] ||
  fail "changelog starts: $(gzip -dc "$changelog" | head -n1)"
# gzip -9n: no file name flag, no time stamp, best compression mark.
[ "$(od -An -tx1 -j3 -N7 "$changelog" | tr -d ' \n')" = "00000000000203" ] ||
  fail "changelog header: $(od -An -tx1 -N10 "$changelog")"

# The unit as systemd reads it, for an instance, its program the unpacked one:
# no unknown key, no bad value, no warning at all.
unit="$root/usr/lib/systemd/system/zorneta-recorder@.service"
sed "s|/usr/bin/zorneta|$root/usr/bin/zorneta|" "$unit" >"$work/zorneta-recorder@furnace1.service"
out=$(systemd-analyze verify --man=no "$work/zorneta-recorder@furnace1.service" 2>&1) ||
  fail "systemd-analyze verify failed"
[ -z "$out" ] || fail "systemd-analyze verify: $out"
for line in 'EnvironmentFile=/etc/zorneta/%i.conf' \
  'ExecStart=/usr/bin/zorneta --headless --record %S/zorneta/%i/record.txt $ZORNETA_OPTIONS' \
  'KillSignal=SIGTERM' 'Restart=on-failure' 'SupplementaryGroups=dialout' 'StateDirectory=zorneta/%i' \
  'NoNewPrivileges=yes' 'ProtectSystem=strict' 'ProtectHome=yes' 'PrivateTmp=yes' 'DevicePolicy=closed' \
  'DeviceAllow=char-ttyUSB rw'; do
  grep -qxF "$line" "$unit" || fail "the unit lacks $line"
done
! grep -q '^PrivateDevices=yes' "$unit" || fail "the unit hides the serial devices"

# The unit's command with the example options file, as systemd would run it
# (the options split at spaces) with the state folder it makes: every option
# is taken, and the recorder stops only at the example's device, which is
# not there.
mkdir -p "$work/state/zorneta/furnace1"
command=$(sed -n 's/^ExecStart=//p' "$unit")
command=${command//%S/$work/state}
command=${command//%i/furnace1}
command=${command//\/usr\/bin\/zorneta/$root/usr/bin/zorneta}
out=$(. "$root/usr/share/doc/zorneta/examples/furnace1.conf" &&
  eval "set -- $command" && env -u LD_LIBRARY_PATH "$@" 2>&1)
status=$?
device=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3D4-if00-port0
[ $status -eq 1 ] && [ "$out" = "zorneta: Порт не найден: $device" ] ||
  fail "the unit's command with the example options: status $status, $out"

# The unpacked program runs on the system's libraries and finds its help.
out=$(env -u LD_LIBRARY_PATH "$root/usr/bin/zorneta" --version 2>&1)
[ "$out" = "Зорнета ${version}" ] || fail "zorneta --version said: $out"
out=$(env -u LD_LIBRARY_PATH -u ZORNETA_INSTALL_DIR "$root/usr/bin/zorneta" --install-info 2>&1)
[ "$out" = "$(printf 'installation: %s/\nhelp: %s/Zorneta.hlp\nprice list: %s/Price.htm' \
  "$root/usr/share/zorneta" "$root/usr/share/zorneta" "$root/usr/share/zorneta")" ] ||
  fail "zorneta --install-info said: $out"
env -u LD_LIBRARY_PATH "$root/usr/bin/zorneta-sim" --help >/dev/null 2>&1 || fail "zorneta-sim --help failed"

[ $failures -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "package checked: $(basename "$deb")"
