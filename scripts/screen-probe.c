/* Times what a player sees of an X11 program, for scripts/compare-peer.sh.
 *
 *   screen-probe launch NAME X Y W H REFERENCE -- PROGRAM ARGS...
 *     starts the program and prints the milliseconds until its window NAME shows in the
 *     rectangle X Y W H (window coordinates) the picture kept in the file REFERENCE: the
 *     usable menu, past any splash screen or fading in. Without the file, the picture 6 s
 *     after the window appeared is kept there (and the time until then printed). The program
 *     is then ended.
 *   screen-probe keys NAME X Y W H COUNT KEY KEY...
 *     gives the window the focus and presses COUNT keys, taking the KEYs in turn (X keysym
 *     names), each once the rectangle has been still for a while; after each press it reads
 *     the rectangle every millisecond until it changes, and prints the median and the 90th
 *     percentile of the times from the press to the change, in milliseconds.
 *
 * Build: cc -O2 -o screen-probe screen-probe.c -lX11 -lXtst
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

/* When a program's picture is taken as the one to wait for. */
static const double kSettleMs = 6000;

static double NowMs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

static void PauseMs(double ms) {
    struct timespec pause = {(time_t)(ms / 1000), (long)((ms - (long)(ms / 1000) * 1000) * 1e6)};
    nanosleep(&pause, NULL);
}

static int ignoreErrors(Display* display, XErrorEvent* error) {
    (void)display;
    (void)error;
    return 0;
}

/* The first viewable window under `parent` whose name is `name`, or 0. */
static Window FindWindow(Display* display, Window parent, const char* name) {
    char* own = NULL;
    if (XFetchName(display, parent, &own) && own != NULL) {
        int same = strcmp(own, name) == 0;
        XFree(own);
        XWindowAttributes attributes;
        if (same && XGetWindowAttributes(display, parent, &attributes) &&
            attributes.map_state == IsViewable) {
            return parent;
        }
    }
    Window root, up, *children = NULL;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        found = FindWindow(display, children[i], name);
    }
    if (children != NULL) XFree(children);
    return found;
}

/* The rectangle's pixels as the screen shows them, or NULL when the window can't be read
 * (yet). The screen is read rather than the window, whose own pixels may not be what shows. */
static XImage* Grab(Display* display, Window window, int x, int y, int w, int h) {
    Window root = DefaultRootWindow(display), child;
    int screenX, screenY;
    if (!XTranslateCoordinates(display, window, root, x, y, &screenX, &screenY, &child)) {
        return NULL;
    }
    return XGetImage(display, root, screenX, screenY, (unsigned)w, (unsigned)h, AllPlanes,
                     ZPixmap);
}

static size_t ImageBytes(XImage* image) {
    return (size_t)image->bytes_per_line * (size_t)image->height;
}

static int Same(XImage* a, XImage* b) {
    return memcmp(a->data, b->data, ImageBytes(a)) == 0;
}

static int CompareDoubles(const void* a, const void* b) {
    double x = *(const double*)a, y = *(const double*)b;
    return (x > y) - (x < y);
}

static int Launch(Display* display, const char* name, int x, int y, int w, int h,
                  const char* reference, char** argv) {
    char* wanted = NULL;
    long wantedBytes = -1;
    FILE* file = fopen(reference, "rb");
    if (file != NULL) {
        fseek(file, 0, SEEK_END);
        wantedBytes = ftell(file);
        rewind(file);
        wanted = malloc((size_t)wantedBytes + 1);
        if (fread(wanted, 1, (size_t)wantedBytes, file) != (size_t)wantedBytes) wantedBytes = -1;
        fclose(file);
    }
    double start = NowMs();
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    int shown = 0;
    while (!shown && NowMs() - start < 20000) {
        Window window = FindWindow(display, DefaultRootWindow(display), name);
        XImage* image = window != 0 ? Grab(display, window, x, y, w, h) : NULL;
        if (image != NULL && wantedBytes < 0) {
            /* No reference yet: the picture once the program has settled becomes one. */
            XDestroyImage(image);
            PauseMs(kSettleMs);
            image = Grab(display, window, x, y, w, h);
            size_t bytes = image != NULL ? ImageBytes(image) : 0;
            file = image != NULL ? fopen(reference, "wb") : NULL;
            shown = file != NULL && fwrite(image->data, 1, bytes, file) == bytes;
            if (file != NULL) shown = fclose(file) == 0 && shown;
        } else if (image != NULL) {
            shown = (long)ImageBytes(image) == wantedBytes &&
                    memcmp(image->data, wanted, (size_t)wantedBytes) == 0;
        }
        if (image != NULL) XDestroyImage(image);
        if (!shown) PauseMs(1);
    }
    double took = NowMs() - start;
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    free(wanted);
    if (!shown) {
        fprintf(stderr, "screen-probe: \"%s\" did not show its picture within 20 s\n", name);
        return 1;
    }
    printf("%.0f\n", took);
    return 0;
}

