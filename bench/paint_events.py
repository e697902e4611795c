"""The first frame a program paints on the current X display: the X Damage extension reports
every change to the root window's contents, its children's included, with the time it was
read. Nothing else draws on the benchmark's Xvfb, and mapping a Qt window draws nothing (its
background is left to the program), so the first report after a start is its first paint.
Reached through ctypes: libX11 and libXdamage are all it needs."""
import ctypes
import queue
import threading
import time
from ctypes import byref, c_char_p, c_int, c_short, c_ulong, c_ushort, c_void_p


class _Rectangle(ctypes.Structure):
    _fields_ = [("x", c_short), ("y", c_short), ("width", c_ushort), ("height", c_ushort)]


class _DamageNotify(ctypes.Structure):
    _fields_ = [("type", c_int), ("serial", c_ulong), ("send_event", c_int), ("display", c_void_p),
                ("drawable", c_ulong), ("damage", c_ulong), ("level", c_int), ("more", c_int),
                ("timestamp", c_ulong), ("area", _Rectangle), ("geometry", _Rectangle)]


class _Event(ctypes.Union):
    _fields_ = [("type", c_int), ("damage", _DamageNotify), ("whole", c_ulong * 24)]


_RAW_RECTANGLES = 0  # XDamageReportRawRectangles: one event per change, none to acknowledge


class PaintEvents:
    """The times at which anything was painted on the display, read on a thread of its own
    (its own connection, used by that thread only once set up)."""

    def __init__(self) -> None:
        x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
        damage = ctypes.cdll.LoadLibrary("libXdamage.so.1")
        x11.XOpenDisplay.restype = c_void_p
        x11.XOpenDisplay.argtypes = [c_char_p]
        x11.XDefaultRootWindow.restype = c_ulong
        x11.XDefaultRootWindow.argtypes = [c_void_p]
        x11.XNextEvent.argtypes = [c_void_p, c_void_p]
        x11.XFlush.argtypes = [c_void_p]
        damage.XDamageQueryExtension.argtypes = [c_void_p, c_void_p, c_void_p]
        damage.XDamageCreate.restype = c_ulong
        damage.XDamageCreate.argtypes = [c_void_p, c_ulong, c_int]
        self._x11 = x11
        self._display = x11.XOpenDisplay(None)
        if not self._display:
            raise OSError("cannot open the X display")
        event_base, error_base = c_int(), c_int()
        if not damage.XDamageQueryExtension(self._display, byref(event_base), byref(error_base)):
            raise OSError("the X server has no Damage extension")
        self._notify = event_base.value  # XDamageNotify is the extension's first event
        damage.XDamageCreate(self._display, x11.XDefaultRootWindow(self._display), _RAW_RECTANGLES)
        x11.XFlush(self._display)
        self._painted: "queue.Queue[float]" = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self) -> None:
        event = _Event()
        while True:
            self._x11.XNextEvent(self._display, byref(event))  # ctypes lets go of the GIL here
            if event.type == self._notify:
                self._painted.put(time.perf_counter())

    def clear(self) -> None:
        while not self._painted.empty():
            self._painted.get_nowait()

    def first_after(self, moment: float, timeout: float) -> "float | None":
        """The time of the first paint read after `moment`, waiting up to `timeout` seconds.
        Earlier reports are passed over: the screen behind a window that has just closed is
        painted too."""
        end = time.perf_counter() + timeout
        while (left := end - time.perf_counter()) > 0:
            try:
                painted_at = self._painted.get(timeout=left)
            except queue.Empty:
                return None
            if painted_at > moment:
                return painted_at
        return None


def paint_events() -> "PaintEvents | None":
    """The display's paint reports, or None where libXdamage or the extension is missing."""
    try:
        return PaintEvents()
    except OSError:
        return None
