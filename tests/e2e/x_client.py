#!/usr/bin/env python3
"""Small X requests the end-to-end tests make as a user's desktop would.

    x_client.py saver-state
        prints the X screen saver's state as the screen-saver extension
        reports it: "on" (the saver is showing), "off" (not showing, free to
        start) or "disabled" (its timeout is 0).
    x_client.py close WINDOW
        asks the window (a decimal id) to close, as a window manager's close
        box does: a WM_DELETE_WINDOW client message.

Exit status 1 when there is no display."""
import ctypes
import sys

xlib = ctypes.CDLL("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                            ctypes.c_void_p]


class SaverInfo(ctypes.Structure):
    _fields_ = [("window", ctypes.c_ulong), ("state", ctypes.c_int), ("kind", ctypes.c_int),
                ("til_or_since", ctypes.c_ulong), ("idle", ctypes.c_ulong),
                ("event_mask", ctypes.c_ulong)]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]


CLIENT_MESSAGE = 33


def saver_state(display):
    xss = ctypes.CDLL("libXss.so.1")
    xss.XScreenSaverQueryInfo.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                          ctypes.POINTER(SaverInfo)]
    info = SaverInfo()
    if not xss.XScreenSaverQueryInfo(display, xlib.XDefaultRootWindow(display),
                                     ctypes.byref(info)):
        sys.exit(1)
    print(["off", "on", "disabled"][info.state])


def close(display, window):
    event = ClientMessage()
    event.type = CLIENT_MESSAGE
    event.window = window
    event.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.format = 32
    event.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    xlib.XSendEvent(display, window, 0, 0, ctypes.byref(event))


def main():
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit(1)
    if sys.argv[1] == "saver-state":
        saver_state(display)
    elif sys.argv[1] == "close":
        close(display, int(sys.argv[2]))
    else:
        raise SystemExit("unknown request " + sys.argv[1])
    xlib.XCloseDisplay(display)


if __name__ == "__main__":
    main()
