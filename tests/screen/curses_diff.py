#!/usr/bin/env python3
# Differential test of real curses programs: each small program below draws
# through a pseudo-terminal with TERM=hp70092 (Kalvor's own terminal
# description) into kalvor-screen, and in tmux with tmux's own TERM. The two
# screens must agree: the text of every row (line-drawing characters as box
# characters) and which cells are in reverse video. Exits 77 (skipped) when
# tmux or Python's curses module is missing.
"""usage: curses_diff.py KALVOR_SCREEN TERMINAL_DESCRIPTION_CPP"""
import fcntl
import json
import os
import pty
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import time

ROWS, COLS = 24, 80

# Each program draws with `s` (the standard screen) and the curses module `c`,
# statements on one line.
PROGRAMS = [
    ("nested boxes with a title",
     "s.box(); s.addstr(0, 3, ' Title '); w = s.subwin(10, 40, 5, 20); w.box(); w.addstr(4, 4, 'nested')"),
    ("reverse, standout and underline on several rows",
     "s.addstr(0, 0, ' GNU nano 7.2       file.txt ', c.A_REVERSE); s.addstr(3, 0, 'listen on '); "
     "s.addstr('tcp', c.A_STANDOUT); s.addstr(' port 22'); s.addstr(5, 70, 'END', c.A_REVERSE); "
     "s.addstr(5, 0, 'start'); [s.addstr(8 + i, 0, '%3d' % i, c.A_UNDERLINE) or s.addstr(8 + i, 4, 'line') "
     "for i in range(3)]; [s.addstr(12 + i, 10, ' %-12s' % t, c.A_REVERSE if i == 1 else c.A_NORMAL) "
     "for i, t in enumerate(['Open', 'Save', 'Quit'])]; s.addstr(23, 0, ' -- INSERT -- '.ljust(79), c.A_REVERSE)"),
    ("insert and delete of lines",
     "[s.addstr(i, 0, 'row %d' % i) for i in range(10)]; s.refresh(); s.move(3, 0); s.insertln(); "
     "s.addstr(3, 0, 'inserted'); s.move(7, 0); s.deleteln()"),
    ("insert and delete of characters",
     "s.addstr(2, 0, 'abcdefghij'); s.refresh(); s.move(2, 3); s.delch(); s.delch(); s.refresh(); "
     "s.move(2, 1); s.insch('X')"),
    ("scrolling region",
     "[s.addstr(i, 0, 'line %d' % i) for i in range(20)]; s.refresh(); s.setscrreg(5, 15); s.scrollok(True); "
     "s.move(15, 0); s.scroll(2)"),
    ("text rewritten shorter",
     "s.addstr(4, 0, 'a long line of text here'); s.refresh(); s.move(4, 0); s.clrtoeol(); s.addstr(4, 0, 'short')"),
    ("clear to the end of the screen",
     "[s.addstr(i, 0, 'x' * 40) for i in range(12)]; s.refresh(); s.move(6, 10); s.clrtobot()"),
    ("horizontal and vertical lines",
     "s.hline(10, 0, c.ACS_HLINE, 80); s.vline(0, 40, c.ACS_VLINE, 24); s.addch(10, 40, c.ACS_PLUS)"),
    ("a character written into a reverse window",
     "w = c.newwin(8, 40, 3, 10); w.bkgd(' ', c.A_REVERSE); w.box(); w.addstr(1, 2, 'Name:'); s.refresh(); "
     "w.refresh(); w.addstr(3, 5, 'X'); w.refresh()"),
    ("a reverse dialog drawn over text",
     "[s.addstr(i, 0, 'background line %d' % i) for i in range(24)]; s.refresh(); w = c.newwin(10, 50, 4, 15); "
     "w.bkgd(' ', c.A_REVERSE); w.box(); w.addstr(0, 20, 'Pick one'); w.hline(7, 1, c.ACS_HLINE, 48); "
     "w.addstr(8, 12, '<  OK  >'); w.refresh(); s.move(6, 30); s.refresh()"),
]

TEMPLATE = """import curses as c, sys
def main(s):
    try:
        c.curs_set(0)
    except c.error:
        pass
    %s
    s.refresh()
    open(sys.argv[1], 'w').close()
    s.getch()
c.wrapper(main)
"""

# The terminal's alternate-set codes for the line-drawing characters (its
# terminal description's acsc) as the box characters tmux shows.
ALTERNATE = dict(zip('rtfg,.5687/', '┌┐└┘─│├┤┴┬┼'))
SGR = re.compile(r'\x1b\[([0-9;]*)m')


