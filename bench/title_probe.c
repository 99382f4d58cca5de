/* Watches the game's window for the first frame of the title. The caller
 * gives the game a plain green loading picture and a plain red title
 * picture; one pixel is polled every millisecond. The title's first frame
 * is nearly covered by its fade-in, yet already reddish (red 8 or more,
 * little green or blue), unlike the black window and the green loading
 * picture before it. Prints the moment the loading picture was first seen
 * (0 if the server never showed it) and the moment of the first title frame
 * as seconds since 1970 (CLOCK_REALTIME), so a script can relate them to
 * its own clock, and
 * the processor time the game had used by then (all threads, user and
 * system): on a busy machine that is the better measure of the work done.
 *
 * Usage: title_probe PID X Y TIMEOUT_SECONDS
 * The window is the mapped 640 x 480 top-level window of process PID. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static int ignore_errors(Display* d, XErrorEvent* e) {
  (void)d, (void)e;
  return 0;
}

static double now(void) {
  struct timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static void nap(void) {
  struct timespec t = {0, 1000000};
  nanosleep(&t, NULL);
}

static long window_pid(Display* d, Window w) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = NULL;
  long pid = -1;
  Atom prop = XInternAtom(d, "_NET_WM_PID", True);
  if (prop == None) return -1;
  if (XGetWindowProperty(d, w, prop, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) == Success &&
      data && count == 1 && format == 32) {
    pid = (long)*(unsigned long*)data;
  }
  if (data) XFree(data);
  return pid;
}

/* User plus system time of the process so far, in seconds; -1 if unknown. */
static double cpu_seconds(long pid) {
  char path[64], buf[1024];
  snprintf(path, sizeof path, "/proc/%ld/stat", pid);
  FILE* f = fopen(path, "r");
  if (!f) return -1.0;
  const size_t n = fread(buf, 1, sizeof buf - 1, f);
  fclose(f);
  buf[n] = '\0';
  const char* p = strrchr(buf, ')'); /* the name may hold blanks */
  unsigned long utime = 0, stime = 0;
  if (!p ||
      sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) != 2) {
    return -1.0;
  }
  return (double)(utime + stime) / (double)sysconf(_SC_CLK_TCK);
}

static Window find_game_window(Display* d, long pid) {
  Window root_return, parent, *children = NULL;
  unsigned int n = 0;
  Window found = 0;
  if (!XQueryTree(d, DefaultRootWindow(d), &root_return, &parent, &children, &n)) return 0;
  for (unsigned int i = 0; i < n && !found; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, children[i], &a)) continue;
    if (a.map_state == IsViewable && a.width == 640 && a.height == 480 &&
        window_pid(d, children[i]) == pid) {
      found = children[i];
    }
  }
  if (children) XFree(children);
  return found;
}

static int red(unsigned long pixel) { return (int)((pixel >> 16) & 0xFF); }
static int green(unsigned long pixel) { return (int)((pixel >> 8) & 0xFF); }
static int blue(unsigned long pixel) { return (int)(pixel & 0xFF); }

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: %s PID X Y TIMEOUT_SECONDS\n", argv[0]);
    return 2;
  }
  const long pid = atol(argv[1]);
  const int x = atoi(argv[2]), y = atoi(argv[3]);
  const double deadline = now() + atof(argv[4]);
  Display* d = XOpenDisplay(NULL);
  if (!d) return 2;
  XSetErrorHandler(ignore_errors);

  Window w = 0;
  while (!(w = find_game_window(d, pid))) {
    if (now() > deadline) return 3;
    nap();
  }
  double loading = 0.0;
  unsigned long last = 0;
  for (;;) {
    if (now() > deadline) {
      fprintf(stderr, "title_probe: no title frame; last pixel %06lx\n", last & 0xFFFFFF);
      return 4;
    }
    XImage* image = XGetImage(d, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) {
      /* The window may have been made again (a renderer can need another
       * visual): look for the current one. */
      const Window again = find_game_window(d, pid);
      if (again) w = again;
    } else {
      const unsigned long pixel = XGetPixel(image, 0, 0);
      XDestroyImage(image);
      last = pixel;
      if (!loading && green(pixel) >= 128) loading = now();
      if (red(pixel) >= 8 && green(pixel) <= 64 && blue(pixel) <= 64) {
        const double title = now();
        printf("%.6f %.6f %.2f\n", loading, title, cpu_seconds(pid));
        return 0;
      }
    }
    nap();
  }
}
