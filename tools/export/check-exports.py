#!/usr/bin/python3
# Checks corvelle-dump --export against parsers and modules that no one here
# wrote: Debian's python3-vobject and python3-icalendar read the exports,
# Debian's Palm modules write the databases and read them back, dateutil
# expands the repeats, txt2pdbdoc writes documents, dd cuts the raw bytes.
#   check-exports.py CHECK CORVELLE-DUMP     CHECK: vcard readings ics text json encodings raw errors
#   check-exports.py windows CORVELLE-DUMP CROSS-BUILT-CORVELLE-DUMP.EXE
import datetime as dt, json, os, struct, subprocess, sys, tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
FAILURES = []


def expect(what, got, want):
    if got != want:
        FAILURES.append(f"{what}:\n  got  {got!r}\n  want {want!r}")


def run(*args, ok=True):
    result = subprocess.run([DUMP, *args], capture_output=True)
    if ok and result.returncode != 0:
        sys.exit(f"corvelle-dump {' '.join(args)}: status {result.returncode}: {result.stderr.decode()}")
    return result


def palm(text, encoding="cp1252"):
    """A string of the Perl JSON (one code point per byte of the file) as the text it means."""
    return (text or "").encode("latin-1").decode(encoding, "replace")


def perl_reading(name):
    return json.load(open(os.path.join(WORK, name + ".json")))


def live(records):
    return [r for r in records if not (r["attributes"].get("deleted") or r["attributes"].get("expunged"))]


# ---------------------------------------------------------------- vCard
TEL_TYPES = {0: {"WORK", "VOICE"}, 1: {"HOME", "VOICE"}, 2: {"FAX"}, 3: {"VOICE"}, 5: {"VOICE"}, 6: {"PAGER"},
             7: {"CELL"}}


def check_vcard():
    import vobject
    perl = perl_reading("address.pdb")
    text = run("--export", "vcard", os.path.join(WORK, "address.pdb")).stdout
    lines = text.split(b"\r\n")
    expect("every line ends in CR LF", text.endswith(b"\r\n") and b"\n" not in text.replace(b"\r\n", b""), True)
    expect("longest line in octets", max(len(line) for line in lines) <= 75, True)
    for line in lines:
        line.decode("utf-8")  # each folded piece is valid UTF-8 by itself
    cards = list(vobject.readComponents(text.decode("utf-8")))
    records = live(perl["records"])
    expect("number of cards", len(cards), len(records))
    labels = perl["appinfo"]["fieldLabels"]
    categories = perl["appinfo"]["categories"]
    for card, record in zip(cards, records):
        f = {k: palm(v) for k, v in record["fields"].items() if v}
        name = f"card of {f.get('name')!r} {f.get('firstName')!r}"
        expect(name + " N", (card.n.value.family, card.n.value.given), (f.get("name", ""), f.get("firstName", "")))
        full = " ".join(x for x in (f.get("firstName"), f.get("name")) if x) or f.get("company", "")
        expect(name + " FN", card.fn.value, full)
        expect(name + " ORG", card.org.value if "org" in card.contents else None,
               [f["company"]] if "company" in f else None)
        expect(name + " TITLE", card.title.value if "title" in card.contents else None, f.get("title"))
        tels, emails = [], []
        for p in range(1, 6):
            if f"phone{p}" not in f:
                continue
            label = record["phoneLabel"][f"phone{p}"]
            pref = {"PREF"} if record["phoneLabel"]["display"] == p - 1 else set()
            if label == 4:
                emails.append((f[f"phone{p}"], {"INTERNET"} | pref))
            else:
                tels.append((f[f"phone{p}"], TEL_TYPES.get(label, {"VOICE"}) | pref))
        got = lambda key: [(c.value, set(c.params.get("TYPE", []))) for c in card.contents.get(key, [])]
        expect(name + " TEL", got("tel"), tels)
        expect(name + " EMAIL", got("email"), emails)
        parts = ("address", "city", "state", "zipCode", "country")
        want_adr = tuple(f.get(k, "") for k in parts) if any(k in f for k in parts) else None
        adr = card.adr.value if "adr" in card.contents else None
        expect(name + " ADR", adr and (adr.street, adr.city, adr.region, adr.code, adr.country), want_adr)
        note = [f["note"]] if "note" in f else []
        note += [f"{palm(labels[c])}: {f[c]}" for c in ("custom1", "custom2", "custom3", "custom4") if c in f]
        expect(name + " NOTE", card.note.value if "note" in card.contents else None, "\n".join(note) or None)
        category = palm(categories[record["category"]]["name"])
        expect(name + " CATEGORIES", card.categories.value if "categories" in card.contents else None,
               [category] if category else None)


