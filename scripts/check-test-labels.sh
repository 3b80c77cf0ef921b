#!/usr/bin/env bash
# Checks that every test of a build can be selected by area and runs as it was meant to:
# each carries at least one label (`ctest -L pdf`, `-L postgres`...) and none that is a
# CTest keyword swallowed as a label, and each runs on Qt's offscreen platform by its own
# ENVIRONMENT, whatever the caller's shell holds. Called by scripts/test.sh.
#   bash scripts/check-test-labels.sh build/test
set -euo pipefail
build=${1:?usage: bash scripts/check-test-labels.sh <build folder>}

listing=$(mktemp /tmp/quercino-labels.XXXXXX)
trap 'rm -f "$listing"' EXIT
# The listing runs each test program once (discovery); their chatter on stderr is not ours.
env -u QT_QPA_PLATFORM ctest --test-dir "$build" --show-only=json-v1 >"$listing" 2>/dev/null

/usr/bin/python3 - "$build" "$listing" <<'PY'
import json, re, sys

build, listing = sys.argv[1:]
with open(listing) as f:
    tests = json.load(f).get('tests', [])
if not tests:
    sys.exit(f'{build}: ctest lists no tests')
wrong, seen = [], set()
for test in tests:
    properties = {p['name']: p['value'] for p in test.get('properties', [])}
    labels = properties.get('LABELS', [])
    seen.update(labels)
    if not labels or any(not re.fullmatch(r'[a-z][a-z0-9_-]*', l) for l in labels):
        wrong.append(f"{test['name']}: labels {labels}")
    if 'QT_QPA_PLATFORM=offscreen' not in properties.get('ENVIRONMENT', []):
        wrong.append(f"{test['name']}: environment {properties.get('ENVIRONMENT', [])}")
if wrong:
    print(f'{build}: tests without an area label or without the offscreen platform:')
    print('\n'.join('  ' + w for w in wrong[:40]))
    sys.exit(1)
print(f'{build}: {len(tests)} tests, each labelled and offscreen; labels: {" ".join(sorted(seen))}')
PY
