"""The Linux plug-in tested in the real Double Commander 1.0.10 under Xvfb,
one check a run (ctest registers each): what the viewer shows is read back
through the clipboard and compared with corvelle-dump's output, its keys and
the host's commands are pressed as a user presses them, and a picture of
each page is kept.

    doublecmd-tests.py CHECK --source SOURCE_DIR --build BUILD_DIR [--shots DIR]
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from dcsession import Session, wait_for  # noqa: E402

CHECKS = {}


def check(function):
    CHECKS[function.__name__.replace("_", "-")] = function
    return function


class Failure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


def expect_equal(got, expected, what):
    if got != expected:
        got_lines = (got or "").splitlines()
        expected_lines = expected.splitlines()
        for number, (a, b) in enumerate(zip(got_lines, expected_lines)):
            if a != b:
                raise Failure(f"{what}: line {number + 1} is {a!r}, expected {b!r}")
        raise Failure(f"{what}: {len(got_lines)} lines, expected {len(expected_lines)}; "
                      f"ends {(got or '')[-20:]!r}, expected {expected[-20:]!r}")


class Context:
    def __init__(self, options):
        self.source = options.source
        self.build = options.build
        self.shots = options.shots
        self.plugin = os.path.join(options.build, "corvelle.wlx")
        self.memos = os.path.join(options.source, "samples", "Memos.pdb")
        self.book = os.path.join(options.source, "tests", "data", "books", "ereader-palmdoc.pdb")

    def dump(self, *args):
        """corvelle-dump's output with LF line ends, as the viewer copies it on Linux."""
        out = subprocess.run([os.path.join(self.build, "corvelle-dump"), *args], capture_output=True, check=True).stdout
        return out.decode("utf-8").replace("\r\n", "\n")

    def session(self, viewed):
        return Session(self.source, self.plugin, viewed)

    def picture(self, session, name):
        if self.shots:
            os.makedirs(self.shots, exist_ok=True)
            session.picture(os.path.join(self.shots, name))


def opened(session):
    viewer = session.open_viewer()
    expect(viewer, "F3 showed no viewer window")
    return viewer


@check
def report(context):
    """F3 on a memo database: the report, whole, as corvelle-dump prints it."""
    with context.session(context.memos) as session:
        opened(session)
        context.picture(session, "report.png")
        expect_equal(session.copied(), context.dump(context.memos), "the copied report")


@check
def records(context):
    """Ctrl+3: the list of records; select all and copy gives --records' rows; the pane shows --record N."""
    with context.session(context.memos) as session:
        opened(session)
        session.key("ctrl+3")
        listed = context.dump("--records", context.memos)
        rows = "".join(line + "\n" for line in listed.splitlines()[:-1])  # without the count line
        expect_equal(session.copied(), rows, "the copied rows")
        # Home selects the first row alone, Down the second; Tab goes to the pane.
        session.key("Home", "Down")
        context.picture(session, "records.png")
        row = rows.splitlines()
        expect_equal(session.copied(("ctrl+c",), before=rows), row[0] + "\n" + row[2] + "\n", "the copied row")
        pane = session.copied(("Tab", "ctrl+a", "ctrl+c"), before=row[0] + "\n" + row[2] + "\n")
        expect_equal(pane, context.dump("--record", "1", context.memos), "the pane's text")


@check
def picture(context):
    """Ctrl+3 on a Note Pad database written by the independent writer: the first note's pane as --record 0
    prints it, its drawing beside it (the picture kept)."""
    with tempfile.TemporaryDirectory(prefix="corvelle-npad-") as folder:
        subprocess.run(["/usr/bin/python3", os.path.join(context.source, "tools", "records", "write-notepad-database.py"),
                        folder], check=True)
        notepad = os.path.join(folder, "notepad.pdb")
        with context.session(notepad) as session:
            opened(session)
            session.key("ctrl+3", "Home")
            time.sleep(0.5)
            context.picture(session, "records-picture.png")
            pane = session.copied(("Tab", "ctrl+a", "ctrl+c"))
            expect_equal(pane, context.dump("--record", "0", notepad), "the note's pane")


@check
def text(context):
    """Ctrl+4 on a book: its text, as the text export writes it, with its chapters and styles shown."""
    with context.session(context.book) as session:
        opened(session)
        session.key("ctrl+4")
        time.sleep(0.5)
        context.picture(session, "text.png")
        expect_equal(session.copied(), context.dump("--export", "text", context.book), "the copied text")


@check
def about(context):
    """Ctrl+2: the About page with its information text."""
    with context.session(context.memos) as session:
        opened(session)
        session.key("ctrl+2")
        context.picture(session, "about.png")
        copied = session.copied()
        expect(copied is not None and copied.startswith("Corvelle - Lister plug-in"), f"the About text: {copied!r}")


@check
def search(context):
    """The viewer's Find (F) reaches ListSearchText: on the report the match is selected, on the
    Records page the entry that holds the text."""
    with context.session(context.memos) as session:
        opened(session)

        def find(text):
            session.key("f")
            dialog = wait_for(lambda: session.window("^Find$"), 5)
            expect(dialog, "no Find dialog")
            session.type(text)
            session.key("Return")
            expect(wait_for(lambda: not session.window("^Find$"), 5), "the Find dialog stayed")

        find("Business")
        expect_equal(session.copied(("ctrl+c",)), "Business", "the selected match")
        session.key("ctrl+3")
        find("garage")
        rows = context.dump("--records", context.memos).splitlines()
        expect_equal(session.copied(("ctrl+c",), before="Business"), rows[0] + "\n" + rows[2] + "\n",
                     "the entry found")
        # Find again, then F3 for the next entry that holds it.
        find("bread")
        expect_equal(session.copied(("ctrl+c",), before=rows[0] + "\n" + rows[2] + "\n"),
                     rows[0] + "\n" + rows[1] + "\n", "the first entry with bread")
        expect_equal(session.copied(("F3", "ctrl+c"), before=rows[0] + "\n" + rows[1] + "\n"),
                     rows[0] + "\n" + rows[4] + "\n", "the next entry with bread (F3)")


@check
def escape(context):
    """Escape closes the viewer, and the file manager goes on."""
    with context.session(context.memos) as session:
        opened(session)
        session.key("Escape")
        expect(wait_for(lambda: not session.viewer_open(), 5), "Escape left the viewer open")
        time.sleep(0.5)
        expect(session.alive(), "Double Commander ended")


@check
def cycles(context):
    """Ten viewers opened and closed leave no window and no growth of the file manager's memory."""
    with context.session(context.memos) as session:
        sizes = []
        for cycle in range(10):
            opened(session)
            session.key("ctrl+3", "ctrl+1", "Escape")
            expect(wait_for(lambda: not session.viewer_open(), 5), f"cycle {cycle + 1} left the viewer open")
            time.sleep(0.3)
            sizes.append(session.resident_kb())
        # The first viewers load what every later one shares (the plug-in, fonts, the pages' code).
        growth = sizes[-1] - sizes[1]
        print(f"resident memory after each cycle (KB): {sizes}; growth from the 2nd to the 10th: {growth} KB")
        expect(growth < 4096, f"the file manager grew by {growth} KB over eight viewers")
        expect(session.alive(), "Double Commander ended")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("check", choices=sorted(CHECKS))
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--shots")
    options = parser.parse_args()
    try:
        CHECKS[options.check](Context(options))
    except Failure as failure:
        print(f"FAILED {options.check}: {failure}")
        return 1
    print(f"passed {options.check}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
