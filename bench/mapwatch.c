/* Starts a program and prints the milliseconds from its exec to the mapping of its first
 * top-level window of the given size, then ends it. Usage: mapwatch W H program [args...]
 * W H = 0 0: any window. */
#define _POSIX_C_SOURCE 200809L
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const int width = atoi(argv[1]), height = atoi(argv[2]);
    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c))
        return 3;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    const double start = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    double mapped = -1;
    xcb_generic_event_t* e;
    while (mapped < 0 && (e = xcb_wait_for_event(c))) {
        if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            xcb_map_notify_event_t* m = (xcb_map_notify_event_t*)e;
            xcb_get_geometry_reply_t* g =
                xcb_get_geometry_reply(c, xcb_get_geometry(c, m->window), NULL);
            if (g && ((width == 0 && height == 0) || (g->width == width && g->height == height)))
                mapped = now_ms() - start;
            free(g);
        }
        free(e);
    }
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    printf("%.1f\n", mapped);
    return mapped < 0;
}