/* Waits until the rectangle has stayed the same for `stillMs`; the last picture. */
static XImage* WaitStill(Display* display, Window window, int x, int y, int w, int h,
                         double stillMs) {
    XImage* last = Grab(display, window, x, y, w, h);
    double since = NowMs();
    double start = since;
    while (last != NULL && NowMs() - since < stillMs && NowMs() - start < 5000) {
        PauseMs(5);
        XImage* next = Grab(display, window, x, y, w, h);
        if (next == NULL) break;
        if (!Same(last, next)) since = NowMs();
        XDestroyImage(last);
        last = next;
    }
    return last;
}

static int Keys(Display* display, const char* name, int x, int y, int w, int h, int count,
                char** keys, int keyCount) {
    Window window = FindWindow(display, DefaultRootWindow(display), name);
    if (window == 0) {
        fprintf(stderr, "screen-probe: no window \"%s\"\n", name);
        return 1;
    }
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
    double* times = calloc((size_t)count, sizeof *times);
    int measured = 0;
    for (int i = 0; i < count; ++i) {
        KeySym symbol = XStringToKeysym(keys[i % keyCount]);
        KeyCode code = XKeysymToKeycode(display, symbol);
        if (code == 0) {
            fprintf(stderr, "screen-probe: no key %s\n", keys[i % keyCount]);
            return 1;
        }
        XImage* before = WaitStill(display, window, x, y, w, h, 150);
        if (before == NULL) break;
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XFlush(display);
        double pressed = NowMs();
        int changed = 0;
        while (!changed && NowMs() - pressed < 2000) {
            XImage* now = Grab(display, window, x, y, w, h);
            if (now == NULL) break;
            changed = !Same(before, now);
            XDestroyImage(now);
            if (!changed) PauseMs(1);
        }
        double took = NowMs() - pressed;
        XDestroyImage(before);
        /* Held until it shows: a game that polls its keys once a frame sees it. */
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        XFlush(display);
        if (changed) times[measured++] = took;
        /* Presses land at no fixed place in the programs' frames. */
        PauseMs(50 + rand() % 50);
    }
    if (measured == 0) {
        fprintf(stderr, "screen-probe: no key changed the picture\n");
        return 1;
    }
    qsort(times, (size_t)measured, sizeof *times, CompareDoubles);
    printf("%.0f %.0f %d\n", times[measured / 2], times[(measured * 9) / 10 - (measured >= 10)],
           measured);
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 7) {
        fprintf(stderr, "usage: screen-probe launch|keys NAME X Y W H ...\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "screen-probe: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    int x = atoi(argv[3]), y = atoi(argv[4]), w = atoi(argv[5]), h = atoi(argv[6]);
    if (strcmp(argv[1], "launch") == 0 && argc > 9 && strcmp(argv[8], "--") == 0) {
        return Launch(display, argv[2], x, y, w, h, argv[7], argv + 9);
    }
    if (strcmp(argv[1], "keys") == 0 && argc > 8) {
        return Keys(display, argv[2], x, y, w, h, atoi(argv[7]), argv + 8, argc - 8);
    }
    fprintf(stderr, "screen-probe: unknown command\n");
    return 2;
}
