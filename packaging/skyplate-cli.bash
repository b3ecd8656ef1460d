# bash completion for skyplate-cli: its options and .track files. The options
# come from the tool's own --help, so they follow whatever the tool accepts.

_skyplate_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prev=${COMP_WORDS[COMP_CWORD - 1]}
  local line names value_line="" options=()
  # Option lines start with their names ("-j,--jobs"); a value name in
  # capitals right after them ("-j,--jobs INT") means the option takes a value.
  while read -r line; do
    names=${line%%[ =]*}
    options+=(${names//,/ })
    if [[ ,$names, == *,"$prev",* && $line == "$names "[A-Z]* ]]; then
      value_line=$line
    fi
  done < <("${COMP_WORDS[0]}" --help 2>/dev/null | grep -E '^ +-')

  if [ -n "$value_line" ]; then
    # CLI11 lists accepted values as {a,b}, or {a->0,b->1} for a mapping.
    if [[ $value_line =~ \{([^}]*)\} ]]; then
      local values
      values=$(sed -e 's/->[^,]*//g' -e 's/,/ /g' <<<"${BASH_REMATCH[1]}")
      mapfile -t COMPREPLY < <(compgen -W "$values" -- "$cur")
    else
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
  elif [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "${options[*]}" -- "$cur")
  else
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(
      compgen -d -- "$cur"
      compgen -f -X '!*.track' -- "$cur"
    )
  fi
}
complete -F _skyplate_cli skyplate-cli
