#!/usr/bin/python3
# Checks what corvelle-dump makes of the databases that the writers beside this
# file put together from the formats' descriptions (Expense, JFile, Note Pad,
# Photos) or that Debian's Palm::Mail writes: the contents of `--records`, the
# field lines of `--record N`, the JSON (the json module) and the exports
# (Python's csv, mailbox and email; netpbm's pngtopnm). The expected values come
# from each writer's description of its records, not from the bytes.
#   check-records.py expense|jfile|notepad|photos|mail CORVELLE-DUMP
#   check-records.py images-windows CORVELLE-DUMP CORVELLE-DUMP.EXE   (the Windows half of PNG, under Wine)
import csv, importlib, io, json, os, shutil, subprocess, sys, tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)  # the writers beside this check, imported by their file names
FAILURES = []


def expect(what, got, want):
    if got != want:
        FAILURES.append(f"{what}:\n  got  {got!r}\n  want {want!r}")


def run(*args, status=0):
    result = subprocess.run([DUMP, *args], capture_output=True)
    if result.returncode != status:
        sys.exit(f"corvelle-dump {' '.join(args)}: status {result.returncode}: {result.stderr.decode()}")
    return result


def cells(path, encoding):
    """The contents cell of each entry of `--records`."""
    lines = run("--records", path).stdout.decode(encoding).split("\n")[1:-2]
    return [line.split("\t")[-1] for line in lines]


def fields(path, index, encoding):
    """The field lines of `--record N`, from after the title's cells to the blank line before the bytes."""
    text = run("--record", str(index), path).stdout.decode(encoding)
    joined = []
    for line in text.split("\n\n")[1].split("\n"):
        if line.startswith("\t") and joined:
            joined[-1] += "\n" + line
        else:
            joined.append(line)
    return joined


def entries(path):
    return json.loads(run("--export", "json", path).stdout)["entries"]


def field_line(label, value):
    return f"{label}:\t" + value.replace("\n", "\n\t")


def cell_text(parts, limit=80):
    """A contents cell as the list shows it: control bytes as spaces, 80 bytes at most (cp1252: one a character)."""
    text = "".join(" " if ord(c) < 0x20 else c for c in " ".join(p for p in parts if p))
    return text[:limit]


def check_expense(folder):
    W = importlib.import_module("write-expense-database")
    subprocess.run([sys.executable, os.path.join(HERE, "write-expense-database.py"), folder], check=True)
    path = os.path.join(folder, "expense.pdb")
    got_cells, got_json = cells(path, W.ENCODING), entries(path)
    rows = list(csv.reader(io.StringIO(run("--export", "csv", path).stdout.decode("utf-8"), newline="")))
    raw = run("--export", "csv", path).stdout
    expect("csv rows end in CR LF", raw.count(b"\r\n") >= len(rows), True)
    expect("csv header", rows[0], ["Date", "Category", "Type", "Payment", "Currency", "Amount", "Vendor", "City",
                                   "Attendees", "Note"])
    live = 0
    for i, e in enumerate(W.EXPENSES):
        cut = e["cut"]
        texts = list(e["texts"])
        has_currency = not (cut and cut[0] == "fixed")  # the fixture's one cut there stops before the currency
        if cut and cut[0] == "inside":
            texts = texts[:cut[1]] + [texts[cut[1]][:cut[2]]]
        elif cut:
            texts = []
        date = "none" if e["date"] == 0xFFFF else \
            f"{1904 + (e['date'] >> 9):04}-{(e['date'] >> 5) & 15:02}-{e['date'] & 31:02}"
        type_ = W.TYPES[e["type"]] if e["type"] < len(W.TYPES) else f"Type {e['type']}"
        payment = W.PAYMENTS[e["payment"]] if e["payment"] < len(W.PAYMENTS) else f"Payment {e['payment']}"
        currency = W.currency_name(e["currency"]) if has_currency else ""
        padded = texts + [""] * (5 - len(texts))
        expect(f"expense {i} cell", got_cells[i], cell_text([date, type_, padded[0], currency, padded[1]]))
        want = [field_line("Date", date), field_line("Type", type_), field_line("Payment", payment)]
        if has_currency:
            want.append(field_line("Currency", currency))
        for label, value in zip(["Amount", "Vendor", "City", "Attendees"], texts):
            want.append(field_line(label, value))
        if len(texts) == 5 and texts[4]:
            want.append(field_line("Note", texts[4]))
        if cut:
            where = "the vendor" if cut[0] == "inside" else "the currency"
            want.append(f"The record ends at byte {len(W.record_bytes(e))}, inside {where}.")
        expect(f"expense {i} fields", fields(path, i, W.ENCODING)[:len(want)], want)
        f = got_json[i]["fields"]
        expect(f"expense {i} json", (f["typeName"], f["paymentName"], f["amount"], f["vendor"], f["note"]),
               (type_, payment, padded[0], padded[1], padded[4]))
        if e["attributes"] & 0xA0:
            continue
        live += 1
        category = W.CATEGORIES[e["category"]] if e["category"] < len(W.CATEGORIES) else ""
        expect(f"expense {i} csv", rows[live], [date, category, type_, payment, currency, *padded])
    expect("csv rows", len(rows), live + 1)


