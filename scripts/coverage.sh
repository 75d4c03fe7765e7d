#!/usr/bin/env bash
# Line and branch coverage of the tests, per source folder.
#   scripts/coverage.sh [BUILD_DIR]        (default: build-coverage)
# Builds with --coverage (Debug, no benchmarks), runs every test, and prints a
# Markdown table: each source folder with its lines and branches covered.
# The table of docs/testing.md comes from here.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-coverage}"
"$here/scripts/setup.sh"
"$here/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=--coverage \
  -DOLM_BUILD_BENCHMARKS=OFF
find "$build" -name '*.gcda' -delete
(cd "$build" && ctest --parallel "$(nproc 2>/dev/null || echo 2)" --label-exclude install >/dev/null) || true
json="$build/coverage.json"
# Throw paths and branches the compiler made up are not branches of ours.
gcovr --root "$here" --object-directory "$build" --json "$json" \
  --filter "$here/src/" --filter "$here/platform/" --filter "$here/wizards/" --filter "$here/tools/" \
  --exclude-throw-branches --exclude-unreachable-branches >/dev/null
python3 - "$json" <<'PY'
import json, sys, collections
data = json.load(open(sys.argv[1]))
totals = collections.OrderedDict()
def folder(path):
    parts = path.split('/')
    if parts[0] == 'platform': return '/'.join(parts[:2])
    return '/'.join(parts[:2]) if len(parts) > 2 else parts[0]
for f in data['files']:
    key = folder(f['file'])
    t = totals.setdefault(key, [0, 0, 0, 0])
    for line in f['lines']:
        if line.get('gcovr/noncode'): continue
        t[0] += 1
        t[1] += line['count'] > 0
        for b in line.get('branches', []):
            t[2] += 1
            t[3] += b['count'] > 0
print('| source folder | lines | line coverage | branches | branch coverage |')
print('|---|---:|---:|---:|---:|')
all_ = [0, 0, 0, 0]
for key in sorted(totals):
    t = totals[key]
    all_ = [a + b for a, b in zip(all_, t)]
    pct = lambda c, n: f'{100.0 * c / n:.1f}%' if n else '-'
    print(f'| `{key}` | {t[0]} | {pct(t[1], t[0])} | {t[2]} | {pct(t[3], t[2])} |')
pct = lambda c, n: f'{100.0 * c / n:.1f}%' if n else '-'
print(f'| all | {all_[0]} | {pct(all_[1], all_[0])} | {all_[2]} | {pct(all_[3], all_[2])} |')
PY
