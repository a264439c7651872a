#!/usr/bin/env bash
# Mutation testing: applies sampled one-token changes to the game's sources one at a time, rebuilds,
# runs the quick tests and counts how many changes the tests catch.
# Usage: scripts/mutants.sh [--seed S] [--count N] [FILE...]   (default: every .cpp and .h in src/)
# The same seed, count and sources give the same mutants. Needs python3 and xvfb-run.
set -euo pipefail

# One virtual display serves every test process of the run.
if [ -z "${POOL_MUTANTS_DISPLAY:-}" ]; then
  POOL_MUTANTS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" bash "$0" "$@"
fi
cd "$(dirname "$0")/.."

BUILD=build/mutants
TEST_TIMEOUT_S=60 # a test executable still running after this is taken as a hang
# The quick tests by their ctest labels (tests/CMakeLists.txt): unit and GL tests, but not those
# that play whole games.
QUICK_LABELS='^(unit|gl)$'
SLOW_LABELS='^slow$'

usage() { sed -n 4,5p "$0" >&2; exit 2; }
seed="" count=200 files=()
while [ $# -gt 0 ]; do
  case $1 in
    --seed) [ $# -ge 2 ] || usage; seed=$2; shift 2 ;;
    --count) [ $# -ge 2 ] || usage; count=$2; shift 2 ;;
    -*) usage ;;
    *) files+=("$1"); shift ;;
  esac
