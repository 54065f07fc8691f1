"""The zip packages embedded in the setup program (language and skin), written the same way by
tools/pack_language.py and tools/pack_skin.py: fixed time stamps so that a rebuild gives the
same bytes, deflated files, stored folder entries, and a package that appears only complete.
"""
import argparse
import os
import zipfile

FIXED_TIME = (2026, 1, 1, 0, 0, 0)  # reproducible archives


def arguments(description):
    """The packers' command line: --source (the package's folder) and --out (the zip)."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--source", required=True)
    parser.add_argument("--out", required=True)
    return parser


class Package:
    """The zip OUT being filled from the folder SOURCE. It is written as OUT.tmp and moved to
    OUT when the with block ends normally; a failure (a missing file, for one) leaves neither."""

    def __init__(self, source, out):
        self.source = source
        self.out = out
        self.tmp = out + ".tmp"
        self.archive = None

    def __enter__(self):
        self.archive = zipfile.ZipFile(self.tmp, "w")
        return self

    def __exit__(self, failure, *unused):
        self.archive.close()
        if failure is None:
            os.replace(self.tmp, self.out)
        else:
            os.remove(self.tmp)

    def read(self, *parts):
        """The bytes of a file under the source folder."""
        with open(os.path.join(self.source, *parts), "rb") as f:
            return f.read()

    def add_file(self, name, data):
        info = zipfile.ZipInfo(name, FIXED_TIME)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        self.archive.writestr(info, data)

    def copy(self, name):
        """The source file NAME ("folder/file" for one in a subfolder), packed byte for byte."""
        self.add_file(name, self.read(*name.split("/")))

    def add_folder(self, name):
        info = zipfile.ZipInfo(name + "/", FIXED_TIME)
        info.compress_type = zipfile.ZIP_STORED
        info.external_attr = (0o755 << 16) | 0x10
        self.archive.writestr(info, b"")
