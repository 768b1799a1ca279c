#!/usr/bin/env python3
"""Writes a comment file in the XML format of video sites with the make-up of a real one that is mostly comment
art: bursts of positioned comments (mode 7, whose text is the positioning payload), a few reverse ones (mode 6),
colours written with 32 bits, and ordinary scroll, top and bottom comments. Deterministic.

    make_xml_comments.py OUT.xml [COUNT [DURATION-SECONDS [SEED]]]

The default make-up follows a public file of 6,258 comments: 5,188 positioned, 14 reverse, 21 colours of
4294967295."""

import json
import random
import sys
from xml.sax.saxutils import escape

WORDS = ["前方高能", "这里讲得好清楚", "原来如此", "666", "太强了", "なるほど", "great", "wait what", "lol", "草"]
ART = ["█", "▓", "▒", "░", "★", "☆", "♪", "◆", "●", "■"]


def positioned(rng):
    x, y = round(rng.uniform(0.0, 1.0), 3), rng.randint(0, 420)
    life = round(rng.uniform(1.0, 8.0), 1)
    text = "".join(rng.choice(ART) for _ in range(rng.randint(1, 12)))
    if rng.random() < 0.1:
        text += "/n" + "".join(rng.choice(ART) for _ in range(rng.randint(1, 12)))
    fields = [x, y, rng.choice(["1-1", "1-0", "0.8-0.8", "0-1"]), life, text]
    if rng.random() < 0.7:
        fields += [rng.choice([0, 0, 0, 15, -30, 90]), rng.choice([0, 0, 45]), round(rng.uniform(0.0, 1.0), 3),
                   rng.randint(0, 420), rng.randint(0, int(life * 1000)), rng.randint(0, 500), rng.random() < 0.8,
                   "SimHei", 1]
    # Players write numbers as strings as often as not.
    return json.dumps([str(field) if isinstance(field, (int, float)) and not isinstance(field, bool)
                       and rng.random() < 0.3 else field for field in fields], ensure_ascii=False)


def make(count, duration, seed):
    rng = random.Random(seed)
    art = count * 5188 // 6258
    reverse = max(1, count * 14 // 6258)
    wide_colours = max(1, count * 21 // 6258)
    rows = []
    burst_start = 0.0
    for index in range(art):
        if index % 100 == 0:
            burst_start = rng.uniform(0.0, duration - 10.0)
        rows.append((burst_start + rng.uniform(0.0, 3.0), 7, positioned(rng)))
    for _ in range(reverse):
        rows.append((rng.uniform(0.0, duration), 6, rng.choice(WORDS)))
    for _ in range(count - art - reverse):
        rows.append((rng.uniform(0.0, duration), rng.choice([1, 1, 1, 1, 4, 5]), rng.choice(WORDS)))
    rng.shuffle(rows)
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<i><chatserver>chat.example</chatserver><chatid>1</chatid>"]
    for index, (seconds, mode, text) in enumerate(rows):
        colour = 4294967295 if index < wide_colours else rng.choice([16777215, 16777215, 16646914, 65280])
        lines.append(f'<d p="{seconds:.5f},{mode},25,{colour},1712949344,0,a1b2c3d4,{1000 + index}">'
                     f"{escape(text)}</d>")
    lines.append("</i>")
    return "\n".join(lines) + "\n"


if __name__ == "__main__":
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 6258
    duration = float(sys.argv[3]) if len(sys.argv) > 3 else 600.0
    seed = int(sys.argv[4]) if len(sys.argv) > 4 else 6258
    with open(sys.argv[1], "w", encoding="utf-8") as handle:
        handle.write(make(count, duration, seed))
