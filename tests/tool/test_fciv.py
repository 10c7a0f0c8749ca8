"""The hashing tool under Wine as scripts use it: exit codes, streams and the files it leaves, checked against hashlib."""
import glob
import hashlib
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from wine_files import ROOT, WINE_RUN, win, write  # noqa: E402

FCIV = os.environ.get("FCIV_EXE", os.path.join(ROOT, "build", "windows", "bin", "fciv.exe"))
LOCKER = os.environ.get("LOCK_EXE", os.path.join(ROOT, "build", "windows", "bin", "lock_file.exe"))
# Where the user nobody keeps a Wine prefix of its own: the checkout may be out of its reach.
NOBODY_PREFIX = "/tmp/tallymere-wineprefix-nobody"


def run(*args, code=None, as_nobody=None, preexec_fn=None):
    """Runs the tool; as_nobody: a folder of nobody's own to run a copy of it from, as a user permissions stop."""
    command = [WINE_RUN, FCIV, *args]
    if as_nobody:
        os.makedirs(NOBODY_PREFIX, exist_ok=True)
        shutil.chown(NOBODY_PREFIX, "nobody")
        shutil.copy(FCIV, as_nobody)
        command = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "env", "WINEPREFIX=" + NOBODY_PREFIX,
                   "HOME=" + NOBODY_PREFIX, "WINEDEBUG=-all", "wine", os.path.join(as_nobody, "fciv.exe"), *args]
    # Wine's own errors are on (they tell why a start failed) and kept apart from the tool's.
    proc = subprocess.run(command, capture_output=True, timeout=300, preexec_fn=preexec_fn,
                          env=dict(os.environ, WINEDEBUG="-all,err+all"))
    out = proc.stdout.decode("utf-8", "replace")
    whole = proc.stderr.decode("utf-8", "replace")
    err = "\n".join(l for l in whole.splitlines() if not re.match(r"wine:|[0-9a-f]{4}:err:", l))
    if code is not None and proc.returncode != code:
        raise AssertionError(f"exit {proc.returncode}, expected {code}\n{out}\n{whole}")
    return proc.returncode, out, err


def file_size_limit(size):
    """What a process started with it may write to a file: a write past it fails instead of ending the process."""
    # Wine's server must be running before: one that the limited process started would inherit the limit.
    subprocess.run([os.path.join(ROOT, "scripts", "wine-prefix.sh")], check=True)
    def limit():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (size, size))
    return limit


def read(path):
    with open(path, "rb") as f:
        return f.read()


def entries(db, tag="FILE_ENTRY"):
    """Per entry (name, MD5, SHA1, SHA256), a missing hash None; or per unread item (name, error)."""
    root = ET.parse(db).getroot()
    kinds = [e.tag for e in root if e.tag != "INTERRUPTED" or e is not root[-1]]  # the mark of an interrupted run, last
    assert root.tag == "FCIV" and all(k in ("FILE_ENTRY", "FILE_ERROR") for k in kinds) and not any(e.attrib for e in root)
    hashes = ["MD5", "SHA1", "SHA256"]
    fields = ("name", *hashes) if tag == "FILE_ENTRY" else ("name", "error")
    for e in root.iter("FILE_ENTRY"):  # the name, then the hashes recorded, in their order
        tags = [c.tag for c in e]
        assert len(tags) > 1 and tags[0] == "name" and tags[1:] == [h for h in hashes if h in tags]
    return [tuple(e.findtext(f) for f in fields) for e in root.iter(tag)]


class ToolTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="fciv test ", dir=os.path.join(ROOT, "build"))
        self.db = os.path.join(self.dir, "db.xml")
        self.data = os.path.join(self.dir, "data")
        os.mkdir(self.data)
        self.addCleanup(shutil.rmtree, self.dir, True)

    def write(self, relative, content):
        return write(self.data, relative, content)

    def left(self):
        return sorted(os.listdir(self.dir))

    def hold(self, path, *mode):
        """Holds a file open (no sharing, or "write" as a log writer does) until the test ends."""
        locker = subprocess.Popen([WINE_RUN, LOCKER, win(path), *mode], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL)
        self.assertEqual(locker.stdout.readline().strip(), b"locked")
        self.addCleanup(lambda: (locker.stdin.close(), locker.wait(60), locker.stdout.close()))

    def hash_all(self, *switches, code=0):
        """The entries the tool records of the data folder, and what it said on its error stream."""
        _, _, err = run(win(self.data), *switches, "-xml", win(self.db), code=code)
        return entries(self.db), err

    def digests(self, name):  # of a file the tool named, as -both records them
        data = read(os.path.join(self.data, name[len(win(self.data)) + 1:].replace("\\", "/")))
        return hashlib.md5(data).hexdigest(), hashlib.sha1(data).hexdigest(), None