def check_readings():
    """A Japanese Palm's names, each with its reading after 01h (Palm::Address writes and reads the fields as
    bytes): vobject parses the cards clean, the names and readings apart; the cells and fields with
    --encoding show "name (reading)", the JSON a reading beside each name; a name without one is unchanged."""
    import vobject
    path = os.path.join(WORK, "address-ja.pdb")
    records = live(perl_reading("address-ja.pdb")["records"])
    text = run("--export", "vcard", "--encoding", "shift_jis", path).stdout.decode("utf-8")
    cards = list(vobject.readComponents(text))
    json_fields = [e["fields"] for e in json.loads(run("--export", "json", "--encoding", "shift_jis", path).stdout)
                   ["entries"]]
    rows = run("--records", "--encoding", "shift_jis", path).stdout.decode("utf-8").split("\n")[1:]
    expect("cards", len(cards), len(records))
    expect("no U+FFFD", "\ufffd" in text, False)
    for index, (card, record) in enumerate(zip(cards, records)):
        f = {k: palm(v, "cp932") for k, v in record["fields"].items() if v}
        parts = {k: f.get(k, "").partition("\x01") for k in ("name", "firstName", "company")}
        name, reading = ({k: v[0] for k, v in parts.items()}, {k: v[2] for k, v in parts.items()})
        what = f"card {index}"
        expect(what + " N", (card.n.value.family, card.n.value.given), (name["name"], name["firstName"]))
        expect(what + " ORG", card.org.value if "org" in card.contents else None,
               [name["company"]] if name["company"] else None)
        for key, prop in (("name", "x-phonetic-last-name"), ("firstName", "x-phonetic-first-name"),
                          ("company", "x-phonetic-org")):
            expect(f"{what} {prop}", card.contents[prop][0].value if prop in card.contents else None,
                   reading[key] or None)
            member = "lastName" if key == "name" else key
            expect(f"{what} JSON {member}", (json_fields[index].get(member), json_fields[index].get(member + "Reading")),
                   (name[key] or None, reading[key] or None))
        shown = {k: name[k] + (f" ({reading[k]})" if reading[k] else "") for k in name}
        cell = ", ".join(x for x in (shown["name"], shown["firstName"]) if x) or shown["company"]
        expect(what + " cell", rows[index].split("\t")[-1], cell)
        fields = run("--record", str(index), "--encoding", "shift_jis", path).stdout.decode("utf-8")
        expect(what + " field", f"\t{shown['name']}\n" in fields, True)


# ---------------------------------------------------------------- iCalendar
FREQ = {1: "DAILY", 2: "WEEKLY", 3: "MONTHLY", 4: "MONTHLY", 5: "YEARLY"}
DAYS = ["SU", "MO", "TU", "WE", "TH", "FR", "SA"]
UNIT = {0: "minutes", 1: "hours", 2: "days"}


def palm_date(y, m, d):
    return dt.date(y, m, d)


def nth_weekday(year, month, week, day):
    """The Date Book's monthly-by-day date: week 0-3, or 4 for the last; day 0 = Sunday."""
    first = dt.date(year, month, 1)
    dates = [first + dt.timedelta(i) for i in range(31) if (first + dt.timedelta(i)).month == month]
    matching = [d for d in dates if (d.weekday() + 1) % 7 == day]
    return matching[-1] if week == 4 else matching[week] if week < len(matching) else None


