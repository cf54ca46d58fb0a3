"""Reads the resources of a Windows executable (PE32 or PE32+) without Windows: the raw data
of each resource, and the version resource taken apart as Windows' version API would."""
import struct

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24


class PeError(Exception):
    pass


def resources(path):
    """{type: {name: {language: bytes}}}; numeric ids as ints, named entries as strings."""
    with open(path, "rb") as f:
        image = f.read()
    if image[:2] != b"MZ":
        raise PeError(f"{path}: not an executable")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise PeError(f"{path}: no PE header")
    sections_count, = struct.unpack_from("<H", image, pe + 6)
    optional_size, = struct.unpack_from("<H", image, pe + 20)
    optional = pe + 24
    magic, = struct.unpack_from("<H", image, optional)
    directories = optional + {0x10B: 96, 0x20B: 112}[magic]
    resource_rva, resource_size = struct.unpack_from("<II", image, directories + 2 * 8)
    if resource_rva == 0:
        return {}

    sections = []
    table = optional + optional_size
    for i in range(sections_count):
        virtual_size, rva, raw_size, raw_offset = struct.unpack_from("<IIII", image, table + 40 * i + 8)
        sections.append((rva, max(virtual_size, raw_size), raw_offset))

    def offset(rva):
        for start, size, raw in sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise PeError(f"{path}: address 0x{rva:x} is in no section")

    base = offset(resource_rva)

    def name_of(entry_name):
        if entry_name & 0x80000000:
            at = base + (entry_name & 0x7FFFFFFF)
            length, = struct.unpack_from("<H", image, at)
            return image[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        return entry_name

    def directory(at):
        named, numbered = struct.unpack_from("<HH", image, at + 12)
        for i in range(named + numbered):
            entry_name, target = struct.unpack_from("<II", image, at + 16 + 8 * i)
            yield name_of(entry_name), target

    out = {}
    for rtype, types in directory(base):
        for name, names in directory(base + (types & 0x7FFFFFFF)):
            for language, leaf in directory(base + (names & 0x7FFFFFFF)):
                data_rva, size = struct.unpack_from("<II", image, base + leaf)
                at = offset(data_rva)
                out.setdefault(rtype, {}).setdefault(name, {})[language] = image[at:at + size]
    return out


def _block(data, at):
    """One version block at `at`: (key, value bytes, children offset, end, value type)."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, at)
    end = at + length
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    value_at = (key_end + 2 + 3) & ~3
    value_bytes = value_length * 2 if value_type == 1 else value_length
    children = (value_at + value_bytes + 3) & ~3
    return key, data[value_at:value_at + value_bytes], min(children, end), end, value_type


def _children(data, at, end):
    while at < end:
        length, = struct.unpack_from("<H", data, at)
        if length == 0:
            break
        yield at
        at = (at + length + 3) & ~3


class VersionInfo:
    """The fixed file and product versions (four numbers each) and the string table."""

    def __init__(self, data):
        key, fixed, children, end, _ = _block(data, 0)
        if key != "VS_VERSION_INFO":
            raise PeError(f"not a version resource: {key!r}")
        signature, _, ms, ls, pms, pls = struct.unpack_from("<IIIIII", fixed)
        if signature != 0xFEEF04BD:
            raise PeError("no fixed file information")
        self.file_version = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        self.product_version = (pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF)
        self.strings = {}
        self.translations = []
        for child in _children(data, children, end):
            name, _, grand, child_end, _ = _block(data, child)
            if name == "StringFileInfo":
                for table in _children(data, grand, child_end):
                    _, _, entries, table_end, _ = _block(data, table)
                    for entry in _children(data, entries, table_end):
                        k, value, _, _, vtype = _block(data, entry)
                        text = value.decode("utf-16-le") if vtype == 1 else value.decode("latin-1")
                        self.strings[k] = text.rstrip("\0")
            elif name == "VarFileInfo":
                for var in _children(data, grand, child_end):
                    _, value, _, _, _ = _block(data, var)
                    self.translations += list(struct.iter_unpack("<HH", value))


def version_info(path):
    blocks = resources(path).get(RT_VERSION, {})
    if not blocks:
        raise PeError(f"{path}: no version resource")
    first = next(iter(blocks.values()))
    return VersionInfo(next(iter(first.values())))


def manifest(path):
    """The application manifest's text (resource 1 of type 24), or None."""
    entry = resources(path).get(RT_MANIFEST, {}).get(1)
    return next(iter(entry.values())).decode("utf-8") if entry else None
