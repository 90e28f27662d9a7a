#!/usr/bin/env bash
# What a screen reader hears of the main window: the program runs on a virtual display under a private session
# bus with accessibility on, and every button, tick box, table and tree it shows through AT-SPI must have a name.
# Usage: atspi_names_test.sh <karvo-media program>
set -euo pipefail
program=$1
# The distribution's Python, where python3-pyatspi lives (a user's own Python may come first on PATH).
python=/usr/bin/python3
[ -x "$python" ] || python=python3
for tool in xvfb-run dbus-run-session "$python"; do
  command -v "$tool" > /dev/null || { echo "skipped: $tool missing"; exit 77; }
done
"$python" -c 'import pyatspi' 2> /dev/null || { echo "skipped: python3-pyatspi missing"; exit 77; }
export KARVO_PYTHON=$python
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/data/karvo-media"
printf '[Settings]\r\nWinAMP=/bin/true\r\nSelectedPlayer=0\r\n' > "$home/data/karvo-media/karvo.ini"
export QT_QPA_PLATFORM=xcb HOME=$home XDG_DATA_HOME=$home/data QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
exec xvfb-run -a -s '-screen 0 1280x900x24' dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately > /dev/null 2>&1 &
  sleep 1
  "$0" > /dev/null 2>&1 &
  pid=$!
  "$KARVO_PYTHON" - "$pid" <<"PY"
import sys, time
import pyatspi

def find_app():
    for _ in range(120):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name and "karvo" in app.name.lower():
                return app
        time.sleep(0.5)
    return None

app = find_app()
if app is None:
    print("the program did not appear on the accessibility bus")
    sys.exit(1)
time.sleep(2)
wanted = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE,
          pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TEXT, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST}
missing = 0
def walk(node, depth):
    global missing
    if node is None or depth > 30:
        return
    try:
        role = node.getRole()
        states = node.getState()
    except Exception:
        return
    if role in wanted and states.contains(pyatspi.STATE_SHOWING):
        name = node.name
        extra = ""
        if role == pyatspi.ROLE_CHECK_BOX:
            extra = " (checked)" if states.contains(pyatspi.STATE_CHECKED) else " (not checked)"
        if role == pyatspi.ROLE_TABLE:
            try:
                table = node.queryTable()
                extra = " columns: " + ", ".join(table.getColumnDescription(c) or "?" for c in range(table.nColumns))
            except Exception:
                pass
        print(f"{node.getRoleName():12} {name!r}{extra}")
        if not name:
            missing += 1
    for child in node:
        walk(child, depth + 1)
for window in app:
    walk(window, 0)
print(f"unnamed: {missing}")
sys.exit(1 if missing else 0)
PY
  status=$?
  kill "$pid" 2> /dev/null || true
  exit $status
' "$program"
