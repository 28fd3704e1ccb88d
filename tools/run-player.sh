#!/usr/bin/env bash
# Builds the player and starts it under Wine with the default skin, playing a demo list
# of generated media (a few tones, a Japanese-named song, one whose name only a UTF-8
# list can hold, and a short video).
#
#   tools/run-player.sh [SECONDS]
#
# With a display ($DISPLAY answers) the player opens there and the command returns when
# the player is closed. Without one it runs on a virtual screen for SECONDS (default
# 12), a screenshot is written to build/windows/player-screenshot.png, and the player
# is then closed the way a user closes it, so it saves its settings.
# TESSEL_BUILD_DIR picks another build folder of the windows preset.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${TESSEL_BUILD_DIR:-build/windows}
bash tools/setup.sh
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target tesselplay tesselplay_folder tessel_skins

dist=$build/dist
media=$build/demo-media
bash tools/make-media.sh "$media"

winpath() { printf 'Z:%s' "$(realpath "$1" | sed 's#/#\\#g')"; }

# The demo lists: one full Windows path per line, CR LF. demo.m3u is code page 932, as
# lists have always been; demo.m3u8 is UTF-8 and also holds the song whose name code
# page 932 cannot hold. The player plays demo.m3u8.
# MP3, M4A (AAC) and FLAC, then the video, which is on screen at the screenshot.
demo=("テスト 曲 その1.mp3" tone_880.m4a chord_g.flac clip.mp4 chord_c.mp3 tone_660.wav chord_f.wav)
for f in "${demo[@]}"; do printf '%s\r\n' "$(winpath "$media/$f")"; done | iconv -f UTF-8 -t CP932 > "$media/demo.m3u.tmp"
mv -f "$media/demo.m3u.tmp" "$media/demo.m3u"
list=$media/demo.m3u8
for f in "${demo[@]:0:4}" "Café 한국어 🎵.mp3" "${demo[@]:4}"; do printf '%s\r\n' "$(winpath "$media/$f")"; done > "$list.tmp"
mv -f "$list.tmp" "$list"

# Point the settings at the demo list (line 10), keeping the user's other values;
# a settings file that is missing or too short starts again from the first-run one.
settings=$dist/Setting/init.ini
if [ ! -f "$settings" ] || [ "$(wc -l < "$settings")" -lt 13 ]; then
  mkdir -p "$dist/Setting"
  cp -f player/startup/init.ini "$settings"
fi
listpath=$(winpath "$list" | iconv -f UTF-8 -t CP932)
# (Through the environment: awk would read the backslashes of -v values as escapes.)
DEMO_LIST=$listpath LC_ALL=C awk 'BEGIN { ORS = "" } NR == 10 { print ENVIRON["DEMO_LIST"] "\r\n"; next } { print $0 "\n" }' \
  "$settings" > "$settings.tmp"
mv -f "$settings.tmp" "$settings"

display_answers() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

if display_answers; then
  echo "run-player: starting tesselplay on $DISPLAY"
  TESSEL_REAL_AUDIO=1 TESSEL_TIMEOUT=2147483647 exec tools/wine-run.sh "$dist/tesselplay.exe" /play
fi

seconds=${1:-16}
shot=$build/player-screenshot.png
display=$(tools/wine-run.sh --display)
echo "run-player: no display; running on the virtual screen $display for $seconds s"
TESSEL_TIMEOUT=$((seconds + 60)) tools/wine-run.sh "$dist/tesselplay.exe" /play &
player=$!
sleep "$seconds"
DISPLAY=$display import -window root "$shot"
echo "run-player: screenshot in $shot"
# A close request to the player's windows: it stops, saves its settings and ends.
eval "$(tools/wine-run.sh --env)"
"$(command -v wine64 || command -v wine)" taskkill /im tesselplay.exe >/dev/null 2>&1 || true
wait "$player" || true
