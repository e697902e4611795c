#!/usr/bin/env python3
"""Reads the resource section of a Windows program and checks its icon and version block.

Usage: windows_resources.py PROGRAM.exe --version 2.1.0 --description TEXT --copyright TEXT
                            [--product TEXT] [--ico FILE.ico] [--sizes 16,24,32,48,64,256]
                            [--utf8-code-page]

Checks, and prints in one line each: the group icon holds exactly the given sizes and every
image it names is there (byte for byte the images of FILE.ico when given); the version block's
fixed part and its strings FileVersion and ProductVersion give VERSION; FileDescription,
ProductName and LegalCopyright are the texts given; the string table and the Translation entry
are Japanese (0x0411) in UTF-16 (1200); the process manifest asks for common controls 6, names
Windows 10 and 11 as supported, sets per-monitor DPI awareness v2, long paths and, with
--utf8-code-page, the UTF-8 code page (and without it, none). Exits 1 on the first difference.
"""
import argparse
import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
WINDOWS_10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"


def fail(message):
    print(f"windows_resources: {message}", file=sys.stderr)
    sys.exit(1)


def resources(data):
    """{type: {name: {language: bytes}}} from the PE file's resource directory."""
    (pe,) = struct.unpack_from("<I", data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        fail("not a PE file")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    rva, size = struct.unpack_from("<II", data, directories + 2 * 8)
    if size == 0:
        fail("no resource section")
    table = []
    for i in range(sections):
        entry = optional + optional_size + 40 * i
        virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from("<IIII", data, entry + 8)
        table.append((virtual_address, max(virtual_size, raw_size), raw_pointer))

    def offset(address):
        for start, length, raw in table:
            if start <= address < start + length:
                return raw + address - start
        fail(f"address {address:#x} is in no section")

    base = offset(rva)

    def directory(at):
        named, numbered = struct.unpack_from("<HH", data, base + at + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", data, base + at + 16 + 8 * i)
            if name & 0x80000000:
                length = struct.unpack_from("<H", data, base + (name & 0x7FFFFFFF))[0]
                start = base + (name & 0x7FFFFFFF) + 2
                name = data[start:start + 2 * length].decode("utf-16-le")
            yield name, target

    tree = {}
    for kind, names in directory(0):
        for name, languages in directory(names & 0x7FFFFFFF):
            for language, leaf in directory(languages & 0x7FFFFFFF):
                address, length = struct.unpack_from("<II", data, base + leaf)
                start = offset(address)
                tree.setdefault(kind, {}).setdefault(name, {})[language] = data[start:start + length]
    return tree


def version_node(block, at=0):
    """(key, value bytes, children, end) of one VS_VERSIONINFO / StringFileInfo / String node."""
    length, value_length, kind = struct.unpack_from("<HHH", block, at)
    end = at + length
    key_end = at + 6
    while block[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = block[at + 6:key_end].decode("utf-16-le")
    cursor = (key_end + 2 + 3) & ~3
    value_bytes = value_length * 2 if kind == 1 else value_length
    value = block[cursor:cursor + value_bytes]
    cursor = (cursor + value_bytes + 3) & ~3
    children = []
    while cursor < end:
        child = version_node(block, cursor)
        children.append(child)
        cursor = (child[3] + 3) & ~3
    return key, value, children, end


def check_manifest(name, tree, utf8_code_page):
    """The process manifest (RT_MANIFEST 1) and what it asks of Windows, in a few words."""
    manifests = tree.get(RT_MANIFEST, {})
    if list(manifests) != [1] or len(manifests[1]) != 1:
        fail(f"{name}: {len(manifests)} manifests, not one with the id 1")
    try:
        root = ElementTree.fromstring(next(iter(manifests[1].values())))
    except ElementTree.ParseError as error:
        fail(f"{name}: the manifest is no XML: {error}")
    local = lambda element: element.tag.rsplit("}", 1)[-1]
    elements = {}
    for element in root.iter():
        elements.setdefault(local(element), []).append(element)
    controls = [identity.attrib for identity in elements.get("assemblyIdentity", [])
                if identity.get("name") == "Microsoft.Windows.Common-Controls"]
    text = lambda tag: " ".join((element.text or "").strip() for element in elements.get(tag, []))
    expected = {
        "common controls": ([c.get("version") for c in controls], ["6.0.0.0"]),
        "supported systems": ([os.get("Id") for os in elements.get("supportedOS", [])], [WINDOWS_10]),
        "DPI awareness": (text("dpiAwareness").split(",")[0].strip(), "PerMonitorV2"),
        "long paths": (text("longPathAware"), "true"),
        "code page": (text("activeCodePage"), "UTF-8" if utf8_code_page else ""),
        "execution level": ([e.get("level") for e in elements.get("requestedExecutionLevel", [])], ["asInvoker"]),
    }
    for what, (found, want) in expected.items():
        if found != want:
            fail(f"{name}: manifest {what} is {found!r}, expected {want!r}")
    return ("manifest: common controls 6, Windows 10/11, PerMonitorV2, long paths"
            + (", UTF-8 code page" if utf8_code_page else ""))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--version", required=True)
    parser.add_argument("--description", required=True)
    parser.add_argument("--copyright", required=True)
    parser.add_argument("--product", default="Zelqua≪五択変換ｴﾃﾞｨﾀｰ")
    parser.add_argument("--ico")
    parser.add_argument("--sizes", default="16,24,32,48,64,256")
    parser.add_argument("--utf8-code-page", action="store_true")
    args = parser.parse_args()
    name = args.program.rsplit("/", 1)[-1]
    with open(args.program, "rb") as file:
        tree = resources(file.read())

    # The icon: one group, naming one image per size.
    groups = tree.get(RT_GROUP_ICON, {})
    if len(groups) != 1:
        fail(f"{name}: {len(groups)} icon groups, not one")
    group = next(iter(next(iter(groups.values())).values()))
    reserved, kind, count = struct.unpack_from("<HHH", group, 0)
    images = tree.get(RT_ICON, {})
    sizes = []
    for i in range(count):
        width, _, _, _, _, bits, length, number = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        sizes.append(width or 256)
        image = next(iter(images.get(number, {}).values()), None)
        if image is None or len(image) != length:
            fail(f"{name}: icon image {number} ({width or 256} px) missing or of the wrong length")
    wanted = [int(size) for size in args.sizes.split(",")]
    if sorted(sizes) != sorted(wanted):
        fail(f"{name}: icon sizes {sizes}, expected {wanted}")
    if args.ico:
        with open(args.ico, "rb") as file:
            ico = file.read()
        ico_count = struct.unpack_from("<H", ico, 4)[0]
        ico_images = []
        for i in range(ico_count):
            length, at = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
            ico_images.append(ico[at:at + length])
        program_images = []
        for i in range(count):
            number = struct.unpack_from("<H", group, 6 + 14 * i + 12)[0]
            program_images.append(next(iter(images[number].values())))
        if program_images != ico_images:
            fail(f"{name}: the icon images differ from {args.ico}")

    # The version block: one, Japanese.
    versions = tree.get(RT_VERSION, {})
    if len(versions) != 1:
        fail(f"{name}: {len(versions)} version blocks, not one")
    languages = next(iter(versions.values()))
    language, block = next(iter(languages.items()))
    key, fixed, children, _ = version_node(block)
    if key != "VS_VERSION_INFO" or struct.unpack_from("<I", fixed, 0)[0] != 0xFEEF04BD:
        fail(f"{name}: no VS_VERSION_INFO")
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", fixed, 8)
    dotted = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    strings, translation, table = {}, None, None
    for child_key, _, grandchildren, _ in children:
        if child_key == "StringFileInfo":
            for table_key, _, entries, _ in grandchildren:
                table = table_key
                for entry_key, value, _, _ in entries:
                    strings[entry_key] = value.decode("utf-16-le").rstrip("\0")
        elif child_key == "VarFileInfo":
            for var_key, value, _, _ in grandchildren:
                if var_key == "Translation":
                    translation = struct.unpack_from("<HH", value, 0)
    expected = {
        "fixed FileVersion": (dotted(file_ms, file_ls), args.version + ".0"),
        "fixed ProductVersion": (dotted(product_ms, product_ls), args.version + ".0"),
        "FileVersion": (strings.get("FileVersion"), args.version),
        "ProductVersion": (strings.get("ProductVersion"), args.version),
        "FileDescription": (strings.get("FileDescription"), args.description),
        "ProductName": (strings.get("ProductName"), args.product),
        "LegalCopyright": (strings.get("LegalCopyright"), args.copyright),
        "string table": (table, "041104B0"),
        "Translation": (translation, (0x0411, 1200)),
        "resource language": (language, 0x0411),
    }
    for what, (found, want) in expected.items():
        if found != want:
            fail(f"{name}: {what} is {found!r}, expected {want!r}")
    manifest = check_manifest(name, tree, args.utf8_code_page)
    print(f"{name}: icon {', '.join(str(size) for size in sizes)} px"
          f"{' (the images of ' + args.ico.rsplit('/', 1)[-1] + ')' if args.ico else ''};"
          f" version {strings['FileVersion']}, \"{strings['FileDescription']}\", {strings['LegalCopyright']}, Japanese;"
          f" {manifest}")


if __name__ == "__main__":
    main()