class KnownAnswers(ToolTest):
    def test_a_lone_file_over_4_gib_with_both_hashes_on_two_cores(self):
        path = os.path.join(self.data, "big.bin")
        with open(path, "wb") as f:  # sparse: zeros up to the end
            f.seek(4 << 30)
            f.write(b"end")
        self.assertEqual(self.hash_all("-both")[0], [(win(path), "29f9fe6f34f27cd12fbdee8ce0645c90",
                                                   "4e1b7c19caa60a8d636152096a2d808468ef7158", None)])


class Listing(ToolTest):
    def test_masks_recursion_and_names_only(self):
        for rel in ["b.txt", "A.TXT", "c.md", "noext", "Čas.csv", "sub/z.txt", "sub/deeper/y.txt", "Sub2/x.md", "sub/a.log"]:
            self.write(rel, rel.encode())
        top = ["A.TXT", "b.txt", "c.md", "noext", "Čas.csv"]
        cases = [
            ([], top),
            (["-type", "čas*"], ["Čas.csv"]),  # case folded as the file system does
            (["-r", "-type", "*.txt"], ["A.TXT", "b.txt", "sub\\z.txt", "sub\\deeper\\y.txt"]),
            (["-r"], top + ["sub\\a.log", "sub\\z.txt", "sub\\deeper\\y.txt", "Sub2\\x.md"]),
            (["-r", "-wp", "-type", "*.txt"], ["A.TXT", "b.txt", "sub\\z.txt", "sub\\deeper\\y.txt"]),  # relative to the folder
        ]
        for switches, want in cases:
            with self.subTest(switches=switches):
                prefix = "" if "-wp" in switches else win(self.data) + "\\"
                self.assertEqual([e[0].removeprefix(prefix) for e in self.hash_all(*switches)[0]], want)
        for name in ("dir", "dir.", "sp", "sp "):  # FOLDER and the database as named: "dir." and "sp " are not "dir" and "sp"
            path = write(self.dir, name + "/in.txt", name.encode())
            run(win(os.path.dirname(path)), "-xml", win(db := os.path.join(self.dir, "db " + name)), code=0)
            self.assertEqual(entries(db), [(win(path), hashlib.md5(name.encode()).hexdigest(), None, None)])

    def test_names_of_every_kind_survive_and_link_loops_are_not_followed(self):
        deep = os.path.join("d" * 100, "e" * 100, "f" * 100)
        for n in ["Отчёт за год.txt", "漢字.bin", "smile 😀.png", "a&b 'q'.txt", ".hidden", "  blanks  x.txt", "x" * 200 + ".txt",
                  "U+FFFE \ufffe.txt", "real \ufffd.txt", os.path.join(deep, "long.txt"), os.path.join(deep, "read only.txt")]:
            self.write(n, n.encode())
        os.chmod(os.path.join(self.data, deep, "read only.txt"), 0o444)
        os.symlink("..", os.path.join(self.data, deep, "back"))
        os.symlink(os.path.join(self.data, "d" * 100, "e" * 100), os.path.join(self.data, "link"))  # no loop: followed
        got, err = self.hash_all("-r", "-both")
        self.assertIn("U+FFFE \ufffe.txt", err)  # named where XML cannot carry it
        self.assertEqual(subprocess.run(["xmllint", "--noout", self.db]).returncode, 0)
        self.assertEqual(len(got), 13)
        self.assertTrue(any(len(g[0]) > 260 for g in got))
        for name, *hashes in got:
            self.assertEqual(tuple(hashes), self.digests(name.replace(" \ufffd", " \ufffe") if "U+FFFE" in name else name), name)
        out = run("-v", "-xml", win(self.db), code=1)[1]  # the name written with U+FFFD cannot be checked, the real one can
        self.assertIn("right: 12,", out)
        self.assertIn("CANNOT CHECK, name not recorded exactly: " + win(self.data) + "\\U+FFFE \ufffd.txt", out)


