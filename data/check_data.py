#!/usr/bin/env python3
"""Consistency check of the shipped data files Language.txt, its translations (Russian/Language.txt, in
code page 1251), keymap.ini and import-example.ini.

Run by the tests (ctest: data_check), and by hand after editing a file:  python3 data/check_data.py
It reads the files the way the program does (flat lines for captions, profile sections for
"Codes" and "Import", quoted key names in "Keyboard") and reports every rule a file breaks.
Exit status 0 when both files are sound.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
problems = []


def bad(msg):
    problems.append(msg)


# ----------------------------------------------------------------- components of the window
TAB_SHEETS = ['tsSimple', 'tsHotKeys', 'tsGameplay', 'tsOptions']
BUTTONS = ['bTestSettings', 'bCancel', 'bApply', 'bOK', 'bKeyList', 'bRestoreKeys', 'bImport', 'bGLSetup']
GROUP_BOXES = ['gbDifficulty', 'gbHardware', 'gbKeyboard', 'gbHotKeyGroups', 'gbCacheOptions',
               'gbAIOptions', 'gbMultiplayer', 'gbGameplay', 'gbColorDepth', 'gbGameResolution',
               'gbWindowMode', 'gb2d16bitOptions', 'gb3dOptions']
GAMEPLAY_CHECKS = ['cbCriticalHit', 'cbTranslucentShadows', 'cbLowEndMachine', 'cbLowEndMachine2',
                   'cbFootsteps', 'cbAttackSounds', 'cbLowMemSounds1', 'cbLowMemSounds2',
                   'cbDuplicateFloatingText', 'cbDisableCastingGlows', 'cbDisableVidCells',
                   'cbForce50Transparency', 'cbBrightenOff', 'cbMidLevelBrighten',
                   'cbHighLevelBrighten']
CHECK_BOXES = GAMEPLAY_CHECKS + [
    'cb3dAcceleration2', 'cbConfirmDeletions', 'cbConfirmKey', 'cbConfirmSpell',
    'cbEnhancedPathfinding', 'cbGameSpy', 'cbUnlockModes', 'cbSoftwareMirror', 'cbSoftware',
    'cbSoftwareTransparent', 'cb3dAnimations', 'cb3dAcceleration', 'cb16bitTextures']
# lUpdatesValue (a number the frame-rate slider writes, and the default of the stored frame
# rate) and lTopic/lTopic2 (filled by the context help) are displays, not captions: no entry.
LABELS = ['lDifficulty', 'lExpert', 'lHard', 'lNormal', 'lEasy', 'lNovice', 'lGeneral',
          'lGraphics', 'lSound', 'lHighEnd', 'lAboveAverage', 'lAverage', 'lBudget', 'lMinSpec',
          'lBelowMinSpec', 'Label1', 'Label2', 'Label3', 'Label4', 'Label5', 'Label6',
          'lSettings', 'lDelete', 'lCacheSize', 'lmb', 'lFrameRate', 'lUpdates',
          'lPathSearchNodes', 'lZipCode', 'lCountry', 'lTilesPrecache', 'lPercent', 'lHelp2',
          'lSupported', 'lUnsupported', 'lGLDrivers', 'lHelp', 'lFunction']
# lLayer and lKeyLine show the texts below as the keyboard changes.
NO_ENTRY = ['lUpdatesValue', 'lTopic', 'lTopic2', 'ePathSearchNodes', 'lLayer', 'lKeyLine']
# Texts of the Hot Keys page and its questions, with the placeholders each must use.
HOT_KEY_TEXTS = {'txtLayerPlain': [], 'txtLayerCtrl': [], 'txtKeyLineHelp': [], 'txtKeyFree': [],
                 'txtKeyKept': [], 'txtKeyMoveOnly': [], 'txtKeyAlsoGiven': ['{functions}'],
                 'txtCtrlKey': ['{key}'], 'txtLeftKey': ['{key}'], 'txtRightKey': ['{key}'],
                 'txtCtrlKeyShowsCtrl': ['{key}'], 'txtCtrlKeyShowsPlain': ['{key}'],
                 'txtChooseKeyFirst': [], 'txtNoSuchFunction': ['{group}', '{text}'],
                 'txtKeyCannotBind': ['{key}'], 'txtFunctionFor': ['{key}', '&'],
                 'msgRemoveHotKey': ['{key}', '{old}'],
                 'msgReplaceHotKey': ['{key}', '{old}', '{new}'],
                 'msgMoveHotKey': ['{from}', '{key}', '{new}'], 'msgImportDone': ['%d'],
                 'msgImportNothingPlaced': [], 'txtFunctionForNextKey': ['&'],
                 'txtKeyListTitle': [], 'txtKeyListFind': ['&'], 'txtKeyListSortBy': [],
                 'txtKeyListFunction': ['&'], 'txtKeyListGroup': ['&'], 'txtKeyListKey': ['&'],
                 'txtKeyListCtrlKey': ['&'], 'txtKeyListShow': ['&'], 'txtKeyListClose': [],
                 'txtKeyListNoKey': [], 'txtKeyListKept': ['{key}'], 'txtRestoreKeysHint': [],
                 'txtRestoreUnreadable': ['keymap-original.ini'], 'txtRestoreNoKeys': ['keymap-original.ini'],
                 'txtRestoreNoKeyMap': ['keymap.ini', 'keymap-original.ini'],
                 'msgRestoreKeys': []}
# Questions and notices of the window, optional for a translation, with their placeholders.
WINDOW_TEXTS = {'msgCloseUnsaved': [], 'msgTestNotStarted': [], 'msgGLSetupNotStarted': []}
# The program's own words, each optional (the program has them in English) and with its placeholders.
WORDS = {'txtOn': [], 'txtOff': [], 'txtIniFiles': [], 'errOpenFile': ['%s'], 'errWriteFile': ['%s'],
         'errNotInteger': ['%s']}
GROUP_RADIOS = ['rbPage', 'rbActions', 'rbMiscellaneous', 'rbQuickSlots', 'rbWizardSpells',
                'rbPriestSpells']
RADIOS = GROUP_RADIOS + ['rb16bit', 'rb24bit', 'rb32bit', 'rb640', 'rb800', 'rb1024', 'rb1280',
                         'rb1600', 'rb2048', 'rbFullScreen', 'rbWindowed']
HELP_BOUND = (['gbDifficulty', 'lDifficulty', 'gbHardware', 'lGeneral', 'lGraphics', 'lSound',
               'gbGameplay', 'lTilesPrecache'] + GAMEPLAY_CHECKS +
              ['gbCacheOptions', 'gbAIOptions', 'lPathSearchNodes', 'cbEnhancedPathfinding',
               'gbMultiplayer', 'gbGameResolution', 'gbWindowMode', 'gb2d16bitOptions',
               'gbColorDepth', 'gb3dOptions'])
DIALOG = ['lDifficultyDesc', 'lInsaneDesc', 'lHardDesc', 'lCoreDesc', 'lNormalDesc', 'lNoviceDesc']
MESSAGES = ['msgAdvanced', 'msgCacheSize', 'msgNoOpenGL', 'msgVideo', 'msgVideoGood',
            'msgVideoBad', 'msgAssigned', 'msgReassign', 'msgVideoTest', 'msgResetVideo',
            'msgRunGLSetup', 'msgUnsupportedRes', 'msg3dAcceleration']
COMPONENTS = TAB_SHEETS + BUTTONS + GROUP_BOXES + CHECK_BOXES + LABELS + RADIOS

# ----------------------------------------------------------------- keyboard positions
ASSIGNABLE = {13} | set(range(28, 38)) | set(range(40, 66))
EXPECTED_KEYS = {0: 'Esc', 27: 'Tab', 68: 'Space', 71: 'Menu', 41: 'Caps', 53: 'Enter'}
EXPECTED_KEYS.update({i: 'F%d' % i for i in range(1, 13)})
EXPECTED_KEYS.update({14 + i: c for i, c in enumerate('1234567890')})
for start, row in ((28, 'QWERTYUIOP'), (42, 'ASDFGHJKL'), (55, 'ZXCVBNM')):
    EXPECTED_KEYS.update({start + i: c for i, c in enumerate(row)})
EXPECTED_KEYS.update({38: '[', 39: ']', 40: '\\', 51: ';', 52: "'", 62: ',', 63: '.', 64: '/'})
ALT_WIN_POSITIONS = {66: 'Win', 67: 'Alt', 69: 'Alt', 70: 'Win'}
SHIFT_POSITIONS = (54, 65)

GROUPS = [('Page', None), ('Actions', None), ('Miscellaneous', None), ('Quick Slots', None),
          ('Wizard Spells', 'W '), ('Priest Spells', 'P '), ('Fixed', None)]


def read_lines(name, encoding='ascii'):
    """The file as the program sees it, after checking the byte-level rules: ASCII, or the code page
    a translation is written in."""
    data = open(os.path.join(HERE, name), 'rb').read()
    if data.startswith(b'\xef\xbb\xbf'):
        bad('%s: begins with a byte-order mark' % name)
    if b'\0' in data:
        bad('%s: contains a NUL byte' % name)
    if encoding == 'ascii' and any(b > 127 for b in data):
        bad('%s: contains non-ASCII bytes' % name)
    try:
        data.decode(encoding)
    except UnicodeDecodeError as e:
        bad('%s: a byte that code page %s does not spell: %s' % (name, encoding, e))
    if re.search(rb'\r(?!\n)|(?<!\r)\n', data):
        bad('%s: has a line end other than CR LF' % name)
    if not data.endswith(b'\r\n'):
        bad('%s: last line has no CR LF' % name)
    return data.decode(encoding, errors='replace').split('\r\n')[:-1]


def profile_sections(lines):
    """Sections as the Windows profile reader delivers them: {lower name: [(key, value)]}."""
    sections, current = {}, None
    for line in lines:
        s = line.strip()
        if s.startswith('['):
            current = sections.setdefault(s[1:s.index(']')].lower(), [])
        elif current is not None and s and not s.startswith(';') and '=' in s:
            key, value = s.split('=', 1)
            current.append((key.strip(), value.strip()))
    return sections


# ================================================================= Language.txt and its translations
class Language:
    """One language file as the program reads it, after checking its own rules."""

    def __init__(self, file, encoding):
        self.file = file
        lang_lines = read_lines(file, encoding)

        def bad(msg):
            problems.append('%s: %s' % (file, msg))

        names = [l.split('=', 1)[0] if '=' in l else '' for l in lang_lines]
        values = [l.split('=', 1)[1] if '=' in l else '' for l in lang_lines]
        first_section = next((i for i, l in enumerate(lang_lines) if l.startswith('[')), len(lang_lines))


        def line_of(name):
            return next((i for i, n in enumerate(names) if n and n.lower() == name.lower()), -1)


        def language_text(name):
            i = line_of(name)
            return values[i] if i >= 0 else ''


        def prefix_of(line):
            return 'P ' if 'SPPR' in line else 'W ' if 'SPWI' in line else ''


        display_list = [prefix_of(l) + language_text(n) for l, n in zip(lang_lines, names)]


        def language_key_of(text):
            i = next((i for i, d in enumerate(display_list) if d.lower() == text.lower()), -1)
            return names[i] if i >= 0 else None


        for i, l in enumerate(lang_lines[:first_section]):
            if l and '=' not in l and not l.startswith(';'):
                bad('Language.txt line %d: no "=" and not a ";" note: %r' % (i + 1, l))
            if '=' in l and (names[i] != names[i].strip() or values[i] != values[i].strip()):
                bad('Language.txt line %d: blanks around the name or the value: %r' % (i + 1, l))

        for n in (COMPONENTS + DIALOG + MESSAGES + list(HOT_KEY_TEXTS) + list(WINDOW_TEXTS) + list(WORDS) +
                  ['fConfig', 'msgImportEmpty']):
            i = line_of(n)
            if i < 0:
                bad('no entry for %s' % n)
            elif i >= first_section:
                bad('%s is first found inside a section (line %d)' % (n, i + 1))
            elif not values[i]:
                bad('empty entry for %s' % n)
        for n in NO_ENTRY:
            if line_of(n) >= 0:
                bad('%s should have no entry (its text is set at run time)' % n)
        for n in TAB_SHEETS + BUTTONS + RADIOS:
            if '|' in language_text(n):
                bad('%s: a "|" would be shown in its caption' % n)
        for n in GROUP_BOXES + TAB_SHEETS:
            if language_text(n) != language_text(n).strip():
                bad('%s: blanks at the ends (the program adds them)' % n)
        for n in HELP_BOUND:
            title, bar, explanation = language_text(n).partition('|')
            if not bar or not title.strip() or len(explanation.split()) < 5:
                bad('%s: needs "title|explanation"' % n)
            if title != title.strip():
                bad('%s: blanks around the title' % n)
        for n in set(LABELS + CHECK_BOXES) - set(HELP_BOUND):
            if '|' in language_text(n):
                bad('%s: has a "|" but no help area shows it' % n)

        captions = [language_text(r) for r in GROUP_RADIOS]
        if len({c.lower() for c in captions}) != 6 or 'fixed' in {c.lower() for c in captions}:
            bad('hot key group captions must differ from each other and from "Fixed": %s' % captions)
        for r, c in zip(GROUP_RADIOS, captions):
            if ':' in c:
                bad('%s: a ":" in a group caption breaks the assignment texts' % r)

        assigned, reassign = language_text('msgAssigned'), language_text('msgReassign')
        if not assigned.startswith("'"):
            bad('msgAssigned must begin with the apostrophe that closes the opening quote')
        group, function = 'Actions', 'Attack'
        questions = [
            ('key reassignment', "'" + 'Ctrl-' + 'Q' + assigned + group + ': ' + function + reassign),
            ('function move', "'" + group + ': ' + function + assigned + 'Ctrl-' + 'Q' + reassign),
            ('deletion', "'" + 'Q' + assigned + group + ': ' + function + reassign),
        ]
        for kind, text in questions:
            if text.count("'") % 2:
                bad('%s question has an unbalanced quote: %s' % (kind, text))
            if not text.rstrip().endswith('?'):
                bad('%s question does not end with "?": %s' % (kind, text))

        if '|' in language_text('txtIniFiles'):
            bad('txtIniFiles: a "|" would end the name of the file type')
        for n, placeholders in list(HOT_KEY_TEXTS.items()) + list(WINDOW_TEXTS.items()) + list(WORDS.items()):
            for placeholder in placeholders:
                if placeholder not in language_text(n):
                    bad('%s does not say %s' % (n, placeholder))
            if (n in HOT_KEY_TEXTS and n.startswith('msg') and not n.startswith('msgImport') and
                    not language_text(n).endswith('?')):
                bad('%s is a question and does not end with "?"' % n)

        if not language_text('msgCloseUnsaved').endswith('?'):
            bad('msgCloseUnsaved is a question and does not end with "?"')

        sections = profile_sections(lang_lines)
        if lang_lines[first_section:] and not all(l.startswith(('[', ';')) or '=' in l
                                                  for l in lang_lines[first_section:]):
            bad('Language.txt: a line without "=" inside the sections')

        codes = sections.get('codes', [])
        if len(codes) < 60:
            bad('only %d countries in [Codes]' % len(codes))
        seen = set()
        for country, code in codes:
            if country.lower() in seen:
                bad('country %r twice' % country)
            seen.add(country.lower())
            if not re.fullmatch(r'[A-Z]{2}', code):
                bad('country %r: code %r is not ISO 3166 alpha-2' % (country, code))
            if line_of(country) < first_section:
                bad('country %r is shadowed by a flat entry of the same name' % country)
        if len({c for _, c in codes}) != len(codes):
            bad('a country code appears twice')

        imports = {k.lower(): v for k, v in sections.get('import', [])}
        if len(set(imports.values())) != len(imports):
            bad('two functions share one name in [Import]')


        self.lines, self.names, self.values = lang_lines, names, values
        self.first_section, self.sections, self.codes, self.imports = first_section, sections, codes, imports
        self.questions = questions
        self.line_of, self.text, self.key_of = line_of, language_text, language_key_of


# The English file, and the translations a player copies over it (each in its system's code page).
english = Language('Language.txt', 'ascii')
TRANSLATIONS = [Language(os.path.join('Russian', 'Language.txt'), 'cp1251')]
LANGUAGES = [english] + TRANSLATIONS


def fields(value):
    """The placeholders of a text, which a translation must keep."""
    return sorted(re.findall(r'\{\w+\}|%[sd]', value))


def flat(lang):
    return {n.lower(): v for n, v in zip(lang.names[:lang.first_section], lang.values) if n and n[0] != ';'}


for lang in TRANSLATIONS:
    mine, theirs = flat(lang), flat(english)
    for n in sorted(set(theirs) - set(mine)):
        bad('%s: no entry for %s, which Language.txt has' % (lang.file, n))
    for n in sorted(set(mine) - set(theirs)):
        bad('%s: %s is no entry of Language.txt' % (lang.file, n))
    for n in sorted(set(mine) & set(theirs)):
        if fields(mine[n]) != fields(theirs[n]):
            bad('%s: %s has the placeholders %s, Language.txt %s' % (lang.file, n, fields(mine[n]), fields(theirs[n])))
        if '|' in theirs[n] and '|' not in mine[n]:
            bad('%s: %s lacks the "|" between title and explanation' % (lang.file, n))
    if lang.sections.get('import') != english.sections.get('import'):
        bad('%s: [Import] differs from that of Language.txt' % lang.file)
    if sorted(c for _, c in lang.codes) != sorted(c for _, c in english.codes):
        bad('%s: [Codes] has other country codes than Language.txt' % lang.file)

# ================================================================= keymap.ini
km_lines = read_lines('keymap.ini')
km = profile_sections(km_lines)
keyboard_raw = []
in_keyboard = False
for line in km_lines:
    s = line.strip()
    if s.startswith('['):
        in_keyboard = s.lower() == '[keyboard]'
    elif in_keyboard and '=' in s:
        keyboard_raw.append(s.split('=', 1)[0].strip())
if len(keyboard_raw) != 72:
    bad('[Keyboard] has %d names, not 72' % len(keyboard_raw))
key_names = []
for n, raw in enumerate(keyboard_raw):
    if len(raw) < 3 or raw[0] != '"' or raw[-1] != '"':
        bad('key %d: %r is not a quoted name' % (n, raw))
    key_names.append(raw[1:-1])
if len({k.lower() for k in key_names}) != len(key_names):
    bad('two key names are equal apart from letter case')


def caption(name):
    return name[:-1] if 'Alt' in name or 'Win' in name else name


for n, k in enumerate(key_names):
    if n in EXPECTED_KEYS and k != EXPECTED_KEYS[n]:
        bad('key %d is %r, expected %r' % (n, k, EXPECTED_KEYS[n]))
    if n in ALT_WIN_POSITIONS:
        if caption(k) != ALT_WIN_POSITIONS[n] or caption(k) == k:
            bad('key %d (%r) must show as %r' % (n, k, ALT_WIN_POSITIONS[n]))
    elif 'Alt' in k or 'Win' in k:
        bad('key %d (%r) would lose its last character' % (n, k))
    if 'Ctrl-' in k or '=' in k or not k:
        bad('key %d: unusable name %r' % (n, k))
for n in SHIFT_POSITIONS + (24, 25, 26, 13):
    if n < len(key_names) and not (0 < len(key_names[n]) <= 6):
        bad('key %d: %r is not a short readable name' % (n, key_names[n]))
if len(key_names) > 65 and 'shift' not in (key_names[54] + key_names[65]).lower():
    bad('the shift keys should say Shift')



def key_of(value):
    """Layer and key position of a key value, as the program reads it: the whole name after "Ctrl-"."""
    if 'Ctrl-' in value:
        if not value.startswith('Ctrl-'):
            bad('%r: "Ctrl-" belongs at the start' % value)
        layer, key = 'ctrl', value[value.index('Ctrl-') + 5:]
    else:
        layer, key = 'plain', value
    return layer, next((i for i, k in enumerate(key_names) if k.lower() == key.lower()), -1)


layer_use = {'plain': {}, 'ctrl': {}}
all_ids = []
for g, (group, spell_prefix) in enumerate(GROUPS):
    entries = km.get('keymap ' + group.lower())
    if not entries:
        bad('no section [Keymap %s]' % group)
        continue
    shown = set()
    for ident, value in entries:
        all_ids.append(ident)
        for lang in LANGUAGES:
            line = lang.line_of(ident)
            name = lang.text(ident)
            if line < 0 or line >= lang.first_section or not name:
                bad('%s: %s has no display name before the sections' % (lang.file, ident))
                continue
            marker = {'W ': 'SPWI', 'P ': 'SPPR'}.get(spell_prefix)
            if marker and marker not in lang.lines[line]:
                bad('%s: %s: its language line lacks %s' % (lang.file, ident, marker))
            if ':' in name:
                bad('%s: %s: ":" in its display name' % (lang.file, ident))
            if (lang.file, name.lower()) in shown:
                bad('%s: %s: display name %r twice in %s' % (lang.file, ident, name, group))
            shown.add((lang.file, name.lower()))
            if lang.key_of((spell_prefix or '') + name) != ident:
                bad('%s: %s: its display name %r is found as %s' % (lang.file, ident, name,
                    lang.key_of((spell_prefix or '') + name)))
        if not english.imports.get(ident.lower()):
            bad('%s has no [Import] name' % ident)
        if not value:
            continue
        layer, pos = key_of(value)
        if pos < 0:
            bad('%s=%s names no key' % (ident, value))
            continue
        if group == 'Fixed':
            if pos in ASSIGNABLE:
                bad('%s: fixed function on assignable key %s' % (ident, key_names[pos]))
            continue
        if pos not in ASSIGNABLE:
            bad('%s: on key %s, which cannot be assigned' % (ident, key_names[pos]))
        if pos in layer_use[layer]:
            bad('%s and %s share the %s key %s' % (layer_use[layer][pos], ident, layer, key_names[pos]))
        layer_use[layer][pos] = ident
if len({i.lower() for i in all_ids}) != len(all_ids):
    bad('an identifier appears in two key map sections')
spell_ids = {i for i in all_ids if 'SPWI' in i or 'SPPR' in i}
for lang in LANGUAGES:
    for i, line in enumerate(lang.lines):
        if ('SPWI' in line or 'SPPR' in line) and lang.names[i] not in spell_ids:
            bad('%s line %d is no spell but contains a spell marker: %r' % (lang.file, i + 1, line))
for ident in english.imports:
    if ident not in {i.lower() for i in all_ids}:
        bad('[Import] entry %s is no function of keymap.ini' % ident)

# ================================================================= import-example.ini
example = profile_sections(read_lines('import-example.ini'))
if list(example) != ['keymap']:
    bad('import-example.ini: the one section must be [Keymap], not %s' % list(example))
functions_of = {v.lower(): k for k, v in english.sections.get('import', [])}
example_use = {'plain': {}, 'ctrl': {}}
example_groups = set()
for name, value in example.get('keymap', []):
    ident = functions_of.get(name.lower())
    if ident is None:
        bad('import-example.ini: %s is no name of [Import]' % name)
        continue
    example_groups.update(g for g, _ in GROUPS
                          if any(i.lower() == ident.lower() for i, _ in km.get('keymap ' + g.lower(), [])))
    layer, pos = key_of(value)
    if pos not in ASSIGNABLE:
        bad('import-example.ini: %s=%s is on no key that can be assigned' % (name, value))
    elif pos in example_use[layer]:
        bad('import-example.ini: %s and %s share the %s key %s' % (example_use[layer][pos], name, layer, value))
    else:
        example_use[layer][pos] = name
for g, _ in GROUPS[:6]:
    if g not in example_groups:
        bad('import-example.ini: no function of group %s' % g)

# ================================================================= report
for lang in LANGUAGES:
    print('%s: %d lines, %d countries, %d import names' % (lang.file, len(lang.lines), len(lang.codes),
                                                        len(lang.imports)))
print('keymap.ini: %d keys, %d functions (%s)' % (len(key_names), len(all_ids), ', '.join(
    '%s %d' % (g, len(km.get('keymap ' + g.lower(), []))) for g, _ in GROUPS)))
print('bound: %d plain, %d Ctrl' % (len(layer_use['plain']), len(layer_use['ctrl'])))
print('import-example.ini: %d plain, %d Ctrl' % (len(example_use['plain']), len(example_use['ctrl'])))
for kind, text in english.questions:
    print('%s: %s' % (kind, text))
for p in problems:
    print('PROBLEM:', p)
print('OK' if not problems else '%d problem(s)' % len(problems))
sys.exit(1 if problems else 0)
