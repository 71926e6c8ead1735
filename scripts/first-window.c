// first-window.c — the time from starting a program to its first window shown on an X display.
// first-window ROUNDS COMMAND... starts COMMAND ROUNDS times, one after another, and prints the
// milliseconds from each fork to the first MapNotify of a window on the display's root (the
// window shown), then the median; what the program prints goes nowhere. Each program is ended
// with SIGTERM once its window is shown.
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int Compare(const void* a, const void* b) {
  const double x = *(const double*)a, y = *(const double*)b;
  return x < y ? -1 : x > y;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: first-window ROUNDS COMMAND...\n");
    return 2;
  }
  const int rounds = atoi(argv[1]);
  Display* d = XOpenDisplay(NULL);
  if (!d || rounds < 1 || rounds > 1000) return 2;
  XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
  double* times = calloc((size_t)rounds, sizeof *times);
  for (int i = 0; i < rounds; ++i) {
    XSync(d, True);  // nothing of an earlier round is left in the queue
    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
      // What the program prints is not the measurement's.
      freopen("/dev/null", "w", stdout);
      freopen("/dev/null", "w", stderr);
      execvp(argv[2], argv + 2);
      _exit(127);
    }
    for (;;) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == MapNotify) break;
    }
    times[i] = Now() - start;
    printf("%.1f\n", times[i]);
    fflush(stdout);
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
  }
  qsort(times, (size_t)rounds, sizeof *times, Compare);
  printf("median %.1f ms\n", times[rounds / 2]);
  return 0;
}
