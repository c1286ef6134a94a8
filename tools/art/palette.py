"""Every colour of the art in one place. Change a value here and rerun
generate.py to recolour the pictures."""

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# Dark edge around icons and buttons: keeps them readable over a bright sky.
OUTLINE = (14, 20, 36)
GLYPH = (255, 255, 255)
GLYPH_SHADOW = (6, 10, 24)

# The window's own colours, reused by the title panel.
TITLE_TEXT = (255, 255, 255)
TITLE_SHADOW = (0, 0, 0)
TITLE_ACCENT = (0, 191, 255)
PANEL_TOP = (52, 58, 72)
PANEL_BOTTOM = (18, 21, 30)
PANEL_EDGE = (110, 118, 136)

# Hot spot badge colours, by family.
BADGE = {
    "hot": (230, 57, 70),
    "nav": (30, 112, 214),
    "stairs": (20, 130, 150),
    "door": (121, 85, 62),
    "info": (0, 142, 168),
    "question": (118, 72, 198),
    "alert": (234, 88, 12),
    "link": (57, 73, 171),
    "play": (34, 139, 58),
    "photo": (0, 121, 107),
    "pin": (198, 40, 40),
    "star": (226, 144, 0),
    "home": (22, 101, 192),
    "eye": (142, 60, 170),
    "speech": (2, 136, 209),
    "number": (214, 36, 110),
    "flag": (96, 150, 40),
}

# Player control buttons: a dark glass disc, lit on hover, deeper when pressed.
BUTTON_FACE = {
    "normal": ((58, 66, 84), (20, 24, 34)),
    "lit": ((24, 150, 214), (6, 78, 140)),
    "pressed": ((12, 16, 24), (34, 40, 54)),
}
BUTTON_RIM = {
    "normal": (206, 214, 228),
    "lit": (150, 230, 255),
    "pressed": (120, 130, 150),
}
BUTTON_GLYPH = {
    "normal": (255, 255, 255),
    "lit": (255, 255, 255),
    "pressed": (0, 191, 255),
}
MUTE_STRIKE = (240, 60, 60)
SOUND_WAVES = (0, 191, 255)

# Application icon and About picture.
APP_TILE_TOP = (34, 140, 230)
APP_TILE_BOTTOM = (10, 40, 110)
APP_ORBIT = (0, 191, 255)
APP_PLAY = (255, 255, 255)
QUILL_VANE = (250, 246, 236)
QUILL_SHAFT = (120, 96, 64)
QUILL_NIB = (40, 44, 56)

# Indicator "hot spot is shown": a small radar.
RADAR_FACE = (8, 40, 30)
RADAR_RING = (60, 220, 130)
RADAR_SWEEP = (90, 255, 160)

# Start picture and poster.
SKY_TOP = (16, 30, 66)
SKY_HORIZON = (70, 120, 180)
GROUND_NEAR = (20, 24, 30)
GROUND_FAR = (48, 58, 70)
HILLS_FAR = (40, 62, 96)
HILLS_NEAR = (28, 40, 62)
START_BUTTON = (0, 191, 255)
START_TEXT = (255, 255, 255)
START_HINT = (200, 225, 245)
POSTER_ALERT = (255, 196, 0)
POSTER_FILM = (150, 160, 180)
POSTER_HINT = (190, 200, 215)

# Contact sheet.
SHEET_BACKGROUND = (250, 250, 250)
SHEET_LIGHT = (226, 236, 248)
SHEET_DARK = (34, 32, 30)
SHEET_TEXT = (30, 30, 30)
SHEET_NOTE = (110, 110, 110)
