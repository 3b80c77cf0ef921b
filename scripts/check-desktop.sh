#!/usr/bin/env bash
# Whether the desktop session Quercino would open its window on is there: run by run.sh before
# the build, so that a session that is missing, or named but not answering (a DISPLAY left
# from another login, an ssh session without X forwarding), is told in a few words instead
# of by Qt's abort after minutes of building. Exit status 0 when the window can be shown.
#   bash scripts/check-desktop.sh
# A platform chosen on purpose (QT_QPA_PLATFORM=offscreen, vnc...) needs no display.
set -euo pipefail

platform=${QT_QPA_PLATFORM:-}
case "$platform" in
  "" | xcb* | wayland*) ;;
  *) exit 0 ;;
esac

say() {
  echo "Quercino is a desktop program and needs a desktop session: $1" >&2
  echo "Run scripts/run.sh from a terminal of the desktop." >&2
  exit 1
}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  say "neither DISPLAY nor WAYLAND_DISPLAY is set here."
fi

# Debian's interpreter connects to the session's socket as a client would and says what does
# not answer. Before the set-up has installed it, the variables alone are checked.
[ -x /usr/bin/python3 ] || exit 0
reason=$(/usr/bin/python3 -I -S - "$platform" <<'PY'
import os, socket, sys

platform = sys.argv[1]

def unix(path):
    # An X server listens on the abstract name as well as on the file.
    for address in ('\0' + path, path):
        s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        s.settimeout(3)
        try:
            s.connect(address)
            return True
        except OSError:
            pass
        finally:
            s.close()
    return False

def x11(display):
    host, colon, rest = display.rpartition(':')
    number = rest.split('.')[0]
    if not colon or not number.isdigit():
        return f'DISPLAY={display} is not of the form [host]:number.'
    if host in ('', 'unix'):
        path = f'/tmp/.X11-unix/X{number}'
        return None if unix(path) else f'DISPLAY={display} names an X server, but nothing answers at {path}.'
    port = 6000 + int(number)
    try:
        socket.create_connection((host.strip('[]'), port), timeout=3).close()
        return None
    except OSError as e:
        return f'DISPLAY={display} names an X server, but nothing answers at {host} port {port} ({e.strerror or e}).'

def wayland(name):
    runtime = os.environ.get('XDG_RUNTIME_DIR', '')
    if not os.path.isabs(name) and not runtime:
        return f'WAYLAND_DISPLAY={name} is set, but XDG_RUNTIME_DIR, where its socket lies, is not.'
    path = name if os.path.isabs(name) else os.path.join(runtime, name)
    return None if unix(path) else f'WAYLAND_DISPLAY={name} names a Wayland session, but nothing answers at {path}.'

display, wl = os.environ.get('DISPLAY', ''), os.environ.get('WAYLAND_DISPLAY', '')
checks = []
if display and not platform.startswith('wayland'):
    checks.append(x11(display))
if wl and not platform.startswith('xcb'):
    checks.append(wayland(wl))
if not checks:
    checks.append(f'QT_QPA_PLATFORM={platform} asks for a session that is not set here.')
if None not in checks:
    print(' '.join(checks))
PY
)
if [ -n "$reason" ]; then
  say "$reason"
fi
