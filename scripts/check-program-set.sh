#!/usr/bin/env bash
# Proves that setting up, building and starting the program needs only the packages that
# `scripts/setup.sh program` installs: the set-up itself, the build `scripts/run.sh` makes
# (tests and benchmarks off, in a folder of its own) and a start of the program laid out as
# run.sh lays it out (in a temporary data folder) are run under strace; every file they run,
# and every library or Python module they load, must belong to a Debian package, and that
# package must be one of the set or a dependency of one. Node.js and npm are in neither.
# Called by scripts/test.sh, on a machine that has the tests' packages too, so a build that
# reached for one of them, or for a program found first on PATH outside the packages (a
# pyenv shim, /usr/local), fails here.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/program-set
trace=$(mktemp -d /tmp/quercino-program-set.XXXXXX)
trap 'rm -rf "$trace"' EXIT

mapfile -t program_set < <(sed -n '/^program_packages=(/,/^)/p' scripts/setup.sh | sed '1d;$d' | tr ' ' '\n' | sed '/^$/d')

strace -f -qq --seccomp-bpf -e trace=execve -e signal=none -o "$trace/setup" \
  bash scripts/setup.sh program >/dev/null

rm -rf "$build"
strace -f -qq --seccomp-bpf -e trace=openat,execve -e signal=none -o "$trace/build" \
  bash -c "cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
             -DQUERCINO_BUILD_TESTS=OFF -DQUERCINO_BUILD_BENCH=OFF >/dev/null &&
           cmake --build $build -j $(nproc) >/dev/null"

# Laid out as run.sh does, in a data folder of its own; the first layout says where.
XDG_DATA_HOME="$trace/data" cmake -P "$build/disponi_programma.cmake" >"$trace/layout" 2>&1
if ! grep -q "program folder is $trace/data/quercino" "$trace/layout"; then
  echo "The layout of the program folder did not say where it is:" >&2
  cat "$trace/layout" >&2
  exit 1
fi

# The program must start and stay up: its window is shown on the offscreen platform.
QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$trace/data" \
  strace -f -qq --seccomp-bpf -e trace=openat,execve -e signal=none -o "$trace/start" \
  timeout -s TERM 5 "$trace/data/quercino/quercino" 2>"$trace/stderr" && status=0 || status=$?
if [ "$status" -ne 124 ]; then
  echo "The program built with the program's packages alone ended at start (status $status):" >&2
  cat "$trace/stderr" >&2
  exit 1
fi

/usr/bin/python3 - "$trace" "$PWD" "${program_set[@]}" <<'PY'
import os, re, subprocess, sys

trace_dir, tree, program_set = sys.argv[1], sys.argv[2], sys.argv[3:]
line_re = re.compile(r'(openat\([^,]+, |execve\()"([^"]+)".*\) = \d+$')

# What any program opens on the way without needing it: the module list pkg-config reads
# whole, glibc's locale aliases, the linker plugins ld loads by itself and Qt's platform
# themes, which it tries one after the other.
def probed(path):
    return (path.startswith('/usr/lib/bfd-plugins/') or path.endswith('.pc')
            or path == '/usr/share/locale/locale.alias' or '/qt6/plugins/platformthemes/' in path)

# Code, wherever it lies: a library or a Python module loaded from a home folder (a pyenv,
# a virtualenv, ~/.local) is as much a program as one from /usr.
def code(path):
    return re.search(r'\.so(\.[0-9.]+)?$|\.py[c]?$', path) is not None

plugin_libraries = set()

