#!/usr/bin/env bash
# What the download holds, checked from the zip itself:
#   - exactly the program folder under one top folder named like the zip: nothing
#     missing (the empty fav\ included), nothing more (no "~" work folder, no debug file,
#     nothing a run left in the build folder);
#   - the first-run settings and extension patterns as in the sources;
#   - readme.txt and LICENSE in code page 932 with CR LF, saying what their sources say,
#     and every program text the readme quotes in 「」 spelled as the programs spell it;
#   - programs without debug information or symbols, needing no DLL beside them.
#
#   check_zip.sh ZIP SOURCE_DIR
set -uo pipefail

zip=$1
src=$2
top=$(basename "$zip" .zip)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -f "$zip" ] || { echo "FAIL: $zip was not made"; exit 1; }
unzip -tqq "$zip" || fail "the zip does not test clean"

# ---- the entries ---------------------------------------------------------------------
expected=$({
  for e in "" tesselplay.exe readme.txt LICENSE Setting/ Setting/init.ini fav/ \
           exec/ exec/listwright.exe exec/m3usetting/ exec/m3usetting/ext.ini parts/; do
    echo "$top/$e"
  done
  for skin in Azure Ember; do
    echo "$top/parts/$skin/"
    for f in skin.bmp s_mask.bmp player.bmp p_mask.bmp task.ico define.ini; do
      echo "$top/parts/$skin/$f"
    done
  done
} | sort)
actual=$(unzip -Z1 "$zip" | sort)
if [ "$actual" != "$expected" ]; then
  fail "the zip's entries differ from the program folder (< missing, > not to be shipped):"
  diff <(echo "$expected") <(echo "$actual") | grep '^[<>]'
fi

entry() { unzip -p "$zip" "$top/$1"; }

# ---- the first-run files ---------------------------------------------------------------
cmp -s <(entry Setting/init.ini) "$src/player/startup/init.ini" ||
  fail "Setting/init.ini is not the first-run settings file"
cmp -s <(entry exec/m3usetting/ext.ini) "$src/editor/ext.ini" ||
  fail "exec/m3usetting/ext.ini is not the shipped pattern file"

# ---- texts for the Windows user ------------------------------------------------------
# CR LF after every line, the last one included, and no CR anywhere else.
crlf_only() {
  LC_ALL=C awk 'BEGIN { RS = "\n"; bad = 0 }
                { if (substr($0, length($0)) != "\r" || index(substr($0, 1, length($0) - 1), "\r")) bad = 1 }
                END { exit bad }' "$1" &&
    [ "$(tail -c 2 "$1" | od -An -c | tr -d ' ')" = '\r\n' ]
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for pair in readme.txt:docs/readme.txt LICENSE:LICENSE; do
  shipped=${pair%%:*} source=${pair#*:}
  entry "$shipped" > "$work/$shipped"
  crlf_only "$work/$shipped" || fail "$shipped does not end every line with CR LF (and only there)"
  if ! iconv -f CP932 -t UTF-8 "$work/$shipped" > "$work/$shipped.utf8" 2>/dev/null; then
    fail "$shipped is not valid code page 932"
  elif ! cmp -s <(tr -d '\r' < "$work/$shipped.utf8") "$src/$source"; then
    fail "$shipped read as code page 932 is not the text of $source"
  fi
done

# The keys and menu entries the readme names must be the programs' own texts, or a
# user looks for an entry that is not there.
quoted=$(iconv -f CP932 -t UTF-8 "$work/readme.txt" 2>/dev/null | grep -o '「[^」]*」' | sort -u)
[ -n "$quoted" ] || fail "readme.txt quotes none of the programs' texts"
while IFS= read -r q; do
  [ -n "$q" ] || continue
  text=${q#「}
  text=${text%」}
  grep -rqF --include='*.h' --include='*.cpp' "L\"$text\"" "$src/player" "$src/editor" ||
    fail "readme.txt quotes $q, which neither program shows"
done <<< "$quoted"

# ---- the programs ----------------------------------------------------------------------
objdump=x86_64-w64-mingw32-objdump
strip=x86_64-w64-mingw32-strip
for exe in tesselplay.exe exec/listwright.exe; do
  f=$work/$(basename "$exe")
  entry "$exe" > "$f"
  sections=$($objdump -h "$f" | awk '$1 ~ /^[0-9]+$/ { print $2 }')
  [ -n "$sections" ] || { fail "$exe is not a program objdump can read"; continue; }
  debug=$(echo "$sections" | grep -E '^\.(z?debug|stab)' | tr '\n' ' ')
  [ -z "$debug" ] || fail "$exe carries debug sections: $debug"
  $objdump -t "$f" | grep -q '^no symbols' || fail "$exe carries a symbol table"
  # Nothing left for strip to take away.
  $strip -o "$f.stripped" "$f" && [ "$(stat -c %s "$f")" = "$(stat -c %s "$f.stripped")" ] ||
    fail "$exe gets smaller when stripped"
  # Statically linked: the MinGW runtime DLLs (libstdc++, libgcc, libwinpthread) are
  # not on a user's machine.
  runtime=$($objdump -p "$f" | sed -n 's/^[[:space:]]*DLL Name: //p' | grep -i '^lib' | tr '\n' ' ')
  [ -z "$runtime" ] || fail "$exe needs DLLs that are not shipped: $runtime"
done

if [ $failures -gt 0 ]; then
  echo "$failures check(s) of $zip failed"
  exit 1
fi
echo "$zip: $(unzip -Z1 "$zip" | wc -l) entries, all as expected"
