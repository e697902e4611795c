"""Reads a Wayland client's WAYLAND_DEBUG log on standard input and exits 0 when it shows a
toplevel window titled TITLE that the compositor configured and the client acknowledged
and then drew into (a buffer attached and committed): the window is on the screen.
Usage: python3 scripts/wayland_window.py TITLE < LOG"""
import re
import sys

GET_XDG_SURFACE = re.compile(r"-> xdg_wm_base@\d+\.get_xdg_surface\(new id xdg_surface@(\d+), wl_surface@(\d+)\)")
GET_TOPLEVEL = re.compile(r"-> xdg_surface@(\d+)\.get_toplevel\(new id xdg_toplevel@(\d+)\)")
SET_TITLE = re.compile(r'-> xdg_toplevel@(\d+)\.set_title\("(.*)"\)$')
ACK_CONFIGURE = re.compile(r"-> xdg_surface@(\d+)\.ack_configure\(\d+\)")
ATTACH = re.compile(r"-> wl_surface@(\d+)\.attach\(wl_buffer@\d+")
COMMIT = re.compile(r"-> wl_surface@(\d+)\.commit\(\)")


def main() -> int:
    title = sys.argv[1]
    surface_of = {}  # xdg_surface -> wl_surface
    xdg_surface_of = {}  # xdg_toplevel -> xdg_surface
    titled = set()  # xdg_surfaces whose toplevel carries the title
    acknowledged = set()  # wl_surfaces of titled toplevels the compositor configured
    drawn = set()  # of those, the ones with a buffer attached
    for line in sys.stdin.buffer.read().decode("utf-8", "replace").splitlines():
        if m := GET_XDG_SURFACE.search(line):
            surface_of[m[1]] = m[2]
        elif m := GET_TOPLEVEL.search(line):
            xdg_surface_of[m[2]] = m[1]
        elif (m := SET_TITLE.search(line)) and m[2] == title and m[1] in xdg_surface_of:
            titled.add(xdg_surface_of[m[1]])
        elif (m := ACK_CONFIGURE.search(line)) and m[1] in titled:
            acknowledged.add(surface_of[m[1]])
        elif (m := ATTACH.search(line)) and m[1] in acknowledged:
            drawn.add(m[1])
        elif (m := COMMIT.search(line)) and m[1] in drawn:
            return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