def palm_occurrences(event, last):
    """The dates a repeating appointment falls on up to `last`, by the Date Book's rules, from Perl's fields."""
    start = palm_date(event["year"], event["month"], event["day"])
    repeat = event.get("repeat") or {}
    if "end_year" in repeat:
        last = min(last, palm_date(repeat["end_year"], repeat["end_month"], repeat["end_day"]))
    every = repeat["frequency"] or 1
    kind, dates = repeat["type"], []
    if kind == 1:
        dates = [start + dt.timedelta(i) for i in range(0, (last - start).days + 1, every)]
    elif kind == 2:
        def week_of(d):
            return d - dt.timedelta(((d.weekday() + 1) - repeat["start_of_week"]) % 7)
        for i in range((last - start).days + 1):
            d = start + dt.timedelta(i)
            weeks = (week_of(d) - week_of(start)).days // 7
            if repeat["repeat_days"][(d.weekday() + 1) % 7] and weeks % every == 0:
                dates.append(d)
    else:
        for step in range(0, 12 * (last.year - start.year + 1), every if kind != 5 else 12 * every):
            year, month = start.year + (start.month - 1 + step) // 12, (start.month - 1 + step) % 12 + 1
            try:
                d = nth_weekday(year, month, repeat["weeknum"], repeat["daynum"]) if kind == 3 else \
                    dt.date(year, month, start.day)
            except ValueError:
                continue  # no such day in that month or year
            if d and start <= d <= last:
                dates.append(d)
    exceptions = {palm_date(y, m, d) for d, m, y in event.get("exceptions", [])}
    return [d for d in dates if d not in exceptions]


def as_date(value):
    return value.date() if isinstance(value, dt.datetime) else value


def check_event(component, event, uid):
    from dateutil.rrule import rrulestr
    name = f"event {palm(event['description'])!r}"
    day = palm_date(event["year"], event["month"], event["day"])
    timed = event["start_hour"] != 255
    start = dt.datetime(day.year, day.month, day.day, event["start_hour"], event["start_minute"]) if timed else day
    expect(name + " UID", str(component["UID"]), uid)
    expect(name + " DTSTART", component["DTSTART"].dt, start)
    if timed:
        end = dt.datetime(day.year, day.month, day.day, event["end_hour"], event["end_minute"])
        expect(name + " DTEND", component["DTEND"].dt if "DTEND" in component else None, end if end > start else None)
    else:
        expect(name + " DTEND", component["DTEND"].dt, day + dt.timedelta(1))
    expect(name + " SUMMARY", str(component.get("SUMMARY", "")), palm(event["description"]))
    expect(name + " DESCRIPTION", str(component.get("DESCRIPTION", "")), palm(event.get("note")))
    alarms = [a for a in component.subcomponents if a.name == "VALARM"]
    want = []
    if event.get("alarm"):
        want = [-dt.timedelta(**{UNIT[event.get("alarm")["unit"]]: event.get("alarm")["advance"]})]
    expect(name + " alarms", [a["TRIGGER"].dt for a in alarms], want)
    exdates = component.get("EXDATE", [])
    exdates = [as_date(d.dt) for group in (exdates if isinstance(exdates, list) else [exdates]) for d in group.dts]
    expect(name + " EXDATE", exdates, [palm_date(y, m, d) for d, m, y in event.get("exceptions", [])])
    repeat = event.get("repeat") or {}
    rule = component.get("RRULE")
    expect(name + " has RRULE", rule is not None, bool(repeat))
    if not repeat or rule is None:
        return
    expect(name + " FREQ", rule["FREQ"], [FREQ[repeat["type"]]])
    expect(name + " INTERVAL", rule.get("INTERVAL", [1]), [repeat["frequency"]])
    if "end_year" in repeat:
        until = palm_date(repeat["end_year"], repeat["end_month"], repeat["end_day"])
        expect(name + " UNTIL", rule["UNTIL"], [dt.datetime.combine(until, dt.time(23, 59, 59)) if timed else until])
    else:
        expect(name + " UNTIL", rule.get("UNTIL"), None)
    if repeat["type"] == 2:
        expect(name + " BYDAY", rule["BYDAY"], [DAYS[i] for i in range(7) if repeat["repeat_days"][i]])
        expect(name + " WKST", rule["WKST"], [DAYS[repeat["start_of_week"]]])
    elif repeat["type"] == 3:
        week = -1 if repeat["weeknum"] == 4 else repeat["weeknum"] + 1
        expect(name + " BYDAY", rule["BYDAY"], [f"{week}{DAYS[repeat['daynum']]}"])
    # The expansion over five years from the start, as a calendar would show it.
    first = start if timed else dt.datetime.combine(start, dt.time())
    last = first + dt.timedelta(days=5 * 366)
    expanded = rrulestr(rule.to_ical().decode(), dtstart=first).between(first, last, inc=True)
    expect(name + " dates", [d.date() for d in expanded if d.date() not in exdates],
           palm_occurrences(event, last.date()))


