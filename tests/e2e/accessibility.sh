#!/usr/bin/env bash
# The real pagetap under a virtual X server with Qt's accessibility bridge on, read from outside
# like a screen reader would: every control is found by its role and name, the reader's
# property requests on the application and on a button are answered (GetAll included), and the
# program is still running afterwards.
# Usage: accessibility.sh PAGETAP
set -euo pipefail

# The reader is Debian's own Python, where python3-gi and gir1.2-atspi-2.0 install.
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher
ready=yes
for tool in dbus-run-session Xvfb "$launcher"; do command -v "$tool" > /dev/null || ready=""; done
"$python" -c 'import gi; gi.require_version("Atspi", "2.0")' 2> /dev/null || ready=""
if [ -z "$ready" ]; then
  echo "accessibility: skipped, needs dbus, at-spi2-core, python3-gi, gir1.2-atspi-2.0, xvfb" >&2
  exit 77
fi
# A session bus of our own, so that neither the reader nor the program meets anyone else's.
if [ -z "${PAGETAP_A11Y_SESSION:-}" ]; then
  PAGETAP_A11Y_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

pagetap=$(realpath "$1")
# shellcheck source=tests/e2e/scratch.sh
source "$(dirname "$0")/scratch.sh"

fail() {
  echo "accessibility: $*" >&2
  for log in program launcher xvfb; do
    echo "--- $log log" >&2
    cat "$work/$log.log" >&2 || true
  done
  exit 1
}

# The accessibility bus's socket goes here, out of reach of other sessions.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Xvfb picks a display no other server holds and tells its number once it accepts clients.
Xvfb -displayfd 3 -ac -screen 0 1280x800x24 -nolisten tcp 3> "$work/display" \
  > "$work/xvfb.log" 2>&1 &
children+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "the virtual X server did not start"
DISPLAY=":$(cat "$work/display")"
export DISPLAY

# Without DISPLAY the launcher announces its bus on our session bus only, not on the display.
env -u DISPLAY "$launcher" --launch-immediately > "$work/launcher.log" 2>&1 &
children+=($!)

(cd "$work" && QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec "$pagetap") \
  > "$work/program.log" 2>&1 &
app=$!
children+=("$app")

"$python" - "$app" << 'EOF' || fail "the reader failed"
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib

pid = int(sys.argv[1])
PATIENCE = 30

def patiently(what, find):
    deadline = time.monotonic() + PATIENCE
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    sys.exit(f"accessibility: {what} did not show within {PATIENCE} s")

def dialog():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        application = desktop.get_child_at_index(i)
        if application is not None and application.get_process_id() == pid:
            if application.get_child_count() > 0:
                window = application.get_child_at_index(0)
                if window is not None and window.get_child_count() > 0:
                    return application, window
    return None

application, window = patiently("the program's window", dialog)

controls = []
def walk(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            controls.append((child.get_role_name(), child.get_name(), child))
            walk(child)
walk(window)

expected = [("push button", name) for name in
            ["ReturnList", "Cancel", "CLEAR", "GET", "POST", "uPaste", "rPaste", "pPaste",
             "uClear", "rClear", "pClear", "本周最热视频"]]
expected += [("check box", name) for name in ["Debug", "Head", "SendCookie", "SaveCookie"]]
expected += [("label", name) for name in ["URL", "Referer", "PostData"]]
found = {(role, name) for role, name, _ in controls}
missing = [control for control in expected if control not in found]
if missing:
    sys.exit(f"accessibility: not found by role and name: {missing}; the tree: "
             f"{[(role, name) for role, name, _ in controls]}")
# The URL, Referer and PostData edits and the result box; the list view with its columns.
roles = [role for role, _, _ in controls]
if roles.count("text") != 4 or roles.count("tree") != 1:
    sys.exit(f"accessibility: expected 4 edits and 1 list, the roles are {roles}")

# Raw property requests, the way some readers ask for everything at once.
session = Gio.bus_get_sync(Gio.BusType.SESSION)
def call(bus, name, path, interface, method, arguments):
    return bus.call_sync(name, path, interface, method, arguments, None,
                         Gio.DBusCallFlags.NONE, 10000, None).unpack()

address = call(session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None)[0]
a11y = Gio.DBusConnection.new_for_address_sync(
    address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
    Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
names = call(a11y, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
             "ListNames", None)[0]
def owner_pid(name):
    try:
        return call(a11y, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                    "org.freedesktop.DBus", "GetConnectionUnixProcessID",
                    GLib.Variant("(s)", (name,)))[0]
    except GLib.Error:
        return None
program = next((name for name in names if name.startswith(":") and owner_pid(name) == pid),
               None)
if program is None:
    sys.exit("accessibility: the program has no connection to the accessibility bus")

root = "/org/a11y/atspi/accessible/root"
button = next(node for role, name, node in controls if name == "GET").path
probes = [(root, "org.a11y.atspi.Accessible"), (root, "org.a11y.atspi.Application"),
          (root, "org.a11y.atspi.Component"), (button, "org.a11y.atspi.Accessible"),
          (button, "org.a11y.atspi.Action")]
for path, interface in probes:
    try:
        call(a11y, program, path, "org.freedesktop.DBus.Properties", "GetAll",
             GLib.Variant("(s)", (interface,)))
    except GLib.Error as error:
        # Declining is fine; going away without an answer is not.
        if owner_pid(program) != pid:
            sys.exit(f"accessibility: GetAll {interface} on {path} ended the program "
                     f"({error.message})")
name = call(a11y, program, root, "org.freedesktop.DBus.Properties", "Get",
            GLib.Variant("(ss)", ("org.a11y.atspi.Accessible", "Name")))[0]
if name != "pagetap":
    sys.exit(f"accessibility: the application is named {name!r}, expected 'pagetap'")
print(f"accessibility: {len(expected)} controls found by role and name; "
      f"{len(probes)} GetAll requests answered")
EOF

state=$(ps -o stat= -p "$app" || true)
if [ -z "$state" ] || [[ $state == Z* ]]; then fail "the program is no longer running"; fi
echo "accessibility: the program is still running after being read"
