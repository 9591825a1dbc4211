# Sourced by the callgrind scripts: source_dir, build (argument 1 or
# build/native), the program named $1 of that build (checked), valgrind
# (checked) and a work folder removed at exit.
#   source bench/callgrind-start.sh PROGRAM [build dir]
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${2:-$source_dir/build/native}
program=$build/$1
[[ -x $program ]] || { echo "no $program: build the target $1 first" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
