#!/bin/sh
# Folder trees whose links lead round in a circle, made from the Linux side for the
# drop walks under Wine (which shows a Unix link to a folder as a directory reparse
# point). Each shape is a folder of its own under OUTDIR; the file names say which
# folder a file really lives in.
#
#   self/        a.mp3, sub/b.mp3, sub/self -> sub
#   parent/      a.mp3, mid/m.mp3, mid/sub/b.mp3, mid/sub/up -> mid
#   dropped/     a.mp3, mid/sub/b.mp3, mid/sub/home -> dropped
#   mutual/      x/x.mp3, y/y.mp3, x/toy -> y, y/tox -> x
#   chain/start  s.mp3, next -> hop1 (h1.mp3), hop1/next -> hop2 (h2.mp3),
#                hop2/next -> hop3 (h3.mp3), hop3/back -> hop1; chain/c1 -> c2 -> c3 -> c2
#   away/top     t.mp3, out -> away/elsewhere/place (p.mp3), place/back -> away/top
#   levels/      on each of 12 levels a/ and b/ with a/tob -> b and b/toa -> a, the next
#                level in a/next; deep.mp3 at the bottom
#
#   make-link-loops.sh OUTDIR
set -eu
out=$1
rm -rf "$out"
mkdir -p "$out"
cd "$out"

touchp() { mkdir -p "$(dirname "$1")" && printf x > "$1"; }

touchp self/a.mp3
touchp self/sub/b.mp3
ln -s ../sub self/sub/self

touchp parent/a.mp3
touchp parent/mid/m.mp3
touchp parent/mid/sub/b.mp3
ln -s .. parent/mid/sub/up

touchp dropped/a.mp3
touchp dropped/mid/sub/b.mp3
ln -s ../.. dropped/mid/sub/home

touchp mutual/x/x.mp3
touchp mutual/y/y.mp3
ln -s ../y mutual/x/toy
ln -s ../x mutual/y/tox

touchp chain/start/s.mp3
touchp chain/hop1/h1.mp3
touchp chain/hop2/h2.mp3
touchp chain/hop3/h3.mp3
ln -s ../hop1 chain/start/next
ln -s ../hop2 chain/hop1/next
ln -s ../hop3 chain/hop2/next
ln -s ../hop1 chain/hop3/back
ln -s c2 chain/c1
ln -s c3 chain/c2
ln -s c2 chain/c3

touchp away/top/t.mp3
touchp away/elsewhere/place/p.mp3
ln -s ../elsewhere/place away/top/out
ln -s ../../top away/elsewhere/place/back

level=levels
for _ in 1 2 3 4 5 6 7 8 9 10 11 12; do
  mkdir -p "$level/a" "$level/b"
  ln -s ../b "$level/a/tob"
  ln -s ../a "$level/b/toa"
  level=$level/a/next
done
touchp "$level/deep.mp3"
