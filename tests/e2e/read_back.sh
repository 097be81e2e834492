# Sourced by the end-to-end scripts that read kestrel's pictures back: a
# failure count that the script's exit status comes from, the text two
# independent decoders read from a picture, and the check of both.
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

zbar_text() { zbarimg --raw -q "$1" 2>/dev/null | head -n 1 || true; }
# ZXingReader prints nothing useful on failure and still exits 0.
zxing_text() { ZXingReader -1 "$1" 2>/dev/null | sed -n 's/^[^"]*"\(.*\)"$/\1/p' | head -n 1; }

# What FILE must read: ZBAR with zbar and ZXING (ZBAR unless given) with ZXing.
expect_reads() {  # what FILE ZBAR[/ZXING]
  local what=$1 file=$2 zbar=${3%%/*} zxing=${3#*/} got
  got=$(zbar_text "$file")
  [[ $got == "$zbar" ]] || fail "$what: zbar read '$got', expected '$zbar'"
  got=$(zxing_text "$file")
  [[ $got == "$zxing" ]] || fail "$what: ZXing read '$got', expected '$zxing'"
}