def check_jfile(folder):
    W = importlib.import_module("write-jfile-database")
    subprocess.run([sys.executable, os.path.join(HERE, "write-jfile-database.py"), folder], check=True)
    path = os.path.join(folder, "jfile.pdb")
    got_cells, got_json = cells(path, W.ENCODING), json.loads(run("--export", "json", path).stdout)
    names = [name for name, _, _ in W.FIELDS]
    expect("jfile appInfo fields", [(f["name"], f["type"], f["typeName"], f["width"])
                                    for f in got_json["appInfo"]["fields"]],
           [(n, t, W.TYPE_WORDS.get(t), w) for n, t, w in W.FIELDS])
    rows = list(csv.reader(io.StringIO(run("--export", "csv", path).stdout.decode("utf-8"), newline="")))
    expect("jfile csv header", rows[0], names)
    live = 0
    for i, r in enumerate(W.RECORDS):
        values, cut = list(r["values"]), r["cut"]
        if cut and cut[0] == "inside":
            values = values[:cut[1]] + [values[cut[1]][:cut[2]]]
        elif cut:
            values = []
        expect(f"jfile {i} cell", got_cells[i], cell_text(values))
        want = [field_line(name or f"Field {n + 1}", value) for n, (name, value) in enumerate(zip(names, values))]
        if cut:
            where = f"field {cut[1] + 1}" if cut[0] == "inside" else "the field lengths"
            want.append(f"The record ends at byte {len(W.record_bytes(r))}, inside {where}.")
        expect(f"jfile {i} fields", fields(path, i, W.ENCODING)[:len(want)], want)
        expect(f"jfile {i} json", got_json["entries"][i]["fields"]["values"], values)
        if r["attributes"] & 0xA0:
            continue
        live += 1
        expect(f"jfile {i} csv", rows[live], values + [""] * (len(names) - len(values)))
    expect("jfile csv rows", len(rows), live + 1)
    # Without its field list a database's records show as bytes and its CSV is empty.
    short = os.path.join(folder, "jfile-short-appinfo.pdb")
    expect("jfile short block json", json.loads(run("--export", "json", short).stdout)["appInfo"]["fields"], None)
    expect("jfile short block csv", run("--export", "csv", short).stdout, b"")


def unquote_mboxrd(message):
    """What an mboxrd reader does to a message's lines before it parses them: one ">" off a line of ">"s and "From "."""
    import re
    return re.sub(rb"(?m)^>(>*From )", rb"\1", message)


