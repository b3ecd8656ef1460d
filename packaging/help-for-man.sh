#!/bin/sh
# Runs skyplate-cli for help2man and shapes what it prints into what help2man
# reads as sections: "-h, --help" for an option with two names, and the help's
# "Exit status:" paragraph as the manual's EXIT STATUS section.
#   help-for-man.sh SKYPLATE_CLI --help|--version
cli=$1
shift
"$cli" "$@" | sed -e 's/^\( *-[A-Za-z0-9]\),--/\1, --/' -e 's/^Exit status:$/*Exit status*/'