done
[ -n "$seed" ] || seed=$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')
[[ $seed =~ ^[0-9]+$ && $count =~ ^[0-9]+$ ]] || usage
repeat="scripts/mutants.sh --seed $seed --count $count"
[ ${#files[@]} -eq 0 ] || repeat+=$(printf ' %q' "${files[@]}")
[ ${#files[@]} -gt 0 ] || mapfile -t files < <(find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
for f in "${files[@]}"; do [ -f "$f" ] || { echo "no such file: $f" >&2; exit 2; }; done
command -v python3 >/dev/null || { echo "mutants.sh needs python3" >&2; exit 1; }

# Every mutant is undone from these copies, also when the run stops on Ctrl-C or an error.
saved=$(mktemp -d)
for f in "${files[@]}"; do mkdir -p "$saved/$(dirname "$f")"; cp "$f" "$saved/$f"; done
restore() {
  local f broken=0
  for f in "${files[@]}"; do
    cmp -s "$saved/$f" "$f" || cp "$saved/$f" "$f"
    cmp -s "$saved/$f" "$f" || { echo "NOT RESTORED: $f (its original is in $saved)" >&2; broken=1; }
  done
  [ $broken = 1 ] || rm -rf "$saved"
}
trap restore EXIT
trap 'exit 130' INT TERM

# Lists the mutants as file, line, byte offset, length, old token, new token (tab separated).
sample_mutants() {
  python3 - "$seed" "$count" "$@" <<'PY'
import random, re, sys
TOKEN = re.compile(r'''(?P<skip>//[^\n]*|/\*.*?\*/|\#[^\n]*(?:\\\n[^\n]*)*
      |R"(?P<d>[^(\s]*)\(.*?\)(?P=d)"|(?:u8|[uUL])?(?:"(?:\\.|[^"\\\n])*"|'(?:\\.|[^'\\\n])*'))
  |(?P<num>(?:0[xX][0-9a-fA-F']+|\d[\d']*\.?[\d']*(?:[eE][+-]?\d+)?|\.\d[\d']*(?:[eE][+-]?\d+)?)[uUlLfF]*)
  |(?P<word>[A-Za-z_]\w*)|(?P<space>\s+)
  |(?P<op>->\*?|<=>|<<=?|>>=?|\+\+|--|&&|\|\||[-+*/%&|^!=<>]=|::|.)''', re.S | re.X)
# Binary operators, taken only with blanks on both sides: that is how this code writes them, and
# it leaves out template brackets, pointers, references and signs.
BINARY = {'<': ['<=', '>'], '<=': ['<', '>='], '>': ['>=', '<'], '>=': ['>', '<='],
          '==': ['!='], '!=': ['=='], '+': ['-'], '-': ['+'], '*': ['/'], '/': ['*'],
          '+=': ['-='], '-=': ['+='], '*=': ['/='], '/=': ['*='], '&&': ['||'], '||': ['&&']}
WORDS = {'true': ['false'], 'false': ['true']}

def changed_number(text):
    body = text.rstrip('uUlL' if text[:2].lower() == '0x' else 'uUlLfF')
    suffix, digits = text[len(body):], body.replace("'", '')
    if digits.lower().startswith('0x'):
        return hex(int(digits, 16) + 1) + suffix
    if re.search(r'[.eE]', digits):
        x = float(digits)
        new = format(x * 1.5 if x else 1.0, '.6g')
        return new + ('' if re.search(r'[.e]', new) else '.0') + suffix
    if len(digits) > 1 and digits.startswith('0'):
        return None  # an octal constant: rare enough to leave alone
    return str(int(digits) + 1) + suffix

def sites(path):
    text = open(path, encoding='latin-1').read()  # one character per byte: offsets are bytes
    toks = [m for m in TOKEN.finditer(text) if m.lastgroup not in ('skip', 'space')]
    for i, m in enumerate(toks):
        kind, tok, start, end = m.lastgroup, m.group(), m.start(), m.end()
        prev = [t.group() for t in toks[max(0, i - 2):i]]
        options = []
        if kind == 'op' and tok in BINARY:
            blanks = text[start - 1:start].isspace() and text[end:end + 1].isspace()
            if blanks and prev[-1:] != ['operator']:
                options = BINARY[tok]
        elif kind == 'op' and tok == '!':
            options = ['']
        elif kind == 'word':
            options = WORDS.get(tok, [])
        elif kind == 'num' and not (tok == '0' and prev[-1:] == ['='] and prev[:1] in ([')'], ['const'])):
            new = changed_number(tok)  # the `= 0` of a pure virtual function is no constant
            options = [new] if new else []
        if options:
            yield (path, text.count('\n', 0, start) + 1, start, end - start, tok, options)

seed, count, paths = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
candidates = [s for p in paths for s in sites(p)]
rng = random.Random(seed)
chosen = rng.sample(candidates, min(count, len(candidates)))
mutants = sorted((s[:5] + (rng.choice(s[5]),) for s in chosen), key=lambda s: (s[0], s[2]))
print(f'{len(mutants)} mutants out of {len(candidates)} places in {len(paths)} files', file=sys.stderr)
for m in mutants:
    print('\t'.join(map(str, m)))
PY
}

# Lists the quick tests from ctest: one line per gtest executable (path, folder, filter, KEY=VALUE
# environment) and one "ctest NAME" line per other test.
quick_tests() {
  ctest --test-dir "$BUILD" --show-only=json-v1 | python3 -c '
import json, re, sys
quick_label, slow_label = re.compile(sys.argv[1]), re.compile(sys.argv[2])
executables, others = {}, []
for t in json.load(sys.stdin)["tests"]:
    cmd, props = t.get("command") or [""], {p["name"]: p["value"] for p in t.get("properties", [])}
    labels = props.get("LABELS", [])
    quick = any(quick_label.search(l) for l in labels) and not any(slow_label.search(l) for l in labels)
    if not any(a.startswith("--gtest_filter=") for a in cmd):
        if quick:
            others.append(t["name"])
        continue
    run = executables.setdefault(cmd[0], [props.get("WORKING_DIRECTORY", "."),
                                          props.get("ENVIRONMENT", []), [], 0])
    if quick:
        run[3] += 1
    else:
        run[2].append(t["name"])
for exe, (folder, env, left_out, kept) in executables.items():
    if kept:
        print("\t".join(["gtest", exe, folder, "--gtest_filter=-" + ":".join(left_out)] + env))
for name in others:
    print("ctest\t" + name)
' "$QUICK_LABELS" "$SLOW_LABELS"
}

# Builds what the quick tests need; its output goes to a log, the status is the build's.
build() { cmake --build "$BUILD" --target "${targets[@]}" >"$BUILD/mutants-build.log" 2>&1; }

# Runs the quick tests, those of the mutated file's folder first, and stops at the first failure
# (a hang is one); $culprit names it.
run_tests() {
  local folder=$1 line f ordered=()
  for line in "${gtests[@]}"; do [[ $line == *"/${folder}_"* ]] && ordered+=("$line"); done
  for line in "${gtests[@]}"; do [[ $line == *"/${folder}_"* ]] || ordered+=("$line"); done
  for line in "${ordered[@]}"; do
    IFS=$'\t' read -r -a f <<<"$line"
    (cd "${f[2]}" && timeout -k 5 $TEST_TIMEOUT_S env "${f[@]:4}" \
      "${f[1]}" "${f[3]}" --gtest_fail_fast --gtest_brief=1) >"$BUILD/mutants-test.log" 2>&1 ||
      { culprit=$(basename "${f[1]}"); return 1; }
  done
  [ -z "$ctest_pattern" ] ||
    ctest --test-dir "$BUILD" --stop-on-failure --timeout $TEST_TIMEOUT_S -R "$ctest_pattern" \
      >"$BUILD/mutants-test.log" 2>&1 || { culprit=ctest; return 1; }
}

echo "seed $seed, count $count"
echo "repeat with: $repeat"
sample_mutants "${files[@]}" >"$saved/mutants.tsv"

echo "building the unmutated code in $BUILD ..."
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPOOL_WERROR=OFF >/dev/null
targets=(all)
build || { echo "the unmutated code does not build: see $BUILD/mutants-build.log" >&2; exit 1; }
gtests=() ctest_names=()
while IFS= read -r line; do
  case $line in
    gtest*) gtests+=("$line"); targets+=("$(basename "$(cut -f2 <<<"$line")")") ;;
    ctest*) ctest_names+=("$(cut -f2 <<<"$line" | sed 's/[][\\.^$*+?(){}|]/\\&/g')") ;;
  esac
done < <(quick_tests)
ctest_pattern=""
if [ ${#ctest_names[@]} -gt 0 ]; then
  ctest_pattern="^($(IFS='|'; echo "${ctest_names[*]}"))\$"
else
  targets=("${targets[@]:1}") # gtest executables are their own targets; other tests may need all
fi
echo "quick tests: ${#gtests[@]} gtest executables, ${#ctest_names[@]} other tests"
culprit=""
if ! { build && run_tests none; }; then
  echo "the unmutated code fails its tests ($culprit): see $BUILD/mutants-*.log" >&2; exit 1
fi

killed=0 survived=0 invalid=0 n=0 total=$(wc -l <"$saved/mutants.tsv")
while IFS=$'\t' read -r -u 3 file line start length old new; do
  n=$((n + 1)) culprit=""
  { head -c "$start" "$saved/$file"; printf '%s' "$new"; tail -c +"$((start + length + 1))" "$saved/$file"; } >"$file"
  if ! build; then
    verdict=invalid; invalid=$((invalid + 1))
  elif run_tests "$(basename "$(dirname "$file")")"; then
    verdict=survived; survived=$((survived + 1))
  else
    verdict=killed; killed=$((killed + 1))
    ! grep -Eq "(failed to|cannot|can't) open display" "$BUILD/mutants-test.log" ||
      { echo "the virtual display is gone: stopping" >&2; exit 1; }
  fi
  cp "$saved/$file" "$file"
  printf "%4d/%d %-8s %s:%s '%s' -> '%s'%s\n" $n "$total" $verdict "$file" "$line" "$old" "$new" \
    "${culprit:+ ($culprit)}"
done 3<"$saved/mutants.tsv"

counted=$((killed + survived))
echo "score: $killed killed / $counted = $((counted ? 100 * killed / counted : 0))%" \
  "($survived survived, $invalid invalid not counted), $((SECONDS / 60)) min"
