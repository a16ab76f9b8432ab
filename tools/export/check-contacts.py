#!/usr/bin/python3
# Checks what corvelle-dump makes of Contacts databases (DATA/PAdd) against what
# write-contacts-database.py put into them: the contents of `--records`, the
# field lines of `--record N`, the JSON (read with the json module) and the
# vCard (read with Debian's python3-vobject).
# The expected values come from the writer's description of each record, not
# from the bytes, so no second decoder stands between the two.
#   check-contacts.py CORVELLE-DUMP
import importlib, json, os, subprocess, sys, tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)  # the writer beside this check, imported by its file name
W = importlib.import_module("write-contacts-database")
FAILURES = []
PART_WORDS = {W.FIRST: "the first name"}  # the parts where the fixtures' records are cut
ADDRESS_LABELS = ["Address", "City", "State", "Zip Code", "Country"]
ADDRESS_KEYS = ["street", "city", "state", "zipCode", "country"]
IM_PROPERTIES = {1: "x-aim", 2: "x-msn", 3: "x-yahoo", 4: "x-icq"}
TEL_TYPES = {0: {"WORK", "VOICE"}, 1: {"HOME", "VOICE"}, 2: {"FAX"}, 6: {"PAGER"}, 7: {"CELL"}}


def expect(what, got, want):
    if got != want:
        FAILURES.append(f"{what}:\n  got  {got!r}\n  want {want!r}")


def run(*args):
    result = subprocess.run([DUMP, *args], capture_output=True)
    if result.returncode != 0:
        sys.exit(f"corvelle-dump {' '.join(args)}: status {result.returncode}: {result.stderr.decode()}")
    return result


def word(words, code, beyond):
    return words[code] if code < len(words) else beyond


def reading(record, labels):
    """What a reader of the layout finds in the record: the texts, days and blobs up to where it stops."""
    data, blob_at = W.record_bytes(record)
    fields, cut = dict(record["fields"]), record["cut"]
    read = dict(fields=fields, birthday=None, anniversary=None, picture=None, blobs=[], end=None)
    if cut and cut[0] == "inside":
        kept = {f: v for f, v in fields.items() if f < cut[1]}
        kept[cut[1]] = fields[cut[1]][:cut[2]]
        read.update(fields=kept, end=("The record ends at byte", len(data), "inside " + PART_WORDS[cut[1]]))
        return read
    if any(record[k] is not None for k in ("birthday", "birthday_flags", "reminder_days")):
        read["birthday"] = (record["birthday"], record["birthday_flags"], record["reminder_days"])
    blobs = record["blobs"][:-1] if cut and cut[0] == "blob" else record["blobs"]
    for (blob_id, payload), at in zip(blobs, blob_at):
        if blob_id == b"Bd00" and read["picture"] is None:
            if payload[2:4] != b"\xff\xd8":
                read["end"] = ("Decoding stops at byte", at, "at the picture, which is not a JPEG image")
                return read
            read["picture"] = payload[2:]
        elif blob_id == b"Bd01" and read["anniversary"] is None:
            date = int.from_bytes(payload[0:2], "big") if len(payload) >= 2 else None
            flags = int.from_bytes(payload[2:4], "big") if len(payload) >= 4 else None
            read["anniversary"] = (date, flags, payload[4] if len(payload) >= 5 else None)
            if len(payload) < 5:
                read["end"] = ("Decoding stops at byte", at, "at the anniversary, which is shorter than its 5 bytes")
                return read
        else:
            read["blobs"].append(("".join(chr(b) if 0x20 <= b <= 0x7E else "." for b in blob_id), len(payload)))
    if cut and cut[0] == "blob":
        read["end"] = ("The record ends at byte", len(data), "inside a blob")
    return read


def date_text(packed):
    return "none" if packed is None else f"{1904 + (packed >> 9):04}-{(packed >> 5) & 15:02}-{packed & 31:02}"


