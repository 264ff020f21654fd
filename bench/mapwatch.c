/* Starts a program and prints the milliseconds from its exec to the mapping of its first
 * top-level window of the given size and then, for a window of a given size, to the first
 * frame in which a dialog edge is drawn across the screen's middle row (the raised edge of the
 * game's dialogs: a dark grey line, then black, at its right side); then ends it.
 * Usage: mapwatch W H program [args...]; W H = 0 0: any window, its mapping only. */
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
    // A dialog drawn inside the window comes with its first frames, after the mapping: the
    // middle row is read until the dialog's right edge is in it.
    double drawn = mapped < 0 || width == 0 ? mapped : -1;
    for (int tries = 0; drawn < 0 && mapped >= 0 && tries < 20000; ++tries) {
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            c,
            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, height / 2, width, 1, ~0u),
            NULL);
        if (image && xcb_get_image_data_length(image) >= width * 4) {
            const uint8_t* px = xcb_get_image_data(image);
            for (int x = 1; x < width && drawn < 0; ++x) {
                const uint8_t* a = px + 4 * (x - 1);
                const uint8_t* b = px + 4 * x;
                if (a[0] == 0x80 && a[1] == 0x80 && a[2] == 0x80 && !b[0] && !b[1] && !b[2])
                    drawn = now_ms() - start;
            }
        }
        free(image);
        if (drawn < 0)
            nanosleep(&(struct timespec){0, 500000}, NULL);
    }
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    printf("%.1f\n", drawn);
    return drawn < 0;
}
