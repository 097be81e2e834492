# Sourced by the end-to-end scripts that read kestrel's pictures back: a
# failure count that the script's exit status comes from, and the text two
# independent decoders read from a picture.
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

zbar_text() { zbarimg --raw -q "$1" 2>/dev/null | head -n 1 || true; }
# ZXingReader prints nothing useful on failure and still exits 0.
zxing_text() { ZXingReader -1 "$1" 2>/dev/null | sed -n 's/^[^"]*"\(.*\)"$/\1/p' | head -n 1; }
