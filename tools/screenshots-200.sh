#!/usr/bin/env bash
# The README's pictures at 200 % display scale: both skins playing, the control panel
# and the editor, under Wine in the 192-DPI prefix (tools/wine-run.sh, TESSEL_WINE_DPI)
# on a virtual screen of their own, so nothing else shows on them.
#
#   tools/screenshots-200.sh [OUTDIR]      default: docs/
#
# Writes hidpi-skins.png, hidpi-panel.png and hidpi-editor.png. Needs a built windows
# preset (TESSEL_BUILD_DIR picks another build folder of it).
set -euo pipefail
cd "$(dirname "$0")/.."

mkdir -p "${1:-docs}"
out=$(realpath "${1:-docs}")
build=${TESSEL_BUILD_DIR:-build/windows}
media=$build/demo-media
bash tools/make-media.sh "$media"

export TESSEL_WINE_DPI=192
export TESSEL_XVFB_DISPLAY=${TESSEL_SHOT_DISPLAY:-79}
unset DISPLAY
display=$(tools/wine-run.sh --display)
x() { DISPLAY=$display "$@"; }

# A folder of its own with a short name: its paths show in the pictures.
work=/tmp/tesselplay-200
rm -rf "$work"
mkdir -p "$work/media"
trap 'tools/wine-run.sh taskkill /im tesselplay.exe >/dev/null 2>&1 || true;
      tools/wine-run.sh taskkill /im listwright.exe >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
cp -r "$build/dist" "$work/app"
rm -rf "$work/app/parts/"~*
cp "$media"/* "$work/media/"
media=$work/media

winpath() { printf 'Z:%s' "$(realpath "$1" | sed 's#/#\\#g')"; }
list=$work/demo.m3u
for f in silence_185.mp3 "テスト 曲 その1.mp3" tone_440.mp3 chord_c.mp3 tone_660.wav chord_f.wav clip.mp4; do
  printf '%s\r\n' "$(winpath "$media/$f")"
done | iconv -f UTF-8 -t CP932 > "$list"

# The first window of this title, once it shows (its X window id).
wait_window() {
  local id=
  for _ in $(seq 1 100); do
    id=$(x xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "screenshots: no window \"$1\"" >&2; exit 1; }
  echo "$id"
}
# X Y W H of a window on the screen.
geometry() {
  x xdotool getwindowgeometry --shell "$1" | awk -F= '$1=="X"{x=$2} $1=="Y"{y=$2} $1=="WIDTH"{w=$2} $1=="HEIGHT"{h=$2} END{print x, y, w, h}'
}

# One skin playing the demo list (its first entry, a long silence), its two windows cut
# out of the screen with a margin.
shoot_skin() {
  local skin=$1 shot=$2
  printf '%s\r\n300\r\n200\r\n0\r\n0\r\n0\r\n0\r\n255\r\n255\r\n%s\r\n-1\r\n0\r\n0\r\n0\r\n' \
    "$skin" "$(winpath "$list")" | iconv -f UTF-8 -t CP932 > "$work/app/Setting/init.ini"
  TESSEL_TIMEOUT=120 tools/wine-run.sh "$work/app/tesselplay.exe" /play >/dev/null 2>&1 &
  local skinWindow body
  skinWindow=$(wait_window SkinForm)
  body=$(wait_window PlayerForm)
  sleep 3  # a few seconds played, and the title marquee moving
  read -r sx sy sw sh < <(geometry "$skinWindow")
  read -r bx by bw bh < <(geometry "$body")
  local left=$(( (sx < bx ? sx : bx) - 16 )) top=$(( (sy < by ? sy : by) - 16 ))
  local right=$(( (sx + sw > bx + bw ? sx + sw : bx + bw) + 16 )) bottom=$(( (sy + sh > by + bh ? sy + sh : by + bh) + 16 ))
  x import -window root "$work/root.png"
  convert "$work/root.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$shot"
}

shoot_skin Ember "$work/ember.png"
tools/wine-run.sh taskkill /im tesselplay.exe >/dev/null 2>&1
sleep 2
shoot_skin Azure "$work/azure.png"
convert "$work/azure.png" "$work/ember.png" -background black -gravity center +append "$out/hidpi-skins.png"

# The control panel: a double click on the skin window shows it.
read -r sx sy sw sh < <(geometry "$(wait_window SkinForm)")
x xdotool mousemove $((sx + sw / 2)) $((sy + sh / 3)) click --repeat 2 --delay 80 1
panel=$(wait_window '設定 - TesselPlayer')
sleep 1
x import -window "$panel" "$out/hidpi-panel.png"
tools/wine-run.sh taskkill /im tesselplay.exe >/dev/null 2>&1

# The editor with the demo list opened through its menu (ファイル > 開く).
TESSEL_TIMEOUT=120 tools/wine-run.sh "$work/app/exec/listwright.exe" >/dev/null 2>&1 &
editor=$(wait_window Quillow)
x xdotool windowfocus "$editor"
x xdotool key F10 Return Down Return
wait_window 'リストファイルを開く' >/dev/null
sleep 0.5
x xdotool type --delay 20 "$(winpath "$list")"
x xdotool key Return
sleep 2
x import -window "$editor" "$out/hidpi-editor.png"
echo "screenshots: $out/hidpi-skins.png $out/hidpi-panel.png $out/hidpi-editor.png"
