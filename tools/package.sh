#!/usr/bin/env bash
# Builds the one file a Windows user downloads: build/tesselplay-<version>.zip, holding
# the program folder as the player expects it around itself, plus readme.txt and LICENSE.
#
#   tools/package.sh
#       release build (preset "release", in build/release: Release, only the two
#       programs), then the zip in build/
#   tools/package.sh --dist FOLDER [--into FOLDER]
#       package the assembled program folder of another build instead, and write the
#       zip into the --into folder (default build/). The tests use this with the windows
#       build's folder: its programs are linked stripped just like the release's, and
#       building the release a second time would double the test run's compile time.
#
# What goes in:
#   tesselplay.exe, exec\listwright.exe, parts\<skin>\   from the build's program folder
#   Setting\init.ini, exec\m3usetting\ext.ini            the first-run files, from the
#       sources the build copies them from: the copies in a build folder are rewritten by
#       every run of the programs started from there
#   fav\                                                 empty: every file in it would
#       show up as one of the user's favourite lists
#   readme.txt (from docs/readme.txt), LICENSE           code page 932 / CR LF
# Skin folders whose names start with "~" are work and test folders (the player does not
# offer them) and stay out, as does anything else a run left in the build's folder.
#
# The zip holds a single top folder named like the zip itself. Explorer's "Extract All"
# then makes <zip name>\<zip name>\, which is harmless; without a top folder every other
# way of unpacking ("extract here" in an archiver, dragging everything out of the opened
# zip into Downloads or onto the desktop) would scatter Setting, parts, fav and exec among
# the user's own files, and the player treats the folder it sits in as its own. One folder
# also keeps a newer version from being unpacked over the settings of an older one.
set -euo pipefail

dist=""
into=""
# (Folders given are taken from where the script was called, before it moves to the
# repository.)
while [ $# -gt 0 ]; do
  case "$1" in
    --dist) dist=$(realpath -m "${2:?--dist needs a folder}"); shift 2 ;;
    --into) into=$(realpath -m "${2:?--into needs a folder}"); shift 2 ;;
    *) echo "usage: tools/package.sh [--dist FOLDER] [--into FOLDER]" >&2; exit 2 ;;
  esac
done
cd "$(dirname "$0")/.."
into=${into:-$PWD/build}

die() { echo "package: $*" >&2; exit 1; }

# The programs call themselves "Ver 0.0.0.5 β"; file names spell the β as b.
version=$(sed -n 's/^project(TesselPlayer VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || die "no project version in CMakeLists.txt"
name=tesselplay-${version}b

if [ -z "$dist" ]; then
  bash tools/setup.sh
  cmake --preset release >/dev/null
  cmake --build --preset release
  dist=build/release/dist
fi
for tool in zip iconv; do
  command -v "$tool" >/dev/null || die "$tool is missing (tools/setup.sh installs it)"
done
for f in tesselplay.exe exec/listwright.exe; do
  [ -f "$dist/$f" ] || die "$dist/$f is missing: is the build complete?"
done

mkdir -p "$into"
zip=$into/$name.zip
# A failed run must not leave an older zip that looks like its result.
rm -f "$zip" "$zip.tmp"

stage=$(mktemp -d "$into/.package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
top=$stage/$name
mkdir -p "$top/Setting" "$top/parts" "$top/fav" "$top/exec/m3usetting"

cp "$dist/tesselplay.exe" "$top/"
cp "$dist/exec/listwright.exe" "$top/exec/"
cp player/startup/init.ini "$top/Setting/init.ini"
cp editor/ext.ini "$top/exec/m3usetting/ext.ini"

for skin in "$dist"/parts/*/; do
  skin=${skin%/}
  [ -d "$skin" ] || continue
  case "$(basename "$skin")" in '~'*) continue ;; esac
  mkdir "$top/parts/$(basename "$skin")"
  # A skin is the files of its folder; nothing below it is read.
  find "$skin" -maxdepth 1 -type f -exec cp {} "$top/parts/$(basename "$skin")/" \;
done
# The skin the first-run settings name (line 1) must be there, or the player cannot start.
first_skin=$(head -n 1 player/startup/init.ini | tr -d '\r')
[ -f "$top/parts/$first_skin/define.ini" ] || die "the default skin $first_skin is not in $dist/parts"

# Text for the Windows user: CR LF line ends, Japanese in code page 932 (what Notepad and
# every Japanese Windows editor read without asking). A character code page 932 cannot
# hold stops the packaging here instead of becoming a "?" in the readme.
windows_text() {
  awk '{ sub(/\r$/, ""); printf "%s\r\n", $0 }' "$1" | iconv -f UTF-8 -t CP932 > "$2"
}
windows_text docs/readme.txt "$top/readme.txt"
windows_text LICENSE "$top/LICENSE"

# -r stores the folders as entries of their own, so the empty fav\ survives unpacking;
# -X leaves out the Unix owner and extra time fields that Windows has no use for.
(cd "$stage" && zip -q -r -X -9 "$zip.tmp" "$name")
mv -f "$zip.tmp" "$zip"

echo "package: $zip ($(stat -c %s "$zip") bytes)"