def check_mail(folder):
    import email.policy, email.utils, mailbox
    written = subprocess.run(["perl", os.path.join(HERE, "write-mail-database.pl"), folder], check=True,
                             capture_output=True).stdout.decode().splitlines()
    records = [json.loads(line) for line in written]
    for r in records:
        for k in ("subject", "from", "to", "cc", "bcc", "replyTo", "sentTo", "body"):
            r[k] = bytes.fromhex(r[k]).decode("cp1252")
    path = os.path.join(folder, "mail.pdb")
    got_cells, got_json = cells(path, "cp1252"), entries(path)
    mbox_path = os.path.join(folder, "mail.mbox")
    run("--export", "mbox", "-o", mbox_path, path)
    box = mailbox.mbox(mbox_path)
    # Parsed as mailbox's own factory parses a message's file (its lines read as text: CR LF becomes LF).
    messages = [email.message_from_binary_file(io.BytesIO(unquote_mboxrd(box.get_bytes(key))),
                                               policy=email.policy.default) for key in box.keys()]
    folders = ["Inbox", "Outbox", "Deleted", "Filed", "Draft"]
    yes = lambda v: "yes" if v else "no"
    labels = [("Subject", "subject"), ("From", "from"), ("To", "to"), ("Cc", "cc"), ("Bcc", "bcc"),
              ("Reply to", "replyTo"), ("Sent to", "sentTo"), ("Body", "body")]
    live = 0
    for i, r in enumerate(records):
        outgoing = r["category"] in (1, 4)
        who = r["to"] if outgoing else r["from"]
        expect(f"mail {i} cell", got_cells[i], cell_text([r["subject"] + (" - " + who if who else "")]))
        when = f"{r['year']:04}-{r['month']:02}-{r['day']:02} {r['hour']:02}:{r['minute']:02}"
        want = [field_line("Date", when), field_line("Read", yes(r["is_read"])),
                field_line("Signature", yes(r["has_signature"])), field_line("Confirm read", yes(r["confirm_read"])),
                field_line("Confirm delivery", yes(r["confirm_delivery"])),
                field_line("Priority", ["high", "normal", "low"][r["priority"]]),
                field_line("Addressing", ["to", "cc", "bcc"][r["addressing"]])]
        want += [field_line(label, r[key]) for label, key in labels if r[key] or key == "subject"]
        expect(f"mail {i} fields", fields(path, i, "cp1252"), want)
        f = got_json[i]["fields"]
        expect(f"mail {i} json", (f["date"], f["time"], f["read"], f["signature"], f["confirmRead"],
                                  f["confirmDelivery"], f["priority"], f["addressing"], f["subject"], f["from"],
                                  f["to"], f["cc"], f["bcc"], f["replyTo"], f["sentTo"], f["body"]),
               (when[:10], when[11:], bool(r["is_read"]), bool(r["has_signature"]), bool(r["confirm_read"]),
                bool(r["confirm_delivery"]), r["priority"], r["addressing"], r["subject"], r["from"], r["to"],
                r["cc"], r["bcc"], r["replyTo"], r["sentTo"], r["body"]))
        if r["deleted"]:
            continue
        m = messages[live]
        live += 1
        expect(f"mail {i} mbox Subject", str(m["Subject"]), r["subject"])
        for header, key in (("From", "from"), ("To", "to"), ("Cc", "cc"), ("Bcc", "bcc"), ("Reply-To", "replyTo"),
                            ("X-Palm-Sent-To", "sentTo")):
            expect(f"mail {i} mbox {header}", str(m[header]) if m[header] is not None else "", r[key])
        date = email.utils.parsedate_to_datetime(m["Date"])
        expect(f"mail {i} mbox Date", date.strftime("%Y-%m-%d %H:%M"), when)
        expect(f"mail {i} mbox X-Priority", m["X-Priority"], ["1 (Highest)", "3 (Normal)", "5 (Lowest)"][r["priority"]])
        expect(f"mail {i} mbox X-Palm-Folder", m["X-Palm-Folder"], folders[r["category"]])
        expect(f"mail {i} mbox Status", m["Status"], "RO" if r["is_read"] else "O")
        expect(f"mail {i} mbox read receipt", m["Disposition-Notification-To"] is not None,
               bool(r["confirm_read"] and r["from"]))
        expect(f"mail {i} mbox delivery receipt", m["Return-Receipt-To"] is not None,
               bool(r["confirm_delivery"] and r["from"]))
        expect(f"mail {i} mbox charset", m.get_content_charset(), "utf-8")
        body = r["body"].replace("\r\n", "\n").replace("\r", "\n")
        expect(f"mail {i} mbox body", m.get_content(), body + ("\n" if body and not body.endswith("\n") else ""))
    expect("mail mbox messages", len(messages), live)
    raw = open(mbox_path, "rb").read()
    expect("mail mbox header lines end in CR LF", b"\nSubject: Hello\r\n" in raw, True)
    expect("mail mbox lines within 998 octets", max(len(line) for line in raw.split(b"\n")) <= 1000, True)


