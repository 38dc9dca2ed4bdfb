#!/usr/bin/env python3
"""Builds the update package "update.zip" from a product folder.

The archive's tree mirrors the product folder (no top folder of its own), so
the updater's copy of its staging folder lands every file at its place in the
installed product. The kit's "delskin.bat", which the updater runs after the
copy, is added when the product folder has none. The staging folder "skin"
and an old "update.zip" in the product folder are left out.

Entry names are stored in the code page of the systems the product runs on
(936 by default), which is how the updater reads them.

    python3 scripts/make-update-zip.py <product folder> [<update.zip>] [--codepage cp936]
"""
import argparse
import os
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
KIT_DELSKIN = os.path.join(HERE, "..", "kit", "Vemora", "delskin.bat")
LEFT_OUT = {"skin", "update.zip"}


class CodePageZipInfo(zipfile.ZipInfo):
    """Stores the name in a legacy code page instead of UTF-8."""

    codepage = "cp936"

    def _encodeFilenameFlags(self):
        return self.filename.encode(self.codepage), self.flag_bits


def product_entries(folder):
    """(path on disk, name in the archive) for every folder and file, sorted."""
    entries = []
    for root, dirs, files in os.walk(folder):
        relative_root = os.path.relpath(root, folder)
        if relative_root == ".":
            dirs[:] = [d for d in dirs if d.lower() not in LEFT_OUT]
            files = [f for f in files if f.lower() not in LEFT_OUT]
            relative_root = ""
        dirs.sort()
        for name in dirs:
            entries.append((os.path.join(root, name),
                            "/".join(filter(None, [relative_root.replace(os.sep, "/"), name])) + "/"))
        for name in sorted(files):
            entries.append((os.path.join(root, name),
                            "/".join(filter(None, [relative_root.replace(os.sep, "/"), name]))))
    return entries


def add_entry(archive, path, name, codepage):
    info = CodePageZipInfo.from_file(path, name)
    info.codepage = codepage
    if name.endswith("/"):
        archive.writestr(info, b"")
        return
    info.compress_type = zipfile.ZIP_DEFLATED
    with open(path, "rb") as source:
        archive.writestr(info, source.read(), compresslevel=9)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("product", help="the product folder, as it is to be installed")
    parser.add_argument("output", nargs="?", default="update.zip", help="the package to write")
    parser.add_argument("--codepage", default="cp936", help="code page of the entry names")
    args = parser.parse_args()

    if not os.path.isdir(args.product):
        sys.exit(f"make-update-zip: no such folder: {args.product}")
    entries = product_entries(args.product)
    names = {name.lower() for _, name in entries}
    if "delskin.bat" not in names:
        entries.append((KIT_DELSKIN, "delskin.bat"))
    try:
        for _, name in entries:
            name.encode(args.codepage)
    except UnicodeEncodeError as error:
        sys.exit(f"make-update-zip: a name does not fit code page {args.codepage}: {error}")

    temporary = args.output + ".part"
    with zipfile.ZipFile(temporary, "w") as archive:
        for path, name in entries:
            add_entry(archive, path, name, args.codepage)
    os.replace(temporary, args.output)
    print(f"make-update-zip: {args.output}: {len(entries)} entries")


if __name__ == "__main__":
    main()
