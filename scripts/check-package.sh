#!/usr/bin/env bash
# Makes the Debian package from an already built build/, unpacks it into a
# scratch root and starts the installed program there, offscreen, as a user who
# cannot write its folder. A library loaded into the unmodified executable
# (tests/installed/DriveInstalled.cpp) blends three coals and finds the plan in
# the history window. Then checks that the data went to the user's data folder
# and nothing to the program's.
#
# VELMORA_DRIVE_SHOTS=FOLDER keeps pictures of the installed program's windows.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --build build --target velmora velmora-engine velmora_drive
rm -rf build/package
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/package/velmora_*.deb)

# Every package it depends on is one this machine has installed.
dpkg-deb -f "$deb" Depends | tr ',' '\n' | while read -r alternatives; do
  found=""
  for p in $(echo "$alternatives" | sed 's/([^)]*)//g; s/|/ /g'); do
    if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then found=$p; fi
  done
  [ -n "$found" ] || { echo "the package needs '$alternatives', which no package here gives"; exit 1; }
done

scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
dpkg -x "$deb" "$scratch/root"
for f in usr/bin/velmora usr/bin/velmora-engine usr/share/velmora/template/list1.xls \
         usr/share/velmora/help/index.html usr/share/applications/velmora.desktop; do
  [ -e "$scratch/root/$f" ] || { echo "the package lacks /$f"; exit 1; }
done
cp build/tests/libvelmora_drive.so "$scratch/"
mkdir "$scratch/home"
chmod -R a-w "$scratch/root"

# Root writes anywhere: the program runs as nobody when this script runs as root.
as_user=()
user=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$scratch/home"
  as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
  user=nobody
fi
shots=${VELMORA_DRIVE_SHOTS:-}
if [ -n "$shots" ]; then mkdir -p "$shots"; chmod 777 "$shots"; fi
before=$(ls -A "$scratch/root/usr/bin")
"${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$scratch/home" LANG=C.UTF-8 \
  QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" ${DISPLAY:+DISPLAY=$DISPLAY} \
  VELMORA_DRIVE_SHOTS="$shots" LD_PRELOAD="$scratch/libvelmora_drive.so" \
  timeout 180 "$scratch/root/usr/bin/velmora"

data="$scratch/home/.local/share/Velmora配煤软件"
for f in coal.dat bakup; do
  [ -e "$data/$f" ] || { echo "no $f in the user's data folder $data"; exit 1; }
done
[ "$(ls -A "$scratch/root/usr/bin")" = "$before" ] || { echo "the program wrote into its own folder"; exit 1; }
echo "$(basename "$deb"): the installed program ran as $user and kept its data in $data"