class Failures(ToolTest):
    def test_locked_file_is_recorded_as_unread_and_open_logs_are_hashed(self):
        self.write("a.txt", b"a")
        locked = self.write("b.txt", b"b")
        self.hold(locked)
        self.hold(self.write("c.log", b"log"), "write")
        got, err = self.hash_all(code=1)
        self.assertIn(win(locked), err)
        self.assertEqual([e[0][-5:] for e in got], ["a.txt", "c.log"])
        self.assertEqual(entries(self.db, "FILE_ERROR"), [(win(locked), "32")])

    def test_folders_that_cannot_be_listed(self):
        if os.geteuid() != 0:
            self.skipTest("needs root to run the tool as the user nobody, whom permissions stop")
        own = tempfile.mkdtemp(prefix="fciv nobody ")
        self.addCleanup(shutil.rmtree, own, True)
        db, tree = os.path.join(own, "db.xml"), os.path.join(own, "data")
        for rel in ("a.txt", "closed/b.txt", "open/c.txt"):
            write(tree, rel, rel.encode())
        subprocess.run(["chown", "-R", "nobody", own], check=True)
        os.chmod(own, 0o755)
        os.chmod(os.path.join(tree, "closed"), 0)
        _, _, err = run(win(tree), "-r", "-xml", win(db), as_nobody=own, code=1)
        self.assertIn(win(tree + "/closed"), err)
        self.assertEqual([e[0] for e in entries(db)], [win(tree + "/a.txt"), win(tree + "/open/c.txt")])
        self.assertEqual(entries(db, "FILE_ERROR"), [(win(tree + "/closed") + "\\", "5")])
        run(win(tree), "-r", "-wp", "-xml", win(db), as_nobody=own, code=1)
        self.assertEqual(entries(db, "FILE_ERROR"), [("closed\\", "5")])
        good = read(db)
        self.assertTrue(run(win(tree + "/closed"), "-xml", win(db), as_nobody=own, code=2)[2].strip())  # a top folder: nothing written
        self.assertEqual(read(db), good)

    def test_bad_command_lines_touch_nothing(self):
        write(self.dir, "db.xml", b"old database")
        self.write("a.txt", b"a")
        self.write("a.md5", hashlib.md5(b"a").hexdigest().encode() + b"  a.txt\n")
        data, db = win(self.data), win(self.db)
        rows = [(("chmod", "644", "644"), args) for args in (  # (how the database is marked and unmarked, command line)
            [data + "\\missing", "-xml", db], [data, "-bogus", "-xml", db],  # every other refused line: native Options test
            [data, "-xml", win(self.dir + "/no such folder/db.xml")], [data, "-xml", win(self.dir)],
            [data, "-xml", win(self.dir) + "\\"], [data, "-xml", win(self.dir) + "/"], [data, "-xml", win(self.dir + "/out?.xml")], [data, "-sums", win(self.dir + "/Aux.sha256")],
            [data, "-sums", win(self.dir + "/com9 .md5")], ["-v", "-xml", db, data + "\\missing"], ["-list", "-xml", db, data + "\\missing"])]
        # A database or verdicts that could not be replaced (read-only; immutable where root and the file system can): refused first.
        locks = [("chmod", "444", "644")] + [("chattr", "+i", "-i")] * (os.geteuid() == 0 and subprocess.run(["chattr", "-i", self.db]).returncode == 0)
        rows += [(lock, args) for lock in locks for args in ([data, "-xml", db], ["-v", "-sums", data + "\\a.md5", "-verdicts", db])]
        for (tool, mark, unmark), args in rows:
            with self.subTest(args=args, mark=mark):
                try:
                    subprocess.run([tool, mark, self.db], check=True)
                    _, out, err = run(*args, code=2)
                finally:
                    subprocess.run([tool, unmark, self.db], check=True)
                self.assertTrue(err.strip())
                self.assertEqual(out, "")
                self.assertEqual(read(self.db), b"old database")
                self.assertEqual(self.left(), ["data", "db.xml"])
        self.assertIn("Считает", run("-h", code=0)[1])  # every way of asking for it: the native Options test
        # The verdicts named as the list itself, in another case: refused, the list kept.
        run("-v", "-sums", data + "\\a.md5", "-verdicts", data + "\\A.MD5", code=2)
        self.assertEqual(read(self.data + "/a.md5"), hashlib.md5(b"a").hexdigest().encode() + b"  a.txt\n")
        self.hold(self.db, "write")  # another program holds the database open: refused before anything is hashed
        for args in ([data, "-xml", db], ["-v", "-sums", data + "\\a.md5", "-verdicts", db]):
            run(*args, code=2)
        self.assertEqual(read(self.db), b"old database")

    def test_database_is_replaced_whole_or_not_at_all(self):
        write(self.dir, "db.xml", b"x" * 100000)
        self.write("a.txt", b"a")
        inside = os.path.join(self.data, "db.xml")
        os.symlink(self.data, link := os.path.join(self.dir, "link"))
        for database in (inside, os.path.join(link, "db.xml")):  # named through a folder link into the folder too
            for _ in range(2):  # its own database and temporary file are not hashed, not even the second time
                run(win(self.data), "-xml", win(database), code=0)
                self.assertEqual([e[0] for e in entries(inside)], [win(self.data + "/a.txt")])
        os.remove(inside)
        os.remove(link)
        self.assertEqual(len(self.hash_all()[0]), 1)
        self.assertEqual(self.left(), ["data", "db.xml"])  # no temporary file left
        long_name = os.path.join(self.dir, "d" * 248 + ".xml")  # near the 255-character limit
        run(win(self.data), "-xml", win(long_name), code=0)
        self.assertEqual(len(entries(long_name)), 1)
        for i in range(200):  # the disk fills up while the database is written: the old one stays
            self.write(f"f{i:03}.txt", b"x")
        _, _, err = run(win(self.data), "-xml", win(self.db), preexec_fn=file_size_limit(8192), code=4)
        self.assertIn(win(self.db), err)
        self.assertEqual(len(entries(self.db)), 1)
        self.assertEqual(self.left(), sorted(["data", "db.xml", os.path.basename(long_name)]))
        victim, dead = write(self.dir, "victim.txt", b"victim"), write(self.dir, "~fciv99999.2.tmp", b"a dead run's")
        for pid in range(0x20, 0x4000, 4):  # links planted under every name a run's temporary file may have
            os.symlink(victim, os.path.join(self.dir, f"~fciv{pid}.tmp"))
        self.assertEqual(len(self.hash_all()[0]), 201)
        run("-v", "-xml", win(self.db), "-verdicts", win(self.dir + "/~fciv32.tmp"), code=0)  # verdicts in a link's place
        self.assertEqual((read(victim), os.path.exists(dead)), (b"victim", False))  # no link followed; a dead run's file removed