def files(name, skip_fonts):
    ran, opened = set(), set()
    with open(os.path.join(trace_dir, name), errors='replace') as f:
        for line in f:
            m = line_re.search(line.rstrip())
            if not m:
                continue
            executed, path = m.group(1).startswith('execve'), os.path.normpath(m.group(2))
            # Our own tree and build, the scratch files of the tools, system settings and
            # the kernel's files are not packages' business.
            if (path.startswith((tree + '/', trace_dir + '/', '/tmp/', '/etc/', '/proc/', '/sys/',
                                 '/dev/', '/run/', '/var/')) or os.path.isdir(path)):
                continue
            system = path.startswith(('/usr/', '/lib', '/bin/', '/sbin/', '/opt/'))
            if not (executed or system or code(path)):
                continue   # a user's caches and settings (fontconfig, Qt)
            # Whichever font the desktop offers is fine for the window; the build's own
            # fonts (the manual's) are checked.
            if skip_fonts and path.startswith(('/usr/share/fonts/', '/usr/share/fontconfig/')):
                continue
            if probed(path):
                if path.endswith('.so'):
                    ldd = subprocess.run(['ldd', path], capture_output=True, text=True).stdout
                    plugin_libraries.update(re.findall(r'=> (/\S+)', ldd))
                continue
            (ran if executed else opened).add(path)
    return ran, opened

def read_owners():
    # dpkg's own file lists, read once: one query per file would take minutes.
    owner = {}
    info = '/var/lib/dpkg/info'
    for entry in os.listdir(info):
        if entry.endswith('.list'):
            package = entry[:-5].split(':')[0]
            with open(os.path.join(info, entry), errors='replace') as f:
                for line in f:
                    owner.setdefault(line.rstrip('\n'), package)
    return owner

owner = read_owners()

def owner_of(path):
    # A module compiled by the package's own scripts belongs to the package of its source.
    m = re.match(r'(.*)/__pycache__/([^/.]+)\.[^/]*\.pyc$', path)
    if m:
        path = f'{m.group(1)}/{m.group(2)}.py'
    real = os.path.realpath(path)
    for candidate in (path, real, re.sub(r'^/usr', '', real), '/usr' + path):
        if candidate in owner:
            return owner[candidate]
    return None

closure = subprocess.run(
    ['apt-cache', 'depends', '--recurse', '--no-recommends', '--no-suggests', '--no-conflicts',
     '--no-breaks', '--no-replaces', '--no-enhances', *program_set],
    capture_output=True, text=True, check=True).stdout
allowed = {l.split(':')[0] for l in closure.splitlines() if l and not l.startswith(' ')}
essential = subprocess.run(['dpkg-query', '-W', '-f', '${Package} ${Essential}\n'],
                           capture_output=True, text=True, check=True).stdout
allowed |= {l.split()[0] for l in essential.splitlines() if l.endswith(' yes')}

failures = []
for package in ('nodejs', 'npm'):
    if package in allowed:
        failures.append(f'the program set brings {package} (a dependency of the set)')
setup_ran, _ = files('setup', False)
failures += [f'set-up ran {f}' for f in sorted(setup_ran) if os.path.basename(f) in ('node', 'nodejs', 'npm')]

build_ran, build_opened = files('build', False)
start_ran, start_opened = files('start', True)
plugin_only = {os.path.realpath(f) for f in plugin_libraries}
used, unowned = {}, set()
for path in build_ran | build_opened | start_ran | start_opened:
    if os.path.realpath(path) in plugin_only:
        continue
    package = owner_of(path)
    if package:
        used.setdefault(package, path)
    elif path in build_ran or path in start_ran or code(path):
        unowned.add(path)
    # Other files no package lists are made by the packages' own scripts (caches, the
    # locale archive) and are no program of their own.
failures += [f'{p} (from {f}) is outside the set' for p, f in sorted(used.items()) if p not in allowed]
ran = build_ran | start_ran
failures += [f'{f} was run and belongs to no Debian package' for f in sorted(unowned & ran)]
# Libraries and modules by the installation they come from (a pyenv version holds hundreds).
loaded = {}
for f in sorted(unowned - ran):
    loaded.setdefault('/'.join(f.split('/')[:5]), []).append(f)
failures += [f'{len(fs)} libraries or modules under {where} belong to no Debian package (such as {fs[0]})'
             for where, fs in sorted(loaded.items())]
if not failures:
    print(f'Program set: {len(program_set)} packages named; the build and the start used '
          f'{len(used)} packages, all of them the set or its dependencies, and nothing else')
else:
    print('Setting up, building or starting the program used what `scripts/setup.sh program` does not install:')
    for f in failures:
        print(f'  {f}')
    sys.exit(1)
PY
