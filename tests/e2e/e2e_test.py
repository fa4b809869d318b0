#!/usr/bin/env python3
"""End-to-end tests of the built program under its own Xvfb, driven only from outside.

The program is driven with xdotool (mouse clicks at the places of the layout, typing, keys) and read only
from outside: the X clipboard through xclip, the titles of the dialogs, the process exit code. Without a
window manager the window's client area starts at the centred position and keyboard input goes to the
window under the pointer.

usage: e2e_test.py <marlowen binary> <folder for screenshots>
XVFB_LOG=<file> keeps the X server's own messages.
"""
import os
import subprocess
import sys
import tempfile
import time
import unittest

BINARY = None
SHOTS = None
SCREEN_W, SCREEN_H = 1280, 800
WIN_X, WIN_Y = (SCREEN_W - 704) // 2, (SCREEN_H - 506) // 2

# Client-area rectangles (left, top, width, height) of the controls the tests use.
TAB = (18, 12)
GROUP1 = (TAB[0] + 18, TAB[1] + 44)
GROUP2 = (TAB[0] + 17, TAB[1] + 223)


def on_page(x, y, w, h):
    return (TAB[0] + x, TAB[1] + y, w, h)


def in_group(group, x, y, w, h):
    return (group[0] + x, group[1] + y, w, h)


CONTROLS = {
    "tab0": (TAB[0] + 20, TAB[1] + 4, 30, 20),
    "tab1": (TAB[0] + 95, TAB[1] + 4, 30, 20),
    "tab2": (TAB[0] + 180, TAB[1] + 4, 30, 20),
    "output": (18, 352, 656, 71),
    "copy": (309, 434, 70, 28),
    "field_name": in_group(GROUP1, 13, 65, 80, 20),
    "primary_key": in_group(GROUP1, 249, 33, 22, 24),
    "auto_increment": in_group(GROUP1, 249, 65, 22, 24),
    "add_field": in_group(GROUP1, 96, 106, 70, 28),
    "create_table": in_group(GROUP1, 192, 106, 70, 28),
    "insert_count": on_page(225, 45, 80, 20),
    "insert_build": on_page(544, 39, 70, 28),
    "delete_table": on_page(129, 86, 72, 20),
    "delete_column": on_page(263, 86, 80, 20),
    "delete_value": on_page(416, 87, 80, 20),
    "delete_build": on_page(544, 80, 70, 28),
    "catalogue": on_page(14, 36, 632, 280),
}

INSERT_NOTE = "\r\n备注：如果要向表中的所有列添加值，则不需要指定列名称。"


class Display:
    """An Xvfb of our own on a free display number."""

    def __init__(self):
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{SCREEN_W}x{SCREEN_H}x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=open(os.environ.get("XVFB_LOG", os.devnull), "ab"))
        os.close(write)
        with os.fdopen(read) as f:
            self.name = ":" + f.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.name, QT_QPA_PLATFORM="xcb")
        self.env.setdefault("XDG_RUNTIME_DIR", tempfile.mkdtemp())

    def close(self):
        self.server.terminate()
        self.server.wait(10)