class Interruption(ToolTest):
    def start(self, listening=True):
        """Starts the tool on the data folder; returns once it listens for Ctrl+C (its temporary file is there)."""
        proc = subprocess.Popen([WINE_RUN, FCIV, win(self.data), "-r", "-both", "-xml", win(self.db)],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 60
        while listening and not glob.glob(os.path.join(self.dir, "*.tmp")) and time.time() < deadline:
            time.sleep(0.02)
        return proc

    def test_ctrl_c_keeps_the_finished_entries_beside_a_database_or_in_its_place_and_stops_a_check(self):
        self.write("a.txt", b"a")  # done at once
        for i in range(40):  # 16 GiB of sparse files: far more than the tool hashes before the signal
            os.truncate(self.write(f"f{i:02}.bin", b""), 400 << 20)
        beside = os.path.join(self.dir, "db.incomplete.xml")
        write(self.dir, "db.xml", b"old database")
        for kept_in, left in ((beside, ["data", "db.incomplete.xml", "db.xml"]), (self.db, ["data", "db.xml"])):
            proc = self.start()
            self.assertRegex(" ".join(os.listdir(self.dir)), r"~fciv\d+\.tmp")  # the name the window looks for when the tool is ended
            time.sleep(0.5)
            proc.send_signal(signal.SIGINT)  # Wine hands it to the console as Ctrl+C
            self.assertEqual(proc.wait(60), 3)
            names = [e[0] for e in entries(kept_in)]  # well-formed, in listing order, not all
            self.assertTrue(0 < len(names) < 41 and names == sorted(names), names)
            self.assertEqual(ET.parse(kept_in).getroot()[-1].tag, "INTERRUPTED")
            self.assertTrue(set(names) <= {win(p) for p in glob.glob(os.path.join(self.data, "*"))})
            self.assertEqual(self.left(), left)
            _, out, _ = run("-v", "-xml", win(kept_in), code=1)
            self.assertIn("incomplete: interrupted while recording", out)
            self.assertEqual(run("-list", "-xml", win(kept_in), code=1)[1].splitlines()[-1], "INTERRUPTED: not every file is listed")
            if kept_in == beside:
                self.assertEqual(read(self.db), b"old database")
                os.remove(beside)
                os.remove(self.db)
        # Stopped, a check of a database or of a saved report says how many files it did not check: every file named counts once.
        names = ["gone"] + [win(p) for p in sorted(glob.glob(self.data + "/*.bin"))]
        write(self.dir, "db.xml", ("<FCIV>" + "".join(f"<FILE_ENTRY><name>{n}</name><MD5>{'0' * 32}</MD5></FILE_ENTRY>" for n in names)
                                   + "</FCIV>").encode())
        write(self.dir, "report.txt", "".join(f"{n}\r\nMD5:{'0' * 32}\r\nSHA1:{'0' * 40}\r\n" for n in names).encode())
        for args in (["-xml", win(self.db)], ["-sums", win(self.dir + "/report.txt")]):
            verdicts = write(self.dir, args[0] + " verdicts.txt", b"RIGHT\tof the run before\r\n")
            proc = subprocess.Popen([WINE_RUN, FCIV, "-v", *args, "-verdicts", win(verdicts)], stdout=subprocess.PIPE,
                                    stderr=subprocess.DEVNULL)
            self.assertIn(b"gone", proc.stdout.readline())  # at work
            proc.send_signal(signal.SIGINT)
            not_checked = int(re.search(r"interrupted, не проверено / not checked: ([1-9]\d*)", proc.stdout.read().decode())[1])
            self.assertEqual(proc.wait(60), 3)
            lines = read(verdicts).decode().splitlines()
            told = lines.count("INTERRUPTED")  # a database's count comes after, once counted; a sums file's at once
            self.assertEqual((lines[-1], len(lines) - 1 - told + not_checked), (f"INTERRUPTED\t{not_checked}", len(names)))  # what the window reads
            self.assertNotIn(b"run before", read(verdicts))  # this run's verdicts only, in place
        self.assertEqual(self.left(), sorted(["data", "db.xml", "report.txt", "-xml verdicts.txt", "-sums verdicts.txt"]))

    def test_early_ctrl_c_or_a_kill_leaves_the_old_database(self):
        write(self.dir, "db.xml", b"old database")
        for i in range((os.cpu_count() or 1) + 1):  # the first files take seconds each, more of them than cores
            os.truncate(self.write(f"big{i}.bin", b""), 4 << 30)
        for i in range(3000):
            self.write(f"sub{i // 100:02}/f{i:04}.txt", b"x")
        # From its first moments on, before Wine listens for the signal (killed by it) or after, never 0; while it lists.
        for listening, after, stop, codes in ([(False, i / 100, signal.SIGINT, (-signal.SIGINT, 3)) for i in range(16)] +
                                              [(True, 0, signal.SIGINT, (3,)), (True, 0, signal.SIGKILL, (-9,))]):
            proc = self.start(listening=listening)
            time.sleep(after)
            proc.send_signal(stop)
            self.assertIn(proc.wait(60), codes, after)
            self.assertEqual(read(self.db), b"old database")
        self.assertEqual(len(glob.glob(os.path.join(self.dir, "*.tmp"))), 1)  # the killed run's alone


class Checking(ToolTest):
    NAMES = ["Отчёт за год.txt", "smile 😀.bin", "plain.txt", "sub/inner.txt"]

    def check(self, *args, code):
        _, out, err = run(*args, code=code)
        return out + err

    def test_a_database_check_names_exactly_what_went_wrong(self):
        for name in self.NAMES + ["d" * 120 + "/" + "e" * 120 + "/long.txt", "sub/changed.txt", "sub/gone.txt", "sub/locked.txt",
                                  "dot.", "dot", "trail ", "gone/x.txt", "x.txt", "sub/deep/x.txt"]:  # names Windows would rewrite to another file's
            self.write(name, name.encode() * 50)
        wp = os.path.join(self.dir, "wp.xml")  # names relative to the folder: no two alike
        databases = ((self.db, [], win(self.data) + "\\"), (wp, [win(self.data)], ""))
        for db, folder, _ in databases:
            run(win(self.data), "-r", "-both", "-sha256", "-xml", win(db), *(["-wp"] if folder else []), code=0)
            self.assertIn("right: 14,", self.check("-v", "-xml", win(db), *folder, code=0))
        # Listed as sums lines relative to the folder (the -wp database's names are), either checks out with coreutils on Linux.
        for (db, folder, _), switch, tool in zip(databases, ("-md5", "-sha256"), ("md5sum", "sha256sum")):
            write(self.data, "listed", run("-list", "-xml", win(db), *([] if folder else [win(self.data)]), switch, code=0)[1].encode())
            self.assertEqual(subprocess.run([tool, "-c", "--strict", "listed"], cwd=self.data, capture_output=True).returncode, 0)
        for changed in ("sub/changed.txt", "sub/deep/x.txt"):
            with open(os.path.join(self.data, changed), "ab") as f:
                f.write(b"!")
        os.remove(os.path.join(self.data, "sub", "gone.txt"))
        shutil.rmtree(os.path.join(self.data, "gone"))
        self.hold(os.path.join(self.data, "sub", "locked.txt"))
        for db, folder, top in databases:
            wrong = [l for l in self.check("-v", "-xml", win(db), *folder, code=1).splitlines() if l.startswith(("ИЗМ", "НЕ"))]
            sub = top + "sub\\"
            self.assertEqual(wrong, ["НЕТ ФАЙЛА / MISSING: " + top + "gone\\x.txt", "ИЗМЕНЁН / CHANGED (MD5, SHA1, SHA256): " + sub + "changed.txt",
                                     "НЕТ ФАЙЛА / MISSING: " + sub + "gone.txt", "НЕ ПРОЧИТАН / UNREADABLE: " + sub + "locked.txt (32) " +
                                     wrong[3].split(" (32) ")[-1], "ИЗМЕНЁН / CHANGED (MD5, SHA1, SHA256): " + sub + "deep\\x.txt"])

    def test_sums_files_of_coreutils_check_clean_a_wrong_digit_is_named_and_the_tools_own_check_with_coreutils(self):
        for name in self.NAMES:
            self.write(name, name.encode() * 1000)
        for tool in ("md5sum", "sha1sum", "sha256sum", "sha384sum", "sha512sum"):
            for flags in ([], ["-b"], ["--tag"]):
                sums = subprocess.run([tool, *flags, *self.NAMES], cwd=self.data, capture_output=True, check=True).stdout
                for where, args in ((self.dir, [win(self.data)]), (self.data, [])):  # names relative to FOLDER, or to the file
                    write(where, "SUMS", sums)
                    self.assertIn("right: 4,", self.check("-v", "-sums", win(where + "/SUMS"), *args, code=0), (tool, flags))
        lines = sums.decode().splitlines()
        wrong = lines[1][:-1] + ("0" if lines[1][-1] != "0" else "1")  # the BSD form ends in the hash
        for text, args, code, said in (
                (lines[:1] + [wrong] + lines[2:], [], 1, ["CHANGED (SHA512): " + self.NAMES[1], "right: 3, изменено / changed: 1"]),
                (["# published sums", ""] + lines + ["not a sums line"], [], 0, ["line 7", "right: 4,"]),  # warned, as coreutils
                (lines + ["not a sums line"], ["-strict"], 1, ["line 5", "right: 4,"])):
            write(self.dir, "SUMS", "\n".join(text).encode())
            out = self.check("-v", "-sums", win(self.dir + "/SUMS"), win(self.data), *args, code=code)
            for words in said:
                self.assertIn(words, out)
        # And the other way: what the tool writes checks with coreutils, run in a copy of the tree, and with the tool.
        os.remove(os.path.join(self.data, "SUMS"))
        self.hold(self.write("locked.txt", b"held"))  # named on the error stream alone, exit 1
        for switches, name, tool in (([], "SHA256SUMS", "sha256sum"), (["-md5"], "x.md5", "md5sum"), (["-sha1"], "list", "sha1sum")):
            sums = os.path.join(self.data, name)  # in the folder it hashes: left out of itself
            self.assertIn("locked.txt", run(win(self.data), "-r", *switches, "-sums", win(sums), code=1)[2])
            self.assertEqual(len(read(sums).splitlines()), 4)
            shutil.copytree(self.data, copy := os.path.join(self.dir, "copy"), dirs_exist_ok=True)
            self.assertEqual(subprocess.run([tool, "-c", "--strict", name], cwd=copy, capture_output=True).returncode, 0, name)
            self.assertIn("right: 4,", self.check("-v", "-sums", win(sums), code=0))
            os.remove(sums)

    def test_what_publishers_download_sites_hold(self):
        image = self.write("image1.iso", b"image" * 1000)
        for name in ("образ.iso", "Я"):
            self.write(name, b"image" * 1000)
        digest = hashlib.sha256(read(image)).hexdigest()
        signed = ["-----BEGIN PGP SIGNED MESSAGE-----", "Hash: SHA256", "", "# image1.iso: 5000 bytes",
                  f"SHA256 (image1.iso) = {digest}", "# image2.iso: 9 bytes", f"SHA256 (image2.iso) = {'1' * 64}",
                  "-----BEGIN PGP SIGNATURE-----", "", "iQIzBAEBCAAdFiEE", "-----END PGP SIGNATURE-----"]
        other = lambda *tool: subprocess.run([*tool, "image1.iso"], cwd=self.data, capture_output=True, check=True).stdout.decode()
        md5, sha1 = hashlib.md5(read(image)).hexdigest(), hashlib.sha1(read(image)).hexdigest()
        report = ["image1.iso", f"MD5:{md5}", f"SHA1:{sha1}", "***************"]  # as the window saves it
        for name, text, args, code, said in (
                ("CHECKSUM", signed, ["-ignoremissing"], 0, "right: 1, изменено / changed: 0, нет / missing: 0"),
                ("CHECKSUM", signed, ["-ignoremissing", "-status"], 0, None),  # nothing on the output
                ("CHECKSUM", [l.replace("image1", "image3") for l in signed], ["-ignoremissing"], 1, "no file was checked"),
                ("B2SUMS", [other("b2sum")], [], 2, "UNSUPPORTED (BLAKE2b), строка / line 1"),  # never taken for SHA-512
                ("SUMS", [other("b2sum")], [], 1, "CANNOT TELL THE ALGORITHM (not SHA512): image1.iso"),  # 128 digits, no name tells
                ("report.txt", report + ["Не прочитано файлов: 1", "locked.iso", "Ошибка 32: занят"], [], 1, "NOT RECORDED: locked.iso ((32)"),
                ("report.txt", report[:3] + [f"SHA256:{digest}"], ["-strict"], 0, "right: 1,"),  # a report with SHA-256 lines
                ("report.txt", report + ["Формирование прервано: в отчёте не все файлы"], [], 1, "incomplete"),
                ("SUMS", [f"{md5}  image1.iso", f"{md5}  \\\\host\\share\\x"], [], 1, "REFUSED, a network or device name, строка / line 2"),
                ("SUMS", ["x"] * 11 + [f"{md5}  image1.iso"], [], 0, "not a sums line, строка / line 10\n"),  # ten named, the rest counted
                ("SUMS", [f"{md5}  image1.iso"] * 2, [], 0, "right: 2,"),  # each line checked
                ("report.txt", f"образ.iso\r\nMD5:{md5}".encode("cp1251"), [], 0, "right: 1,"),  # saved in the window's code page
                ("report.txt", f"Я\r\nMD5:{md5}".encode(), [], 0, "right: 1,")):  # or in UTF-8, a name of one letter too
            with self.subTest(name=name, args=args, said=said):
                write(self.data, name, text if isinstance(text, bytes) else "\n".join(text).encode())
                verdicts = os.path.join(self.dir, "verdicts.txt")
                _, out, err = run("-v", "-sums", win(sums := os.path.join(self.data, name)), *args, "-verdicts", win(verdicts), code=code)
                self.assertIn(said or "", out + err)
                lines = read(verdicts).decode().splitlines()  # what the window reads: each fault a verdict of its own
                if code == 2:  # the reason in the window's language, and the list
                    self.assertEqual(lines[-1], "ERROR\tнет сумм, которые можно проверить: " + win(sums))
                self.assertTrue(code == 0 or "no file was checked" in out + err or any(not l.startswith("RIGHT") for l in lines), lines)
                self.assertNotIn("CHANGED", out)
                if said is None:
                    self.assertEqual(out, "")

    def test_bad_inputs(self):
        self.write("x.txt", b"x")
        entry = "<FCIV><FILE_ENTRY><name>{}</name><MD5>{}</MD5></FILE_ENTRY>"
        x, empty = hashlib.md5(b"x").hexdigest(), hashlib.md5(b"").hexdigest()
        good = entry.format("x.txt", x) + "</FCIV>"
        for content, code, *said in [(b"", 2), (good[:-7].encode(), 2),  # cut off
                                     (good.encode("utf-16"), 0), (good.encode("utf-16-le"), 0), (good.encode("utf-16")[:-6], 2),
                                     ((good.replace("x.txt", "<![CDATA[x.txt]]>") + "\n<!-- after the root --><?pi ?>\n").encode(), 0),  # read past the root
                                     (b"<?x", 2), (b'<?xml version="1.0"?>', 2), (b"\xef\xbb\xbf", 2),  # where Wine's parser asserts (exit 3)
                              (good.replace("</MD5>", "</MD5><SHA1>not hex</SHA1>").encode(), 1),
                              (b'<!DOCTYPE FCIV [<!ENTITY a "aaaa">]><FCIV>&a;</FCIV>', 2),  # no DTD
                              (b"<project><name>x.txt</name></project>", 2), (b"<FCIV/>", 2), (b"<FCIV>\n</FCIV>", 2),  # nothing to check
                              (b"<FCIV><FILE_ERROR><name>x.txt</name><error>3221225477</error></FILE_ERROR><FILE_ERROR><name>y</name><error>4294967296"
                               b"</error></FILE_ERROR>\n<FILE_ENTRY><name>z</name></FILE_ENTRY></FCIV>", 1, "((3221225477)",  # past 32 bits: bad
                               "entry without a name or hash, строка / line 1", "entry without a name or hash, строка / line 2"),  # as one with no hash
                              (good.replace("</FCIV>", "<INTERRUPTED/></FCIV>").encode(), 1),
                              (entry.format("\\\\evilhost\\share\\x.txt", empty) + "</FCIV>", 1, "REFUSED, a network or device name, строка / line 1"),
                              (entry.format("a" * (100 << 20), x) + "</FCIV>", 2, "longer than any path can be, line 1"),  # past every buffer
                              (entry.format(win(self.data + "/x.txt"), x) + "</FCIV>", 2, "FOLDER cannot apply to: " + win(self.data + "/x.txt"))]:
            write(self.dir, "db.xml", content.encode() if isinstance(content, str) else content)
            out = self.check("-v", "-xml", win(self.db), win(self.data), code=code)
            for words in said:
                self.assertIn(words, out)
        self.assertEqual(self.left(), ["data", "db.xml"])  # nothing touched
        self.assertIn("entries without SHA256 (not listed): 1", self.check("-list", "-xml", win(self.db), "-sha256", code=1))
        write(self.dir, "db.xml", b"")
        self.assertIn("the file is empty", self.check("-v", "-sums", win(self.db), code=2))
        self.assertIn("cannot read (2)", self.check("-v", "-xml", win(self.dir + "/missing.xml"), code=2))
        write(self.dir, "db.xml", f"{x}  {'a' * (100 << 20)}\n{x}  x.txt\n".encode())  # a name longer than any path: a bad line
        out = self.check("-v", "-sums", win(self.db), win(self.data), code=0)
        self.assertTrue("not a sums line, строка / line 1" in out and "right: 1," in out, out)

    def test_output_that_cannot_be_written_fails(self):
        rows = "".join(f"<FILE_ENTRY><name>{'n' * 100}{i}</name><MD5>{'0' * 32}</MD5></FILE_ENTRY>" for i in range(2000))
        write(self.dir, "db.xml", f"<FCIV>{rows}</FCIV>".encode())
        for args, output, preexec_fn in ((["-list"], "/dev/full", None), (["-v"], "/dev/full", None),
                                         (["-list"], os.path.join(self.dir, "listed"), file_size_limit(100 << 10))):  # past its first buffers
            with self.subTest(args=args, output=output), open(output, "wb") as out:
                proc = subprocess.run([WINE_RUN, FCIV, *args, "-xml", win(self.db)], stdout=out, stderr=subprocess.PIPE,
                                      preexec_fn=preexec_fn, timeout=120)
                self.assertEqual(proc.returncode, 4)
                self.assertIn(b"cannot write the output", proc.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[1:], verbosity=2)
