#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks the desktop search's files there:
# the D-Bus activation file starts the installed service, GNOME Shell's provider file and
# KRunner's plugin file name the same bus name and object path, and the provider file
# names the installed menu entry. Then a session bus of its own, whose services are the
# installed ones, starts the service by name and asks it (ask-search-service.sh).
#
#   check-search-install.sh <build dir> <application id>
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 <build dir> <application id>" >&2; exit 2; }
build_dir=$1
app_id=$2
here=$(dirname "$(realpath "$0")")
prefix=$(mktemp -d /tmp/velkaro-search.XXXXXX)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
value() { sed -n "s/^$2=//p" "$1"; }

ini=$prefix/share/gnome-shell/search-providers/$app_id.search-provider.ini
runner=$prefix/share/krunner/dbusplugins/$app_id.desktop
for file in "$ini" "$runner"; do
    [ -f "$file" ] || { echo "FAIL: missing $file"; exit 1; }
done
bus=$(value "$ini" BusName)
path=$(value "$ini" ObjectPath)
service=$prefix/share/dbus-1/services/$bus.service
[ -f "$service" ] || { echo "FAIL: no D-Bus activation file for $bus at $service"; exit 1; }

[ "$(sed -n 1p "$ini")" = "[Shell Search Provider]" ] || fail "$ini: not a search provider file"
[ "$(value "$ini" Version)" = 2 ] || fail "$ini: Version is not 2"
desktop_id=$(value "$ini" DesktopId)
[ -f "$prefix/share/applications/$desktop_id" ] || fail "$ini: DesktopId $desktop_id is not installed"
[ "$(value "$service" Name)" = "$bus" ] || fail "$service: Name is not $bus"
[ "$(value "$service" Exec)" = "$prefix/bin/velkaro-arama-search" ] \
    || fail "$service: Exec=$(value "$service" Exec), expected $prefix/bin/velkaro-arama-search"
[ "$(value "$runner" X-Plasma-API)" = DBus ] || fail "$runner: X-Plasma-API is not DBus"
[ "$(value "$runner" X-Plasma-DBusRunner-Service)" = "$bus" ] || fail "$runner names another service"
[ "$(value "$runner" X-Plasma-DBusRunner-Path)" = "$path" ] || fail "$runner names another path"
[ "$(value "$runner" X-Plasma-Runner-Min-Letter-Count)" = 3 ] \
    || fail "$runner: KRunner would ask after every letter"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$runner" || fail "$runner is not a valid desktop file"
fi

config=$prefix/session.conf
cat >"$config" <<CONFIG
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <servicedir>$prefix/share/dbus-1/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONFIG
# No list of the user's own (an empty data home): the installed list.
XDG_DATA_HOME=$prefix/empty-data-home \
    dbus-run-session --config-file="$config" -- "$here/ask-search-service.sh" "$ini" \
    || fail "the installed service did not answer as expected"
# The user's own list, by the program's rule: the service reads it instead.
mkdir -p "$prefix/data-home/velkaro-arama/AnaData"
cp "$here/../fixtures/fixture.mdb" "$prefix/data-home/velkaro-arama/AnaData/Velkaro.mdb"
own=$(XDG_DATA_HOME=$prefix/data-home dbus-run-session --config-file="$config" -- \
    gdbus call --session --timeout 30 --dest "$bus" --object-path "$path" \
    --method org.gnome.Shell.SearchProvider2.GetInitialResultSet "['kazan']" 2>/dev/null || true)
[ "$own" = "(['2', '6'],)" ] || fail "the user's own list was not read: $own"

[ "$failures" -eq 0 ] || { echo "$failures search install check(s) failed"; exit 1; }
echo "the desktop search's installed files are sound and the service starts from them"
