#!/bin/sh
# zanbel --dialog CODE end to end on a display: the dialog opens with the
# kind's title, keys reach it, and the settings come out as the dialog left
# them. Run under a display (xvfb-run); needs xdotool.
#
#   dialog_test.sh ZANBEL
set -u
zanbel=$1
out=$(mktemp)
trap 'rm -f "$out"' EXIT
export ZANBEL_INI="${out}.ini"
failures=0

# try CODE TITLE KEYS... EXPECTED-LINE...: opens the dialog, types the keys
# (xdotool key names), and looks for each expected line in what it prints.
try() {
  code=$1 title=$2 keys=$3
  shift 3
  "$zanbel" --dialog "$code" > "$out" 2>&1 &
  pid=$!
  window=$(xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
  if [ -z "$window" ]; then
    echo "FEJL: $code: intet vindue med titlen \"$title\""
    kill "$pid" 2>/dev/null
    failures=$((failures + 1))
    return
  fi
  sleep 0.5
  xdotool windowfocus --sync "$window"
  for k in $keys; do
    xdotool key "$k"
    sleep 0.2
  done
  waited=0
  while kill -0 "$pid" 2>/dev/null && [ $waited -lt 50 ]; do sleep 0.1; waited=$((waited + 1)); done
  if kill -0 "$pid" 2>/dev/null; then
    echo "FEJL: $code: dialogen lukkede ikke"
    kill "$pid"
    failures=$((failures + 1))
    return
  fi
  for line in "$@"; do
    if ! grep -qxF -- "$line" "$out"; then
      echo "FEJL: $code: mangler \"$line\" i:"
      cat "$out"
      failures=$((failures + 1))
    fi
  done
}

# Enter is OK: the defaults come out.
try ArVo "Areal/rumfang" "Return" "resultat OK" "gadget ArVo" "  choice 0 3"
# Escape is Annuller, whatever was changed before it.
try Comp "Sammenligner" "Down Escape" "resultat Annuller" "  choice 0 2"
# The field has the focus: typing replaces its text, a letter is refused.
try cnst "Trecifret tal" "4 2 x 7 Return" "resultat OK" '  text 0 "427"'
try MiCo "Konstant" "1 2 3 4 Return" "resultat OK" '  text 0 "123"'
# A kind without a dialog of its own yet says so in Danish.
"$zanbel" --dialog Zzzz > "$out" 2>&1
grep -q "der findes ingen del" "$out" || { echo "FEJL: ukendt kode"; cat "$out"; failures=$((failures + 1)); }

exit $failures