def check_todo(component, todo, uid, categories):
    name = f"to-do {palm(todo['description'])!r}"
    expect(name + " UID", str(component["UID"]), uid)
    due = palm_date(todo["due_year"], todo["due_month"], todo["due_day"]) if "due_year" in todo else None
    expect(name + " DUE", component["DUE"].dt if "DUE" in component else None, due)
    expect(name + " PRIORITY", int(component["PRIORITY"]), todo["priority"])
    expect(name + " STATUS", str(component["STATUS"]), "COMPLETED" if todo.get("completed") else "NEEDS-ACTION")
    expect(name + " SUMMARY", str(component["SUMMARY"]), palm(todo["description"]))
    expect(name + " DESCRIPTION", str(component.get("DESCRIPTION", "")), palm(todo.get("note")))
    category = palm(categories[todo["category"]]["name"])
    # Debian 12's icalendar splits the list at escaped commas too ("Home\\, garden"); joined again,
    # the category must be whole.
    got = component.get("CATEGORIES")
    expect(name + " CATEGORIES", got and ",".join(str(c) for c in got.cats), category or None)


def check_ics():
    import icalendar
    for file, kind in (("datebook.pdb", "VEVENT"), ("todo.pdb", "VTODO")):
        perl = perl_reading(file)
        text = run("--export", "ics", os.path.join(WORK, file)).stdout
        expect(file + " longest line", max(len(line) for line in text.split(b"\r\n")) <= 75, True)
        calendar = icalendar.Calendar.from_ical(text)
        expect(file + " VERSION", str(calendar["VERSION"]), "2.0")
        components = list(calendar.walk(kind))
        records = live(perl["records"])
        expect(file + " components", len(components), len(records))
        expect(file + " DTSTAMP everywhere", all("DTSTAMP" in c for c in components), True)
        for component, record in zip(components, records):
            uid = f"{perl['header']['creator']}-{record['id']:06X}@corvelle"
            if kind == "VEVENT":
                check_event(component, record, uid)
            else:
                check_todo(component, record, uid, perl["appinfo"]["categories"])
        expect(file + " same UIDs again", run("--export", "ics", os.path.join(WORK, file)).stdout, text)


# ---------------------------------------------------------------- text, encodings
def split_memos(text):
    import re
    parts = re.split(r"\n=+ Memo \d+ of \d+ =+\n", text)
    parts[-1] = parts[-1][:-1] if parts[-1].endswith("\n") else parts[-1] + "<no final line break>"
    return parts


def check_text():
    perl = perl_reading("memo.pdb")
    text = run("--export", "text", os.path.join(WORK, "memo.pdb")).stdout.decode("utf-8")
    expect("memos", split_memos(text), [palm(r["data"].rstrip("\0")) for r in live(perl["records"])])
    source = os.path.join(WORK, "document.txt")
    with open(source, "w") as out:
        for i in range(600):
            out.write(f"Paragraph {i}: the quick brown fox jumps over the lazy dog, again and again.\n")
    for flags in ([], ["-c"]):
        document = os.path.join(WORK, f"document{len(flags)}.pdb")
        subprocess.run(["txt2pdbdoc", *flags, "Document", source, document], check=True, capture_output=True)
        got = run("--export", "text", document).stdout
        expect(f"txt2pdbdoc {flags or 'compressed'} document", got, open(source, "rb").read())


