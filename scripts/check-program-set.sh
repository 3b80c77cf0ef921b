#!/usr/bin/env bash
# Proves that building and starting the program needs only the packages that
# `scripts/setup.sh program` installs: the build `scripts/run.sh` makes (tests and
# benchmarks off, in a folder of its own so the user's program folder is never touched) and
# a start of the program run under strace, every file they open or run is mapped to its
# Debian package, and each package must be one of that set or a dependency of one.
# Called by scripts/test.sh, on a machine that has the tests' packages too, so a build that
# reached for one of them fails here.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/program-set
trace=$(mktemp -d /tmp/quercino-program-set.XXXXXX)
trap 'rm -rf "$trace"' EXIT

mapfile -t program_set < <(sed -n '/^program_packages=(/,/^)/p' scripts/setup.sh | sed '1d;$d' | tr ' ' '\n' | sed '/^$/d')

rm -rf "$build"
strace -f -qq --seccomp-bpf -e trace=openat,execve -e signal=none -o "$trace/build" \
  bash -c "cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
             -DQUERCINO_BUILD_TESTS=OFF -DQUERCINO_BUILD_BENCH=OFF >/dev/null &&
           cmake --build $build -j $(nproc) >/dev/null"

# The program must start and stay up: its window is shown on the offscreen platform.
QT_QPA_PLATFORM=offscreen strace -f -qq --seccomp-bpf -e trace=openat,execve -e signal=none -o "$trace/start" \
  timeout -s TERM 5 "$build/program/quercino" 2>"$trace/stderr" && status=0 || status=$?
if [ "$status" -ne 124 ]; then
  echo "The program built with the program's packages alone ended at start (status $status):" >&2
  cat "$trace/stderr" >&2
  exit 1
fi

/usr/bin/python3 - "$trace" "${program_set[@]}" <<'PY'
import os, re, subprocess, sys

trace_dir, program_set = sys.argv[1], sys.argv[2:]
opened = re.compile(r'(?:openat\([^,]+, |execve\()"([^"]+)".*\) = \d+$')

# What any program opens on the way without needing it: the module list pkg-config reads
# whole, glibc's locale aliases, the linker plugins ld loads by itself and Qt's platform
# themes, which it tries one after the other. System settings in /etc are not counted.
def probed(path):
    return (path.startswith('/usr/lib/bfd-plugins/') or path.endswith('.pc')
            or path == '/usr/share/locale/locale.alias' or '/qt6/plugins/platformthemes/' in path)

plugin_libraries = set()

def files(name, skip_fonts):
    seen = set()
    with open(os.path.join(trace_dir, name), errors='replace') as f:
        for line in f:
            m = opened.search(line.rstrip())
            if not m:
                continue
            path = os.path.normpath(m.group(1))
            if not path.startswith(('/usr/', '/lib', '/bin/', '/sbin/')) or os.path.isdir(path):
                continue
            # Whichever font the desktop offers is fine for the window; the build's own
            # fonts (the manual's) are checked.
            if skip_fonts and path.startswith(('/usr/share/fonts/', '/usr/share/fontconfig/')):
                continue
            if probed(path):
                if path.endswith('.so'):
                    ldd = subprocess.run(['ldd', path], capture_output=True, text=True).stdout
                    plugin_libraries.update(re.findall(r'=> (/\S+)', ldd))
                continue
            seen.add(path)
    return seen

def owners(paths):
    # dpkg's own file lists, read once: one query per file would take minutes.
    owner = {}
    info = '/var/lib/dpkg/info'
    for entry in os.listdir(info):
        if entry.endswith('.list'):
            package = entry[:-5].split(':')[0]
            with open(os.path.join(info, entry), errors='replace') as f:
                for line in f:
                    owner.setdefault(line.rstrip('\n'), package)
    found = {}
    for path in paths:
        real = os.path.realpath(path)
        for candidate in (path, real, re.sub(r'^/usr', '', real), '/usr' + path):
            if candidate in owner:
                found.setdefault(owner[candidate], path)
                break
    return found

closure = subprocess.run(
    ['apt-cache', 'depends', '--recurse', '--no-recommends', '--no-suggests', '--no-conflicts',
     '--no-breaks', '--no-replaces', '--no-enhances', *program_set],
    capture_output=True, text=True, check=True).stdout
allowed = {l.split(':')[0] for l in closure.splitlines() if l and not l.startswith(' ')}
essential = subprocess.run(['dpkg-query', '-W', '-f', '${Package} ${Essential}\n'],
                           capture_output=True, text=True, check=True).stdout
allowed |= {l.split()[0] for l in essential.splitlines() if l.endswith(' yes')}

opened_files = files('build', False) | files('start', True)
plugin_only = {os.path.realpath(f) for f in plugin_libraries}
used = owners({f for f in opened_files if os.path.realpath(f) not in plugin_only})
outside = {p: f for p, f in used.items() if p not in allowed}
if not outside:
    print(f'Program set: {len(program_set)} packages named; the build and the start used '
          f'{len(used)} packages, all of them the set or its dependencies')
else:
    print('The build or the start of the program used packages outside `scripts/setup.sh program`:')
    for p, f in sorted(outside.items()):
        print(f'  {p} ({f})')
    sys.exit(1)
PY
