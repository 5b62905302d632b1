#!/usr/bin/env bash
# Drives orvologger's bash completion the way bash calls it: COMP_LINE as typed, COMP_WORDS as
# bash splits that line at its word breaks (a colon is a word of its own), COMP_CWORD the word
# under the cursor at the line's end; then checks the offered words.
#   usage: completion-test.sh <completion file> plain|bash-completion
#     plain            the completion alone, as in a shell without the bash-completion package
#     bash-completion  with that package's helpers loaded first (exit 77: skipped, not installed)
set -uo pipefail
completion="$1"
mode="$2"
helpers=/usr/share/bash-completion/bash_completion

if [ "$mode" = bash-completion ]; then
  [ -r "$helpers" ] || { echo "skipped: $helpers is not installed"; exit 77; }
  # The helpers load completions of their own; only theirs for orvologger matters here.
  # shellcheck disable=SC1090
  BASH_COMPLETION_USER_DIR=/nonexistent source "$helpers"
  declare -F _init_completion >/dev/null || { echo "no _init_completion in $helpers"; exit 1; }
fi
# shellcheck disable=SC1090
source "$completion"
declare -F __ltrim_colon_completions >/dev/null && [ "$mode" = plain ] &&
  { echo "plain mode has the package's helpers"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch msgs.txt msgs-old.txt other.log
# compgen -A hostname reads the names of HOSTFILE.
printf '127.0.0.1 orvo-test-host orvo-test-other\n' >hosts
export HOSTFILE="$work/hosts"
COMP_WORDBREAKS=$' \t\n"\'><=;|&(:'

failures=0
checks=0
# check <line> <expected offers, sorted, blank-separated> <words as bash splits the line...>
check() {
  local line="$1" expected="$2"
  shift 2
  COMP_LINE="$line"
  COMP_POINT=${#line}
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _orvologger orvologger "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  local got
  checks=$((checks + 1))
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort | tr '\n' ' ' | sed 's/ $//')
  if [ "$got" != "$expected" ]; then
    echo "FAIL [$mode] '$line': offered '$got', expected '$expected'"
    failures=$((failures + 1))
  else
    echo "ok   [$mode] '$line': '$got'"
  fi
}

check 'orvologger -' '-- -f -h -help -i -is -p -s -si -t' orvologger -
check 'orvologger -f msg' 'msgs-old.txt msgs.txt' orvologger -f msg
check 'orvologger -h 127.0.0.1:514 -f msg' 'msgs-old.txt msgs.txt' \
  orvologger -h 127.0.0.1 : 514 -f msg
check 'orvologger -h :514 -f msgs.' 'msgs.txt' orvologger -h : 514 -f msgs.
check 'orvologger -h 127.0.0.1:514 -p local3.e' 'local3.emerg local3.err local3.error' \
  orvologger -h 127.0.0.1 : 514 -p local3.e
check 'orvologger -h 127.0.0.1:514 -t demo -i' '-i -is' orvologger -h 127.0.0.1 : 514 -t demo -i
check 'orvologger -p loc' 'local0. local1. local2. local3. local4. local5. local6. local7.' \
  orvologger -p loc
check 'orvologger -h orvo-test-h' 'orvo-test-host' orvologger -h orvo-test-h
check 'orvologger -h orvo-test-host:' '514' orvologger -h orvo-test-host :
check 'orvologger -h orvo-test-host:5' '514' orvologger -h orvo-test-host : 5
# After the first message word every word is message text; "-t -s" takes -s as the tag.
check 'orvologger -h 127.0.0.1:514 hello -' '' orvologger -h 127.0.0.1 : 514 hello -
check 'orvologger -- -' '' orvologger -- -
check 'orvologger -t -s -f msgs.' 'msgs.txt' orvologger -t -s -f msgs.

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
