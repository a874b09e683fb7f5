#!/usr/bin/env python3
"""Cuts the labels' characters out of AR PL KaitiM GB, the Kai face the
window's labels fall back to on Debian, into a small web font.

    kaiSubset.py FONT TEXT OUT.woff

The Arphic Public License lets the face be modified and passed on under the
same licence, with a notice in each modified file saying how and when it
was changed: the notice goes into the font's own description, and the
licence's text goes beside it (scripts/web copies it)."""

import datetime
import logging
import sys

from fontTools import subset
from fontTools.ttLib import TTFont


def main():
    # The face has tables fontTools mends or drops as it goes, saying so.
    logging.disable(logging.WARNING)
    font_path, text, out = sys.argv[1:4]
    options = subset.Options()
    options.flavor = "woff"
    options.name_IDs = ["*"]
    options.notdef_outline = True
    font = TTFont(font_path)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    notice = (
        "Modified on %s by sweepdraw's page build (web/tools/kaiSubset.py): "
        "only the glyphs of the characters %r kept, and converted to WOFF. "
        "Distributed under the ARPHIC PUBLIC LICENSE (ARPHICPL.TXT beside this file)."
        % (datetime.date.today().isoformat(), text)
    )
    font["name"].setName(notice, 10, 3, 1, 0x409)
    font.flavor = "woff"
    font.save(out)


if __name__ == "__main__":
    main()
