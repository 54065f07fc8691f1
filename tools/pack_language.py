#!/usr/bin/env python3
"""Packs the language package (raw data 105) from res/language.

Archive order: language.ini, productInfo.ini, then per language a stored folder entry of
size 0 ("Name/") ahead of its files: text.ini, UrlInfo.ini, install_tips.png, pr_1..3.png.
Every file is deflated. UrlInfo.ini is generated here from the build's hosts, so the same
package source serves the release and the local profile.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from language_data import LANGUAGES  # noqa: E402
from package_zip import Package, arguments  # noqa: E402

LANGUAGE_FILES = ["text.ini", "UrlInfo.ini", "install_tips.png", "pr_1.png", "pr_2.png", "pr_3.png"]


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


def main():
    parser = arguments(__doc__)
    parser.add_argument("--download-host", required=True)
    parser.add_argument("--info-host", required=True)
    args = parser.parse_args()

    with Package(args.source, args.out) as package:
        package.copy("language.ini")
        package.copy("productInfo.ini")
        for language in LANGUAGES:
            folder = os.path.join(args.source, language)
            if not os.path.isdir(folder):
                continue
            package.add_folder(language)
            for name in LANGUAGE_FILES:
                if name == "UrlInfo.ini":
                    package.add_file(f"{language}/{name}",
                                     url_info(language, args.download_host, args.info_host))
                elif os.path.exists(os.path.join(folder, name)):
                    package.copy(f"{language}/{name}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
