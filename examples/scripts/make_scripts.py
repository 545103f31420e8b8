#!/usr/bin/env python3
"""Writes the humbrook-render scripts that build the example songs.

Each example is made in the program itself: the scripts press keys, choose menus and drag the
mouse over the panels at window coordinates, exactly as a user would, and end with `save`.
This generator only spells the mouse paths out; run it from the repository root:

    python3 examples/scripts/make_scripts.py
    for s in examples/scripts/*.txt; do build/humbrook-render --script "$s"; done
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# Note rows of the note pad: 0 is C3, 23 is B4.
NOTE = {"C": 0, "C#": 1, "D": 2, "D#": 3, "E": 4, "F": 5, "F#": 6, "G": 7, "G#": 8, "A": 9,
        "A#": 10, "B": 11}


def row(name):
    """'E4' -> 16, 'C3' -> 0."""
    return NOTE[name[:-1]] + 12 * (int(name[-1]) - 3)


class Session:
    def __init__(self, title):
        self.lines = [f"# {title}"]

    def say(self, text):
        self.lines.append("")
        self.lines.append(f"# {text}")

    def cmd(self, text):
        self.lines.append(text)

    def click(self, x, y):
        self.cmd(f"down {x} {y}")
        self.cmd(f"up {x} {y}")

    def drag(self, points):
        x, y = points[0]
        self.cmd(f"down {x} {y}")
        for x, y in points[1:]:
            self.cmd(f"move {x} {y}")
        self.cmd(f"up {x} {y}")

    def vertical_value(self, x, y, value, pixels):
        """A vertical drag control: push it to the top, then down to `value` (0..1)."""
        top = y - pixels - 40
        self.drag([(x, y), (x, top), (x, top + round((1 - value) * pixels))])

    # Instruments and their controls.
    def instrument(self, i):
        self.click(248 + 51 * i, 292)

    def volume(self, i, value):
        x = 260 + 51 * i
        self.drag([(x, 308 + round(60 * (1 - value)))])

    def octave(self, i, octave):
        self.click(235 + 51 * i, 304 + {0: 61, 1: 50, 2: 39, 3: 28}[octave])

    def knob(self, k, value):
        x = 736 + 40 * (k % 2) + 20
        y = 29 + 4 + 36 * (k // 2) + 22
        self.vertical_value(x, y, value, 120)

    def chord_key(self, offset, level):
        self.click(468 + 7 * (offset + 25), 380 + round(30 * (1 - level)))

    def delay(self, r, steps, feedback, lowpass, stereo):
        y = 260 + 25 * r
        self.click(438 + round(40 * steps), y)
        for column, value in enumerate((feedback, lowpass, stereo)):
            self.vertical_value(615 + 31 * column, y, value, 220)

    # Waveforms: slot buttons, drawing, MIX/HIGH/NOISE sliders.
    def wave_slot(self, s):
        self.click(483 + 44 * s, 425)

    def draw_wave(self, f):
        """Draws f(t), t in 0..1 over the 350 samples, value -127..125."""
        points = []
        for i in range(0, 350, 2):
            v = max(-127, min(125, f(i / 349)))
            points.append((465 + i, 441 + round((v + 128) * 120 / 256)))
        self.drag(points)

    def wave_slider(self, which, value):
        self.vertical_value(439, 437 + {"MIX": 20, "HIGH": 62, "NOISE": 104}[which], value, 120)

    # Envelopes: bank buttons, curve keys, drawing and markers.
    def envelope_bank(self, b):
        self.click(73 + 38 * b, 390)

    def envelope_curve(self, name):
        self.cmd("key " + {"amplitude": "Z", "pitch": "X", "cutoff": "C", "ratio": "V"}[name])

    def draw_envelope(self, f, step=3):
        """Draws f(p), p in 0..299, value 0..1, on the curve in view."""
        points = []
        for p in list(range(0, 300, step)) + [299]:
            v = max(0.0, min(1.0, f(p)))
            points.append((58 + p, 560 - round(143 * v)))
        self.drag(points)

    def move_marker(self, at, to):
        self.drag([(58 + at, 407), (58 + to, 407)])

    # Notes.
    def bank_view(self, b):
        self.click(32 + 26 * b, 17)

    def bank_length(self, steps):
        for _ in range(16 - steps):
            self.click(289, 22)

    def note(self, step, rows, length=None):
        """A note from `step`: `rows` is one row name, or one row name per step (a slide)."""
        if isinstance(rows, str):
            rows = [rows] * (length or 1)
        points = [(35 + 25 * (step + k), 226 - 8 * row(r)) for k, r in enumerate(rows)]
        self.drag(points)

    def toggle_pan_velocity(self):
        """The strip at the left of the pan and velocity panel switches between PAN and VEL."""
        self.click(12, 257)

    def step_value(self, step, value):
        """A press sets the bar under it; the very top (1.0) is not a press target."""
        self.click(35 + 25 * step, 277 - round(38 * min(value, 0.97)))

    def tempo(self, bpm):
        digits = f"{bpm:06.2f}".replace(".", "")
        for d, ch in enumerate(digits):
            self.click(379 + 15 * d, 388)
            self.cmd(f"key {ch}")
        self.click(600, 12)  # a click on the help line ends the digit entry

    def queue(self, banks):
        for b in banks:
            self.cmd(f"key {(b + 1) % 10}")

    def write(self, name):
        self.lines.append("")
        self.lines.append(f"save examples/{name}.zwv")
        with open(os.path.join(HERE, name + ".txt"), "w") as out:
            out.write("\n".join(self.lines) + "\n")


def sine_mix(*harmonics, amp=100.0, cycles=2):
    """Two cycles (the note's pitch) of a sum of harmonics (number, weight)."""
    def f(t):
        return amp * sum(w * math.sin(2 * math.pi * cycles * n * t) for n, w in harmonics)
    return f


def adsr(attack, peak_end, sustain, release_start, release_end=299):
    """Amplitude curve: rise over `attack` points, fall to `sustain` by `peak_end`, hold, release."""
    def f(p):
        if p < attack:
            return p / attack
        if p < peak_end:
            return 1 - (1 - sustain) * (p - attack) / max(1, peak_end - attack)
        if p < release_start:
            return sustain
        return sustain * max(0.0, 1 - (p - release_start) / max(1, release_end - release_start))
    return f


def bright_morning():
    s = Session("Bright Morning: C major at 112 BPM, lead with ping-pong echo, major-chord pad, "
                "resonant bass and a pitch-swept kick, over two chained note banks.")
    s.say("tempo 112")
    s.tempo(112)

    s.say("instrument 1, lead: a drawn waveform in slot 2 and a plucked envelope in bank 2")
    s.instrument(0)
    s.wave_slot(1)
    s.draw_wave(sine_mix((1, 1.0), (2, 0.3), (3, 0.25), amp=85))
    s.envelope_bank(1)
    s.envelope_curve("amplitude")
    s.draw_envelope(adsr(8, 150, 0.65, 200))
    s.knob(0, 0.7)   # CUTOFF
    s.knob(1, 0.3)   # RES
    s.knob(10, 0.5)  # SLIDE
    s.delay(0, 3, 0.35, 0.4, 1.0)
    s.volume(0, 0.45)
    s.bank_view(0)
    for step, rows, length in [(0, "E4", 2), (2, "G4", 2), (4, "A4", 3), (7, "G4", 1),
                               (8, "E4", 2), (10, "D4", 2)]:
        s.note(step, rows, length)
    s.note(12, ["D4", "C4", "C4", "C4"])
    s.bank_view(1)
    for step, rows, length in [(0, "F4", 2), (2, "E4", 2), (4, "D4", 2), (6, "B3", 2)]:
        s.note(step, rows, length)
    s.note(8, ["C4", "D4", "E4"])
    s.note(11, "G4", 1)
    s.note(12, "E4", 4)
    s.bank_view(0)
    s.queue([1])

    s.say("instrument 2, pad: a soft drawn wave in slot 6, slow envelope in bank 3, a major chord")
    s.instrument(1)
    s.wave_slot(5)
    s.draw_wave(sine_mix((1, 1.0), (3, 0.15), (5, 0.06), amp=80))
    s.envelope_bank(2)
    s.envelope_curve("amplitude")
    s.draw_envelope(adsr(90, 150, 0.8, 230))
    s.chord_key(4, 0.7)
    s.chord_key(7, 0.7)
    s.chord_key(12, 0.4)
    s.knob(0, 0.55)  # CUTOFF
    s.knob(7, 0.4)   # CHORUS
    for r, steps in enumerate((0.35, 0.6, 0.85)):
        s.delay(r, steps, 0.45, 0.6, 0.5)
    s.volume(1, 0.3)
    s.bank_view(0)
    s.note(0, "C3", 8)
    s.note(8, "F3", 8)
    s.bank_view(1)
    s.note(0, "G3", 8)
    s.note(8, "C3", 8)
    s.bank_view(0)
    s.queue([1])

    s.say("instrument 3, bass: the sawtooth of slot 3 an octave down through a resonant filter")
    s.instrument(2)
    s.wave_slot(2)
    s.envelope_bank(3)
    s.envelope_curve("amplitude")
    s.draw_envelope(adsr(3, 100, 0.4, 150, 220))
    s.envelope_curve("cutoff")
    s.draw_envelope(lambda p: 0.9 - 0.5 * min(1.0, p / 120))
    s.envelope_curve("amplitude")
    s.knob(0, 0.45)  # CUTOFF
    s.knob(1, 0.55)  # RES
    s.octave(2, 0)
    s.volume(2, 0.55)
    for bank, (first, second) in enumerate((("C3", "F3"), ("G3", "C3"))):
        s.bank_view(bank)
        for half, root in ((0, first), (8, second)):
            up = root[:-1] + "4"
            for step, r, length in [(0, root, 2), (2, root, 1), (3, up, 1), (4, root, 2),
                                    (6, up, 1), (7, root, 1)]:
                s.note(half + step, r, length)
    s.bank_view(0)
    s.queue([1])

    s.say("instrument 4, kick: a sine whose pitch curve drops fast, short envelope in bank 5")
    s.instrument(3)
    s.wave_slot(4)
    s.envelope_bank(4)
    s.envelope_curve("amplitude")
    s.draw_envelope(lambda p: max(0.0, 1 - p / 80) ** 1.5)
    s.envelope_curve("pitch")
    s.draw_envelope(lambda p: 0.5 + 0.45 * max(0.0, 1 - p / 30))
    s.envelope_curve("amplitude")
    s.octave(3, 0)
    s.volume(3, 0.7)
    s.bank_view(0)
    for step in (0, 4, 8, 12):
        s.note(step, "C3", 1)
    s.write("bright_morning")


def night_drive():
    s = Session("Night Drive: A minor at 124 BPM, minor chords made by the chord keys, a sliding "
                "bass, a chorused arpeggio with echoes and a noise hi-hat, three chained banks.")
    s.say("tempo 124")
    s.tempo(124)
    progression = [("A3", "A3"), ("D3", "E3"), ("A3", "E3")]

    s.say("instrument 1, arpeggio: rounded square drawn in slot 7, echo three steps later")
    s.instrument(0)
    s.wave_slot(6)
    s.draw_wave(lambda t: 95 * math.tanh(3 * math.sin(4 * math.pi * t)))
    s.envelope_bank(1)
    s.envelope_curve("amplitude")
    s.draw_envelope(lambda p: max(0.0, 1 - p / 110))
    s.knob(0, 0.6)   # CUTOFF
    s.knob(1, 0.45)  # RES
    s.knob(7, 0.5)   # CHORUS
    s.delay(0, 3, 0.45, 0.5, 1.0)
    s.delay(1, 1.5, 0.25, 0.7, 0.0)
    s.volume(0, 0.35)
    minor = {"A3": ["A3", "C4", "E4", "A4"], "D3": ["D4", "F4", "A4", "D4"],
             "E3": ["E4", "G4", "B4", "E4"]}
    for bank, chords in enumerate(progression):
        s.bank_view(bank)
        for half, root in zip((0, 8), chords):
            tones = minor[root]
            for k, tone in enumerate(tones + tones[::-1]):
                s.note(half + k, tone, 1)
    s.bank_view(0)
    s.queue([1, 2])

    s.say("instrument 2, chord stabs: a minor chord on every note, drawn saw in slot 8")
    s.instrument(1)
    s.wave_slot(7)
    s.draw_wave(lambda t: 80 * (1 - 2 * ((2 * t) % 1.0)))
    s.envelope_bank(2)
    s.envelope_curve("amplitude")
    s.draw_envelope(adsr(4, 120, 0.5, 160, 260))
    s.chord_key(3, 0.75)
    s.chord_key(7, 0.75)
    s.knob(0, 0.5)  # CUTOFF
    for r, steps in enumerate((0.4, 0.65, 0.9)):
        s.delay(r, steps, 0.4, 0.65, 0.5)
    s.volume(1, 0.3)
    for bank, chords in enumerate(progression):
        s.bank_view(bank)
        for half, root in zip((0, 8), chords):
            for step in (2, 6):
                s.note(half + step, root, 2)
    s.bank_view(0)
    s.queue([1, 2])

    s.say("instrument 3, bass: sine with its octave (slot 2), an octave down, sliding between roots")
    s.instrument(2)
    s.wave_slot(1)
    s.envelope_bank(3)
    s.envelope_curve("amplitude")
    s.draw_envelope(adsr(3, 60, 0.7, 200, 290))
    s.knob(10, 0.6)  # SLIDE
    s.knob(3, 0.3)   # DISTORT
    s.octave(2, 0)
    s.volume(2, 0.6)
    for bank, chords in enumerate(progression):
        s.bank_view(bank)
        for half, root in zip((0, 8), chords):
            up = root[:-1] + "4"
            s.note(half, root, 3)
            s.note(half + 3, [up, root])
            s.note(half + 6, root, 2)
    s.bank_view(0)
    s.queue([1, 2])

    s.say("instrument 4, hi-hat: slot 5 full of noise and harmonics, a very short envelope")
    s.instrument(3)
    s.wave_slot(4)
    s.wave_slider("NOISE", 1.0)
    s.wave_slider("HIGH", 1.0)
    s.envelope_bank(4)
    s.envelope_curve("amplitude")
    s.draw_envelope(lambda p: max(0.0, 1 - p / 25) ** 2)
    s.knob(0, 0.9)  # CUTOFF
    s.octave(3, 3)
    s.volume(3, 0.4)
    s.bank_view(0)
    for step in range(0, 16, 2):
        s.note(step, "B4", 1)
    s.toggle_pan_velocity()  # the panel starts on PAN: to VEL for the accents
    for step in range(0, 16, 2):
        s.step_value(step, 1.0 if step % 4 == 2 else 0.45)
    s.toggle_pan_velocity()  # back to PAN: the hits alternate a little left and right
    for step in range(0, 16, 2):
        s.step_value(step, 0.62 if step % 4 == 0 else 0.38)
    s.write("night_drive")


def slow_tide():
    s = Session("Slow Tide: 76 BPM, major-seventh chords with a looped tremolo envelope, a bell "
                "lead with vibrato and slides in deep reverb, and a chime whose 12-step bank "
                "drifts against the others.")
    s.say("tempo 76")
    s.tempo(76)

    s.say("instrument 1, bell lead: bright drawn wave in slot 2 with the HIGH slider")
    s.instrument(0)
    s.wave_slot(1)
    s.draw_wave(sine_mix((1, 1.0), (2, 0.4), (4, 0.2), amp=80))
    s.wave_slider("HIGH", 0.35)
    s.envelope_bank(1)
    s.envelope_curve("amplitude")
    s.draw_envelope(adsr(5, 150, 0.55, 150))
    s.envelope_curve("pitch")
    s.draw_envelope(lambda p: 0.5 + (0.012 * math.sin(p / 12) if p > 120 else 0.0))
    s.envelope_curve("amplitude")
    s.knob(10, 0.35)  # SLIDE
    s.delay(0, 2, 0.4, 0.5, 1.0)
    s.delay(1, 0.55, 0.5, 0.6, 0.3)
    s.delay(2, 0.8, 0.5, 0.6, 0.7)
    s.volume(0, 0.45)
    s.bank_view(0)
    s.note(0, "E4", 3)
    s.note(3, ["D4", "E4"])
    s.note(5, "G4", 3)
    s.note(8, "B4", 4)
    s.note(12, ["A4", "A4", "G4", "G4"])
    s.bank_view(1)
    s.note(0, "A4", 3)
    s.note(3, "G4", 1)
    s.note(4, "E4", 4)
    s.note(8, ["D4", "D4", "E4", "E4"])
    s.note(12, "C4", 4)
    s.bank_view(0)
    s.queue([1])

    s.say("instrument 2, pad: major seventh chords, tremolo from a looped sustain period")
    s.instrument(1)
    s.wave_slot(5)
    s.draw_wave(sine_mix((1, 1.0), (2, 0.1), (3, 0.1), amp=85))
    s.envelope_bank(2)
    s.envelope_curve("amplitude")
    s.draw_envelope(lambda p: min(1.0, p / 60) * (0.75 + 0.25 * math.cos(2 * math.pi * (p - 60) / 80))
                    if p < 220 else max(0.0, 1 - (p - 220) / 79) * 0.75)
    s.move_marker(150, 220)  # both sustain markers (the start pushes the end along)
    s.move_marker(220, 140)  # the start back: the period 140..220 is one tremolo cycle
    s.click(42, 408)         # looped sustain mode
    s.chord_key(4, 0.6)
    s.chord_key(7, 0.6)
    s.chord_key(11, 0.45)
    s.knob(0, 0.5)  # CUTOFF
    s.knob(7, 0.5)  # CHORUS
    for r, steps in enumerate((0.45, 0.7, 0.95)):
        s.delay(r, steps, 0.5, 0.55, 0.5)
    s.volume(1, 0.25)
    s.bank_view(0)
    s.note(0, "C3", 16)
    s.bank_view(1)
    s.note(0, "F3", 16)
    s.bank_view(0)
    s.queue([1])

    s.say("instrument 3, bass: the sine of slot 1, an octave down, long notes")
    s.instrument(2)
    s.wave_slot(0)
    s.envelope_bank(3)
    s.envelope_curve("amplitude")
    s.draw_envelope(adsr(10, 80, 0.8, 200))
    s.octave(2, 0)
    s.volume(2, 0.6)
    s.bank_view(0)
    s.note(0, "C3", 6)
    s.note(6, "G3", 2)
    s.note(8, "C3", 8)
    s.bank_view(1)
    s.note(0, "F3", 6)
    s.note(6, "C4", 2)
    s.note(8, "F3", 8)
    s.bank_view(0)
    s.queue([1])

    s.say("instrument 4, chime: a stepped waveform in slot 8, a 12-step bank that drifts")
    s.instrument(3)
    s.wave_slot(7)
    s.draw_wave(sine_mix((1, 1.0), (3, 0.3), amp=70))
    s.cmd("key D")  # smooth the drawn wave
    s.envelope_bank(4)
    s.envelope_curve("amplitude")
    s.draw_envelope(lambda p: math.exp(-p / 60))
    s.cmd("key F")  # step the curve: a slightly grainy decay
    s.delay(0, 1.5, 0.5, 0.4, 1.0)
    s.octave(3, 2)
    s.volume(3, 0.25)
    s.bank_length(12)
    s.bank_view(0)
    for step, r in ((0, "G4"), (3, "E4"), (6, "D4"), (9, "E4")):
        s.note(step, r, 2)
    s.write("slow_tide")


if __name__ == "__main__":
    bright_morning()
    night_drive()
    slow_tide()