def day_text(day):
    date, flags, days = day
    text = date_text(date)
    if flags is not None and flags & 1:
        text += ", reminder" + ("" if days is None else f" {days} day{'' if days == 1 else 's'} before")
    return text


def custom_labels(labels):
    return [labels[14 + i] if 14 + i < len(labels) and labels[14 + i] else f"Custom {i + 1}" for i in range(9)]


# ---------------------------------------------------------------- --record N
def expected_lines(record, labels):
    read = reading(record, labels)
    fields, lines = read["fields"], []
    add = lambda label, value: lines.append(f"{label}:\t" + value.replace("\n", "\n\t"))
    for label, field in (("Last name", W.LAST), ("First name", W.FIRST), ("Company", W.COMPANY), ("Title", W.TITLE)):
        if field in fields:
            add(label, fields[field])
    for phone in range(7):
        if W.PHONE1 + phone in fields:
            shown = " (shown in list)" if record["shown"] == phone else ""
            add(word(W.PHONE_WORDS, record["phone_labels"][phone], "Phone"), fields[W.PHONE1 + phone] + shown)
    for im in range(2):
        if W.IM1 + im in fields:
            add(word(W.IM_WORDS, record["im_labels"][im], "IM"), fields[W.IM1 + im])
    if W.WEBSITE in fields:
        add("Website", fields[W.WEBSITE])
    for i, label in enumerate(custom_labels(labels)):
        if W.CUSTOM1 + i in fields:
            add(label, fields[W.CUSTOM1 + i])
    for a in range(3):
        kind = word(W.ADDRESS_WORDS, record["address_labels"][a], "Address")
        for p, label in enumerate(ADDRESS_LABELS):
            if W.ADDRESS1 + 5 * a + p in fields:
                add(f"{label} ({kind})", fields[W.ADDRESS1 + 5 * a + p])
    if W.NOTE in fields:
        add("Note", fields[W.NOTE])
    for label in ("birthday", "anniversary"):
        if read[label]:
            add(label.capitalize(), day_text(read[label]))
    if read["picture"] is not None:
        add("Picture", f"JPEG, {len(read['picture'])} bytes")
    for blob_id, size in read["blobs"]:
        add("Blob " + blob_id, f"{size} bytes")
    if read["end"]:
        words, at, where = read["end"]
        lines.append(f"{words} {at}, {where}.")
    return lines


def expected_cell(record, labels):
    fields = reading(record, labels)["fields"]
    last, first = fields.get(W.LAST, ""), fields.get(W.FIRST, "")
    return f"{last}, {first}" if last and first else last or first or fields.get(W.COMPANY, "")


def check_fields(path, database):
    rows = run("--records", path).stdout.decode("latin-1").split("\n")[1:-2]
    expect(os.path.basename(path) + " --records contents", [row.split("\t")[-1] for row in rows],
           [expected_cell(r, database["labels"]).encode(W.ENCODING).decode("latin-1") for r in database["records"]])
    for n, record in enumerate(database["records"]):
        text = run("--record", str(n), path).stdout.decode("latin-1")
        got = text.split("\n\n")[1].split("\n") if text.count("\n\n") >= 2 else []
        want = "\n".join(expected_lines(record, database["labels"])).encode(W.ENCODING).decode("latin-1").split("\n")
        expect(f"{os.path.basename(path)} --record {n}", got, want)


# ---------------------------------------------------------------- json
def json_day(day):
    if day is None:
        return None
    date, flags, days = day
    return {"date": None if date is None else date_text(date), "reminder": bool(flags and flags & 1),
            "daysBefore": days}


