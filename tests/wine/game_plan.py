"""The keys of the whole game that the Wine test plays, and the same game as a script for the
scripted host.

The phrase file holds one phrase, so every phrase of the game is the same: だべ / だよ, typed
"dabe" then "dayo". Each of the first five phrases starts with one wrong key, which costs a
life; the wrong key that starts the sixth takes the last one and ends the game. So the score
follows from the keys alone: it doesn't depend on when they come, as long as every key falls
in the phase it is meant for, which the pauses below make sure of with a wide margin (the
game waits 300 ms and then for Enter before play, 1000 ms after it, and ignores keys for 1100
ms after each completed phrase; a phrase's timer allows 21 s). Only the typing speed depends
on real time, so only the scores of "a.dat" are compared.
"""

PHRASE_FILE = b"[drel]\x82\xbe\x82\xd7 dabe\n[normal]\x82\xbe\x82\xe6 dayo\n"
HOLD_MS = 80  # how long the scripted keys stay down (the Wine test's keys: wine_desktop)
GAP_MS = 120  # between one key's release and the next key


def game_steps():
    """('key', NAME) and ('wait', MS) steps from the title screen back to the title screen."""
    steps = [("key", "Return"), ("wait", 1000),  # a game: the ready screen's first message
             ("key", "Return"), ("wait", 1800)]  # play begins 1000 ms after this Enter
    for _ in range(5):
        steps += [("key", "q")] + [("key", letter) for letter in "dabedayo"]
        steps.append(("wait", 2000))  # past the pause after the phrase
    steps += [("key", "q"), ("wait", 4000)]  # game over, 1500 ms, then the results
    steps += [("key", "Return"), ("wait", 1500)]  # back to the title
    return steps


SCRIPT_KEYS = {"Return": "RETURN", "F4": "F4"}


def scripted_script():
    """The scripted host's script: the title shot, the game, full screen and back with a shot
    of each, then the close box answered No and then Yes."""
    lines = ["at 0 shot title.png"]
    t = 1000
    for kind, value in game_steps():
        if kind == "wait":
            t += value
            continue
        key = SCRIPT_KEYS.get(value, value.upper())
        lines += [f"at {t} press {key}", f"at {t + HOLD_MS} release {key}"]
        t += HOLD_MS + GAP_MS
    for shot in ("fullscreen.png", "windowed.png"):
        # A shot is the first picture shown at or after its time: the redraw after F4.
        lines += [f"at {t} shot {shot}", f"at {t} press F4", f"at {t + HOLD_MS} release F4"]
        t += 1500
    lines += [f"at {t} close no", f"at {t + 500} close yes", f"end {t + 5000}"]
    return "\n".join(lines) + "\n"
