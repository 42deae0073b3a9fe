#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the font the pictures are set in as a C++ source: a subset of a TrueType font holding
only the characters the pictures can show, without hinting (the core rasterizes outlines with
coverage, so hints would only take room), as the array EmbeddedFont of EmbeddedFontSize bytes.

The characters: printable ASCII and Latin-1, Greek, the punctuation, letterlike, arrow,
mathematical and geometric blocks the captions draw from, CJK punctuation, hiragana, katakana,
full-width forms, and every character of the text files given (the translation catalogues).
Super- and subscript digits and signs the font lacks are made from its own digits and signs,
scaled as the font scales its own superscript two; other characters it lacks take the glyph of
their compatibility equivalent where it has that.

The subset is a derived font: it is renamed, and the source font's copyright and licence
records stay in its name table.

  embed-font.py FONT OUTPUT.cpp [TEXT_FILE ...]
"""

import io
import sys
import unicodedata

from fontTools import subset
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

# Inclusive code point ranges always kept.
RANGES = [
    (0x0020, 0x007E),  # printable ASCII
    (0x00A0, 0x00FF),  # Latin-1
    (0x0370, 0x03FF),  # Greek
    (0x2010, 0x205E),  # general punctuation
    (0x2070, 0x209F),  # super- and subscripts
    (0x2100, 0x214F),  # letterlike symbols
    (0x2190, 0x21FF),  # arrows
    (0x2200, 0x22FF),  # mathematical operators
    (0x25A0, 0x25FF),  # geometric shapes
    (0x3000, 0x303F),  # CJK symbols and punctuation
    (0x3040, 0x309F),  # hiragana
    (0x30A0, 0x30FF),  # katakana
    (0xFF00, 0xFFEF),  # half- and full-width forms
]

# Super- and subscript forms and the characters they are made from.
SUPERSCRIPTS = {0x2070: "0", 0x2074: "4", 0x2075: "5", 0x2076: "6", 0x2077: "7", 0x2078: "8",
                0x2079: "9", 0x207A: "+", 0x207B: "\u2212", 0x207C: "=", 0x207D: "(",
                0x207E: ")", 0x207F: "n", 0x00B9: "1", 0x00B2: "2", 0x00B3: "3"}
SUBSCRIPTS = {0x2080 + d: str(d) for d in range(10)}
SUBSCRIPTS.update({0x208A: "+", 0x208B: "\u2212", 0x208C: "=", 0x208D: "(", 0x208E: ")"})
# A subscript's baseline lies this far below the font's, in ems.
SUBSCRIPT_DROP = 0.1

NEW_FAMILY = "Halvoran Picture Gothic"
NEW_POSTSCRIPT = "HalvoranPictureGothic"


def wanted_code_points(text_files):
    points = set()
    for first, last in RANGES:
        points.update(range(first, last + 1))
    for path in text_files:
        with open(path, encoding="utf-8") as f:
            points.update(ord(c) for c in f.read() if ord(c) >= 0x20)
    return points


def bounds(glyph_set, name):
    pen = DecomposingRecordingPen(glyph_set)
    glyph_set[name].draw(pen)
    xs, ys = [], []
    for _, points in pen.value:
        for p in points:
            xs.append(p[0])
            ys.append(p[1])
    return min(xs), min(ys), max(xs), max(ys)


def add_scaled_glyph(font, code_point, source, scale, rise):
    """A glyph for code_point drawn from the outline of the character source, scaled about its
    own middle and raised by rise font units, as a simple outline: composites with a scale are
    read differently by different rasterizers."""
    cmap = font.getBestCmap()
    if code_point in cmap or ord(source) not in cmap:
        return False
    glyph_set = font.getGlyphSet()
    source_name = cmap[ord(source)]
    advance = font["hmtx"][source_name][0]
    x_min, _, x_max, _ = bounds(glyph_set, source_name)
    shift = advance / 2 - scale * (x_min + x_max) / 2
    recording = DecomposingRecordingPen(glyph_set)
    glyph_set[source_name].draw(recording)
    pen = TTGlyphPen(None)
    recording.replay(TransformPen(pen, (scale, 0, 0, scale, shift, rise)))
    glyph = pen.glyph()
    glyf = font["glyf"]
    name = "uni%04X" % code_point
    glyf[name] = glyph
    order = font.getGlyphOrder()
    if name not in order:
        font.setGlyphOrder(order + [name])
    glyph.recalcBounds(glyf)
    font["hmtx"][name] = (advance, glyph.xMin)
    for table in font["cmap"].tables:
        if table.isUnicode():
            table.cmap[code_point] = name
    return True


def add_scripts(font):
    cmap = font.getBestCmap()
    units = font["head"].unitsPerEm
    glyph_set = font.getGlyphSet()
    # The font's own superscript two beside its two sets the scale and the rise.
    if 0x00B2 in cmap and ord("2") in cmap:
        _, low, _, high = bounds(glyph_set, cmap[0x00B2])
        _, base_low, _, base_high = bounds(glyph_set, cmap[ord("2")])
        scale = (high - low) / (base_high - base_low)
        rise = low - scale * base_low
    else:
        scale = 0.5
        rise = 0.5 * units
    for code_point, source in sorted(SUPERSCRIPTS.items()):
        add_scaled_glyph(font, code_point, source, scale, rise)
    for code_point, source in sorted(SUBSCRIPTS.items()):
        add_scaled_glyph(font, code_point, source, scale, -SUBSCRIPT_DROP * units)


def add_equivalents(font, code_points):
    """Wanted characters the font still lacks take the glyph of their compatibility equivalent
    where that is one character the font has and the same form: the micro sign that of the Greek
    mu, the ohm sign that of omega, a no-break space the space."""
    cmap = font.getBestCmap()
    for code_point in sorted(code_points):
        if code_point in cmap or 0xD800 <= code_point <= 0xDFFF:
            continue
        # Styled, raised, lowered, circled or narrowed forms would pass for something else.
        tag = unicodedata.decomposition(chr(code_point)).split(" ")[0]
        if tag.startswith("<") and tag not in ("<compat>", "<noBreak>"):
            continue
        equivalent = unicodedata.normalize("NFKC", chr(code_point))
        if len(equivalent) != 1 or ord(equivalent) not in cmap:
            continue
        for table in font["cmap"].tables:
            if table.isUnicode() and (code_point <= 0xFFFF or table.format in (12, 13)):
                table.cmap[code_point] = cmap[ord(equivalent)]


def rename(font):
    names = font["name"]
    for record in names.names:
        if record.nameID in (1, 4, 16, 18, 21):
            record.string = NEW_FAMILY
        elif record.nameID == 3:
            record.string = NEW_FAMILY + " subset"
        elif record.nameID == 6:
            record.string = NEW_POSTSCRIPT


def subset_font(font_path, text_files):
    options = subset.Options()
    options.hinting = False
    options.notdef_outline = True  # a missing character shows as a box
    options.glyph_names = False
    options.layout_features = ["kern"]
    options.name_IDs = ["*"]
    options.drop_tables += ["vhea", "vmtx", "VORG", "gasp", "GSUB", "GDEF", "BASE", "JSTF",
                            "DSIG", "hdmx", "LTSH", "VDMX"]
    font = TTFont(font_path, recalcTimestamp=False)
    wanted = wanted_code_points(text_files)
    subsetter = subset.Subsetter(options=options)
    subsetter.populate(unicodes=wanted)
    subsetter.subset(font)
    add_scripts(font)
    add_equivalents(font, wanted)
    rename(font)
    out = io.BytesIO()
    font.save(out)
    return out.getvalue()


def write_source(data, output, font_path):
    lines = [
        "// Generated by tools/embed-font.py from %s: do not edit." % font_path.rsplit("/", 1)[-1],
        "#include <cstddef>",
        "",
        "extern const unsigned char EmbeddedFont[];",
        "extern const std::size_t EmbeddedFontSize;",
        "",
        "alignas(4) const unsigned char EmbeddedFont[] = {",
    ]
    for start in range(0, len(data), 20):
        lines.append(",".join(str(b) for b in data[start:start + 20]) + ",")
    lines += ["};", "const std::size_t EmbeddedFontSize = sizeof(EmbeddedFont);", ""]
    with open(output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    font_path, output, text_files = argv[1], argv[2], argv[3:]
    data = subset_font(font_path, text_files)
    write_source(data, output, font_path)
    print("embedded font: %d bytes" % len(data))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
