#!/usr/bin/env python3
"""Positions from our own games with values proven by a solver, for the review's and the
expert's benchmarks. The solver is MoHex's proof-number search (Benzene, built outside the
project by ../shared/peers/build-benzene.sh); it runs offline and nothing here is needed by
the build or the tests.

  solved-positions.py blunders|few-wins MOHEX OUT GAME.sgf... [--per-game K] [--seconds S]
                     [--seed N]

blunders: positions that the solver proves won for the side to move, each followed by a move
(next to a stone) that the solver proves losing. One line per case:
    SIZE MOVE MOVE ... LOSING_MOVE
in GTP names, the swap as swap-pieces; the side to move before the losing move has won.

few-wins: positions with 20 or more stones that the solver proves won for the side to move,
where at most one of four random empty cells wins (each solved after it). One line per case:
    SIZE MOVE MOVE ... : WINNING_MOVE
with a winning move found among the random cells (the first four, else up to 30), as a check.
"""
import argparse
import random
import re
import subprocess
import sys


class Solver:
    """One MoHex process, asked over GTP."""

    def __init__(self, mohex, seconds):
        self.proc = subprocess.Popen([mohex, "--quiet", "--use-logfile=false"],
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True)
        self.ask("param_dfpn timelimit %d" % seconds)

    def ask(self, command):
        self.proc.stdin.write(command + "\n")
        self.proc.stdin.flush()
        lines = []
        while True:
            line = self.proc.stdout.readline()
            if not line:
                raise RuntimeError("the solver ended at: " + command)
            if line.strip() == "" and lines:
                break
            if line.strip():
                lines.append(line.strip())
        answer = " ".join(lines)
        if not answer.startswith("="):
            raise RuntimeError(command + ": " + answer)
        return answer[1:].strip()

    def winner(self, size, moves):
        """'b', 'w', or '' when the solver gives up, for the position after the moves."""
        self.ask("boardsize %d" % size)
        self.ask("clear_board")
        for cell, colour in stones(moves).items():
            self.ask("play %s %s" % (colour, cell))
        answer = self.ask("dfpn-solve-state %s" % to_move(moves))
        return {"black": "b", "white": "w"}.get(answer, "")


def to_move(moves):
    return "b" if len(moves) % 2 == 0 else "w"


def stones(moves):
    board = {}
    for i, move in enumerate(moves):
        if move == "swap-pieces":
            (only, _), = board.items()
            col, row = ord(only[0]) - 97, int(only[1:]) - 1
            board = {chr(97 + row) + str(col + 1): "w"}
        else:
            board[move] = "b" if i % 2 == 0 else "w"
    return board


def read_game(path):
    text = open(path).read()
    size = int(re.search(r"SZ\[(\d+)\]", text).group(1))
    moves = [m.lower() for _, m in re.findall(r";([BW])\[([^\]]*)\]", text)]
    return size, moves


def next_to_stones(size, moves):
    taken = stones(moves)
    near = set()
    for cell in taken:
        col, row = ord(cell[0]) - 97, int(cell[1:]) - 1
        for dc, dr in ((1, 0), (-1, 0), (0, 1), (0, -1), (1, -1), (-1, 1)):
            c, r = col + dc, row + dr
            if 0 <= c < size and 0 <= r < size:
                near.add(chr(97 + c) + str(r + 1))
    return sorted(near - set(taken))


def blunders(solver, size, moves, per_game, rng):
    cases = []
    candidates = list(range(12, len(moves) - 1))
    rng.shuffle(candidates)
    for k in candidates:
        if len(cases) >= per_game:
            break
        before = moves[:k]
        mover = to_move(before)
        if solver.winner(size, before) != mover:
            continue
        tries = next_to_stones(size, before)
        rng.shuffle(tries)
        for move in tries[:12]:
            if solver.winner(size, before + [move]) not in ("", mover):
                cases.append("%d %s" % (size, " ".join(before + [move])))
                print(cases[-1], file=sys.stderr)
                break
    return cases


def empty_cells(size, moves):
    taken = stones(moves)
    return [chr(97 + c) + str(r + 1) for r in range(size) for c in range(size)
            if chr(97 + c) + str(r + 1) not in taken]


def few_wins(solver, size, moves, per_game, rng):
    cases = []
    candidates = [k for k in range(20, len(moves) - 1)]
    rng.shuffle(candidates)
    for k in candidates:
        if len(cases) >= per_game:
            break
        before = moves[:k]
        mover = to_move(before)
        if solver.winner(size, before) != mover:
            continue
        cells = empty_cells(size, before)
        rng.shuffle(cells)
        values = [solver.winner(size, before + [move]) for move in cells[:4]]
        if "" in values or values.count(mover) > 1:
            continue  # unjudged, or more than one of the four wins
        known = [move for move, value in zip(cells, values) if value == mover]
        for move in cells[4:30]:
            if known:
                break
            if solver.winner(size, before + [move]) == mover:
                known.append(move)
        if known:
            cases.append("%d %s : %s" % (size, " ".join(before), known[0]))
            print(cases[-1], file=sys.stderr)
    return cases


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("kind", choices=["blunders", "few-wins"])
    parser.add_argument("mohex")
    parser.add_argument("out")
    parser.add_argument("games", nargs="+")
    parser.add_argument("--per-game", type=int, default=4)
    parser.add_argument("--seconds", type=int, default=20)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    solver = Solver(args.mohex, args.seconds)
    with open(args.out, "w") as out:
        out.write("# Made by tools/solved-positions.py %s (seed %d, %d s a solve) from %d of our "
                  "games.\n" % (args.kind, args.seed, args.seconds, len(args.games)))
        for path in args.games:
            size, moves = read_game(path)
            make = blunders if args.kind == "blunders" else few_wins
            for case in make(solver, size, moves, args.per_game, rng):
                out.write(case + "\n")
                out.flush()


if __name__ == "__main__":
    main()
