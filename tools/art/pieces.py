"""What every image holds: for each file, each rectangle with its name and what
is drawn there.

The screens take these rectangles at fixed places, so a rectangle's position and
size never change; what is inside is the art, and a change of art is a change of
the painter or the arguments named here.  Rectangles are (left, top, right,
bottom), right and bottom exclusive, in the image's own pixels.
"""

from dataclasses import dataclass, field

import figures
import glyphs
import painters as p
import palette as P


@dataclass(frozen=True)
class Piece:
    name: str
    box: tuple
    paint: object
    args: dict = field(default_factory=dict)

    @property
    def size(self):
        x0, y0, x1, y1 = self.box
        return x1 - x0, y1 - y0


@dataclass(frozen=True)
class ImageSpec:
    file: str
    size: tuple
    pieces: tuple


def piece(name, box, paint, **args):
    return Piece(name, box, paint, args)


def _large_digits():
    return [piece(f"large digit {d}", (16 * d, 0, 16 * d + 16, 32), p.large_digit, ch=str(d))
            for d in range(10)]


def _small_digits():
    return [piece(f"small digit {d}", (8 * d, 48, 8 * d + 8, 64), p.small_digit, ch=str(d))
            for d in range(10)]


def _frame_tiles():
    out = []
    outer = ["top-left", "top-right", "bottom-left", "bottom-right", "top", "bottom", "left", "right"]
    for i, parts in enumerate(outer):
        out.append(piece(f"outer frame {parts.replace('-', ' ')}", (16 * i, 0, 16 * i + 16, 16),
                         p.tile, kind="outer", parts=parts))
    panel = [(0, 16, "top-left"), (16, 16, "top-right"), (32, 16, "bottom-left"),
             (48, 16, "bottom-right"), (64, 16, "top"), (96, 16, "left"), (112, 16, "right"),
             (16, 32, "bottom")]
    for x, y, parts in panel:
        out.append(piece(f"panel frame {parts.replace('-', ' ')}", (x, y, x + 16, y + 16),
                         p.tile, kind="panel", parts=parts))
    out.append(piece("panel rule tile", (80, 16, 96, 32), p.band_tile, rule=True))
    out.append(piece("panel band tile", (0, 32, 16, 48), p.band_tile))
    return out


# Labels and units sit on the line of the small digits, whose ink ends above row 14.
LABEL = dict(font="maru", size=13, bold=1, align="left", bottom=14)
HEADING = dict(font="dot", size=16, bold=1, ink=P.INDIGO)
UNIT = dict(font="maru", size=13, bold=0, ink=P.INDIGO, align="left")