def check_encodings():
    for file, encoding, codec in (("cp1251.pdb", "cp1251", "cp1251"), ("shiftjis.pdb", "shift_jis", "cp932")):
        perl = perl_reading(file)
        got = run("--export", "text", "--encoding", encoding, os.path.join(WORK, file)).stdout.decode("utf-8")
        want = palm(perl["records"][0]["data"].rstrip("\0"), codec)
        expect(f"{file} as {encoding}", got, want + "\n")
        expect(f"{file} has no U+FFFD", "\ufffd" in got, False)
    got = run("--export", "text", os.path.join(WORK, "memo.pdb")).stdout.decode("utf-8")
    expect("unmapped 81h of cp1252", "Café crème €5 \ufffd" in got, True)


# ---------------------------------------------------------------- json
def list_entries(path):
    """Offsets and sizes from the database's record list, read here with struct for the dd cuts."""
    data = open(path, "rb").read()
    resources = struct.unpack(">H", data[32:34])[0] & 1
    count = struct.unpack(">H", data[76:78])[0]
    width = 10 if resources else 8
    entries = []
    for i in range(count):
        at = 78 + i * width
        if at + width > len(data):
            break
        offset = struct.unpack(">I", data[at + 6:at + 10] if resources else data[at:at + 4])[0]
        entries.append({"offset": offset, "type": data[at:at + 4], "id": struct.unpack(">H", data[at + 4:at + 6])[0]}
                       if resources else {"offset": offset})
    for i, entry in enumerate(entries):
        end = entries[i + 1]["offset"] if i + 1 < len(entries) else len(data)
        entry["size"] = end - entry["offset"] if entry["offset"] <= end <= len(data) else None
    return entries, bool(resources)


def check_json():
    flags = ("deleted", "expunged", "dirty", "private")
    for file in ("address.pdb", "datebook.pdb", "todo.pdb", "memo.pdb", "resources.prc"):
        path = os.path.join(WORK, file)
        text = run("--export", "json", "--data", path).stdout
        tool = subprocess.run(["/usr/bin/python3", "-m", "json.tool"], input=text, capture_output=True)
        expect(file + " json.tool status", tool.returncode, 0)
        got, perl = json.loads(text), perl_reading(file)
        header = perl["header"]
        h = got["header"]
        for key, theirs in (("name", "name"), ("version", "version"), ("modificationNumber", "modnum"),
                            ("type", "type"), ("creator", "creator"), ("uniqueIdSeed", "uniqueIDseed")):
            expect(f"{file} header {key}", h[key], header[theirs])
        for key, theirs in (("created", "ctime"), ("modified", "mtime"), ("backedUp", "baktime")):
            expect(f"{file} header {key}", h[key] - 2082844800, header[theirs])
        expect(file + " backup flag", bool(h["attributes"] & 8), bool(header["attributes"].get("backup")))
        entries, _ = list_entries(path)
        expect(file + " entries", len(got["entries"]), len(perl["records"]))
        for entry, record, listed in zip(got["entries"], perl["records"], entries):
            name = f"{file} entry {entry['index']}"
            expect(name + " offset and size", (entry["offset"], entry["size"]), (listed["offset"], listed["size"]))
            expect(name + " data", entry["data"], record["raw"])
            if file.endswith(".prc"):
                expect(name + " type and ID", (entry["type"].encode("cp1252", "replace"), entry["id"]),
                       (palm(record["type"]).encode("cp1252", "replace"), record["id"]))
                expect(name + " fields", entry["fields"], {"string": palm(bytes.fromhex(record["raw"]).split(b"\0")[0]
                                                                          .decode("latin-1"))}
                       if record["type"] in ("tSTR", "tAIN") else None)
                continue
            expect(name + " unique ID", entry["uniqueId"], record["id"])
            expect(name + " flags", {k: entry["flags"][k] for k in flags},
                   {k: bool(record["attributes"].get(k)) for k in flags})
            if not entry["flags"]["deleted"]:
                expect(name + " category", entry["category"], record["category"])
            fields = entry["fields"]
            if file == "memo.pdb":
                expect(name + " text", fields["text"], palm(record["data"].split("\0")[0]))
            elif file == "todo.pdb":
                expect(name + " to-do", (fields["priority"], fields["completed"], fields["description"]),
                       (record["priority"], bool(record.get("completed")), palm(record["description"])))
            elif file == "address.pdb":
                keys = {"name": "lastName"}
                expect(name + " contact", {k: v for k, v in fields.items() if k.startswith(("last", "first", "phone1"))
                                           and k not in ("phoneLabels", "phoneLabelNames")},
                       {keys.get(k, k): palm(v) for k, v in record["fields"].items()
                        if v and k in ("name", "firstName", "phone1")})
            elif file == "datebook.pdb":
                expect(name + " date", fields["date"], f"{record['year']:04}-{record['month']:02}-{record['day']:02}")
        if "categories" in (perl["appinfo"] or {}):
            expect(file + " categories", got["appInfo"]["categories"],
                   [palm(c["name"]) for c in perl["appinfo"]["categories"]])


