// keyatmap CLASS KEYSYM: types KEYSYM (through XTEST, to whatever has the
// focus) the moment the first window of class CLASS is mapped, prints
// "sent WINDOW" and ends. Prints "ready" once it watches, so the caller can
// start the program only then.
//
// A window manager reparents the windows it manages, and their MapNotify then
// goes to the frame's listeners, not the root's: so every new top-level
// window is watched on its own as soon as it is created, before any client
// maps a window it has only just created.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <cstring>

namespace {

int ignoreErrors(Display *, XErrorEvent *)
{
    return 0; // a window may be gone by the time it is looked at
}

bool hasClass(Display *display, Window window, const char *wanted)
{
    XClassHint hint = {};
    if (!XGetClassHint(display, window, &hint))
        return false;
    const bool found = (hint.res_class && strcmp(hint.res_class, wanted) == 0)
                       || (hint.res_name && strcmp(hint.res_name, wanted) == 0);
    XFree(hint.res_name);
    XFree(hint.res_class);
    return found;
}

void typeKey(Display *display, KeyCode code)
{
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: keyatmap CLASS KEYSYM\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "keyatmap: cannot open the display\n");
        return 1;
    }
    int unused;
    const KeySym keysym = XStringToKeysym(argv[2]);
    const KeyCode code = keysym == NoSymbol ? 0 : XKeysymToKeycode(display, keysym);
    if (!code || !XTestQueryExtension(display, &unused, &unused, &unused, &unused)) {
        fprintf(stderr, "keyatmap: cannot type %s here\n", argv[2]);
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    printf("ready\n");
    fflush(stdout);

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
            XSelectInput(display, event.xcreatewindow.window, StructureNotifyMask);
        } else if (event.type == MapNotify && hasClass(display, event.xmap.window, argv[1])) {
            typeKey(display, code);
            printf("sent 0x%lx\n", event.xmap.window);
            fflush(stdout);
            XCloseDisplay(display);
            return 0;
        }
    }
}