def read_pnm(data):
    """A binary PBM, PGM or PPM as rows of (r, g, b) pixels (pngtopnm gives a PBM for a picture of two colours)."""
    import re
    header = re.match(rb"(P4)\s+(\d+)\s+(\d+)\s|(P[56])\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    if header is None:
        return None
    pixels = data[header.end():]
    if header.group(1):
        width, height = int(header.group(2)), int(header.group(3))
        stride = (width + 7) // 8
        return [[(0, 0, 0) if pixels[y * stride + x // 8] >> (7 - x % 8) & 1 else (255, 255, 255)
                 for x in range(width)] for y in range(height)]
    magic, width, height = header.group(4), int(header.group(5)), int(header.group(6))
    channels = 3 if magic == b"P6" else 1
    rows = []
    for y in range(height):
        row = pixels[y * width * channels:(y + 1) * width * channels]
        rows.append([tuple(row[x * channels:(x + 1) * channels]) * (3 // channels) for x in range(width)])
    return rows


def png_rows(path):
    return read_pnm(subprocess.run(["pngtopnm", path], capture_output=True, check=True).stdout)


def note_time(t):
    return f"{t[5]:04}-{t[4]:02}-{t[3]:02} {t[2]:02}:{t[1]:02}:{t[0]:02}"


def check_notepad(folder):
    W = importlib.import_module("write-notepad-database")
    subprocess.run([sys.executable, os.path.join(HERE, "write-notepad-database.py"), folder], check=True)
    path = os.path.join(folder, "notepad.pdb")
    got_cells, got_json = cells(path, W.ENCODING), entries(path)
    images = os.path.join(folder, "images")
    result = run("--export", "images", "-o", images, path)
    files = sorted(os.listdir(images))
    kinds = {"bits": "uncompressed", "runs": "compressed in runs", "png": "PNG", "bomb": "compressed in runs"}
    black, white = (0, 0, 0), (255, 255, 255)
    for i, n in enumerate(W.NOTES):
        fixed_cut = n["cut"] and n["cut"][0] == "bytes"
        expect(f"note {i} cell", got_cells[i], n["title"] if n["title"] and not fixed_cut else
               note_time(n["created"]))
        got = fields(path, i, W.ENCODING)
        if fixed_cut:
            expect(f"note {i} fields", got, [field_line("Created", note_time(n["created"])),
                                             field_line("Changed", note_time(n["changed"])),
                                             f"The record ends at byte {n['cut'][1]}, inside the flags."])
            continue
        want = [field_line("Title", n["title"])] if n["title"] is not None else []
        want += [field_line("Created", note_time(n["created"])), field_line("Changed", note_time(n["changed"])),
                 field_line("Alarm", note_time(n["alarm"]) if n["alarm"] else "none")]
        f = got_json[i]["fields"]
        expect(f"note {i} json", (f["title"], f["created"], f["alarm"]),
               (n["title"], note_time(n["created"]), note_time(n["alarm"]) if n["alarm"] else None))
        if not n["drawing"]:
            expect(f"note {i} fields", got, want)
            expect(f"note {i} json drawing", f["drawing"], None)
            continue
        kind, width, height = n["drawing"]
        code, payload = W.drawing_data(kind, width, height, n["seed"])
        want.append(field_line("Drawing", f"{width} x {height} pixels, {kinds[kind]}, {len(payload)} bytes"))
        expect(f"note {i} fields", got[:len(want)], want)
        expect(f"note {i} json drawing", f["drawing"], {"width": width, "height": height, "kind": code,
                                                       "kindName": kinds[kind], "size": len(payload)})
        name = f"{i:05} {n['title']}.png" if n["title"] else f"{i:05}.png"
        if n["attributes"] & 0xA0:
            expect(f"note {i} deleted: no image", name in files, False)
            continue
        if kind == "bomb" and width > 2048:
            expect(f"note {i} too large: no image", name in files, False)
            expect(f"note {i} too large said", b"more than a Note Pad draws" in result.stderr, True)
            continue
        if kind == "png":
            expect(f"note {i} png as stored", open(os.path.join(images, name), "rb").read(), payload)
            continue
        rows = png_rows(os.path.join(images, name))
        if kind == "bomb":  # 300 black bytes: one whole row of 2000 and 400 pixels of the next
            expect(f"note {i} bomb rows", len(rows), 2)
            expect(f"note {i} bomb pixels", (rows[0].count(black), rows[1].count(black)), (2000, 400))
            expect(f"note {i} bomb said", b"ends at row 2 of the 2000" in result.stderr, True)
            continue
        drawn = [[black if bit else white for bit in row] for row in W.draw(width, height, n["seed"])]
        if n["cut"]:  # the rows the cut data gives whole are the drawing's
            kept = len(b"".join(bytes([payload[k + 1]]) * payload[k] for k in range(0, n["cut"][1] - 1, 2)))
            whole = kept // ((width + 15) // 16 * 2)
            expect(f"note {i} cut rows", len(rows), whole + 1)
            expect(f"note {i} cut pixels", rows[:whole], drawn[:whole])
        else:
            expect(f"note {i} pixels", rows, drawn)
    expect("notepad images", len(files), sum(1 for n in W.NOTES if n["drawing"] and not n["attributes"] & 0xA0
                                            and n["drawing"][1] <= 2048))


def palm_time(seconds):
    import datetime
    if seconds == 0:
        return "none"
    return (datetime.datetime(1904, 1, 1) + datetime.timedelta(seconds=seconds)).strftime("%Y-%m-%d %H:%M:%S")


def check_photos(folder):
    W = importlib.import_module("write-photos-databases")
    subprocess.run([sys.executable, os.path.join(HERE, "write-photos-databases.py"), folder], check=True)
    album = os.path.join(folder, "album.pdb")
    read = subprocess.run(["perl", os.path.join(HERE, "read-photos-album.pl"), album], check=True,
                          capture_output=True).stdout.decode().splitlines()
    zire = [json.loads(line) for line in read]
    got_cells, got_json = cells(album, "cp1252"), entries(album)
    for i, a in enumerate(W.ALBUM):
        z = zire[i]
        thumbnail = bytes.fromhex(z["thumb"])
        expect(f"album {i} as Palm::ZirePhoto reads it", (z["width"], z["height"], z["size"], z["time1_secs"],
                                                         z["time2_secs"]),
               (a["width"], a["height"], a["size"], a["modified"], a["created"]))
        expect(f"album {i} cell", got_cells[i], f"thumbnail: {z['name']} {z['width']}x{z['height']}")
        want = [field_line("Picture", f"JPEG, {z['width']} x {z['height']} pixels, {z['size']} bytes"),
                field_line("Modified", palm_time(z["time1_secs"])), field_line("Created", palm_time(z["time2_secs"]))]
        expect(f"album {i} fields", fields(album, i, "cp1252")[:3], want)
        f = got_json[i]["fields"]
        expect(f"album {i} json", (f["name"], f["width"], f["height"], f["size"], f["modified"], f["created"],
                                   f["thumbnailSize"]),
               (z["name"], z["width"], z["height"], z["size"], z["time1_secs"], z["time2_secs"], len(thumbnail)))
    expect("album: the deleted record without data", (got_cells[3], got_json[3]["fields"]), ("", None))
    # A picture's JPEG is its blocks' data joined in order, as Palm::ZirePhoto's description joins them.
    for file, problems in (("sunset.pdb", []), ("missing.pdb", ["Block 2 is missing."]),
                           ("shuffled.pdb", ["Block 2 begins a JPEG image: it is out of order.",
                                             "The first block does not begin a JPEG image."])):
        path = os.path.join(folder, file)
        got = [line for line in fields(path, 0, "cp1252") if line.startswith("Problem:")]
        expect(f"{file} problems", got, [field_line("Problem", p) for p in problems])
        picture = entries(path)[0]["fields"]["picture"]
        expect(f"{file} json problems", picture["problems"], problems)
        images = os.path.join(folder, file + ".images")
        said = run("--export", "images", "-o", images, path).stderr
        written = os.listdir(images) if os.path.isdir(images) else []  # made only for a picture
        if file == "sunset.pdb":
            expect(f"{file} picture", (picture["width"], picture["height"], picture["size"], picture["blocks"]),
                   (320, 240, len(W.SUNSET), 6))
            expect(f"{file} images", written, ["00000 Sunset.jpg"])
            data = open(os.path.join(images, written[0]), "rb").read()
            expect(f"{file} JPEG as written", data, W.SUNSET)
            pnm = subprocess.run(["jpegtopnm"], input=data, capture_output=True).returncode
            expect(f"{file} JPEG decodes with jpegtopnm", pnm, 0)
        elif file == "missing.pdb":
            expect(f"{file} JPEG joined without the missing block", open(os.path.join(images, written[0]), "rb").read(),
                   W.SUNSET[:W.BLOCK] + W.SUNSET[2 * W.BLOCK:])
        else:
            expect(f"{file}: no image file of blocks out of order", written, [])
            expect(f"{file}: no picture said", b"there is no picture to export" in said, True)


def check_images_windows(folder):
    """The images export of corvelle-dump.exe under Wine (PNG by Windows' imaging) against the native one (libpng):
    the same files, the same pixels as netpbm's pngtopnm reads them."""
    W = importlib.import_module("write-notepad-database")
    subprocess.run([sys.executable, os.path.join(HERE, "write-notepad-database.py"), folder], check=True)
    subprocess.run([sys.executable, os.path.join(HERE, "write-photos-databases.py"), folder], check=True)
    env = dict(os.environ, WINEPREFIX=os.path.join(os.path.dirname(os.path.abspath(EXE)), "wineprefix-export"),
               WINEDEBUG="-all")
    loader = next(p for p in ("/usr/lib/wine/wine64", "/usr/bin/wine64", "/usr/bin/wine") if os.path.exists(p))
    # The sample's bitmaps too, from a copy: the exports go beside their database, never into the sources.
    hello = os.path.join(folder, "Hello.prc")
    shutil.copyfile(os.path.join(os.path.dirname(HERE), "..", "samples", "Hello.prc"), hello)
    for path in (os.path.join(folder, "notepad.pdb"), os.path.join(folder, "sunset.pdb"), hello):
        native, windows = path + ".native", path + ".windows"
        run("--export", "images", "-o", native, path)
        done = subprocess.run([loader, EXE, "--export", "images", "-o", "Z:" + windows.replace("/", "\\"),
                               "Z:" + path.replace("/", "\\")], env=env, capture_output=True)
        expect(f"{path}: corvelle-dump.exe status", done.returncode, 0)
        names = sorted(os.listdir(native))
        expect(f"{path}: the same files", sorted(os.listdir(windows)) if os.path.isdir(windows) else [], names)
        for name in names:
            a, b = os.path.join(native, name), os.path.join(windows, name)
            if not os.path.exists(b):
                continue
            if name.endswith(".png"):
                native_rows = png_rows(a)
                expect(f"{name}: pngtopnm reads it", native_rows is not None, True)
                expect(f"{name}: the same pixels", png_rows(b), native_rows)
            else:
                expect(f"{name}: the same bytes", open(b, "rb").read(), open(a, "rb").read())


CHECKS = {"expense": check_expense, "jfile": check_jfile, "mail": check_mail, "notepad": check_notepad,
          "photos": check_photos, "images-windows": check_images_windows}

if __name__ == "__main__":
    windows = len(sys.argv) > 1 and sys.argv[1] == "images-windows"
    if len(sys.argv) != (4 if windows else 3) or sys.argv[1] not in CHECKS:
        sys.exit("usage: check-records.py " + "|".join(CHECKS) + " CORVELLE-DUMP [CORVELLE-DUMP.EXE]")
    DUMP = sys.argv[2]
    EXE = sys.argv[3] if len(sys.argv) == 4 else None
    with tempfile.TemporaryDirectory() as folder:
        CHECKS[sys.argv[1]](folder)
    for failure in FAILURES:
        print(failure)
    print(f"{sys.argv[1]}: {'FAILED' if FAILURES else 'ok'} ({len(FAILURES)} failures)")
    sys.exit(1 if FAILURES else 0)
