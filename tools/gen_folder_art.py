#!/usr/bin/env python3
"""Writes the folder chooser's picture strips as SVG sources (our own artwork):

    resources/art/folders17.272x16.bmp.svg   17 pictures of 16 x 16 (bitmap 185)
    resources/art/folders5.80x16.bmp.svg      the first 5 of them (bitmap 186)

Magenta (#FF00FF) is the transparent colour; every shape is drawn with crisp edges so no
pixel blends into it. Picture numbers are the folder tree's image indices:
0 folder, 1 calendar, 2 contacts, 3 deleted items, 4 drafts, 5 inbox, 6 journal, 7 junk e-mail,
8 mail folder, 9 notes, 10 outbox, 11 sent items, 12 tasks, 13 message store, 14 search folder,
15 public folder, 16 archive.
"""
import pathlib

FOLDER = ('<path d="M1 4h5l1 1h7v9H1z" fill="#E8C060" stroke="#8A6A20"/>'
          '<path d="M1 6h13" stroke="#8A6A20"/>')


def folder_with(extra):
    return FOLDER + extra


PICTURES = [
    FOLDER,
    # 1 calendar
    '<rect x="1.5" y="2.5" width="13" height="12" fill="#FFFFFF" stroke="#404080"/>'
    '<rect x="2" y="3" width="12" height="3" fill="#C03030"/>'
    '<path d="M4 8h2v2H4zM7 8h2v2H7zM10 8h2v2h-2zM4 11h2v2H4zM7 11h2v2H7z" fill="#404080"/>',
    # 2 contacts
    '<rect x="2.5" y="1.5" width="11" height="13" fill="#F0F0E0" stroke="#606060"/>'
    '<circle cx="8" cy="6" r="2.5" fill="#3070C0"/><path d="M4 13c0-3 2-4 4-4s4 1 4 4z" fill="#3070C0"/>',
    # 3 deleted items
    '<path d="M3.5 4.5h9l-1 10h-7z" fill="#B0B8C0" stroke="#505860"/><path d="M2 3h12v1H2zM6 2h4v1H6z" fill="#505860"/>'
    '<path d="M6 6v7M8 6v7M10 6v7" stroke="#505860"/>',
    # 4 drafts
    folder_with('<path d="M7 13l1-3 5-5 2 2-5 5z" fill="#FFE070" stroke="#404040"/>'),
    # 5 inbox
    '<path d="M1.5 8.5l2-5h9l2 5v6h-13z" fill="#D0E0F0" stroke="#305080"/>'
    '<path d="M1.5 8.5h4l1 2h3l1-2h4" fill="none" stroke="#305080"/><path d="M7 3h2v3h2l-3 3-3-3h2z" fill="#208020"/>',
    # 6 journal
    '<rect x="2.5" y="1.5" width="11" height="13" fill="#6090C0" stroke="#203050"/>'
    '<path d="M5 2v12" stroke="#203050"/><rect x="7" y="4" width="5" height="3" fill="#FFFFFF"/>',
    # 7 junk e-mail
    folder_with('<path d="M8 8l5 5M13 8l-5 5" stroke="#C02020" stroke-width="2"/>'),
    # 8 mail folder
    folder_with('<rect x="6.5" y="8.5" width="7" height="5" fill="#FFFFFF" stroke="#404040"/>'
                '<path d="M6.5 8.5l3.5 3 3.5-3" fill="none" stroke="#404040"/>'),
    # 9 notes
    '<path d="M2.5 2.5h11v8l-3 3h-8z" fill="#FFF080" stroke="#8A7A20"/><path d="M10.5 13.5v-3h3" fill="#E0D060" stroke="#8A7A20"/>',
    # 10 outbox
    '<path d="M1.5 8.5l2-5h9l2 5v6h-13z" fill="#D0E0F0" stroke="#305080"/>'
    '<path d="M1.5 8.5h4l1 2h3l1-2h4" fill="none" stroke="#305080"/><path d="M7 9V6H5l3-3 3 3H9v3z" fill="#C06010"/>',
    # 11 sent items
    '<rect x="1.5" y="4.5" width="13" height="9" fill="#FFFFFF" stroke="#404040"/>'
    '<path d="M1.5 4.5l6.5 5 6.5-5" fill="none" stroke="#404040"/><path d="M10 1h5v5l-2-2-3 3-1-1 3-3z" fill="#208020"/>',
    # 12 tasks
    '<rect x="2.5" y="2.5" width="11" height="12" fill="#FFFFFF" stroke="#404040"/>'
    '<path d="M4 8l2 3 5-6" fill="none" stroke="#208020" stroke-width="2"/>',
    # 13 message store
    '<rect x="1.5" y="3.5" width="13" height="10" fill="#C8C8D8" stroke="#404060"/><path d="M2 7h12M2 10h12" stroke="#404060"/>',
    # 14 search folder
    folder_with('<circle cx="10" cy="10" r="2.5" fill="#FFFFFF" stroke="#303030"/><path d="M12 12l3 3" stroke="#303030" stroke-width="2"/>'),
    # 15 public folder
    folder_with('<circle cx="10.5" cy="10.5" r="3" fill="#60A0E0" stroke="#204060"/><path d="M7.5 10.5h6M10.5 7.5v6" stroke="#204060"/>'),
    # 16 archive
    '<rect x="1.5" y="2.5" width="13" height="4" fill="#B08050" stroke="#604020"/>'
    '<rect x="2.5" y="6.5" width="11" height="8" fill="#C89868" stroke="#604020"/><path d="M6 9h4" stroke="#604020" stroke-width="2"/>',
]


def strip(count):
    width = 16 * count
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="16" viewBox="0 0 {width} 16" '
             'shape-rendering="crispEdges">',
             f'<rect width="{width}" height="16" fill="#FF00FF"/>']
    for i, picture in enumerate(PICTURES[:count]):
        parts.append(f'<g transform="translate({16 * i} 0)">{picture}</g>')
    parts.append('</svg>')
    return "\n".join(parts) + "\n"


def main():
    art = pathlib.Path(__file__).resolve().parent.parent / "resources" / "art"
    (art / "folders17.272x16.bmp.svg").write_text(strip(17))
    (art / "folders5.80x16.bmp.svg").write_text(strip(5))


if __name__ == "__main__":
    main()