def expected_json(record, labels):
    read = reading(record, labels)
    fields = read["fields"]
    got = lambda field: fields.get(field)
    out = {"lastName": got(W.LAST), "firstName": got(W.FIRST), "company": got(W.COMPANY), "title": got(W.TITLE)}
    out["phones"] = [{"label": word(W.PHONE_WORDS, record["phone_labels"][p], "Phone"),
                      "labelCode": record["phone_labels"][p], "value": fields[W.PHONE1 + p],
                      "shown": record["shown"] == p}
                     for p in range(7) if W.PHONE1 + p in fields]
    out["ims"] = [{"label": word(W.IM_WORDS, record["im_labels"][i], "IM"), "labelCode": record["im_labels"][i],
                   "value": fields[W.IM1 + i]} for i in range(2) if W.IM1 + i in fields]
    out["website"] = got(W.WEBSITE)
    out["custom"] = [{"label": label, "value": fields[W.CUSTOM1 + i]} for i, label in enumerate(custom_labels(labels))
                     if W.CUSTOM1 + i in fields]
    out["addresses"] = []
    for a in range(3):
        parts = [fields.get(W.ADDRESS1 + 5 * a + p) for p in range(5)]
        if any(p is not None for p in parts):
            code = record["address_labels"][a]
            out["addresses"].append({"label": word(W.ADDRESS_WORDS, code, "Address"), "labelCode": code,
                                     **dict(zip(ADDRESS_KEYS, parts))})
    out["note"] = got(W.NOTE)
    out["birthday"], out["anniversary"] = json_day(read["birthday"]), json_day(read["anniversary"])
    out["picture"] = None if read["picture"] is None else {"size": len(read["picture"])}
    out["blobs"] = [{"id": blob_id, "size": size} for blob_id, size in read["blobs"]]
    if read["end"]:
        out["cut"] = {"at": read["end"][1], "inside": read["end"][2].split(" ", 1)[1]}
    return out


def check_json(path, database):
    got = json.loads(run("--export", "json", path).stdout)
    name = os.path.basename(path)
    expect(name + " contents", got["header"]["contents"], "contacts")
    info = got["appInfo"]
    expect(name + " labels", info["contactLabels"], database["labels"])
    expect(name + " country and sort", (info["country"], info["sortByCompany"]),
           (database["country"], bool(database["options"] & 1)))
    expect(name + " entries", len(got["entries"]), len(database["records"]))
    for n, (entry, record) in enumerate(zip(got["entries"], database["records"])):
        expect(f"{name} entry {n} fields", entry["fields"], expected_json(record, database["labels"]))


# ---------------------------------------------------------------- vCard
def is_date(packed):
    import datetime
    try:
        datetime.date(1904 + (packed >> 9), (packed >> 5) & 15, packed & 31)
        return True
    except ValueError:
        return False


