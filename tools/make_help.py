#!/usr/bin/env python3
"""Compiles the help files Help/telvoro_{de,en,es,fr,ita,nl}.chm from help/ with Free Pascal's
chmcmd (Debian fp-utils), after checking that every language has the same topics.

help/topics.txt       the topics in table-of-contents order, one file name a line; the first
                      is the default topic the program opens
help/style.css        the one style sheet of every language
help/<lang>/*.htm     one file per topic; its <title> names it in the table of contents and
                      <meta name="keywords" content="a; b"> gives its index entries. {{key}}
                      stands for the program's own text of that key in resources/texts (a
                      button, an option, a message), so the help always names what the user sees

    make_help.py --help-dir help --texts resources/texts --work DIR --out DIR [--chmcmd chmcmd]
"""
import argparse
import html
import pathlib
import re
import shutil
import subprocess
import sys

# Folder: (file name of the language table, Windows language id)
LANGUAGES = {
    "de": ("telvoro_de.chm", 0x0407),
    "en": ("telvoro_en.chm", 0x0409),
    "es": ("telvoro_es.chm", 0x0C0A),
    "fr": ("telvoro_fr.chm", 0x040C),
    "it": ("telvoro_ita.chm", 0x0410),
    "nl": ("telvoro_nl.chm", 0x0413),
}
TITLE = re.compile(r"<title>(.*?)</title>", re.S | re.I)
KEYWORDS = re.compile(r'<meta\s+name="keywords"\s+content="([^"]*)"', re.I)
LINK = re.compile(r'href="([^"#:]+)(#[^"]*)?"', re.I)
PLACEHOLDER = re.compile(r"\{\{([A-Za-z0-9_.\-]+)\}\}")
TEXT_KEY = re.compile(r"^\[([A-Za-z0-9_.\-]+)(?:\s+([A-Z][A-Z0-9_]*))?\]\s*$")
TEXT_LINE = re.compile(r"^([a-z]{2}):\s?(.*)$")


def load_texts(folder):
    """key -> language -> text, as the program shows it (no access-key marks, no shortcut); a
    numbered text ([16786 IDS_NO_CONNECTION]) answers to its number and to its name."""
    texts, key = {}, None
    for path in sorted(pathlib.Path(folder).glob("*.txt")):
        for line in path.read_text(encoding="utf-8").splitlines():
            if line.lstrip().startswith("#"):
                continue
            m = TEXT_KEY.match(line)
            if m:
                key = m.group(1)
                texts[key] = {}
                if m.group(2):
                    texts[m.group(2)] = texts[key]
                continue
            m = TEXT_LINE.match(line)
            if m and key:
                text = m.group(2).split("\\t")[0].replace("\\n", " ").strip()
                text = re.sub(r"&(.)", r"\1", text)
                texts[key][m.group(1)] = text
    return texts


def fill(text, lang, texts, errors, where):
    def one(m):
        entry = texts.get(m.group(1), {}).get(lang)
        if entry is None:
            errors.append(f"{where}: unknown text {{{{{m.group(1)}}}}}")
            return m.group(0)
        return html.escape(entry, quote=False)
    return PLACEHOLDER.sub(one, text)


def topics_of(help_dir):
    lines = (help_dir / "topics.txt").read_text(encoding="utf-8").splitlines()
    return [line.strip() for line in lines if line.strip() and not line.startswith("#")]


def check(help_dir, topics, texts):
    errors = []
    for lang in LANGUAGES:
        folder = help_dir / lang
        present = sorted(p.name for p in folder.glob("*.htm")) if folder.is_dir() else []
        for missing in sorted(set(topics) - set(present)):
            errors.append(f"help/{lang}: topic {missing} is missing")
        for extra in sorted(set(present) - set(topics)):
            errors.append(f"help/{lang}: {extra} is not in topics.txt")
        for name in set(topics) & set(present):
            text = (folder / name).read_text(encoding="utf-8")
            fill(text, lang, texts, errors, f"help/{lang}/{name}")
            if not TITLE.search(text):
                errors.append(f"help/{lang}/{name}: no <title>")
            if not KEYWORDS.search(text):
                errors.append(f"help/{lang}/{name}: no keywords for the index")
            for target, _ in LINK.findall(text):
                if target != "style.css" and target not in topics:
                    errors.append(f"help/{lang}/{name}: link to unknown topic {target}")
    return errors


def sitemap(entries):
    """entries: (name, file) pairs -> the object list of a .hhc/.hhk file."""
    out = ['<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<HTML><HEAD></HEAD><BODY>",
           '<OBJECT type="text/site properties"><param name="Window Styles" value="0x800025"></OBJECT>', "<UL>"]
    for name, file in entries:
        out += ['<LI><OBJECT type="text/sitemap">',
                f'<param name="Name" value="{html.escape(name, quote=True)}">',
                f'<param name="Local" value="{file}">', "</OBJECT>"]
    out += ["</UL>", "</BODY></HTML>", ""]
    return "\r\n".join(out)


def build(help_dir, work, out, chmcmd, topics, texts):
    out.mkdir(parents=True, exist_ok=True)
    for lang, (chm, lcid) in LANGUAGES.items():
        stage = work / lang
        shutil.rmtree(stage, ignore_errors=True)
        stage.mkdir(parents=True)
        shutil.copy(help_dir / "style.css", stage / "style.css")
        toc, index = [], []
        for name in topics:
            text = fill((help_dir / lang / name).read_text(encoding="utf-8"), lang, texts, [], name)
            (stage / name).write_text(text, encoding="utf-8")
            title = html.unescape(TITLE.search(text).group(1).strip())
            toc.append((title, name))
            for keyword in KEYWORDS.search(text).group(1).split(";"):
                if keyword.strip():
                    index.append((html.unescape(keyword.strip()), name))
        index.sort(key=lambda entry: entry[0].casefold())
        (stage / "toc.hhc").write_text(sitemap(toc), encoding="utf-8")
        (stage / "index.hhk").write_text(sitemap(index), encoding="utf-8")
        project = [
            "[OPTIONS]",
            "Compatibility=1.1 or later",
            f"Compiled file={chm}",
            "Contents file=toc.hhc",
            "Index file=index.hhk",
            f"Default topic={topics[0]}",
            "Display compile progress=No",
            "Full-text search=Yes",
            f"Language=0x{lcid:04x}",
            f"Title={toc[0][0]}",
            "",
            "[FILES]",
            "style.css",
            *topics,
            "",
        ]
        (stage / "help.hhp").write_text("\r\n".join(project), encoding="utf-8")
        result = subprocess.run([chmcmd, "--no-html-scan", "help.hhp"], cwd=stage, capture_output=True, text=True)
        if result.returncode != 0 or not (stage / chm).is_file():
            sys.exit(f"make_help: chmcmd failed for {lang}:\n{result.stdout}{result.stderr}")
        shutil.copy(stage / chm, out / chm)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--help-dir", required=True)
    parser.add_argument("--texts", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--chmcmd", default="chmcmd")
    args = parser.parse_args()
    help_dir = pathlib.Path(args.help_dir)
    topics = topics_of(help_dir)
    texts = load_texts(args.texts)
    errors = check(help_dir, topics, texts)
    if errors:
        sys.exit("make_help: the help sources differ between languages:\n  " + "\n  ".join(errors))
    build(help_dir, pathlib.Path(args.work), pathlib.Path(args.out), args.chmcmd, topics, texts)


if __name__ == "__main__":
    main()