class Program:
    """The program running on the display, and the user's mouse and keyboard."""

    def __init__(self, display):
        self.display = display
        # Now and then the X server refuses a new client for a moment (Qt then aborts with "could not connect
        # to display"); that says nothing about the program, so such a start is tried again, twice at most.
        for attempt in range(3):
            self.errors = tempfile.TemporaryFile()
            self.process = subprocess.Popen([BINARY], env=display.env, stdout=subprocess.DEVNULL,
                                            stderr=self.errors)
            try:
                self.window = self.wait_for_window("^Marlowen ")
                return
            except AssertionError:
                if attempt == 2 or "could not connect to display" not in self.stderr():
                    raise
                print(f"note: X server refused the program's connection, starting again", file=sys.stderr)
                time.sleep(0.5)

    def x(self, *args, timeout=10):
        return subprocess.run(["xdotool", *args], env=self.display.env, capture_output=True, text=True,
                              timeout=timeout).stdout.strip()

    def wait_for_window(self, title, timeout=10):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.x("search", "--onlyvisible", "--name", title)
            if found:
                return found.split()[0]
            if self.process.poll() is not None:
                raise AssertionError(f"program ended with {self.process.returncode} waiting for {title}: "
                                     f"{self.stderr()}")
            time.sleep(0.05)
        raise AssertionError(f"no window {title!r} within {timeout} s")

    def window_title_exists(self, title):
        return bool(self.x("search", "--onlyvisible", "--name", title))

    def point(self, name, dx=None, dy=None):
        left, top, w, h = CONTROLS[name]
        return WIN_X + left + (w // 2 if dx is None else dx), WIN_Y + top + (h // 2 if dy is None else dy)

    def click(self, name, dx=None, dy=None, repeat=1):
        x, y = self.point(name, dx, dy)
        self.x("mousemove", "--sync", str(x), str(y))
        self.x("click", "--repeat", str(repeat), "--delay", "60", "1")
        time.sleep(0.15)

    def type(self, text):
        # Characters without a key on the keyboard map are typed by remapping a spare key each time, which
        # needs more time between keys for the program to see every one.
        self.x("type", "--delay", "120" if any(ord(c) > 127 for c in text) else "30", text)
        time.sleep(0.1)

    def key(self, *keys):
        self.x("key", "--delay", "40", *keys)
        time.sleep(0.15)

    def replace_text(self, name, text):
        """Clicks into a one-line box, selects all of it and types over it."""
        self.click(name)
        self.key("ctrl+a")
        self.type(text)

    def copy_and_read_clipboard(self):
        """Clicks "复制", answers the confirmation and returns the clipboard's bytes."""
        self.click("copy")
        self.wait_for_window("^信息：$")
        self.pointer_to_screen_centre()
        self.key("Return")
        return self.clipboard()

    def clipboard(self):
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.display.env,
                              capture_output=True, timeout=10).stdout

    def pointer_to_screen_centre(self):
        self.x("mousemove", "--sync", str(SCREEN_W // 2), str(SCREEN_H // 2))

    def screenshot(self, name):
        if SHOTS:
            subprocess.run(["import", "-display", self.display.name, "-window", "root",
                            os.path.join(SHOTS, name)], timeout=30, check=False)

    def stderr(self):
        self.errors.seek(0)
        return self.errors.read().decode("utf-8", "replace")[-2000:]

    def wait_exit(self, timeout=10):
        return self.process.wait(timeout)

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(10)


class EndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.display = Display()

    @classmethod
    def tearDownClass(cls):
        cls.display.close()

    def setUp(self):
        self.app = Program(self.display)

    def tearDown(self):
        self.app.kill()

    def test_delete_from_typed_chinese_values_reaches_the_clipboard(self):
        app = self.app
        app.click("tab1")
        app.replace_text("delete_table", "学生")
        app.replace_text("delete_column", "姓名")
        app.replace_text("delete_value", "O'张")
        app.click("delete_build")
        self.assertEqual(app.copy_and_read_clipboard(),
                         "DELETE FROM 学生 WHERE 姓名='O''张'".encode("utf-8"))

    def test_insert_note_line_reaches_the_clipboard_with_its_cr_lf(self):
        app = self.app
        app.click("tab1")
        app.replace_text("insert_count", "2")
        app.click("insert_build")
        expected = "INSERT INTO 表名(字段1,字段2) VALUES('字段值1','字段值2')" + INSERT_NOTE
        self.assertEqual(app.copy_and_read_clipboard(), expected.encode("utf-8"))

    def test_create_table_through_the_table_name_dialog(self):
        app = self.app
        app.click("field_name")
        app.type("id")
        app.click("primary_key")
        app.click("auto_increment")
        app.click("add_field")
        app.click("primary_key")  # unticks it, and with it the auto-increment box
        app.click("field_name")
        app.type("name")
        app.click("add_field")
        app.click("create_table")
        app.wait_for_window("^请输入：$")
        app.pointer_to_screen_centre()
        app.type("users")  # replaces the selected "test"
        app.key("Return")
        self.assertFalse(app.window_title_exists("^请输入：$"))
        self.assertEqual(app.copy_and_read_clipboard(),
                         b"CREATE TABLE users(id INTEGER PRIMARY KEY AUTOINCREMENT,name INTEGER)")

    def test_catalogue_row_by_click_and_by_down_arrow(self):
        app = self.app
        app.click("tab2")
        app.click("catalogue", dy=70)
        first = app.copy_and_read_clipboard().decode("utf-8")
        self.assertIn("FROM STUDENT", first)
        app.click("catalogue", dy=70)  # the current row again: focus back in the list, no event
        app.key("Down")
        second = app.copy_and_read_clipboard().decode("utf-8")
        self.assertNotEqual(first, second)
        statements = catalogue_statements()
        self.assertEqual(statements.index(second), statements.index(first) + 1)

    def test_esc_closes_with_exit_code_zero_and_shift_esc_does_not(self):
        app = self.app
        app.click("output")
        app.type("some text")
        app.key("shift+Escape")
        time.sleep(0.3)
        self.assertIsNone(app.process.poll(), "Shift+Esc closed the window")
        app.key("Escape")
        self.assertEqual(app.wait_exit(), 0)

    def test_run_time_error_report_ends_with_255(self):
        app = self.app
        app.click("tab1")
        app.replace_text("insert_count", "2147483647")  # more memory than the machine has
        app.click("insert_build")
        app.wait_for_window("^错误$", timeout=30)
        app.pointer_to_screen_centre()
        app.key("Return")
        self.assertEqual(app.wait_exit(), 255)

    def test_screenshots_of_every_page(self):
        app = self.app
        for page in range(3):
            app.click(f"tab{page}")
            app.screenshot(f"e2e-page{page}.png")
        if SHOTS:
            for page in range(3):
                self.assertTrue(os.path.getsize(os.path.join(SHOTS, f"e2e-page{page}.png")) > 0)


def catalogue_statements():
    """The statement column of the catalogue, as the program's source holds it."""
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "..", "catalogue", "catalogue_text.cpp"), encoding="utf-8") as f:
        source = f.read()
    statements = []
    for line in source.splitlines():
        if line.lstrip().startswith("/*") and '"@@"' in line:
            statements.append(line.split('"@@"')[1].split('"')[1])
    return statements


if __name__ == "__main__":
    BINARY = os.path.abspath(sys.argv[1])
    SHOTS = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else None
    if SHOTS:
        os.makedirs(SHOTS, exist_ok=True)
    result = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result
    total = result.testsRun
    failed = len(result.failures) + len(result.errors)
    print(f"{total - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)