# ---------------------------------------------------------------- raw
def check_raw():
    prc = os.path.join(WORK, "resources.prc")
    subprocess.run(["perl", os.path.join(HERE, "..", "perl", "write-databases.pl"), WORK], check=True)
    outside = os.path.join(WORK, "outside.pdb")
    data = bytearray(open(os.path.join(WORK, "memo.pdb"), "rb").read())
    data[78 + 2 * 8:78 + 2 * 8 + 4] = struct.pack(">I", len(data) + 100)  # record 2 starts past the end
    open(outside, "wb").write(data)
    twins = os.path.join(WORK, "twins.prc")  # resource 1 made a second code 0, resource 2 a "CODE" 0
    data = bytearray(open(prc, "rb").read())
    data[78 + 10 + 4:78 + 10 + 6] = b"\0\0"
    data[78 + 20:78 + 26] = b"CODE\0\0"
    open(twins, "wb").write(data)
    for path in (os.path.join(WORK, "address.pdb"), prc, outside, twins):
        out = os.path.join(WORK, "raw-" + os.path.basename(path))
        result = run("--export", "raw", "-o", out, path)
        entries, resources = list_entries(path)
        want, taken = {}, set()
        for i, entry in enumerate(entries):
            if resources:
                name = "".join(chr(b) if chr(b).isalnum() and b < 128 else "_" for b in entry["type"])
                name = f"{name}-{entry['id']}"
                name = f"{name}-{i}.bin" if name.lower() in taken else taken.add(name.lower()) or name + ".bin"
            else:
                name = f"{i:05}.rec"
            if entry["size"] is not None:
                want[name] = (entry["offset"], entry["size"])
        expect(path + " files", sorted(f for f in os.listdir(out) if f.endswith((".rec", ".bin")) and
                                       not f.startswith(("appinfo", "sortinfo"))), sorted(want))
        for name, (offset, size) in want.items():
            cut = subprocess.run(["dd", f"if={path}", "bs=1", f"skip={offset}", f"count={size}", "status=none"],
                                 capture_output=True, check=True).stdout
            expect(f"{path} {name}", open(os.path.join(out, name), "rb").read(), cut)
        missing = [i for i, entry in enumerate(entries) if entry["size"] is None]
        expect(path + " entries outside the file", len(missing), 2 if path == outside else 0)
        expect(path + " a line for each", [f"record {i} lies outside the file" in line for i, line in
                                          zip(missing, result.stderr.decode().splitlines())], [True] * len(missing))
        if path == outside:  # the text export leaves them out and says so
            result = run("--export", "text", path)
            expect("text of " + path, len(split_memos(result.stdout.decode())), len(live(perl_reading("memo.pdb")
                                                                                             ["records"])) - 2)
            expect("text of outside.pdb, lines", [f"record {i}: lies outside the file" in line for i, line in
                                                 zip(missing, result.stderr.decode().splitlines())], [True, True])


