#!/bin/sh
# A GTP engine that misbehaves on purpose, for the referee's tests:
#   fake-engine.sh MODE [FILE]
# It answers every command with an empty success, except:
#   genmove  hang: never answers; crash, deaf-again: exits with status 3; illegal: always a1;
#            resign: resign; garbage: hello; refuse: an error; swap: swap-pieces
#   play     refuse-play: an error
#   name     fake-MODE; mute: exits at once, before any answer; deaf: creates FILE, then
#            never answers; deaf-again: answers in the engine's first life (it creates
#            FILE.lived), and in later ones is deaf
#   any      chatty: a line that is no GTP reply before every answer
mode=$1
file=$2
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
    if [ "$mode" = deaf ] || { [ "$mode" = deaf-again ] && [ -e "$file.lived" ]; }; then
      : >"$file"
      sleep 1000
    fi
    if [ "$mode" = deaf-again ]; then
      : >"$file.lived"
    fi
    reply "= fake-$mode"
    ;;
  genmove)
    case "$mode" in
    hang) sleep 1000 ;;
    crash | deaf-again) exit 3 ;;
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