def run_in_pty(program, marker, terminfo):
    pid, fd = pty.fork()
    if pid == 0:
        env = dict(os.environ, TERM='hp70092', TERMINFO=terminfo, LANG='C', LINES=str(ROWS), COLUMNS=str(COLS))
        os.execve(sys.executable, [sys.executable, program, marker], env)
    fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack('HHHH', ROWS, COLS, 0, 0))
    out = bytearray()
    drawn = False
    end = time.monotonic() + 10
    while time.monotonic() < end:
        if select.select([fd], [], [], 0.02)[0]:
            try:
                chunk = os.read(fd, 65536)
            except OSError:
                break
            if not chunk:
                break
            out += chunk
        elif drawn:
            break  # drawn, and nothing more waits
        else:
            drawn = os.path.exists(marker)
    os.kill(pid, signal.SIGKILL)
    os.waitpid(pid, 0)
    os.close(fd)
    return bytes(out)


def columns(runs):
    """A row's run string [[attr, length], ...] (length 0: to the row's end) as one attribute per column."""
    out = []
    for attr, length in runs:
        out += [attr] * ((COLS - len(out)) if length == 0 else length)
    return (out + [' '] * COLS)[:COLS]


def kalvor_screen(screen_program, data):
    result = subprocess.run([screen_program, '--rows', str(ROWS), '--format', 'json'], input=data,
                            capture_output=True, check=True)
    rows = []
    for row in json.loads(result.stdout)['screen']:
        text = [ALTERNATE.get(ch, ch) if s == 'O' else ch for ch, s in zip(row['text'].ljust(COLS), columns(row['set']))]
        # The inverse-video bit of the enhancement letters, with or without security.
        reverse = [a in 'BCFGJKNObcfgjkno' for a in columns(row['enh'])]
        rows.append((''.join(text).rstrip(), reverse))
    return rows


def tmux_screen(program, marker, folder):
    sock = os.path.join(folder, 'tmux.sock')
    tmux = ['tmux', '-S', sock]
    env = dict(os.environ, LANG='C.UTF-8')
    subprocess.run(tmux + ['-f', '/dev/null', 'new-session', '-d', '-s', 'diff', '-x', str(COLS), '-y', str(ROWS),
                           '%s %s %s' % (sys.executable, program, marker)], env=env, check=True)
    try:
        end = time.monotonic() + 10
        while not os.path.exists(marker):
            if time.monotonic() > end:
                raise RuntimeError('the program did not draw under tmux')
            time.sleep(0.02)
        time.sleep(0.1)
        captured = subprocess.run(tmux + ['capture-pane', '-p', '-e', '-t', 'diff'], env=env, capture_output=True,
                                  check=True).stdout.decode('utf-8')
    finally:
        subprocess.run(tmux + ['kill-server'], env=env, capture_output=True)
    rows = []
    for line in (captured.split('\n') + [''] * ROWS)[:ROWS]:
        # re.split alternates text and the parameters of each SGR sequence.
        parts = SGR.split(line)
        text, reverse, inverse = '', [], False
        for i, part in enumerate(parts):
            if i % 2 == 0:
                text += part
                reverse += [inverse] * len(part)
            else:
                for code in (part or '0').split(';'):
                    inverse = {'0': False, '': False, '7': True, '27': False}.get(code, inverse)
        rows.append((text.rstrip(), (reverse + [False] * COLS)[:COLS]))
    return rows


def compare(ours, theirs):
    problems = []
    for r, ((text_k, rev_k), (text_t, rev_t)) in enumerate(zip(ours, theirs)):
        if text_k != text_t:
            problems.append('row %d text\n    kalvor: %r\n    tmux:   %r' % (r, text_k, text_t))
            continue
        cols = [c for c in range(len(text_k)) if rev_k[c] != rev_t[c]]
        if cols:
            problems.append('row %d reverse video differs at columns %s' % (r, cols[:8]))
    return problems


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    screen_program, description_cpp = sys.argv[1], sys.argv[2]
    try:
        import curses  # noqa: F401
    except ImportError:
        print('*** SKIPPED LOUDLY: no Python curses module ***')
        return 77
    if shutil.which('tmux') is None or shutil.which('tic') is None:
        print('*** SKIPPED LOUDLY: tmux or tic is not installed ***')
        return 77
    with tempfile.TemporaryDirectory() as folder:
        source = re.search(r'R"\((.*?)\)"', open(description_cpp).read(), re.S).group(1)
        with open(os.path.join(folder, 'hp70092.ti'), 'w') as f:
            f.write(source)
        terminfo = os.path.join(folder, 'terminfo')
        subprocess.run(['tic', '-o', terminfo, os.path.join(folder, 'hp70092.ti')], check=True)
        failures = 0
        for index, (name, body) in enumerate(PROGRAMS):
            program = os.path.join(folder, 'prog%d.py' % index)
            with open(program, 'w') as f:
                f.write(TEMPLATE % body)
            ours = kalvor_screen(screen_program, run_in_pty(program, os.path.join(folder, 'k%d' % index), terminfo))
            problems = compare(ours, tmux_screen(program, os.path.join(folder, 't%d' % index), folder))
            print('%-50s %s' % (name, 'DIFFERENT' if problems else 'same'))
            for p in problems[:6]:
                print('  ' + p)
            failures += bool(problems)
        print('%d of %d programs differ' % (failures, len(PROGRAMS)))
        return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
