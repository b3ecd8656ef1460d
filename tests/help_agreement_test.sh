#!/bin/bash
# The options skyplate-cli --help lists, the README's skyplate-cli section and
# the help page's command-line section name are the same ones.
#   help_agreement_test.sh SKYPLATE_CLI SOURCE_DIR
CLI=$1
SRC=$2
source "$(dirname "$0")/test_lib.sh"

# The option names (-x and --name) in the text on stdin, one a line, sorted.
option_names() { grep -oE -- '(^|[^a-zA-Z0-9-])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z-]+' | sort -u; }
long_names() { grep -E -- '^--'; }

help_options=$("$CLI" --help | grep -E '^  -' | option_names)
page_options=$(sed -n '/<h2>The command-line tool<\/h2>/,/<h2>/p' "$SRC/resources/Skyplate.html" |
  grep -oE -- '<code>--?[a-z-]+' | sed 's/<code>//' | sort -u)
# The section up to make-track, the other tool it mentions.
readme_options=$(sed -n '/^## skyplate-cli/,/^`make-track/p' "$SRC/README.md" | grep -v '^`make-track' |
  option_names)

check "--help lists options" [ -n "$help_options" ]
same() {
  [ "$1" = "$2" ] && return 0
  diff <(echo "$1") <(echo "$2")
  return 1
}
check "the help page names the options of --help" same "$help_options" "$page_options"
check "the README names the long options of --help" same "$(long_names <<<"$help_options")" \
  "$(long_names <<<"$readme_options")"
check "the README names no short option --help lacks" \
  same "" "$(comm -13 <(echo "$help_options") <(echo "$readme_options"))"

finish
