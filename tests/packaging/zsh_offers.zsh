# Prints the matches zsh's completion offers at the end of each command line read from
# standard input, as "LINE<tab>MATCH" lines.
#   printf '%s\n' 'velmora-cli analyze --' | zsh zsh_offers.zsh COMPLETION_DIR
# It drives one interactive zsh on a pseudo-terminal, as a user pressing a key would, and
# records every match the completion functions add.
zmodload zsh/zpty
zpty shell zsh -f -i
zpty -w shell "PROMPT=''; fpath=(${(q)1} \$fpath); autoload -Uz compinit; compinit -u -D"
zpty -w shell 'compadd () { local -a m; builtin compadd -O m "$@"; print -rl -- "<MA""TCH>"${^m}; builtin compadd "$@"; }'
zpty -w shell 'complete-and-mark () { zle complete-word; print -r -- "<COMPLE""TED>"; }'
zpty -w shell 'zle -N complete-and-mark; bindkey "^T" complete-and-mark; print -r -- "<REA""DY>"'

# The quoted markers only read whole in the shell's output, never in its echo of the input.
read_until() {
  local chunk
  output=""
  while [[ $output != *"$1"* ]] && zpty -r shell chunk; do output+=$chunk; done
}
read_until '<READY>'
local line match
while IFS= read -r line; do
  zpty -w -n shell $'\C-e\C-u'"$line"$'\C-t'
  read_until '<COMPLETED>'
  for match in ${(u)${(M)${(f)${output//$'\r'/}}:#*<MATCH>*}#*<MATCH>}; do
    print -r -- "$line"$'\t'"$match"
  done
done
zpty -d shell
