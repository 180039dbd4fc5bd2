#!/usr/bin/env bash
# Installs the whole build into a scratch prefix and runs the installed programs from there,
# in a scratch home and working directory, so nothing can come from the source or build tree.
# Checks: the files a desktop installation needs, both programs' --help and --version, a
# solve, the window program reaching its shown window offscreen (with Qt's options, and refusing
# unknown ones), and that running them
# writes only into the user's own folders. Usage: installed_programs.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() {
    echo "installed programs: $*" >&2
    exit 1
}
for f in bin/tavrel1 bin/tavrel1-cli share/man/man1/tavrel1.1.gz share/man/man1/tavrel1-cli.1.gz \
         share/doc/tavrel1/README.md share/doc/tavrel1/CREDITS.md \
         share/doc/tavrel1/LICENSE-data share/doc/tavrel1/LICENSE-reference-eos.txt \
         share/doc/tavrel1/copyright; do
    test -s "$prefix/$f" || fail "missing $f"
done
find "$prefix" -printf '%p %s %T@\n' | sort >"$scratch/before"

export HOME=$scratch/home
export XDG_DATA_HOME=$HOME/.local/share XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cd "$HOME"
gui=$prefix/bin/tavrel1
cli=$prefix/bin/tavrel1-cli

# The window program answers --help and --version without a display.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$gui" --version | grep -Eqx 'tavrel1 [0-9]+\.[0-9]+(\.[0-9]+)?' ||
    fail "tavrel1 --version"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$gui" --help | grep -q '^Usage: tavrel1' ||
    fail "tavrel1 --help"

# The window program starts offscreen, creates the user's database from the compiled-in
# seed and reaches its shown window (the start-up probe prints the memory and quits).
QT_QPA_PLATFORM=offscreen TAVREL1_STARTUP_PROBE=1 timeout 60 "$gui" | grep -q '^VmRSS:' ||
    fail "tavrel1 did not reach its window"
test -s "$XDG_DATA_HOME/Tavrel1/Components.mdb" || fail "no Components.mdb in the user's data folder"

# Qt's own options still start the windows; anything else is refused as tavrel1-cli refuses
# a bad option, with the usage on stderr and exit status 2, before a window opens.
QT_QPA_PLATFORM=offscreen TAVREL1_STARTUP_PROBE=1 timeout 60 "$gui" -style fusion -reverse |
    grep -q '^VmRSS:' || fail "tavrel1 refused Qt's own options"
status=0
QT_QPA_PLATFORM=offscreen timeout 60 "$gui" --bogus >"$scratch/out" 2>"$scratch/err" || status=$?
test "$status" = 2 && ! test -s "$scratch/out" && grep -q '^Usage: tavrel1' "$scratch/err" ||
    fail "tavrel1 --bogus: exit $status, not refused with the usage on stderr"

# The command line solves from that database and says its version.
"$cli" --component Benzene --temp 25 --press 1 >"$scratch/solve" || fail "tavrel1-cli solve"
grep -Eq '^Peng-Robinson +[0-9.]+ +[0-9.]+' "$scratch/solve" || fail "no Peng-Robinson row"
"$cli" --version | grep -Eqx 'tavrel1-cli [0-9]+\.[0-9]+(\.[0-9]+)?' || fail "tavrel1-cli --version"

# Nothing was written into the installation.
find "$prefix" -printf '%p %s %T@\n' | sort >"$scratch/after"
cmp -s "$scratch/before" "$scratch/after" || fail "the programs changed their installation"
echo "installed programs pass"
