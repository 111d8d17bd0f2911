# bash completion for veltrix                              -*- shell-script -*-

_veltrix() {
  local cur prev
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD - 1]}

  # Options that take a file name, then those that take a number.
  local file_options="-o --output --widths --strip --extract --log --tables --facts"
  local number_options="--first-font-id --level --max-output --port"
  local options="-o --output -e --exceptions-only --char-descriptors --font-raster --raster
    --contiguous --24bit-colors --no-font-summary --no-macro-summary --no-page-summary
    --no-command-summary --no-palette-summary --two-byte-summary --widths --strip --extract
    --separate-fonts --first-font-id --level --log --tables --strict --max-output --facts -q --quiet
    --ui --port --no-browser --version -h --help"

  if [[ " $file_options " == *" $prev "* ]]; then
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -f -- "$cur"))
    return
  fi
  if [[ " $number_options " == *" $prev "* ]]; then
    COMPREPLY=()
    return
  fi
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi
  compopt -o filenames 2>/dev/null
  COMPREPLY=($(compgen -f -- "$cur"))
}

complete -F _veltrix veltrix