IMAGES = (
    ImageSpec("zubi1-1.bmp", (96, 144), (
        piece("dialect speaker", (0, 0, 96, 144), figures.dialect_speaker),
    )),
    ImageSpec("yama1-1.bmp", (96, 144), (
        piece("standard speaker", (0, 0, 96, 144), figures.standard_speaker),
    )),
    ImageSpec("parts1-2.bmp", (160, 48), tuple(_large_digits()) + (
        piece("score caption", (0, 32, 32, 48), p.words, s="てん", font="dot", bold=1,
              ink=P.BROWN, align="left", margin=1, top=1),
        piece("life icon (even places)", (32, 32, 48, 48), p.heart,
              fill=P.SALMON, shade=P.VERMILION, light=P.WHITE),
        piece("life icon (odd places)", (48, 32, 64, 48), p.heart,
              fill=P.PINK, shade=P.SALMON, light=P.WHITE),
        piece("lives caption", (64, 32, 112, 40), p.caption, s="ライフ"),
        piece("timer caption", (64, 40, 112, 48), p.caption, s="タイム"),
    )),
    ImageSpec("back1-1.bmp", (224, 128), (
        piece("lower backdrop (town)", (0, 0, 98, 120), figures.town_backdrop),
        piece("upper backdrop (country)", (112, 0, 210, 120), figures.country_backdrop),
    )),
    ImageSpec("bar1-1.bmp", (208, 16), (
        piece("timer bar", (0, 0, 208, 16), p.timer_bar),
    )),
    ImageSpec("words1-1.bmp", (208, 528), (
        piece("menu start", (0, 0, 160, 32), p.button, s="ゲームスタート", selected=False),
        piece("menu rankings", (0, 32, 128, 64), p.button, s="ランキング", selected=False),
        piece("menu quit", (0, 64, 80, 96), p.button, s="おわる", selected=False),
        piece("menu quit, selected", (80, 64, 160, 96), p.button, s="おわる", selected=True),
        piece("menu start, selected", (0, 96, 160, 128), p.button, s="ゲームスタート",
              selected=True),
        piece("menu rankings, selected", (0, 128, 128, 160), p.button, s="ランキング",
              selected=True),
        piece("bonus caption", (128, 128, 208, 144), p.words, s="ボーナス", font="dot", bold=1,
              ink=P.BROWN, align="right", margin=4),
        piece("key help", (0, 160, 208, 176), p.words, s="↑↓:えらぶ Enter:けってい",
              font="maru", size=14, bold=1, ink=P.INDIGO, align="left"),
        piece("signboard", (0, 176, 160, 240), figures.signboard),
        piece("ready message", (0, 240, 166, 278), p.words, s="よーい…", font="maru", size=30,
              bold=2, gradient=[P.LEMON, P.GOLD, P.AMBER], outline=P.BROWN, rim=P.WHITE),
        piece("go message", (0, 278, 170, 316), p.words, s="スタート！", font="maru", size=30,
              bold=2, gradient=[P.PINK, P.SALMON, P.VERMILION], outline=P.BROWN, rim=P.WHITE),
        piece("game over mark", (0, 320, 91, 360), p.words, s="おわり", font="maru", size=28,
              bold=2, gradient=[P.LILAC, P.LAVENDER, P.PURPLE], outline=P.INDIGO, rim=P.WHITE),
        piece("window mode label", (96, 352, 170, 357), p.tiny, s="F4: FULL SCREEN"),
        piece("full-screen mode label", (96, 360, 146, 365), p.tiny, s="F4: WINDOW"),
        piece("result: no mistake", (0, 368, 176, 409), p.words, s="パーフェクト！", font="maru",
              size=24, bold=2, gradient=[P.LEMON, P.YELLOW, P.GOLD], outline=P.BROWN,
              rim=P.WHITE),
        piece("result: one mistake", (0, 409, 176, 450), p.words, s="グッド！", font="maru",
              size=26, bold=2, gradient=[P.LIME, P.LEAF, 169], outline=P.BROWN, rim=P.WHITE),
        piece("result: more mistakes", (0, 450, 160, 491), p.words, s="ドンマイ！", font="maru",
              size=26, bold=2, gradient=[P.BLUE_MIST, P.SKY, P.BLUE], outline=P.INDIGO,
              rim=P.WHITE),
        piece("menu settings", (0, 496, 96, 528), p.button, s="せってい", selected=False),
        piece("menu settings, selected", (96, 496, 192, 528), p.button, s="せってい",
              selected=True),
    )),
    ImageSpec("title1-1.bmp", (224, 224), (
        piece("title picture", (0, 0, 224, 224), figures.title_picture),
    )),
    ImageSpec("hisco1-1.bmp", (128, 160), tuple(_frame_tiles()) + (
        piece("speeds heading", (64, 32, 128, 48), p.words, s="はやさ", **HEADING),
    ) + tuple(_small_digits()) + (
        piece("small decimal point", (80, 48, 88, 64), p.small_digit, ch="."),
        piece("score unit", (0, 64, 32, 80), p.words, s="てん", bottom=12, **UNIT),
        piece("speed unit", (32, 64, 80, 80), p.words, s="打/秒", bottom=14, **UNIT),
        piece("mistakes unit", (80, 64, 96, 80), p.words, s="回", bottom=14, **UNIT),
        piece("results title", (96, 64, 128, 80), p.words, s="結果", top=0, font="dot",
              bold=0, ink=P.INDIGO),
        piece("rankings title", (0, 80, 80, 96), p.words, s="ランキング", **HEADING),
        piece("scores heading", (80, 80, 128, 96), p.words, s="スコア", **HEADING),
        piece("score label", (0, 96, 48, 112), p.words, s="スコア", **LABEL),
        piece("mistakes label", (48, 96, 112, 112), p.words, s="ミス", **LABEL),
        piece("speed label", (0, 112, 48, 128), p.words, s="はやさ", **LABEL),
        piece("first bullet", (48, 112, 56, 120), p.icon, rows=glyphs.DOT_8, ink=P.SALMON),
        piece("second bullet", (56, 112, 64, 120), p.icon, rows=glyphs.STAR_8, ink=P.GOLD),
        piece("enter prompt", (48, 120, 120, 128), p.enter_prompt),
        # Kanji stay legible at 16 pixels only in the regular weight.
        piece("settings title", (0, 128, 96, 144), p.words, s="ローマ字設定", font="dot",
              bold=0, ink=P.INDIGO),
        piece("settings keys", (0, 144, 80, 160), p.lines, rows=["Enter:けってい", "Space:もどる"]),
        piece("settings mark", (80, 144, 88, 152), p.icon, rows=glyphs.ARROW_8, ink=P.SALMON),
    )),
    ImageSpec("win1-1.bmp", (320, 96), (
        piece("upper window (dialect)", (0, 0, 320, 96), p.speech_window, tail="left",
              tag="ほうげん"),
    )),
    ImageSpec("win1-2.bmp", (320, 96), (
        piece("lower window (standard)", (0, 0, 320, 96), p.speech_window, tail="right",
              tag="ひょうじゅんご"),
    )),
    ImageSpec("timewin1-1.bmp", (240, 48), (
        piece("timer frame", (0, 0, 240, 48), p.gauge_frame, slot=(16, 16, 224, 32),
              symbol=glyphs.CLOCK_11, colours={"#": P.INDIGO, "o": P.WHITE}),
    )),
    ImageSpec("timewin1-2.bmp", (176, 48), (
        piece("lives frame", (0, 0, 176, 48), p.gauge_frame, slot=(16, 16, 160, 32),
              symbol=glyphs.HEART_11, colours={"#": P.BROWN, "o": P.SALMON, "w": P.WHITE}),
    )),
)
