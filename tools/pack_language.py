#!/usr/bin/env python3
"""Packs the language package (raw data 105) from res/language.

Archive order: language.ini, productInfo.ini, then per language a stored folder entry of
size 0 ("Name/") ahead of its files: text.ini, UrlInfo.ini, install_tips.png, pr_1..3.png.
Every file is deflated. UrlInfo.ini is generated here from the build's hosts, so the same
package source serves the release and the local profile.
"""
import argparse
import os
import sys
import zipfile

LANGUAGES = ["English", "Chinese", "ChineseTW", "Dutch", "French", "German", "Italian",
             "Japanese", "Spanish", "Portuguese", "Korean", "Arabic"]
LANGUAGE_FILES = ["text.ini", "UrlInfo.ini", "install_tips.png", "pr_1.png", "pr_2.png", "pr_3.png"]
FIXED_TIME = (2026, 1, 1, 0, 0, 0)  # reproducible archives


def url_info(language, download_host, info_host):
    base = f"https://{info_host}/producturl?key="
    lines = [
        f"STR_DOWN_URL=https://{download_host}/repavio/orbitane-repavio_setup.exe",
        f"STR_DOWN_URL_X64=https://{download_host}/repavio/orbitane-repavio_setup.exe",
        f"STR_LICENCE_URL={base}license_agreement&pid=340&lang={language}",
        f"STR_INSTALL_URL={base}installed&pid=340&lang={language}",
        f"STR_DOWN_URLEX={base}pkg_url&pid=340&lang={language}",
    ]
    return ("\ufeff[URL]\r\n" + "\r\n".join(lines) + "\r\n").encode("utf-16-le")


def add_file(archive, name, data):
    info = zipfile.ZipInfo(name, FIXED_TIME)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0o644 << 16
    archive.writestr(info, data)


def add_folder(archive, name):
    info = zipfile.ZipInfo(name + "/", FIXED_TIME)
    info.compress_type = zipfile.ZIP_STORED
    info.external_attr = (0o755 << 16) | 0x10
    archive.writestr(info, b"")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--source", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--download-host", required=True)
    parser.add_argument("--info-host", required=True)
    args = parser.parse_args()

    def read(*parts):
        with open(os.path.join(args.source, *parts), "rb") as f:
            return f.read()

    tmp = args.out + ".tmp"
    with zipfile.ZipFile(tmp, "w") as archive:
        add_file(archive, "language.ini", read("language.ini"))
        add_file(archive, "productInfo.ini", read("productInfo.ini"))
        for language in LANGUAGES:
            folder = os.path.join(args.source, language)
            if not os.path.isdir(folder):
                continue
            add_folder(archive, language)
            for name in LANGUAGE_FILES:
                if name == "UrlInfo.ini":
                    add_file(archive, f"{language}/{name}",
                             url_info(language, args.download_host, args.info_host))
                elif os.path.exists(os.path.join(folder, name)):
                    add_file(archive, f"{language}/{name}", read(language, name))
    os.replace(tmp, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
