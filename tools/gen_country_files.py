#!/usr/bin/env python3
"""Writes the dialling-code data files of data/Data from public sources.

    land_codes_{de,en,es,fr,it,nl}.txt   every country with its dialling code, names in the file's
                                         language, in that language's alphabetical order
    check_codes.txt                      the E.164 country codes number checking knows

Sources (Debian packages, see README "Data files"):
  - iso-codes: the ISO 3166-1 countries (/usr/share/iso-codes/json/iso_3166-1.json) and their names
    in our languages (/usr/share/locale/<lang>/LC_MESSAGES/iso_3166-1.mo);
  - libphonenumber-dev: each region's calling code and, for the North American numbering plan,
    its area code (read by tools/phone_regions.cpp from the library's compiled metadata);
  - the program's built-in check list (src/numbers/builtin_code_lists.cpp), to which the codes
    libphonenumber knows beyond it are added.

Format of every file: "name;code" lines, Windows-1252, CR LF. Run from anywhere:
    python3 tools/gen_country_files.py [--out data/Data]
"""
import argparse
import gettext
import json
import pathlib
import re
import subprocess
import sys
import tempfile
import unicodedata

ROOT = pathlib.Path(__file__).resolve().parent.parent
ISO_JSON = pathlib.Path("/usr/share/iso-codes/json/iso_3166-1.json")
LOCALE_DIR = "/usr/share/locale"
LANGUAGES = ["de", "en", "es", "fr", "it", "nl"]

# ITU designations of codes in use that the built-in check list predates.
EXTRA_CHECK_NAMES = {
    "211": "South Sudan (Republic of)",
    "382": "Montenegro",
    "383": "Kosovo",
    "800": "International Freephone Service",
    "808": "International Shared Cost Service (ISCS)",
    "883": "International Networks, shared code",
}


def phone_regions():
    """{region: (calling code, leading digits)} from libphonenumber's metadata."""
    with tempfile.TemporaryDirectory() as tmp:
        exe = pathlib.Path(tmp) / "phone_regions"
        subprocess.run(["g++", "-std=c++17", str(ROOT / "tools" / "phone_regions.cpp"), "-o", str(exe),
                        "-lphonenumber", "-lprotobuf"], check=True)
        out = subprocess.run([str(exe)], check=True, capture_output=True, text=True).stdout
    regions = {}
    for line in out.splitlines():
        region, code, leading, _main = line.split("\t")
        regions[region] = (code, leading)
    return regions


def dialling_code(code, leading):
    # North American territories with one area code are dialled as four digits (Cayman Islands
    # 1345); the US, Canada and territories with several area codes keep 1.
    if code == "1" and re.fullmatch(r"[2-9]\d\d", leading):
        return code + leading
    return code


def country_names(language):
    """[(alpha-2, name in the language)] for every ISO 3166-1 country."""
    countries = json.loads(ISO_JSON.read_text(encoding="utf-8"))["3166-1"]
    translation = gettext.NullTranslations() if language == "en" else \
        gettext.translation("iso_3166-1", LOCALE_DIR, languages=[language])
    names = []
    for country in countries:
        # The short common name where there is one ("Bolivia", "Taiwan"), translated when the
        # catalogue has it, else the translated ISO name.
        name = None
        common = country.get("common_name")
        if common:
            translated = translation.gettext(common)
            if language == "en" or translated != common:
                name = translated
        if name is None:
            name = translation.gettext(country["name"])
        names.append((country["alpha_2"], name.strip()))
    return names


def fold(text):
    return "".join(c for c in unicodedata.normalize("NFKD", text) if not unicodedata.combining(c))


def sort_key(language, name):
    """Alphabetical order of the language as dictionaries use it: case and accents ignored at first
    (German ä sorts as a, DIN 5007-1), punctuation as a word break, Spanish ñ after n; ties go by
    the accent-folded, then the exact name."""
    text = name.casefold().replace("ß", "ss")
    if language == "es":
        text = text.replace("ñ", "n\x7f")
    text = fold(text)
    text = re.sub(r"[^0-9a-z\x7f]+", " ", text).strip()
    return (text, fold(name), name)


def to_cp1252(text):
    try:
        return text.encode("cp1252")
    except UnicodeEncodeError:
        # A letter the code page lacks loses its accent rather than turning into "?".
        return "".join(c if c.encode("cp1252", "ignore") else fold(c) for c in text).encode("cp1252", "replace")


def write_rows(path, rows):
    lines = []
    for name, code in rows:
        if ";" in name or not name or not code.isdigit():
            raise SystemExit(f"{path.name}: bad row {name!r};{code!r}")
        lines.append(to_cp1252(name) + b";" + code.encode("ascii") + b"\r\n")
    path.write_bytes(b"".join(lines))


def built_in_check_list():
    source = (ROOT / "src" / "numbers" / "builtin_code_lists.cpp").read_text(encoding="utf-8")
    block = source.split("// begin check list", 1)[1].split("// end check list", 1)[0]
    rows = re.findall(r'\{"((?:[^"\\]|\\.)*)", "(\d+)"\}', block)
    if len(rows) != 248:
        raise SystemExit(f"expected the 248 rows of the built-in check list, found {len(rows)}")
    return [(name.replace('\\"', '"'), code) for name, code in rows]


def check_rows(regions):
    rows = built_in_check_list()
    known = {code for _, code in rows}
    for code in sorted({code for code, _ in regions.values()} - known, key=lambda c: (len(c), int(c))):
        if code not in EXTRA_CHECK_NAMES:
            raise SystemExit(f"calling code {code} is in use but has no designation in EXTRA_CHECK_NAMES")
        rows.append((EXTRA_CHECK_NAMES[code], code))
    # By code length, then value; the North American four-digit codes stay last.
    four = [r for r in rows if len(r[1]) == 4]
    rest = sorted((r for r in rows if len(r[1]) < 4), key=lambda r: (len(r[1]), int(r[1])))
    return rest + four


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=str(ROOT / "data" / "Data"))
    args = parser.parse_args()
    out = pathlib.Path(args.out)
    out.mkdir(parents=True, exist_ok=True)

    regions = phone_regions()
    for language in LANGUAGES:
        rows, skipped = [], []
        for alpha2, name in country_names(language):
            if alpha2 not in regions:
                skipped.append(alpha2)   # no telephone service of its own (Antarctica, Bouvet Island, ...)
                continue
            rows.append((name, dialling_code(*regions[alpha2])))
        rows.sort(key=lambda row: sort_key(language, row[0]))
        write_rows(out / f"land_codes_{language}.txt", rows)
        print(f"land_codes_{language}.txt: {len(rows)} countries (without a calling code: {' '.join(skipped)})")

    rows = check_rows(regions)
    write_rows(out / "check_codes.txt", rows)
    print(f"check_codes.txt: {len(rows)} rows")


if __name__ == "__main__":
    sys.exit(main())
