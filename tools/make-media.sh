#!/usr/bin/env bash
# Generates the small test and demo media into OUTDIR with ffmpeg:
#   tone_440.mp3, chord_c.mp3     3.5 s tones (mp3)
#   tone_660.wav, chord_f.wav     3.5 s tones (PCM wav)
#   tone_880.m4a                  3.5 s tone (AAC in MP4)
#   chord_g.flac                  3.5 s chord (FLAC)
#   blip.mp3                      a 0.3 s tone
#   silence_185.mp3               185.9 s of silence at a low bit rate (about 190 KB)
#   clip.mp4                      4 s test picture 320x240, H.264 video with AAC sound
#   clip.avi                      4 s test picture 320x240, MPEG-4 video with mp3 sound
#   clip.mkv                      4 s test picture 320x240, H.264 video with AAC sound (Matroska)
#   colours.mp4                   4 s of six fixed colour bars 320x240 (H.264), for pixel checks
#   "テスト 曲 その1.mp3"          a 3.5 s chord under a Japanese name with spaces
#   "Café 한국어 🎵.mp3"           a 3.5 s chord under a name code page 932 cannot hold
#                                 (only a UTF-8 list, .m3u8, can name it)
#   broken.mp3                    garbage bytes under an audio name (unplayable)
#   noise.mp4                     random bytes under a video name (unplayable)
# Existing files are kept, so a second run costs nothing; each file is written under a
# temporary name first, so an interrupted run never leaves half a file behind.
#
#   make-media.sh OUTDIR
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: make-media.sh OUTDIR" >&2
  exit 2
fi
out=$1
mkdir -p "$out"

if ! command -v ffmpeg >/dev/null 2>&1; then
  echo "make-media.sh: ffmpeg is not installed" >&2
  exit 1
fi

# render NAME ffmpeg-arguments...: runs ffmpeg into a temporary file beside NAME unless
# NAME exists. The temporary name keeps the extension, which tells ffmpeg the format.
render() {
  local name=$1
  shift
  local target="$out/$name"
  [ -s "$target" ] && return 0
  local tmp="$out/.partial-$$-$name"
  if ! ffmpeg -nostdin -hide_banner -loglevel error -y "$@" "$tmp"; then
    rm -f "$tmp"
    echo "make-media.sh: ffmpeg failed for $name" >&2
    return 1
  fi
  mv -f "$tmp" "$target"
}

# Runs in the background; finish waits for every job started so far and fails when
# any of them failed (a bare "wait" would forget their exit status).
jobs_started=()
start() { "$@" & jobs_started+=($!); }
finish() {
  local failed=0 pid
  for pid in "${jobs_started[@]}"; do wait "$pid" || failed=1; done
  jobs_started=()
  return $failed
}

tone() { echo "sine=frequency=$1:sample_rate=44100:duration=3.5"; }
chord() {  # three sines mixed, quieter so the sum does not clip
  echo "sine=f=$1:r=44100:d=3.5[a];sine=f=$2:r=44100:d=3.5[b];sine=f=$3:r=44100:d=3.5[c];[a][b][c]amix=inputs=3,volume=0.8"
}

start render tone_440.mp3 -f lavfi -i "$(tone 440)" -c:a libmp3lame -b:a 64k
start render chord_c.mp3 -filter_complex "$(chord 261.63 329.63 392.00)" -c:a libmp3lame -b:a 64k
start render tone_660.wav -f lavfi -i "$(tone 660)" -c:a pcm_s16le
start render chord_f.wav -filter_complex "$(chord 349.23 440.00 523.25)" -c:a pcm_s16le
start render tone_880.m4a -f lavfi -i "$(tone 880)" -c:a aac -b:a 64k -movflags +faststart
start render chord_g.flac -filter_complex "$(chord 392.00 493.88 587.33)" -c:a flac
start render blip.mp3 -f lavfi -i "sine=frequency=1000:sample_rate=44100:duration=0.3" -c:a libmp3lame -b:a 64k
finish

# 8 kHz mono at 8 kbit/s constant rate: about 186 KB. At 8 kHz an mp3 frame lasts
# 72 ms, and players that count frames also count the encoder's delay and the info
# frame, so 185.75 s of input make 2582 frames, which read as 185.904 s.
start render silence_185.mp3 -f lavfi -i "anullsrc=r=8000:cl=mono" -t 185.75 \
  -c:a libmp3lame -b:a 8k
start render "テスト 曲 その1.mp3" -filter_complex "$(chord 293.66 369.99 440.00)" \
  -c:a libmp3lame -b:a 64k
start render "Café 한국어 🎵.mp3" -filter_complex "$(chord 329.63 415.30 493.88)" \
  -c:a libmp3lame -b:a 64k
finish

# Moving pictures (a test pattern with a running counter) so a screenshot shows
# that the video plays; a tone so the clip has an audio stream too.
start render clip.mp4 -f lavfi -i "testsrc=size=320x240:rate=25:duration=4" \
  -f lavfi -i "sine=frequency=550:sample_rate=44100:duration=4" \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 64k -shortest \
  -movflags +faststart
start render clip.avi -f lavfi -i "testsrc=size=320x240:rate=25:duration=4" \
  -f lavfi -i "sine=frequency=770:sample_rate=44100:duration=4" \
  -c:v mpeg4 -q:v 5 -c:a libmp3lame -b:a 64k -shortest
finish
start render clip.mkv -f lavfi -i "testsrc=size=320x240:rate=25:duration=4" \
  -f lavfi -i "sine=frequency=330:sample_rate=44100:duration=4" \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 64k -shortest
# Six flat bars (red, green, blue, yellow, white, black from left to right) whose
# colours survive compression, so a test can look for them in the video window.
# Widths are even (the encoder's 4:2:0 colour needs it) and add up to 320.
start render colours.mp4 -f lavfi -i "color=c=red:s=54x240:r=25:d=4" \
  -f lavfi -i "color=c=lime:s=54x240:r=25:d=4" -f lavfi -i "color=c=blue:s=52x240:r=25:d=4" \
  -f lavfi -i "color=c=yellow:s=52x240:r=25:d=4" -f lavfi -i "color=c=white:s=54x240:r=25:d=4" \
  -f lavfi -i "color=c=black:s=54x240:r=25:d=4" \
  -filter_complex "[0][1][2][3][4][5]hstack=inputs=6,format=yuv420p" \
  -c:v libx264 -preset ultrafast -tune stillimage -movflags +faststart
finish

if [ ! -s "$out/broken.mp3" ]; then
  # Text, not audio: no decoder finds a frame in it.
  tmp="$out/.partial-$$-broken.mp3"
  for i in $(seq 1 200); do echo "this is not a media file, line $i"; done > "$tmp"
  mv -f "$tmp" "$out/broken.mp3"
fi
if [ ! -s "$out/noise.mp4" ]; then
  tmp="$out/.partial-$$-noise.mp4"
  head -c 65536 /dev/urandom > "$tmp"
  mv -f "$tmp" "$out/noise.mp4"
fi
