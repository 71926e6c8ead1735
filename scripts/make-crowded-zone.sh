#!/bin/sh
# make-crowded-zone.sh [--roaming] FILE — writes a zone for measuring and benchmarks, not to play.
#   default    the heaviest zone Quarn has to draw: 150 x 130 cells, every cell below the two top
#              corridors a hot potato or a target (about 9 300 of each), and 101 enemies
#              patrolling the corridors.
#   --roaming  150 x 130 cells of open floor with scattered walls, about 600 potatoes and 600
#              targets, and 101 enemies roaming all over it (most of them out of view).
set -eu
roaming=0
if [ "${1:-}" = "--roaming" ]; then roaming=1; shift; fi
out=${1:?usage: make-crowded-zone.sh [--roaming] FILE}
if [ "$roaming" = 1 ]; then
  awk 'BEGIN {
    srand(12); w = 150; h = 130; enemies = 0;
    printf "\"Potulná zóna\"\n%d\n%d\n8\n12\n8\n6\n01\n0011\n000111\n", w, h;
    for (y = 0; y < h; y++) {
      row = "";
      for (x = 0; x < w; x++) {
        if (x == 0 || y == 0 || x == w - 1 || y == h - 1) c = (x == w - 1 && y == 1) ? "E" : "W";
        else if (x == 1 && y == 1) c = "S";
        else {
          r = rand();
          if (r < 0.075) c = "W";
          else if (r < 0.106) c = "C";
          else if (r < 0.136) c = "R";
          else if (r < 0.145 && enemies < 101) { c = substr("+-*", enemies % 3 + 1, 1); enemies++; }
          else c = ".";
        }
        row = row c;
      }
      print row;
    }
  }' > "$out"
  exit 0
fi
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
