#!/bin/sh
# A GTP engine that speaks like the Benzene ones, for the tests of the swap:
#   swap-sides-engine.sh LOG [FIRST]
# Its name is Wolve; it lists param_game and takes time_left with two arguments only. Its
# swap is off until `param_game allow_swap 1`; then, as White facing one stone, genmove
# answers swap-pieces, and swap-pieces (played or answered) keeps the stones where they are
# (swap-sides). Otherwise it plays FIRST if that cell is free, else the first free cell in
# reading order (a1, b1, ...). It refuses occupied cells, and appends every command to LOG.
log=$1
first=$2
size=11
swap=0
stones=' '
letters='a b c d e f g h i j k l m n o p q r s t u v w x y z'
reply() {
  printf '%s\n\n' "$1"
}
count() {
  set -- $stones
  echo $#
}
free() {
  case "$stones" in
  *" $1 "*) return 1 ;;
  *) return 0 ;;
  esac
}
firstFree() {
  if [ -n "$first" ] && free "$first"; then
    echo "$first"
    return
  fi
  row=1
  while [ $row -le $size ]; do
    col=0
    for letter in $letters; do
      col=$((col + 1))
      [ $col -gt $size ] && break
      if free "$letter$row"; then
        echo "$letter$row"
        return
      fi
    done
    row=$((row + 1))
  done
}
while IFS= read -r line; do
  printf '%s\n' "$line" >>"$log"
  set -- $line
  case "$1" in
  name) reply '= Wolve' ;;
  version) reply '= 0.0' ;;
  list_commands) reply "$(printf '= boardsize\nclear_board\ngenmove\nlist_commands\nname\nparam_game\nplay\nquit\ntime_left\nversion')" ;;
  boardsize) size=$2; stones=' '; reply '= ' ;;
  clear_board) stones=' '; reply '= ' ;;
  param_game)
    if [ "$2" = allow_swap ]; then
      swap=$3
    fi
    reply '= '
    ;;
  time_left)
    if [ $# -eq 3 ]; then reply '= '; else reply '? wrong number of arguments'; fi
    ;;
  play)
    if [ "$3" = swap-pieces ]; then
      if [ "$swap" = 1 ] && [ "$(count)" -eq 1 ]; then reply '= '; else reply '? illegal move'; fi
    elif free "$3"; then
      stones="$stones$3 "
      reply '= '
    else
      reply '? illegal move (occupied)'
    fi
    ;;
  genmove)
    if [ "$swap" = 1 ] && [ "$(count)" -eq 1 ] && [ "$2" != b ] && [ "$2" != black ]; then
      reply '= swap-pieces'
    else
      move=$(firstFree)
      stones="$stones$move "
      reply "= $move"
    fi
    ;;
  quit) reply '= '; exit 0 ;;
  *) reply '? unknown command' ;;
  esac
done
