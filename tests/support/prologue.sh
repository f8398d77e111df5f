# Sourced first by the end-to-end scripts, with the names their arguments go
# by, then `--` and the arguments:
#   . "$(dirname "$0")/../support/prologue.sh" saver shot out -- "$@"
# Each name is set to its argument as an absolute path, which a scratch user,
# a `cd` or a Wine prefix still finds; a name ending in = (build=) keeps its
# argument as given.
# A last name ending in ? (certificate?) may be left out, and is then empty.
# The output folder, named out, starts empty, so that no file of an earlier
# run stands in for one this run must write. Then the checks are sourced.
set -u
prologue_names=()
prologue_needed=0
while [ "$1" != -- ]; do
    prologue_names+=("$1")
    [[ $1 == *\? ]] || prologue_needed=${#prologue_names[@]}
    shift
done
shift
if [ $# -lt $prologue_needed ]; then
    prologue_usage=("${prologue_names[@]%=}")
    echo "FAIL: $(basename "$0") takes ${prologue_usage[*]/%\?/ (optional)}"
    exit 2
fi
for prologue_name in "${prologue_names[@]}"; do
    case $prologue_name in
    *\?) printf -v "${prologue_name%\?}" '%s' "${1:+$(realpath -m "$1")}" ;;
    *=) printf -v "${prologue_name%=}" '%s' "$1" ;;
    *) printf -v "$prologue_name" '%s' "$(realpath -m "$1")" ;;
    esac
    [ $# -eq 0 ] || shift
done
if [[ " ${prologue_names[*]} " == *" out "* ]]; then
    rm -rf "$out"
    mkdir -p "$out"
fi
unset prologue_names prologue_name prologue_needed prologue_usage
. "$(dirname "${BASH_SOURCE[0]}")/end_to_end_checks.sh"