# ---------------------------------------------------------------- errors
def check_errors():
    memo = os.path.join(WORK, "memo.pdb")
    before = open(memo, "rb").read()
    out = os.path.join(WORK, "out.txt")
    # A BOOK/MOBI file cut inside its 78-byte header, as other tools' test suites hold one.
    cut = os.path.join(WORK, "cut.prc")
    open(cut, "wb").write(b"Cut short".ljust(60, b"\0") + b"BOOKMOBI" + b"\0")
    cases = [("header cut short", ["--export", "text", "-o", out, cut], out,
              "the file ends at byte 69, inside its header"),
             ("wrong format", ["--export", "vcard", "-o", out, memo], out, "it fits text, json, raw"),
             ("unknown format", ["--export", "pdf", "-o", out, memo], out, "it fits text, json, raw"),
             ("bad encoding", ["--export", "text", "--encoding", "ebcdic", "-o", out, memo], out, "unknown encoding"),
             ("OUT in no folder", ["--export", "text", "-o", os.path.join(WORK, "none", "x.txt"), memo],
              os.path.join(WORK, "none"), "cannot write"),
             ("OUT is a folder", ["--export", "text", "-o", WORK, memo], None, "cannot write"),
             ("OUT is the database", ["--export", "json", "-o", memo, memo], None, "database"),
             ("raw DIR in no folder", ["--export", "raw", "-o", os.path.join(WORK, "none", "d"), memo],
              os.path.join(WORK, "none"), "cannot make the folder")]
    for what, args, left, words in cases:
        result = run(*args, ok=False)
        lines = result.stderr.decode().splitlines()
        expect(what + ": status and one line", (result.returncode, len(lines)), (1, 1))
        expect(what + ": says why", bool(lines) and words in lines[0], True)
        expect(what + ": leaves no file", left is not None and os.path.exists(left), False)
    # A write that fails half way (the file-size limit, with its signal ignored) leaves nothing behind.
    for fmt, target in (("json", out), ("raw", os.path.join(WORK, "rawdir"))):
        result = subprocess.run(["bash", "-c", f'trap "" XFSZ; ulimit -f 2; exec "$@"', "-", DUMP, "--export", fmt,
                                 *(["--data"] if fmt == "json" else []), "-o", target, memo], capture_output=True)
        expect(f"{fmt} cut short: status", result.returncode, 1)
        expect(f"{fmt} cut short: no file", os.path.exists(target), False)
        expect(f"{fmt} cut short: no temporary", [f for f in os.listdir(WORK) if ".part" in f], [])
    expect("the database is unchanged", open(memo, "rb").read(), before)


# ---------------------------------------------------------------- the Windows half
def check_windows():
    """corvelle-dump.exe under Wine (MultiByteToWideChar, the Windows file calls) writes what the native one does."""
    exe = sys.argv[3]
    env = dict(os.environ, WINEPREFIX=os.path.join(os.path.dirname(os.path.abspath(exe)), "wineprefix-export"),
               WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    loader = next(p for p in ("/usr/lib/wine/wine64", "/usr/bin/wine64", "/usr/bin/wine") if os.path.exists(p))
    cases = [("cp1251.pdb", "text", "cp1251"), ("shiftjis.pdb", "text", "shift_jis"), ("memo.pdb", "text", "cp1252"),
             ("memo.pdb", "text", "big5"), ("memo.pdb", "text", "cp1253"), ("address.pdb", "vcard", "cp1250"),
             ("datebook.pdb", "ics", "cp1252"), ("todo.pdb", "json", "cp1252")]
    for file, fmt, encoding in cases:
        path = os.path.join(WORK, file)
        want = run("--export", fmt, "--encoding", encoding, path).stdout
        got = subprocess.run([loader, exe, "--export", fmt, "--encoding", encoding, "-o", "Z:" + path + ".out",
                              "Z:" + path], env=env, capture_output=True, timeout=240)
        expect(f"{file} as {fmt} in {encoding} under Wine: status", got.returncode, 0)
        expect(f"{file} as {fmt} in {encoding} under Wine", open(path + ".out", "rb").read(), want)


if __name__ == "__main__":
    check, DUMP = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as WORK:
        subprocess.run(["perl", os.path.join(HERE, "write-export-databases.pl"), WORK], check=True)
        globals()["check_" + check]()
    for failure in FAILURES:
        print("FAIL", failure)
    print(f"{check}: {len(FAILURES)} failures")
    sys.exit(1 if FAILURES else 0)
