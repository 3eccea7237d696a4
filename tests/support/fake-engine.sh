#!/bin/sh
# A GTP engine that misbehaves on purpose, for the referee's tests:
#   fake-engine.sh MODE
# It answers every command with an empty success, except:
#   genmove  hang: never answers; crash: exits with status 3; illegal: always a1;
#            resign: resign; garbage: hello; refuse: an error; swap: swap-pieces
#   play     refuse-play: an error
#   name     fake-MODE; mute: exits at once, before any answer
#   any      chatty: a line that is no GTP reply before every answer
mode=$1
reply() {
  if [ "$mode" = chatty ]; then
    printf 'thinking hard\n'
  fi
  printf '%s\n\n' "$1"
}
while IFS= read -r line; do
  set -- $line
  case "$1" in
  quit)
    reply '= '
    exit 0
    ;;
  name)
    if [ "$mode" = mute ]; then
      exit 0
    fi
    reply "= fake-$mode"
    ;;
  genmove)
    case "$mode" in
    hang) sleep 1000 ;;
    crash) exit 3 ;;
    illegal) reply '= a1' ;;
    resign) reply '= resign' ;;
    garbage) reply '= hello' ;;
    refuse) reply '? I will not' ;;
    swap) reply '= swap-pieces' ;;
    *) reply '? no move' ;;
    esac
    ;;
  play)
    if [ "$mode" = refuse-play ]; then
      reply '? I do not like that move'
    else
      reply '= '
    fi
    ;;
  *) reply '= ' ;;
  esac
done
