#!/usr/bin/python3
"""Writes the ISO 3166-1 countries as "alpha-2<TAB>Italian name in upper case" lines.

Reads Debian's iso-codes: the JSON list of countries and its Italian translation.
Usage: estrai_paesi.py ISO_3166-1.json LOCALEDIR OUTPUT
"""
import gettext
import json
import sys


def main():
    json_path, localedir, output = sys.argv[1:4]
    with open(json_path, encoding="utf-8") as f:
        countries = json.load(f)["3166-1"]
    italian = gettext.translation("iso_3166-1", localedir=localedir, languages=["it"])
    with open(output, "w", encoding="utf-8", newline="\n") as out:
        for country in sorted(countries, key=lambda c: c["alpha_2"]):
            name = italian.gettext(country["name"]).upper()
            if "\t" in name or "\n" in name:
                sys.exit("unexpected character in " + country["alpha_2"])
            out.write(country["alpha_2"] + "\t" + name + "\n")


if __name__ == "__main__":
    main()