def check_vcard(path, database):
    import vobject
    result = run("--export", "vcard", path)
    text = result.stdout
    expect("every line ends in CR LF, at most 75 octets",
           all(len(line) <= 75 for line in text.split(b"\r\n")) and b"\n" not in text.replace(b"\r\n", b""), True)
    cards = list(vobject.readComponents(text.decode("utf-8")))
    live = [r for r in database["records"] if not r["attributes"] & 0xA0]
    expect("number of cards", len(cards), len(live))
    for card, record in zip(cards, live):
        read = reading(record, database["labels"])
        f = read["fields"]
        name = f"card of {f.get(W.LAST)!r} {f.get(W.FIRST)!r} {f.get(W.COMPANY)!r}"
        values = lambda key: [(c.value, set(c.params.get("TYPE", []))) for c in card.contents.get(key, [])]
        expect(name + " N", (card.n.value.family, card.n.value.given), (f.get(W.LAST, ""), f.get(W.FIRST, "")))
        expect(name + " FN", card.fn.value,
               " ".join(x for x in (f.get(W.FIRST), f.get(W.LAST)) if x) or f.get(W.COMPANY, ""))
        expect(name + " ORG", card.org.value if "org" in card.contents else None,
               [f[W.COMPANY]] if W.COMPANY in f else None)
        expect(name + " TITLE", card.title.value if "title" in card.contents else None, f.get(W.TITLE))
        tels, emails = [], []
        for p in range(7):
            if W.PHONE1 + p not in f:
                continue
            code, pref = record["phone_labels"][p], {"PREF"} if record["shown"] == p else set()
            if code == 4:
                emails.append((f[W.PHONE1 + p], {"INTERNET"} | pref))
            else:
                tels.append((f[W.PHONE1 + p], TEL_TYPES.get(code, {"VOICE"}) | pref))
        expect(name + " TEL", values("tel"), tels)
        expect(name + " EMAIL", values("email"), emails)
        note = [f[W.NOTE]] if W.NOTE in f else []
        for key in IM_PROPERTIES.values():
            want = [(f[W.IM1 + i], set()) for i in range(2)
                    if W.IM1 + i in f and IM_PROPERTIES.get(record["im_labels"][i]) == key]
            expect(f"{name} {key.upper()}", values(key), want)
        note += [f"IM: {f[W.IM1 + i]}" for i in range(2)
                 if W.IM1 + i in f and record["im_labels"][i] not in IM_PROPERTIES]
        note += [f"{label}: {f[W.CUSTOM1 + i]}" for i, label in enumerate(custom_labels(database["labels"]))
                 if W.CUSTOM1 + i in f]
        expect(name + " NOTE", card.note.value if "note" in card.contents else None, "\n".join(note) or None)
        expect(name + " URL", card.url.value if "url" in card.contents else None, f.get(W.WEBSITE))
        addresses = []
        for a in range(3):
            parts = tuple(f.get(W.ADDRESS1 + 5 * a + p, "") for p in range(5))
            if any(parts):
                kind = {0: {"WORK"}, 1: {"HOME"}}.get(record["address_labels"][a], set())
                addresses.append((parts, kind))
        expect(name + " ADR", [((v.street, v.city, v.region, v.code, v.country), t) for v, t in values("adr")],
               addresses)
        for key, day in (("bday", read["birthday"]), ("x-anniversary", read["anniversary"])):
            want = date_text(day[0]) if day and day[0] is not None and is_date(day[0]) else None
            expect(f"{name} {key.upper()}", card.contents[key][0].value if key in card.contents else None, want)
        photo = card.contents.get("photo")
        expect(name + " PHOTO", photo and (photo[0].value, photo[0].params.get("TYPE")),
               read["picture"] and (read["picture"], ["JPEG"]))
        category = W.CATEGORIES[record["attributes"] & 15] if (record["attributes"] & 15) < len(W.CATEGORIES) else ""
        expect(name + " CATEGORIES", card.categories.value if "categories" in card.contents else None,
               [category] if category else None)
        expect(name + " CLASS", card.contents["class"][0].value if "class" in card.contents else None,
               "PRIVATE" if record["attributes"] & 0x10 else None)
    # One line on standard error for each record that stops early and for the birthday on no day.
    said = result.stderr.decode().splitlines()
    records = list(enumerate(database["records"]))
    stops = [n for n, r in records if not r["attributes"] & 0xA0 and reading(r, database["labels"])["end"]]
    bad_days = [n for n, r in records if r["birthday"] is not None and not is_date(r["birthday"])]
    expect(name + " warnings", sorted(int(line.split("record ")[1].split(":")[0]) for line in said),
           sorted(stops + bad_days))


if __name__ == "__main__":
    DUMP = sys.argv[1]
    with tempfile.TemporaryDirectory() as work:
        subprocess.run(["/usr/bin/python3", os.path.join(HERE, "write-contacts-database.py"), work], check=True)
        for file, database in W.DATABASES.items():
            path = os.path.join(work, file)
            check_fields(path, database)
            check_json(path, database)
            check_vcard(path, database)
    for failure in FAILURES:
        print("FAIL", failure)
    print(f"contacts: {len(FAILURES)} failures")
    sys.exit(1 if FAILURES else 0)
