"""The packaged program, unpacked into a folder with a blank in its name, driven with real keys and clicks
(xdotool on Xvfb) and read as a person sees it: its texts (read by peek.exe) and the report file it saves."""
import glob
import hashlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from wine_files import ROOT, WINE_RUN, win, write  # noqa: E402

BUILD = os.path.join(ROOT, "build")
PEEK = os.environ.get("PEEK_EXE", os.path.join(BUILD, "windows", "bin", "peek.exe"))
PLANTED_DLL = os.environ.get("PLANTED_DLL", os.path.join(BUILD, "windows", "bin", "libplanted_dll.dll"))
PLANTED_EXE = os.environ.get("PLANTED_EXE", os.path.join(BUILD, "windows", "bin", "planted_exe.exe"))
# A prefix of their own, whose windows all share one virtual desktop.
os.environ["WINEPREFIX"] = os.path.join(BUILD, "wineprefix-journeys")

# Control IDs of the elements: 100 + their place in the window's table.
DIR1, FILE1, TEXT1, COMMAND1, CHECK_SHA1, TEXT4, TEXT6, COMMAND2, TEXT3, CHECK3, CHECK4 = 101, 102, 103, 104, 107, 110, 112, 113, 114, 116, 118


def peek(*args):
    proc = subprocess.run([WINE_RUN, PEEK, *map(str, args)], capture_output=True)
    return proc.returncode, proc.stdout.decode("utf-8")


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def wait_for(what, condition, seconds=60):
    end = time.time() + seconds
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.25)
    raise AssertionError(f"timed out waiting for {what} (focus: {peek('focus')[1]!r}, box: {peek('box')[1]!r})")


