#!/usr/bin/env bash
# Mutation check of the test suite: how many small faults planted in src/ do the tests catch?
#
#   scripts/mutate.sh [RANGE...]     RANGE: 7, 1-10, 10-1 (backwards) or 3,5,9-12 (default: all)
#   scripts/mutate.sh --check        only checks that every mutation still applies
#   scripts/mutate.sh --suite        builds the copy and runs the suite once, unmutated
#
# The mutations are a fixed list in scripts/mutations.txt (file, a text found exactly once in
# it, its replacement): a flipped comparison, a dropped statement, a constant changed by one,
# an early return. The checkout (tracked and new files, as they are on disk) is copied once to
# build-mutate/tree and built in build-mutate/build, then for each mutation: the file is
# changed in the copy (a text that is not found exactly once stops the run, so the list cannot
# rot unnoticed), velmora_tests and velmora_gui_tests are rebuilt incrementally, each just
# before it runs, offscreen (LANG=es_ES.UTF-8) up to its first failing test (the tests the list
# names for that fault first, then the whole suite), and the file is put back. A mutant is caught when a test fails, crashes or runs past the time limit;
# a mutant that does not build counts as caught and is reported apart. The last lines read
# "N de M mutaciones detectadas" and "mutants: N caught, M missed".
#
# Not part of ctest or CI: a full run rebuilds and runs the suite once per mutation (an hour
# or more on two busy cores). Logs go to build-mutate/logs/N.log, the outcome of every
# mutation to build-mutate/results.txt.
#
# Settings: VELMORA_MUTATE_DIR (workspace, default build-mutate), VELMORA_MUTATIONS (list
# file), VELMORA_MUTATE_JOBS (build jobs, default nproc), VELMORA_MUTATE_CMAKE_ARGS (extra CMake
# settings). The copy builds with -O1 and no debug information, linked by lld when there is one:
# the suite runs the same, and a mutant's rebuild and link take a fraction of the time.
# VELMORA_MUTATE_AS=/path/of/a/checkout (root only) runs the copy at that path in a private
# mount, with the settings of scripts/build.sh: ccache then gives back the objects a build of
# that checkout compiled (and two runs at one path share each mutant's compile).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=${VELMORA_MUTATIONS:-$root/scripts/mutations.txt}
work=${VELMORA_MUTATE_DIR:-$root/build-mutate}
tree=$work/tree
build=$tree/build # the same place as a checkout's build/, so that ccache shares their objects
jobs=${VELMORA_MUTATE_JOBS:-$(nproc)}

# --- the list
files=() finds=() puts=() hints=()
add_entry() {
    [[ -n $file ]] || return 0
    [[ -n $find ]] || { echo "mutations: $file without find:" >&2; exit 2; }
    files+=("$file") finds+=("$find") puts+=("$put") hints+=("$hint")
}
file='' find='' put='' hint=''
while IFS= read -r line || [[ -n $line ]]; do
    [[ $line =~ ^[[:space:]]*# ]] && continue
    if [[ $line =~ ^[[:space:]]*$ ]]; then
        add_entry
        file='' find='' put='' hint=''
        continue
    fi
    key=${line%%:*}
    value=${line#*:}
    value=${value#"${value%%[![:space:]]*}"}
    case $key in
    file) file=$value ;;
    find) find=$value ;;
    put) put=$value ;;
    tests) hint=$value ;;
    *) echo "mutations: unknown line: $line" >&2; exit 2 ;;
    esac
