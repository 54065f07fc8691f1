#!/usr/bin/python3
"""Writes res/language/<Language>/text.ini for every language from tools/language_data.py.

Each file: UTF-16LE with a byte-order mark, CRLF line ends, section [LANSTR], the keys in the
fixed order (Arabic adds STR_MB). The placeholders and the colour markup of every text are
checked against English first, so a translation that lost one never reaches the package.
"""
import argparse
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import language_data  # noqa: E402

TOKEN = re.compile(r"\{c COLOR\}|\{/c\}|PRODUCT|COLOR|BRAND")


def tokens(text):
    return sorted(TOKEN.findall(text))


def check(language, texts):
    english = language_data.TEXTS["English"]
    errors = []
    for key in language_data.TEXT_KEYS:
        if key not in texts:
            errors.append(f"{language}: {key} missing")
        elif tokens(texts[key]) != tokens(english[key]):
            errors.append(f"{language}: {key} placeholders {tokens(texts[key])}, "
                          f"English has {tokens(english[key])}")
    for key, text in texts.items():
        if "\n" in text or "\r" in text or text != text.strip(" \t"):
            errors.append(f"{language}: {key} has a line break or outer blanks")
    return errors


def render(language, texts):
    keys = list(language_data.TEXT_KEYS)
    if "STR_MB" in texts:
        keys.append("STR_MB")
    lines = ["[LANSTR]"] + [f"{key}={texts[key]}" for key in keys]
    return ("\ufeff" + "\r\n".join(lines) + "\r\n").encode("utf-16-le")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    default_out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "language")
    parser.add_argument("--out", default=default_out)
    args = parser.parse_args()

    errors = []
    for language in language_data.LANGUAGES:
        errors += check(language, language_data.TEXTS[language])
    if errors:
        print("\n".join(errors), file=sys.stderr)
        return 1
    for language in language_data.LANGUAGES:
        folder = os.path.join(args.out, language)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "text.ini"), "wb") as f:
            f.write(render(language, language_data.TEXTS[language]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
