"""The hashing tool under Wine, checked against Python's hashlib and xml.etree."""
import glob
import hashlib
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from wine_files import win, write  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")
FCIV = os.environ.get("FCIV_EXE", os.path.join(ROOT, "build", "windows", "bin", "fciv.exe"))
LOCKER = os.environ.get("LOCK_EXE", os.path.join(ROOT, "build", "windows", "bin", "lock_file.exe"))




def run(*args, check_code=None):
    proc = subprocess.run([WINE_RUN, FCIV, *args], capture_output=True, timeout=300)
    out = proc.stdout.decode("utf-8", "replace")
    err = "\n".join(l for l in proc.stderr.decode("utf-8", "replace").splitlines() if not l.startswith("wine:"))
    if check_code is not None and proc.returncode != check_code:
        raise AssertionError(f"exit {proc.returncode}, expected {check_code}\n{out}\n{err}")
    return proc.returncode, out, err


def entries(db):
    """(name, md5, sha1) per entry, in file order; a missing hash is None."""
    root = ET.parse(db).getroot()
    assert root.tag == "FCIV", root.tag
    result = []
    for e in root:
        assert e.tag == "FILE_ENTRY" and not e.attrib
        tags = [c.tag for c in e]
        assert tags in (["name", "MD5"], ["name", "SHA1"], ["name", "MD5", "SHA1"]), tags
        get = lambda t: e.find(t).text if e.find(t) is not None else None
        result.append((get("name"), get("MD5"), get("SHA1")))
    return result


class ToolTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="fciv test ", dir=os.path.join(ROOT, "build"))
        self.db = os.path.join(self.dir, "db.xml")
        self.data = os.path.join(self.dir, "data")
        os.mkdir(self.data)

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def write(self, relative, content):
        return write(self.data, relative, content)

    def hash_all(self, *switches, code=0):
        run(win(self.data), *switches, "-xml", win(self.db), check_code=code)
        return entries(self.db)


