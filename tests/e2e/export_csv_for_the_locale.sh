#!/usr/bin/env bash
# A German user exports a floating-point tape as CSV twice, choosing each form in the save
# dialog's type list: "CSV (comma, point)" and "CSV for this locale". Python reads both back as
# the same numbers, and so does LibreOffice Calc, headless, as a German user's spreadsheet: the
# locale's form with its own import settings, the comma form only when told it is English.
set -euo pipefail
QUILLBOX=$1
export QB_E2E_LOCALE=de_DE.UTF-8
. "$(dirname "$0")/lib.sh"
command -v soffice >/dev/null || fail "soffice is missing: tools/deps installs libreoffice-calc-nogui"
new_user_cleaned
start_working
keys ctrl+f                               # floating point: every decimal as keyed
typed '1234.5+1.235-0.25+'
keys Return                               # the total

# export_as NAME DOWNS: File > Export > CSV..., the type list moved DOWNS entries down from the
# one it offers (the file name box comes first, the type list after it), then the name.
export_as() {
  local id
  keys alt+f e c
  id=$(wait_box 'the Quillbox')
  if [ "$2" -gt 0 ]; then
    keys Tab
    for _ in $(seq "$2"); do keys Down; done
    keys shift+Tab
  fi
  xdotool type --delay 50 "$START/$1"
  keys Return
  wait_gone "$id"
  focus_main
}
export_as comma 0
eventually test -s "$START/comma.csv" || fail "no comma.csv was written"
export_as locale 1
eventually test -s "$START/locale.csv" || fail "no locale.csv was written"

# The numbers of both files, as Python reads each form.
read_back() {
  python3 - "$START/comma.csv" "$START/locale.csv" <<'PY'
import csv, sys
def numbers(path, separator, decimal):
    with open(path, newline='', encoding='utf-8') as f:
        rows = [r[:5] for r in csv.reader(f, delimiter=separator)]  # before the line's kind
    assert rows[0] == ['line', 'text', 'number', 'operation', 'subtotal'], rows[0]
    return [[float(v.replace(decimal, '.')) if v else None for v in (r[2], r[4])] for r in rows[1:]]
comma = numbers(sys.argv[1], ',', '.')
local = numbers(sys.argv[2], ';', ',')
expected = [[0, 0], [1234.5, 1234.5], [1.235, 1235.735], [0.25, 1235.485], [1235.485, 1235.485]]
assert comma == expected, comma
assert local == expected, local
assert b';1,235;' in open(sys.argv[2], 'rb').read()
PY
}
read_back || fail "the CSV files: $(cat "$START/comma.csv" "$START/locale.csv")"

# LibreOffice under the German locale: the locale's form with semicolons and the locale's own
# number reading, the comma form with commas and English numbers. Both give numbers, not text.
spreadsheet() {
  local infilter=$1 file=$2
  LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 timeout 240 soffice -env:UserInstallation="file://$WORK/office" --headless \
    --infilter="$infilter" --convert-to xlsx --outdir "$WORK/xlsx" "$file" >>"$WORK/office.log" 2>&1
}
spreadsheet 'CSV:59,34,76,1' "$START/locale.csv" || fail "LibreOffice: $(cat "$WORK/office.log")"
spreadsheet 'CSV:44,34,76,1,,1033' "$START/comma.csv" || fail "LibreOffice: $(cat "$WORK/office.log")"
python3 - "$WORK/xlsx/locale.xlsx" "$WORK/xlsx/comma.xlsx" <<'PY' || fail "LibreOffice read other numbers"
import sys, zipfile
import xml.etree.ElementTree as ET
main = '{http://schemas.openxmlformats.org/spreadsheetml/2006/main}'
def columns(path):
    sheet = ET.fromstring(zipfile.ZipFile(path).read('xl/worksheets/sheet1.xml'))
    cells = {}
    for c in sheet.iter(main + 'c'):
        v = c.find(main + 'v')
        cells[c.get('r')] = (c.get('t', 'n'), v.text if v is not None else None)
    rows = []
    for r in range(2, 7):
        kinds = [cells[col + str(r)] for col in 'CE']
        assert all(kind == 'n' for kind, _ in kinds), (path, r, kinds)
        rows.append([float(value) for _, value in kinds])
    return rows
expected = [[0, 0], [1234.5, 1234.5], [1.235, 1235.735], [0.25, 1235.485], [1235.485, 1235.485]]
for path in sys.argv[1:]:
    got = columns(path)
    assert got == expected, (path, got)
PY

quit_unsaved
passed 'CSV for the locale' 3
