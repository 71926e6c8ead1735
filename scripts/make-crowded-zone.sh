#!/bin/sh
# make-crowded-zone.sh FILE — writes the heaviest zone Quarn has to draw: 150 x 130 cells, every
# cell below the two top corridors a hot potato or a target (about 9 300 of each), and 101
# enemies patrolling the corridors. For measuring and benchmarks; not a zone to play.
set -eu
out=${1:?usage: make-crowded-zone.sh FILE}
awk 'BEGIN {
  w = 150; h = 130; enemies = 0;
  printf "\"Přeplněná zóna\"\n%d\n%d\n4\n3\n7\n219\n0011\n01\n000111000\n", w, h;
  for (y = 0; y < h; y++) {
    row = "";
    for (x = 0; x < w; x++) {
      if (x == 0 || y == 0 || x == w - 1 || y == h - 1) c = (x == w - 1 && y == 1) ? "E" : "W";
      else if (y <= 2) {
        c = ".";
        if (x == 1 && y == 1) c = "S";
        else if (x >= 4 && x % 2 == y % 2 && enemies < 101) {
          c = substr("+-*", enemies % 3 + 1, 1); enemies++;
        }
      } else c = ((x + y) % 2 == 0) ? "R" : "C";
      row = row c;
    }
    print row;
  }
}' > "$out"