done <"$list"
add_entry
total=${#files[@]}

# --- which ones
check_only=0 suite_only=0
selected=()
for arg in "$@"; do
    if [[ $arg == --check ]]; then
        check_only=1
        continue
    fi
    if [[ $arg == --suite ]]; then
        suite_only=1
        continue
    fi
    IFS=, read -ra parts <<<"$arg"
    for part in "${parts[@]}"; do
        if [[ $part =~ ^([0-9]+)-([0-9]+)$ ]]; then
            from=${BASH_REMATCH[1]} to=${BASH_REMATCH[2]}
            step=$((from <= to ? 1 : -1))
            for ((i = from; i != to + step; i += step)); do selected+=("$i"); done
        elif [[ $part =~ ^[0-9]+$ ]]; then
            selected+=("$part")
        else
            echo "uso: scripts/mutate.sh [--check | --suite] [N | N-M | N,M,...]" >&2
            exit 2
        fi
    done
done
if ((${#selected[@]} == 0)); then
    for ((i = 1; i <= total; ++i)); do selected+=("$i"); done
fi
for n in "${selected[@]}"; do
    ((n >= 1 && n <= total)) || { echo "no hay mutación $n (hay $total)" >&2; exit 2; }
done

# Replaces the one occurrence of MUT_FIND in MUT_FILE by MUT_PUT (only counts with MUT_CHECK).
apply() {
    MUT_FILE=$1 MUT_FIND=$2 MUT_PUT=$3 MUT_CHECK=${4:-} perl -e '
        my ($file, $find, $put) = @ENV{qw(MUT_FILE MUT_FIND MUT_PUT)};
        open(my $in, "<:raw", $file) or die "$file: $!\n";
        my $text = do { local $/; <$in> };
        close $in;
        my ($count, $at, $from) = (0, -1, 0);
        while ((my $i = index($text, $find, $from)) >= 0) {
            $at = $i if $count++ == 0;
            $from = $i + 1;
        }
        if ($count != 1) {
            print STDERR "$file: \"$find\" aparece $count veces (debe aparecer una)\n";
            exit 3;
        }
        exit 0 if $ENV{MUT_CHECK};
        substr($text, $at, length $find) = $put;
        open(my $out, ">:raw", $file) or die "$file: $!\n";
        print $out $text;
        close $out or die "$file: $!\n";'
}

if ((check_only)); then
    bad=0
    for n in "${selected[@]}"; do
        i=$((n - 1))
        apply "$root/${files[i]}" "${finds[i]}" "${puts[i]}" check || bad=1
    done
    ((bad == 0)) && echo "${#selected[@]} mutaciones aplicables"
    exit $bad
fi

# --- the workspace: a copy of the checkout, updated file by file so that builds stay incremental
if [[ -z ${VELMORA_MUTATE_INSIDE:-} ]]; then
    mkdir -p "$tree" "$build" "$work/logs"
    declare -A wanted=()
    while IFS= read -r -d '' f; do
        [[ -f $root/$f ]] || continue
        wanted[$f]=1
        if ! cmp -s "$root/$f" "$tree/$f"; then
            mkdir -p "$(dirname "$tree/$f")"
            cp "$root/$f" "$tree/$f"
        fi
    done < <(cd "$root" && git ls-files -co --exclude-standard -z)
    while IFS= read -r -d '' f; do
        [[ -n ${wanted[$f]:-} ]] || rm -f "$tree/$f"
    done < <(cd "$tree" && find . -path ./build -prune -o -type f -printf '%P\0')
    if [[ -n ${VELMORA_MUTATE_AS:-} ]]; then
        # The copy is seen at that path by this run alone (a private mount), so that ccache
        # gives back what a build there compiled: its objects carry their folder.
        touch "$tree/.mutate-workspace"
        exec unshare --mount --propagation private -- bash -c 'mount --bind "$1" "$2" && shift 2 && exec "$@"' \
            _ "$tree" "$VELMORA_MUTATE_AS" env VELMORA_MUTATE_INSIDE=1 VELMORA_MUTATE_DIR="$work" \
            VELMORA_MUTATIONS="$list" bash "$root/scripts/mutate.sh" "$@"
    fi
else
    tree=$VELMORA_MUTATE_AS
    build=$tree/build
    [[ -f $tree/.mutate-workspace ]] || { echo "$tree no es la copia de trabajo" >&2; exit 1; }
fi

launcher=()
flags=("-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -DNDEBUG")
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR=$tree CCACHE_NOHASHDIR=true
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [[ -n ${VELMORA_MUTATE_INSIDE:-} ]]; then
    # The settings of an ordinary build there (scripts/build.sh), for its cached objects.
    flags=()
    unset CCACHE_NOHASHDIR
fi
linker=()
if command -v ld.lld >/dev/null 2>&1; then
    linker=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
fi
# shellcheck disable=SC2086
cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}" \
    "${launcher[@]}" "${linker[@]}" ${VELMORA_MUTATE_CMAKE_ARGS:-} >/dev/null
build_tests() {
    cmake --build "$build" -j"$jobs" --target velmora_tests velmora_gui_tests
}

programs=(velmora_tests velmora_gui_tests)
limit=0 # seconds per test program; set from the clean run
# Runs the suite (the tests named by $1 first, when given) and prints the first failure. Each
# program is built just before it runs, so a fault caught by the core tests never waits for the
# window tests' link. Returns 0 when everything passed, 1 when a test failed or ran out of
# time, 2 when the mutant does not build.
run_suite() {
    local hint=$1 program status passes=()
    [[ -n $hint ]] && passes+=("--gtest_filter=$hint")
    passes+=("")
    for filter in "${passes[@]}"; do
        for program in "${programs[@]}"; do
            cmake --build "$build" -j"$jobs" --target "$program" || return 2
            status=0
            # The locale only for the tests: ccache keeps objects per compiler locale.
            (cd "$build/tests" && QT_QPA_PLATFORM=offscreen LANG=es_ES.UTF-8 timeout -k 10 "$limit" \
                "./$program" --gtest_fail_fast --gtest_brief=1 ${filter:+"$filter"}) || status=$?
            if ((status == 124 || status == 137)); then
                echo "RESULT: tiempo agotado en $program"
                return 1
            elif ((status != 0)); then
                echo "RESULT: falla $program"
                return 1
            fi
        done
    done
    return 0
}
first_failure() {
    grep -m1 -E '^\[  FAILED  \] [A-Za-z_]' "$1" | sed 's/^\[  FAILED  \] //; s/ (.*//' ||
        grep -m1 '^RESULT:' "$1" | sed 's/^RESULT: //' || true
}

echo "Compilando la copia sin mutar en $work ..."
build_tests >"$work/logs/clean.log" 2>&1 || { echo "la copia sin mutar no compila: $work/logs/clean.log" >&2; exit 1; }
for n in "${selected[@]}"; do
    i=$((n - 1))
    apply "$tree/${files[i]}" "${finds[i]}" "${puts[i]}" check
done
start=$SECONDS
limit=3600
if ! run_suite "" >>"$work/logs/clean.log" 2>&1; then
    echo "las pruebas fallan sin mutación: $work/logs/clean.log" >&2
    exit 1
fi
# A mutant that makes the suite run far longer than the clean one is caught by the time limit.
limit=$((4 * (SECONDS - start) + 60))
echo "Suite sin mutar: $((SECONDS - start)) s; límite por programa de pruebas: $limit s"
((suite_only)) && exit 0

mutated=''
restore() {
    if [[ -n $mutated ]]; then
        cp "$work/pristine" "$tree/$mutated" # a fresh time stamp, so the next build recompiles it
        mutated=''
    fi
}
trap restore EXIT

caught=0 missed=0 unbuilt=0
results=$work/results.txt
: >"$results"
for n in "${selected[@]}"; do
    i=$((n - 1))
    log=$work/logs/$n.log
    label="${files[i]}: ${finds[i]}"
    cp "$tree/${files[i]}" "$work/pristine"
    mutated=${files[i]}
    apply "$tree/${files[i]}" "${finds[i]}" "${puts[i]}"
    t0=$SECONDS
    status=0
    run_suite "${hints[i]}" >"$log" 2>&1 || status=$?
    if ((status == 0)); then
        outcome="NO detectada"
        missed=$((missed + 1))
    elif ((status == 2)); then
        outcome="detectada (no compila)"
        unbuilt=$((unbuilt + 1))
        caught=$((caught + 1))
    else
        outcome="detectada: $(first_failure "$log")"
        caught=$((caught + 1))
    fi
    restore
    printf '[%2d/%d] %s (%d s)\n        %s\n' "$n" "$total" "$outcome" $((SECONDS - t0)) "$label"
    printf '%d\t%s\t%s\n' "$n" "${outcome%%:*}" "$label" >>"$results"
done
build_tests >/dev/null 2>&1 || true # leave the copy built unmutated

echo
echo "$caught de $((caught + missed)) mutaciones detectadas ($unbuilt de ellas no compilan)"
echo "mutants: $caught caught, $missed missed"