class Journeys(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        read, write_end = os.pipe()
        cls.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x900x24", "-nolisten", "tcp"],
                                    pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read) as chosen:
            os.environ["DISPLAY"] = ":" + chosen.readline().strip()
        # The journeys' prefix is theirs alone: a program left by a run that was killed (a test's time limit)
        # would answer this run's questions, so whatever still runs there is ended first.
        subprocess.run(["wineserver", "-k"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([os.path.join(ROOT, "scripts", "wine-prefix.sh"), "--desktop"], check=True)
        package = subprocess.run([os.path.join(ROOT, "scripts", "dist.sh")], capture_output=True, text=True,
                                 check=True).stdout.strip()
        cls.app = os.path.join(tempfile.mkdtemp(prefix="journeys ", dir=BUILD), "Tallymere test")
        with zipfile.ZipFile(package) as z:
            z.extractall(cls.app)
        cls.appdir = win(cls.app) + "\\"
        # What a stranger left in the download folder: none of it may run. Wine looks for these
        # two beside the program first, as Windows does, only when told to.
        for planted, name in ((PLANTED_EXE, "notepad.exe"), (PLANTED_DLL, "xmllite.dll"), (PLANTED_DLL, "bcrypt.dll")):
            shutil.copy(planted, os.path.join(cls.app, name))
        os.environ["WINEDLLOVERRIDES"] = "xmllite,bcrypt=n,b"

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.terminate()
        shutil.rmtree(os.path.dirname(cls.app), ignore_errors=True)

    def setUp(self):
        self.data = self.root = tempfile.mkdtemp(prefix="data ", dir=BUILD)
        for report in glob.glob(os.path.join(self.app, "hash_*.txt")):
            os.remove(report)
        self.launch()

    def launch(self, *args, preexec_fn=None):
        """Starts the packaged program and waits until its window takes the keyboard."""
        self.program = subprocess.Popen([WINE_RUN, win(os.path.join(self.app, "tallymere.exe")), *args],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=preexec_fn)
        try:
            wait_for("the window", lambda: peek("enabled", COMMAND2) == (0, "1"), 120)  # after the check it was given, when one
            self.window = wait_for("its X window", lambda: subprocess.run(
                ["xdotool", "search", "--name", "md5, sha1"], capture_output=True, text=True).stdout.split())[0]
        except AssertionError:  # never left running: it would answer the next journey's questions
            self.program.kill()
            self.program.wait()
            raise
        time.sleep(0.5)
        xdo("mousemove", 1270, 890)
        xdo("key", "--window", self.window, "shift")  # the keyboard goes to the window from here on

    def close(self):
        peek("close")
        try:
            self.program.wait(120)
        except subprocess.TimeoutExpired:  # a program left running would answer the next journey's questions
            self.program.kill()
            self.program.wait()
            raise

    def relaunch(self, *args, preexec_fn=None):
        self.close()
        self.launch(*args, preexec_fn=preexec_fn)

    def tearDown(self):
        self.close()
        shutil.rmtree(self.root, ignore_errors=True)
        self.assertEqual(glob.glob(os.path.join(self.app, "*.marker")), [])

    def type_text(self, element, text):
        """Types into the focused box and, as a person would, retypes what came out wrong.
        Text beyond the Latin keyboard is pasted: xdotool's remapped keys race Wine's keymap."""
        for _ in range(3):
            xdo("key", "End", "shift+Home", "BackSpace")
            if text.isascii():
                xdo("type", "--delay", 40, text)
            else:
                subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode(), check=True)
                xdo("key", "ctrl+v")
            try:
                wait_for("the text", lambda: self.text(element) == text, 10)
                return
            except AssertionError:
                pass
        self.fail(f"could not type {text!r}")

    def click(self, element):
        left, top, right, bottom = map(int, peek("rect", element)[1].split())
        xdo("mousemove", (left + right) // 2, (top + bottom) // 2, "click", 1)
        time.sleep(0.3)

    def text(self, element):
        return peek("text", element)[1]

    def test_three_hashes_recursive_names_only_with_a_mask_in_a_folder_with_blanks(self):
        self.data = os.path.join(self.data, "Мои документы", "отчёт 2026")
        names = ["a.txt", "smile 😀.txt", "Годовой отчёт.txt", "sub/inner.txt"]  # in the tool's order
        for name in names + ["skip.log"]:
            write(self.data, name, name.encode() * 100)
        xdo("key", "--delay", 60, "Tab", "Tab", "Tab")  # from the drive list to the path box
        self.type_text(TEXT1, win(self.data))
        xdo("key", "Return")
        self.click(CHECK_SHA1)
        xdo("key", "--delay", 60, "Tab", "space", "Tab", "Tab", "space")  # sha1 -> sha256 -> Text4 -> Check2, ticked with the space bar
        self.click(CHECK3)
        self.click(TEXT3)
        self.type_text(TEXT3, "*.txt")
        self.click(CHECK4)
        self.click(COMMAND2)
        wait_for("the job", lambda: self.text(TEXT4) and peek("enabled", COMMAND2) == (0, "1"))
        self.assertEqual(self.text(TEXT4), f'FCIV "{win(self.data)}" -r -wp -type *.txt -md5 -sha1 -sha256 -xml "{self.appdir}dbsha.xml"')
        report = ""
        for name in names:
            with open(os.path.join(self.data, name), "rb") as f:
                content = f.read()
            shown = name.replace("/", "\\")  # relative to the folder
            report += f"{shown}\r\n" + "".join(f"{k}:{h(content).hexdigest()}\r\n" for k, h in
                                                 (("MD5", hashlib.md5), ("SHA1", hashlib.sha1), ("SHA256", hashlib.sha256)))
        self.assertEqual(self.text(TEXT6) + "\r\n", report)
        saved = wait_for("the report file", lambda: glob.glob(os.path.join(self.app, "hash_*.txt")))[0]
        with open(saved, encoding="utf-8-sig", newline="") as f:  # UTF-8, emoji and all
            self.assertEqual(f.read(), report)
        # The system's Notepad shows it, and is ended by its id: no other Notepad on the machine.
        notepad = wait_for("the system's Notepad", lambda: subprocess.run(
            ["pgrep", "-if", r"windows.notepad\.exe.*" + os.path.basename(saved)], capture_output=True, text=True).stdout.split())
        for pid in notepad:
            os.kill(int(pid), signal.SIGTERM)
        wait_for("the window active again", lambda: peek("focus")[1].endswith(" active"))  # Notepad gone

    def close_box(self):
        """The open message box's title and text, after closing it with Enter. The window waits behind it."""
        modal, title, text = wait_for("a message box", lambda: peek("box")[1]).split("\n", 2)
        self.assertEqual(modal, "modal")
        xdo("key", "Return")
        wait_for("the box to close", lambda: peek("box")[1] == "")
        return title, text

    def test_keyboard_only(self):
        write(self.data, "sub/a.txt", b"a")
        xdo("key", "--delay", 60, "Tab", "Tab", "Tab")  # from the drive list, where the focus starts, to the path box
        missing = win(self.data) + "\\Нет такой\\папки"
        self.type_text(TEXT1, missing)
        xdo("key", "Return")
        self.assertEqual(self.close_box(), ("Путь не найден76", f"Ошибка пути: '{missing}'"))
        self.assertEqual(self.text(TEXT1), win(self.data) + "\\Нет такой\\")
        self.type_text(TEXT1, win(self.data) + "\\sub")  # the focus is back in the path box
        xdo("key", "Return")
        wait_for("the lists to move", lambda: peek("selected", DIR1)[1] == "sub")
        xdo("key", "--delay", 60, *["Tab"] * 8, "space")  # to "Формировать", pressed
        wait_for("the report", lambda: "MD5:" in self.text(TEXT6) and peek("enabled", COMMAND2) == (0, "1"))
        # The window took itself back from the console, "Формировать" focused (no window manager: keys go to it directly).
        self.assertEqual(peek("focus"), (0, f"{COMMAND2} active"))

    def test_the_picker_by_mouse(self):
        self.click(COMMAND1)  # the picker opens on the desktop; the item below it is the root of Z:
        wait_for("the picker's folders", lambda: int(peek("tree")[1] or 0) > 1)  # keys go to a tree that is there
        xdo("key", "--delay", 300, "Down", "Return")
        wait_for("the lists to move", lambda: peek("selected", DIR1)[1] == "z:\\")
        self.assertEqual(self.text(TEXT1), "Z:\\")

    def test_started_with_a_folder_a_sums_file_or_from_one_that_has_gone(self):
        folder = os.path.join(self.data, "Мои документы", "d" * 120, "Папка " * 20 + "конец")  # deeper than 260 characters
        write(folder, "a.txt", b"a")
        self.relaunch(win(folder))  # as Explorer's "Send To" starts it
        wait_for("the lists on the folder", lambda: peek("selected", DIR1)[1] == "Папка " * 20 + "конец")
        self.assertEqual((self.text(TEXT1), peek("count", FILE1)[1]), (win(folder), "1"))
        # "Send To" with a publisher's sums file: the files beside it are checked.
        write(self.data, "image.iso", b"image" * 1000)
        md5 = hashlib.md5(b"image" * 1000).hexdigest()
        for name, text, first in (("MD5SUMS", f"{md5}  image.iso\n{md5[1:]}  image.iso\n", "НЕ РАЗОБРАНА строка 2: image.iso\r\nВЕРНО"),
                                  ("image.xml", f"<FCIV><FILE_ENTRY><name>image.iso</name><MD5>{md5}</MD5></FILE_ENTRY></FCIV>",
                                   "Все файлы верны: 1")):  # read with the system's XmlLite, not the one planted
            self.relaunch(win(write(self.data, name, text.encode())))
            wait_for("the check report", lambda: self.text(TEXT6).startswith(first))
        gone = tempfile.mkdtemp(dir=BUILD)
        self.relaunch(preexec_fn=lambda: (os.chdir(gone), os.rmdir(gone)))  # the lists open on the program's folder
        self.assertEqual(peek("selected", DIR1)[1], os.path.basename(self.app))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[1:], verbosity=2)