class KnownAnswers(ToolTest):
    def test_rfc1321_and_fips180_strings(self):
        cases = {
            b"": ("d41d8cd98f00b204e9800998ecf8427e", "da39a3ee5e6b4b0d3255bfef95601890afd80709"),
            b"a": ("0cc175b9c0f1b6a831c399e269772661", None),
            b"abc": ("900150983cd24fb0d6963f7d28e17f72", "a9993e364706816aba3e25717850c26c9cd0d89d"),
            b"message digest": ("f96b697d7cb7938d525a2f31aaf161d0", None),
            b"abcdefghijklmnopqrstuvwxyz": ("c3fcd3d76192e4007dfb496cca67e13b", None),
            b"12345678901234567890123456789012345678901234567890123456789012345678901234567890":
                ("57edf4a22be3c955ac49da2e2107b67a", None),
            b"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq":
                (None, "84983e441c3bd26ebaae4aa1f95129e5e54670f1"),
            b"a" * 1000000: (None, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"),
        }
        names = {}
        for i, content in enumerate(cases):
            names[win(self.write(f"k{i:02}.bin", content))] = content
        for name, md5, sha1 in self.hash_all("-both"):
            want_md5, want_sha1 = cases[names[name]]
            self.assertEqual(md5, want_md5 or hashlib.md5(names[name]).hexdigest())
            self.assertEqual(sha1, want_sha1 or hashlib.sha1(names[name]).hexdigest())

    def test_generated_files_match_hashlib(self):
        rng = random.Random(1321)
        sizes = [0, 1, 63, 64, 65, (1 << 20) - 1, 1 << 20, (1 << 20) + 1, 3 * (1 << 20) + 17, 20 * (1 << 20) + 5]
        contents = {}
        for size in sizes:
            contents[win(self.write(f"size {size:09}.bin", rng.randbytes(size)))] = size
        for switches, md5_on, sha1_on in ((["-both"], True, True), (["-sha1"], False, True), ([], True, False)):
            got = self.hash_all(*switches)
            self.assertEqual([g[0] for g in got], sorted(contents))
            for name, md5, sha1 in got:
                with open(os.path.join(self.data, name.split("\\")[-1]), "rb") as f:
                    data = f.read()
                self.assertEqual(md5, hashlib.md5(data).hexdigest() if md5_on else None)
                self.assertEqual(sha1, hashlib.sha1(data).hexdigest() if sha1_on else None)


class Listing(ToolTest):
    def setUp(self):
        super().setUp()
        for rel in ["b.txt", "A.TXT", "c.md", "noext", "sub/z.txt", "sub/deeper/y.txt", "Sub2/x.md", "sub/a.log"]:
            self.write(rel, rel.encode())

    def names(self, *switches):
        return [e[0].replace(win(self.data) + "\\", "") for e in self.hash_all(*switches)]

    def test_masks_recursion_and_names_only(self):
        cases = [
            ([], ["A.TXT", "b.txt", "c.md", "noext"]),
            (["-type", "*.txt"], ["A.TXT", "b.txt"]),
            (["-type", "*.*"], ["A.TXT", "b.txt", "c.md", "noext"]),
            (["-TYPE", "?.md;*.LOG,noext"], ["c.md", "noext"]),
            (["-r", "-type", "*.txt"], ["A.TXT", "b.txt", "sub\\z.txt", "sub\\deeper\\y.txt"]),
            (["-r"], ["A.TXT", "b.txt", "c.md", "noext", "sub\\a.log", "sub\\z.txt", "sub\\deeper\\y.txt", "Sub2\\x.md"]),
            (["-type", "-md5"], ["A.TXT", "b.txt", "c.md", "noext"]),  # an empty mask: every file
        ]
        for switches, want in cases:
            with self.subTest(switches=switches):
                self.assertEqual(self.names(*switches), want)
        got = self.hash_all("-r", "-wp", "-type", "*.md")
        self.assertEqual([g[0] for g in got], ["c.md", "x.md"])


class Names(ToolTest):
    def test_names_of_every_kind_survive(self):
        names = ["Отчёт за год.txt", "漢字.bin", "smile 😀.png", "a&b 'q'.txt", ".hidden", "  blanks  x.txt",
                 "x" * 200 + ".txt"]
        deep = os.path.join("d" * 100, "e" * 100, "f" * 100)
        expected = {}
        for n in names:
            expected[win(self.write(n, n.encode()))] = n.encode()
        expected[win(self.write(os.path.join(deep, "long.txt"), b"long"))] = b"long"
        self.write(os.path.join(deep, "read only.txt"), b"ro")
        os.chmod(os.path.join(self.data, deep, "read only.txt"), 0o444)
        expected[win(os.path.join(self.data, deep, "read only.txt"))] = b"ro"
        got = self.hash_all("-r", "-both")
        self.assertEqual(sorted(g[0] for g in got), sorted(expected))
        self.assertTrue(any(len(g[0]) > 260 for g in got))
        for name, md5, sha1 in got:
            self.assertEqual(md5, hashlib.md5(expected[name]).hexdigest(), name)
            self.assertEqual(sha1, hashlib.sha1(expected[name]).hexdigest(), name)

    def test_file_over_4_gib(self):
        path = os.path.join(self.data, "big.bin")
        size = (4 << 30) + 3
        with open(path, "wb") as f:
            f.truncate(size)
            f.seek(size - 3)
            f.write(b"end")
        want = hashlib.md5()
        zeros = bytes(1 << 24)
        left = size - 3
        while left:
            want.update(zeros[:min(left, len(zeros))])
            left -= min(left, len(zeros))
        want.update(b"end")
        self.assertEqual(self.hash_all("-md5"), [(win(path), want.hexdigest(), None)])

    def test_link_loop_is_not_followed(self):
        self.write("sub/f.txt", b"f")
        os.symlink("..", os.path.join(self.data, "sub", "back"))
        got = self.hash_all("-r")
        self.assertEqual([g[0] for g in got], [win(os.path.join(self.data, "sub", "f.txt"))])


class Failures(ToolTest):
    def test_unreadable_file_gets_no_entry(self):
        self.write("a.txt", b"a")
        locked = self.write("b.txt", b"b")
        self.write("c.txt", b"c")
        locker = subprocess.Popen([WINE_RUN, LOCKER, win(locked)], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL)
        try:
            self.assertEqual(locker.stdout.readline().strip(), b"locked")
            code, _, err = run(win(self.data), "-xml", win(self.db))
        finally:
            locker.stdin.close()
            locker.wait(60)
            locker.stdout.close()
        self.assertEqual(code, 1)
        self.assertIn(win(locked), err)
        self.assertEqual([e[0][-5:] for e in entries(self.db)], ["a.txt", "c.txt"])

    def test_bad_command_lines_touch_nothing(self):
        with open(self.db, "wb") as f:
            f.write(b"old database")
        cases = [
            [win(self.data + "/missing"), "-xml", win(self.db)],
            [win(self.data), "-bogus", "-xml", win(self.db)],
            [win(self.data), "-xml"],
            [win(self.data), "-md5"],
            ["-md5", "-xml", win(self.db)],
            [win(self.data), "-xml", win(self.dir + "/no such folder/db.xml")],
        ]
        for args in cases:
            with self.subTest(args=args):
                code, out, err = run(*args)
                self.assertEqual(code, 2)
                self.assertTrue(err.strip())
                with open(self.db, "rb") as f:
                    self.assertEqual(f.read(), b"old database")
        for args in ([], ["-h"], ["-?"]):
            code, out, _ = run(*args)
            self.assertEqual(code, 0)
            self.assertIn("-xml", out)
            self.assertIn("Считает", out)

    def test_ctrl_c_keeps_the_finished_entries(self):
        self.write("a.txt", b"a")  # done at once
        for i in range(40):  # 16 GiB of sparse files: far more than the tool hashes before the signal
            with open(os.path.join(self.data, f"f{i:02}.bin"), "wb") as f:
                f.truncate(400 << 20)
        proc = subprocess.Popen([WINE_RUN, FCIV, win(self.data), "-both", "-xml", win(self.db)],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The database's temporary file appears once the tool listens for Ctrl+C.
        deadline = time.time() + 60
        while not [n for n in os.listdir(self.dir) if n.startswith("db.xml.tmp")] and time.time() < deadline:
            time.sleep(0.05)
        proc.send_signal(signal.SIGINT)  # Wine hands it to the console as Ctrl+C
        self.assertEqual(proc.wait(60), 3)
        names = [e[0] for e in entries(self.db)]  # well-formed, in listing order, not all
        self.assertLess(len(names), 41)
        self.assertEqual(names, sorted(names))
        self.assertTrue(set(names) <= {win(p) for p in glob.glob(os.path.join(self.data, "*"))})
        self.assertEqual(sorted(os.listdir(self.dir)), ["data", "db.xml"])

    def test_database_is_replaced_whole(self):
        with open(self.db, "wb") as f:
            f.write(b"x" * 100000)
        self.write("a.txt", b"a")
        self.assertEqual(len(self.hash_all()), 1)
        self.assertEqual(sorted(os.listdir(self.dir)), ["data", "db.xml"])  # no temporary file left


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[1:], verbosity=2)
