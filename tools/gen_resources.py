#!/usr/bin/env python3
"""Builds the per-language resource script and the resource id headers from the text tables and
the templates. Every resource number is written down once, in one of these sources; the code,
the templates and art.rc use the names the generated headers give them.

resources/texts/*.txt hold every user-visible text once, in six languages:

    [16786 IDS_NO_CONNECTION]    string-table entry 16786, named IDS_NO_CONNECTION in the code
    en: No connection to the internet!
    de: Keine Verbindung zum Internet!
    ...
    [16786]                      a string-table entry without a name (give new entries a name)
    [about.caption]              symbolic key: only for templates
    en: About Pagelark

Texts use C escapes (\\n, \\t, \\\\, \\"). Lines starting with '#' are comments. A template
refers to a text as {{key}}: its symbolic key, its number or its name.

resources/templates/*.rc.in hold DIALOGEX / MENU / other resources with {{key}} placeholders;
each template is written once per language under that language's LANGUAGE statement. Their lines
"#define NAME number  // comment" name dialog, control, menu, command, icon and bitmap numbers:
they go into the headers, not into the script.

Written into --out: languages.rc; ids_<name>.h with the names that texts/<name>.txt and
templates/<name>.rc.in define; resource_ids.h, which includes every ids_<name>.h.

The build fails when a key lacks a language, a language's placeholders differ from English, a
key, a string number or a name is defined twice, or a template names an unknown key.
"""
import argparse
import pathlib
import re
import sys

LANGUAGES = {  # code: (LANGUAGE statement, langId)
    "en": ("LANG_ENGLISH, SUBLANG_ENGLISH_US", 1033),
    "de": ("LANG_GERMAN, SUBLANG_GERMAN", 1031),
    "fr": ("LANG_FRENCH, SUBLANG_FRENCH", 1036),
    "it": ("LANG_ITALIAN, SUBLANG_ITALIAN", 1040),
    "nl": ("LANG_DUTCH, SUBLANG_DUTCH", 1043),
    "es": ("LANG_SPANISH, SUBLANG_SPANISH_MODERN", 3082),
}
PLACEHOLDER = re.compile(r"%(?:%|[-+ #0]*\d*(?:\.\d+)?(?:l|ll|h|I64)?[sdiuxXcfSp])")
KEY_LINE = re.compile(r"^\[([A-Za-z0-9_.\-]+)(?:\s+([A-Z][A-Z0-9_]*))?\]\s*$")
TEXT_LINE = re.compile(r"^([a-z]{2}):\s?(.*)$")
DEFINE_LINE = re.compile(r"^#define\s+([A-Z][A-Z0-9_]*)\s+(\d+)\s*(?://\s*(.*?))?\s*$")
PLACEHOLDER_KEY = re.compile(r"\{\{([A-Za-z0-9_.\-]+)\}\}")
MAX_ID = 65535


class Names:
    """Every name with its number, the file that defines it and a comment for the header."""

    def __init__(self):
        self.by_name = {}   # name -> (number, source stem, where, comment)

    def define(self, name, number, stem, where, comment, errors):
        if name in self.by_name:
            errors.append(f"{where}: {name} already defined in {self.by_name[name][2]}")
            return
        if not 0 < number <= MAX_ID:
            errors.append(f"{where}: {name} = {number} is not a resource number (1..{MAX_ID})")
        self.by_name[name] = (number, stem, where, comment)


def unescape(text):
    return bytes(text, "utf-8").decode("unicode_escape").encode("latin-1").decode("utf-8")


def load_texts(folder, names=None):
    """key -> {lang: text}, and the errors; numbered keys also answer to their name."""
    names = names if names is not None else Names()
    texts, where, aliases, errors = {}, {}, {}, []
    string_number = {}   # number -> where
    for path in sorted(pathlib.Path(folder).glob("*.txt")):
        key = None
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            m = KEY_LINE.match(line)
            if m:
                key, name = m.groups()
                here = f"{path.name}:{number}"
                if key in texts:
                    errors.append(f"{path}:{number}: [{key}] already defined in {where[key]}")
                if name:
                    if not key.isdigit():
                        errors.append(f"{path}:{number}: only a numbered text takes a name: [{key} {name}]")
                    else:
                        names.define(name, int(key), path.stem, here, None, errors)
                        aliases[name] = key
                if key.isdigit():
                    if int(key) in string_number and key not in texts:
                        errors.append(f"{path}:{number}: string {int(key)} already defined in "
                                      f"{string_number[int(key)]}")
                    string_number[int(key)] = here
                texts[key] = {}
                where[key] = here
                continue
            m = TEXT_LINE.match(line)
            if not m or key is None:
                errors.append(f"{path}:{number}: expected '[key]' or 'xx: text', got {line!r}")
                continue
            lang, value = m.groups()
            if lang not in LANGUAGES:
                errors.append(f"{path}:{number}: unknown language {lang!r}")
            elif lang in texts[key]:
                errors.append(f"{path}:{number}: [{key}] has two {lang} texts")
            else:
                try:
                    texts[key][lang] = unescape(value)
                except (UnicodeDecodeError, UnicodeEncodeError) as e:
                    errors.append(f"{path}:{number}: bad escape: {e}")
    for key, by_lang in texts.items():
        missing = [l for l in LANGUAGES if l not in by_lang]
        if missing:
            errors.append(f"{where[key]}: [{key}] lacks {', '.join(missing)}")
            continue
        reference = PLACEHOLDER.findall(by_lang["en"])
        for lang, value in by_lang.items():
            if PLACEHOLDER.findall(value) != reference:
                errors.append(f"{where[key]}: [{key}] {lang} placeholders {PLACEHOLDER.findall(value)}"
                              f" differ from English {reference}")
    for name, key in aliases.items():
        if name in texts:
            errors.append(f"{where[key]}: the name {name} is also a text key")
        texts[name] = texts[key]
        number, stem, here, _ = names.by_name[name]
        english = texts[key].get("en")
        names.by_name[name] = (number, stem, here, f'"{english}"' if english is not None else None)
    return texts, errors


