#!/usr/bin/env python3
"""Writes the random benchmark grammar: 25 non-terminals, about 120
productions, drawn with a fixed seed so that every run measures the same
grammar.  Usage: random_grammar.py [SEED] > grammar.txt"""
import random
import sys

seed = int(sys.argv[1]) if len(sys.argv) > 1 else 99
rng = random.Random(seed)
names = [chr(ord("A") + k) for k in range(26) if chr(ord("A") + k) != "I"][:25]
terminals = list("abcdfghjkmnopqrstuvwxyz")[:12]
lines = ["I->" + names[0]]
for i, name in enumerate(names):
    alternatives = []
    for _ in range(rng.randint(3, 5)):
        length = rng.randint(1, 4)
        body = []
        for _ in range(length):
            if rng.random() < 0.4:
                # Mostly later non-terminals, so that every one is reachable
                # and the grammar stays productive.
                body.append(rng.choice(names[i:] if rng.random() < 0.7 else names))
            else:
                body.append(rng.choice(terminals))
        alternatives.append("".join(body))
    alternatives.append(rng.choice(terminals))
    lines.append(name + "->" + "|".join(alternatives))
print("\n".join(lines))
