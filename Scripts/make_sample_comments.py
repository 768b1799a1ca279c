#!/usr/bin/env python3
"""Writes a bundled sample comment document: a few thousand comments of all three modes over a lesson of a
few minutes, in the JSON format the overlay loads. Deterministic, so the file only changes when this does.

    make_sample_comments.py OUT.json [COUNT [DURATION-SECONDS [SEED [--oddities] [--special]]]]

--oddities adds comments no clock reaches (a time before the start, one past the end, one out of range) and an id
beyond 32 bits, so that the player's summary and trace have them to report.

--special adds reverse comments (mode 3, scrolling left to right) and positioned ones (mode 7, whose text is the
positioning payload: [x, y, "alpha-from-alpha-to", life, text, rotate-z, rotate-y, end-x, end-y, move-ms,
delay-ms, outline] on a 672 x 438 stage), a bunch of each in the first seconds so that the first snapshot shows
them. The other comments stay as they are without it."""

import json
import random
import sys

PHRASES = [
    "前方高能", "这里讲得好清楚", "原来如此！", "老师好帅", "打卡第一天", "笑死我了哈哈哈", "懂了懂了",
    "这一步没看懂", "再来一遍", "做笔记做笔记", "弹幕护体", "666", "太强了", "感谢分享", "关键点来了",
    "なるほど", "すごい！", "ここ大事", "わかりやすい", "ありがとうございます", "草",
    "great explanation", "wait what", "pause here", "this is the key step", "lol", "first time I get it",
    "🎉🎉🎉", "👍", "😂😂", "🔥 前方高能 🔥", "✨ 学到了 ✨",
]
COLOURS = ["#FFFFFF", "#FFFFFF", "#FFFFFF", "#FE0302", "#00CD00", "#4266BE", "#FFD302", "#CC0273"]


def make(count, duration_seconds, seed, oddities=False):
    rng = random.Random(seed)
    comments = []
    for index in range(count):
        # Comments bunch up around a few moments, as they do on real lessons.
        if rng.random() < 0.3:
            centre = rng.choice([12, 47, 95, 150, 170]) * duration_seconds / 180.0
            seconds = min(max(rng.gauss(centre, 2.0), 0.0), duration_seconds - 0.1)
        else:
            seconds = rng.uniform(0.0, duration_seconds - 0.1)
        mode = rng.choices([0, 1, 2], weights=[80, 12, 8])[0]
        text = rng.choice(PHRASES)
        if rng.random() < 0.15:
            text = text + " " + rng.choice(PHRASES)
        comments.append({
            "danmaku_id": index + 1,
            "post_id": 1001,
            "user_id": rng.randint(1, 5000),
            "user_display_name": f"viewer{rng.randint(1, 5000)}",
            "danmaku_post_date": f"2026.0{rng.randint(1, 9)}.{rng.randint(10, 28)}-{rng.randint(10, 23)}.{rng.randint(10, 59)}.{rng.randint(10, 59)}",
            "danmaku_spawn_time": int(seconds * 10_000_000),
            "danmaku_content": text,
            "danmaku_mode": mode,
            "danmaku_font_size": rng.choice([18, 24, 24, 24, 30]),
            "danmaku_font_color": rng.choice(COLOURS),
        })
    comments.sort(key=lambda comment: comment["danmaku_spawn_time"])
    if oddities:
        odd = dict(comments[0])
        for number, (key, value) in enumerate([("danmaku_spawn_time", -30_000_000),
                                               ("danmaku_spawn_time", int((duration_seconds + 5) * 10_000_000)),
                                               ("danmaku_spawn_time", 1e300), ("danmaku_id", 5_000_000_000)]):
            comment = dict(odd, danmaku_id=count + number + 1, danmaku_content=f"odd comment {number + 1}")
            comment[key] = value
            comments.append(comment)
    return {"datas": comments}


POSITIONED = [
    # Text, start, end (fractions of the stage or stage pixels), opacity, life, turn, move and delay in ms.
    ("第一章 · 函数/n Chapter 1: functions", (0.28, 0.08), (0.28, 0.08), "1-1", 5.5, 0, 0, 0, 0),
    ("→ 看这里 look here", (0.05, 0.55), (0.42, 0.55), "1-0.4", 5.0, 0, 0, 2500, 500),
    ("重点", (520, 300), (520, 300), "1-0", 6.0, -15, 0, 0, 0),
    ("✨ 学到了 ✨", (0.62, 0.7), (0.62, 0.4), "0.3-1", 4.0, 0, 40, 3000, 0),
    ("f(x) = x² + 1", (0.08, 0.3), (0.08, 0.3), "1-1", 4.5, 8, 0, 0, 0),
]


def add_special(comments, count, duration_seconds, seed):
    rng = random.Random(seed + 1)
    next_id = max(comment["danmaku_id"] for comment in comments) + 1
    template = {"post_id": 1001, "user_id": 42, "user_display_name": "viewer42",
                "danmaku_post_date": "2026.11.30-20.15.00"}
    for index in range(max(count // 50, 8)):
        seconds = 0.5 + 0.4 * index if index < 6 else rng.uniform(6.0, duration_seconds - 0.1)
        comments.append(dict(template, danmaku_id=next_id, danmaku_spawn_time=int(seconds * 10_000_000),
                             danmaku_content="← " + rng.choice(PHRASES), danmaku_mode=3, danmaku_font_size=24,
                             danmaku_font_color=rng.choice(COLOURS)))
        next_id += 1
    starts = [1.0, 1.4, 1.8, 2.2, 2.6] + [rng.uniform(6.0, duration_seconds - 6.0) for _ in range(15)]
    for index, seconds in enumerate(starts):
        text, start, end, alpha, life, turn, lean, move, delay = POSITIONED[index % len(POSITIONED)]
        payload = [start[0], start[1], alpha, life, text, turn, lean, end[0], end[1], move, delay, True]
        comments.append(dict(template, danmaku_id=next_id, danmaku_spawn_time=int(seconds * 10_000_000),
                             danmaku_content=json.dumps(payload, ensure_ascii=False), danmaku_mode=7,
                             danmaku_font_size=25, danmaku_font_color=COLOURS[3 + index % 5]))
        next_id += 1
    comments.sort(key=lambda comment: comment["danmaku_spawn_time"])


if __name__ == "__main__":
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 3000
    duration = float(sys.argv[3]) if len(sys.argv) > 3 else 180.0
    seed = int(sys.argv[4]) if len(sys.argv) > 4 else 20261208
    document = make(count, duration, seed, "--oddities" in sys.argv[5:])
    if "--special" in sys.argv[5:]:
        add_special(document["datas"], count, duration, seed)
    with open(sys.argv[1], "w", encoding="utf-8") as handle:
        json.dump(document, handle, ensure_ascii=False, indent=None, separators=(",", ":"))
        handle.write("\n")
