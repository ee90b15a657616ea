#!/usr/bin/env python3
"""Differential test of real curses programs: each small program of the table
below draws through a pseudo-terminal with TERM=hp70092 (Kalvor's own
terminal description), and what it writes is fed to kalvor-screen; the same
program draws in tmux with tmux's own TERM. The two screens must agree: the
text of every row (line-drawing characters compared as box characters) and
which cells are in reverse video.

usage: curses_diff.py KALVOR_SCREEN TERMINAL_DESCRIPTION_CPP
Exits 77 (skipped) when tmux or Python's curses module is missing.
"""
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
import fcntl
import time

ROWS, COLS = 24, 80

# Each program draws with `s` (the standard screen) and the curses module `c`.
# A third member names a known difference: it is reported, not failed.
PROGRAMS = [
    ("box with a title in its top edge",
     "s.box(); s.addstr(0, 3, ' Title '); s.addstr(2, 2, 'inside the box')"),
    ("window with a border and text",
     "w = c.newwin(8, 30, 3, 10); w.border(); w.addstr(1, 2, 'a window'); s.refresh(); w.refresh()"),
    ("reverse video from column 0",
     "s.addstr(0, 0, ' GNU nano 7.2       file.txt ', c.A_REVERSE); s.addstr(1, 0, 'plain text')"),
    ("standout in the middle of a row",
     "s.addstr(3, 0, 'listen on '); s.addstr('tcp', c.A_STANDOUT); s.addstr(' port 22')"),
    ("underlined line numbers",
     "[s.addstr(i, 0, '%3d' % (i + 1), c.A_UNDERLINE) or s.addstr(i, 4, 'line %d' % i) for i in range(6)]"),
    ("reverse cells at the row end",
     "s.addstr(5, 70, 'END', c.A_REVERSE); s.addstr(5, 0, 'start')"),
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
    ("nested boxes",
     "s.box(); w = s.subwin(10, 40, 5, 20); w.box(); w.addstr(4, 4, 'nested')"),
    ("horizontal and vertical lines",
     "s.hline(10, 0, c.ACS_HLINE, 80); s.vline(0, 40, c.ACS_VLINE, 24); s.addch(10, 40, c.ACS_PLUS)"),
    ("a menu with one highlighted entry",
     "[s.addstr(3 + i, 10, ' %-12s' % t, c.A_REVERSE if i == 1 else c.A_NORMAL) "
     "for i, t in enumerate(['Open', 'Save', 'Quit'])]"),
    ("a character written into a reverse window",
     "w = c.newwin(8, 40, 3, 10); w.bkgd(' ', c.A_REVERSE); w.box(); w.addstr(1, 2, 'Name:'); s.refresh(); "
     "w.refresh(); w.addstr(3, 5, 'X'); w.refresh()"),
    ("a reverse dialog drawn over text",
     "[s.addstr(i, 0, 'background line %d' % i) for i in range(24)]; s.refresh(); w = c.newwin(10, 50, 4, 15); "
     "w.bkgd(' ', c.A_REVERSE); w.box(); w.addstr(0, 20, 'Pick one'); w.hline(7, 1, c.ACS_HLINE, 48); "
     "w.addstr(8, 12, '<  OK  >'); w.refresh(); s.move(6, 30); s.refresh()"),
    ("status line at the bottom in reverse",
     "s.addstr(0, 0, 'top'); s.addstr(23, 0, ' -- INSERT -- '.ljust(79), c.A_REVERSE)"),
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
ALTERNATE = {'r': '┌', 't': '┐', 'f': '└', 'g': '┘', ',': '─', '.': '│', '5': '├', '6': '┤',
             '8': '┴', '7': '┬', '/': '┼'}
# tmux's box characters for the same, and the plus.
TMUX_BOX = set('┌┐└┘─│├┤┴┬┼')


def program_file(folder, index, body):
    lines = [stmt.strip() for stmt in split_statements(body)]
    path = os.path.join(folder, 'prog%d.py' % index)
    with open(path, 'w') as f:
        f.write(TEMPLATE % '\n'.join('    ' + l for l in lines))
    return path


def split_statements(body):
    # "; " separates statements outside brackets and quotes.
    out, depth, quote, start = [], 0, None, 0
    for i, ch in enumerate(body):
        if quote:
            if ch == quote:
                quote = None
        elif ch in '\'"':
            quote = ch
        elif ch in '([{':
            depth += 1
        elif ch in ')]}':
            depth -= 1
        elif ch == ';' and depth == 0:
            out.append(body[start:i])
            start = i + 1
    out.append(body[start:])
    return [s for s in out if s.strip()]


def wait_for(path, seconds=10.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if os.path.exists(path):
            return True
        time.sleep(0.02)
    return False


def run_in_pty(program, marker, terminfo):
    pid, fd = pty.fork()
    if pid == 0:
        env = dict(os.environ, TERM='hp70092', TERMINFO=terminfo, LANG='C', LINES=str(ROWS), COLUMNS=str(COLS))
        os.execve(sys.executable, [sys.executable, program, marker], env)
    fcntl.ioctl(fd, termios.TIOCSWINSZ, struct.pack('HHHH', ROWS, COLS, 0, 0))
    out = bytearray()
    done = False
    end = time.monotonic() + 10
    while time.monotonic() < end:
        ready, _, _ = select.select([fd], [], [], 0.02)
        if ready:
            try:
                chunk = os.read(fd, 65536)
            except OSError:
                break
            if not chunk:
                break
            out += chunk
        elif done:
            break  # drawn, and nothing more waits
        elif os.path.exists(marker):
            done = True
    os.kill(pid, signal.SIGKILL)
    os.waitpid(pid, 0)
    os.close(fd)
    return bytes(out)


def kalvor_screen(screen_program, data):
    result = subprocess.run([screen_program, '--rows', str(ROWS), '--format', 'json'], input=data,
                            capture_output=True, check=True)
    report = json.loads(result.stdout)
    rows = []
    for row in report['screen']:
        text = list(row['text'].ljust(COLS))
        col = 0
        for attr, length in row['set']:
            end = COLS if length == 0 else col + length
            if attr == 'O':
                for i in range(col, min(end, COLS)):
                    text[i] = ALTERNATE.get(text[i], text[i])
            col = end
        reverse = [False] * COLS
        col = 0
        for attr, length in row['enh']:
            end = COLS if length == 0 else col + length
            bits = ord(attr) - ord('@') if '@' <= attr <= 'O' else ord(attr) - ord('`') if 'a' <= attr <= 'o' else 0
            for i in range(col, min(end, COLS)):
                reverse[i] = bool(bits & 2)
            col = end
        rows.append((''.join(text).rstrip(), reverse))
    return rows


SGR = re.compile(r'\x1b\[([0-9;]*)m')


def tmux_screen(program, marker, folder):
    sock = os.path.join(folder, 'tmux.sock')
    env = dict(os.environ, LANG='C.UTF-8')
    subprocess.run(['tmux', '-S', sock, '-f', '/dev/null', 'new-session', '-d', '-s', 'diff', '-x', str(COLS),
                    '-y', str(ROWS), '%s %s %s' % (sys.executable, program, marker)], env=env, check=True)
    try:
        if not wait_for(marker):
            raise RuntimeError('the program did not draw under tmux')
        time.sleep(0.1)
        captured = subprocess.run(['tmux', '-S', sock, 'capture-pane', '-p', '-e', '-t', 'diff'], env=env,
                                  capture_output=True, check=True).stdout.decode('utf-8')
    finally:
        subprocess.run(['tmux', '-S', sock, 'kill-server'], env=env, capture_output=True)
    rows = []
    for line in captured.split('\n')[:ROWS]:
        text, reverse, inverse = [], [], False
        pos = 0
        for m in SGR.finditer(line):
            for ch in line[pos:m.start()]:
                text.append(ch)
                reverse.append(inverse)
            for code in (m.group(1) or '0').split(';'):
                if code in ('0', ''):
                    inverse = False
                elif code == '7':
                    inverse = True
                elif code == '27':
                    inverse = False
            pos = m.end()
        for ch in line[pos:]:
            text.append(ch)
            reverse.append(inverse)
        reverse += [False] * (COLS - len(reverse))
        rows.append((''.join(text).rstrip(), reverse[:COLS]))
    while len(rows) < ROWS:
        rows.append(('', [False] * COLS))
    return rows


def compare(name, ours, theirs):
    problems = []
    for r, ((text_k, rev_k), (text_t, rev_t)) in enumerate(zip(ours, theirs)):
        if text_k != text_t:
            problems.append('row %d text\n    kalvor: %r\n    tmux:   %r' % (r, text_k, text_t))
            continue
        width = len(text_k)
        cols = [c for c in range(width) if rev_k[c] != rev_t[c]]
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
        for index, (name, body, *known) in enumerate(PROGRAMS):
            program = program_file(folder, index, body)
            data = run_in_pty(program, os.path.join(folder, 'k%d' % index), terminfo)
            ours = kalvor_screen(screen_program, data)
            theirs = tmux_screen(program, os.path.join(folder, 't%d' % index), folder)
            problems = compare(name, ours, theirs)
            verdict = 'same' if not problems else 'KNOWN DIFFERENCE' if known else 'DIFFERENT'
            print('%-45s %s' % (name, verdict))
            for p in problems[:6]:
                print('  ' + p)
            if problems and known:
                print('  (known: %s)' % known[0])
            failures += bool(problems) and not known
        print('%d of %d programs differ' % (failures, len(PROGRAMS)))
        return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