def load_templates(folder, names, errors):
    """path -> template body without its #define lines."""
    bodies = {}
    for path in sorted(pathlib.Path(folder).glob("*.rc.in")):
        kept = []
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            m = DEFINE_LINE.match(line)
            if m:
                name, value, comment = m.groups()
                names.define(name, int(value), path.name.split(".")[0], f"{path.name}:{number}", comment, errors)
            elif line.startswith("#define"):
                errors.append(f"{path}:{number}: expected '#define NAME number  // comment', got {line!r}")
            else:
                kept.append(line)
        bodies[path] = "\n".join(kept) + "\n"
    return bodies


def rc_quote(text):
    out = []
    for ch in text:
        if ch == '"':
            out.append('""')
        elif ch == "\\":
            out.append("\\\\")
        elif ch == "\n":
            out.append("\\n")
        elif ch == "\t":
            out.append("\\t")
        elif ch == "\r":
            out.append("\\r")
        else:
            out.append(ch)
    return '"' + "".join(out) + '"'


def header_comment(text, limit=70):
    one_line = text.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t")
    return one_line if len(one_line) <= limit else one_line[:limit - 3] + "..."


def write_if_changed(path, text):
    # Unchanged headers keep their time stamp, so editing one text does not rebuild every file.
    if not path.exists() or path.read_text(encoding="utf-8") != text:
        path.write_text(text, encoding="utf-8")


def write_headers(target, stems, names):
    banner = "// Generated by tools/gen_resources.py from resources/texts and resources/templates. Do not edit."
    for stem in stems:
        lines = [banner, "#pragma once", ""]
        mine = [(n, v) for n, v in names.by_name.items() if v[1] == stem]
        for name, (number, _, _, comment) in sorted(mine, key=lambda item: (item[1][0], item[0])):
            line = f"#define {name} {number}"
            if comment:
                line = f"{line:<48}// {header_comment(comment)}"
            lines.append(line)
        write_if_changed(target / f"ids_{stem}.h", "\n".join(lines) + "\n")
    umbrella = [banner, "// Resource numbers are an interface (other programs and stored settings rely on several",
                "// of them): never renumber.", "#pragma once"]
    umbrella += [f'#include "ids_{stem}.h"' for stem in stems]
    write_if_changed(target / "resource_ids.h", "\n".join(umbrella) + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--texts", required=True)
    parser.add_argument("--templates", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    names = Names()
    texts, errors = load_texts(args.texts, names)
    template_text = load_templates(args.templates, names, errors)
    for t, body in template_text.items():
        for key in PLACEHOLDER_KEY.findall(body):
            if key not in texts:
                errors.append(f"{t.name}: unknown text key {{{{{key}}}}}")
    if errors:
        for e in errors:
            print("gen_resources: " + e, file=sys.stderr)
        return 1

    numeric = sorted((int(k), k) for k in texts if k.isdigit())
    out = ["// Generated by tools/gen_resources.py from resources/texts and resources/templates. Do not edit.",
           "#pragma code_page(65001)", ""]
    for lang, (statement, lang_id) in LANGUAGES.items():
        out.append(f"// ---- {lang} ({lang_id})")
        out.append(f"LANGUAGE {statement}")
        if numeric:
            out.append("STRINGTABLE")
            out.append("BEGIN")
            for number, key in numeric:
                out.append(f"    {number}, {rc_quote(texts[key][lang])}")
            out.append("END")
        for t, body in template_text.items():
            out.append(f"// from {t.name}")
            out.append(PLACEHOLDER_KEY.sub(lambda m: rc_quote(texts[m.group(1)][lang]), body))
        out.append("")
    target = pathlib.Path(args.out)
    target.mkdir(parents=True, exist_ok=True)
    (target / "languages.rc").write_text("\n".join(out), encoding="utf-8")
    stems = sorted({p.stem for p in pathlib.Path(args.texts).glob("*.txt")} |
                   {p.name.split(".")[0] for p in pathlib.Path(args.templates).glob("*.rc.in")})
    write_headers(target, stems, names)
    return 0


if __name__ == "__main__":
    sys.exit(main())
