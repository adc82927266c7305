#!/usr/bin/env python3
"""Builds the program's spelling lexicons (Dictionaries/Spell*.lex) from Debian's Hunspell
dictionary packages, and the Dictionaries/LICENSES.txt that names each one's license.

A lexicon is one file per language (the language table names one): a header, then the Hunspell
affix file and word list unchanged (format: src/window/lexicon_file.h).

    make_lexicons.py --out DIR [--hunspell /usr/share/hunspell]
"""
import argparse
import pathlib
import subprocess
import sys

# lexicon: (dictionary, Debian binary package, license we ship it under, why that allows shipping)
LEXICONS = {
    "SpellGER.lex": ("de_DE", "hunspell-de-de", "GPL-2.0-or-later",
                     "shipped unchanged beside the program, which only reads it as data; the GPL "
                     "allows this with the license text and a way to the source (below)"),
    "SpellUS.lex": ("en_US", "hunspell-en-us", "SCOWL license (permissive, MIT-like)",
                    "permits use, copying, distribution and sale with the copyright notice"),
    "SpellESP.lex": ("es_ES", "hunspell-es", "MPL-1.1 (chosen from GPL-3+ / LGPL-3+ / MPL-1.1+)",
                     "the MPL permits distribution of the unchanged file with its license"),
    "SpellFRA.lex": ("fr_FR", "hunspell-fr-classical", "MPL-2.0",
                     "the MPL permits distribution of the unchanged file with its license"),
    "SpellITA.lex": ("it_IT", "hunspell-it", "GPL-3.0",
                     "shipped unchanged beside the program, which only reads it as data; the GPL "
                     "allows this with the license text and a way to the source (below)"),
    "SpellNL.lex": ("nl_NL", "hunspell-nl", "BSD (chosen from BSD / CC-BY-3.0)",
                    "permits redistribution with the copyright notice and license"),
}
HEADER = b"PAGELARK-LEXICON 1\n"


def package_source(package):
    try:
        out = subprocess.run(["dpkg-query", "-W", "-f", "${source:Package} ${source:Version}", package],
                             check=True, capture_output=True, text=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return None
    return out or None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--hunspell", default="/usr/share/hunspell")
    parser.add_argument("--docs", default="/usr/share/doc")
    parser.add_argument("--engine-source", help="Hunspell's unpacked source, for its license")
    args = parser.parse_args()
    out = pathlib.Path(args.out)
    (out / "licenses").mkdir(parents=True, exist_ok=True)
    notes = ["Spelling lexicons of Pagelark",
             "",
             "Each Spell*.lex file holds a Hunspell dictionary (affix file and word list) exactly as",
             "Debian publishes it, behind a two-line header. The full copyright and license text of",
             "each comes with it in the folder 'licenses'; the source of each is the named Debian",
             "source package (for example with 'apt-get source <package>=<version>').",
             ""]
    for lexicon, (name, package, license_name, why) in LEXICONS.items():
        aff = pathlib.Path(args.hunspell) / f"{name}.aff"
        dic = pathlib.Path(args.hunspell) / f"{name}.dic"
        copyright_file = pathlib.Path(args.docs) / package / "copyright"
        source = package_source(package)
        if not aff.is_file() or not dic.is_file() or not copyright_file.is_file() or not source:
            sys.exit(f"make_lexicons: {name} missing: install the Debian package {package}")
        affixes, words = aff.read_bytes(), dic.read_bytes()
        data = HEADER + f"{len(affixes)} {len(words)}\n".encode() + affixes + words
        target = out / lexicon
        if not target.is_file() or target.read_bytes() != data:
            target.write_bytes(data)
        license_copy = f"licenses/{package}.txt"
        (out / license_copy).write_bytes(copyright_file.read_bytes())
        source_package, version = source.split(" ", 1)
        notes += [f"{lexicon}: Hunspell dictionary {name}",
                  f"    license: {license_name}",
                  f"    shipping: {why}",
                  f"    source: Debian source package {source_package} {version} (binary package {package})",
                  f"    full text: {license_copy}",
                  ""]
    for common in ("GPL-2", "GPL-3", "MPL-1.1", "MPL-2.0"):
        text = pathlib.Path("/usr/share/common-licenses") / common
        if text.is_file():
            (out / "licenses" / f"{common}.txt").write_bytes(text.read_bytes())
    if args.engine_source:
        engine = pathlib.Path(args.engine_source)
        (out / "licenses" / "hunspell-engine-MPL-1.1.txt").write_bytes((engine / "COPYING.MPL").read_bytes())
        notes += ["The spelling engine compiled into Pagelark.exe: Hunspell 1.7.1",
                  "    license: MPL-1.1 (chosen from MPL-1.1 / GPL-2+ / LGPL-2.1+), unchanged",
                  "    source: Debian source package hunspell 1.7.1-1",
                  "    full text: licenses/hunspell-engine-MPL-1.1.txt",
                  ""]
    (out / "LICENSES.txt").write_bytes("\r\n".join(notes).encode("utf-8"))


if __name__ == "__main__":
    main()
