#!/usr/bin/env bash
# Set-up of the download tests: packs a copy of a build's program folder with
# tools/package.sh, then unpacks the zip into a fresh folder.
#
#   make_zip.sh SOURCE_DIR DIST OUT ZIP_NAME
#
# The copy is first left the way using a build folder leaves it: run-player.sh points
# init.ini at its demo list, the editor rewrites its patterns at exit, a skin author
# keeps a "~" work folder beside the skins, there is a favourite list, a half-written
# settings file and a debug file. None of it may reach the zip (check_zip.sh).
set -euo pipefail

src=$1
dist=$2
out=${3:?}
zip_name=$4

rm -rf "$out"
mkdir -p "$out"
used=$out/dist
cp -r "$dist" "$used"

printf 'Ember\r\n37\r\n41\r\n0\r\n0\r\n1\r\n1\r\n200\r\n255\r\nZ:\\demo\\demo.m3u\r\n3\r\n0\r\n0\r\n0\r\n' \
  > "$used/Setting/init.ini"
cp "$used/Setting/init.ini" "$used/Setting/init.ini.tmp"
printf '*.xyz\r\n' > "$used/exec/m3usetting/ext.ini"
mkdir -p "$used/parts/~work"
cp "$used/parts/Azure/"* "$used/parts/~work/"
mkdir -p "$used/fav"
printf 'Z:\\demo\\a.mp3\r\n' > "$used/fav/mine.m3u"
printf 'not a program\n' > "$used/tesselplay.exe.debug"

bash "$src/tools/package.sh" --dist "$used" --into "$out"

mkdir "$out/unpacked"
unzip -q "$out/$zip_name" -d "$out/unpacked"
