#!/usr/bin/python3
# Checks corvelle-dump on the organizer databases of Palm OS 5 against readers no one here wrote:
# Calendar and Memos databases written by Debian's Palm::Datebook and Palm::Memo and read back by
# them (write-export-databases.pl; a Calendar's meeting and other blobs are read here from the
# layout the issue gives), and a Tasks database written byte by byte by write-tasks-database.py.
# python3-icalendar reads the calendars, through the VTIMEZONEs they carry; dateutil expands the
# repeats; the dates and UTC offsets that the Palm rules give are computed here from the rules.
#   check-organizer-exports.py CHECK CORVELLE-DUMP     CHECK: calendar tasks memos
import datetime as dt, importlib, json, os, struct, subprocess, sys, tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)  # the shared checks beside this one, imported by their file name
base = importlib.import_module("check-exports")
expect, palm, live, run = base.expect, base.palm, base.live, base.run

STATUS = ["unanswered", "accepted", "declined", "tentative", "cancelled"]
SHOW_AS = ["busy", "free", "tentative", "out of office"]
ROLES = ["organizer", "required", "optional"]
WEEKDAYS = ["Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"]
REPEAT_WORDS = {1: ("daily", "daily"), 2: ("weekly", "weekly"), 3: ("monthly by day", "monthlyByDay"),
                4: ("monthly by date", "monthlyByDate"), 5: ("yearly", "yearly")}


def word(words, code):
    return words[code] if code < len(words) else "unknown"


# ---------------------------------------------------------------- the Palm rules
def change_moment(year, zone, which):
    """When a daylight-saving change happens in `year`, in the wall time before it."""
    day = base.nth_weekday(year, zone[which + "_month"], zone[which + "_weeknum"], zone[which + "_daynum"])
    return dt.datetime.combine(day, dt.time(zone[which + "_hour"]))


def zone_offset(zone, wall):
    """The zone's offset from UTC in minutes at a wall time (none of ours lies in a skipped or repeated hour)."""
    adjust = zone["dst_adjustment"]
    if not adjust:
        return zone["offset"]
    begins = change_moment(wall.year, zone, "start") + dt.timedelta(minutes=max(adjust, 0))
    ends = change_moment(wall.year, zone, "end") + dt.timedelta(minutes=max(-adjust, 0))
    daylight = begins <= wall < ends if begins < ends else wall >= begins or wall < ends
    return zone["offset"] + (adjust if daylight else 0)


def blobs_of(other_data):
    """The blobs after the time zone, as (id, size, bytes), from the bytes Palm::Datebook left."""
    data, blobs = palm(other_data, "latin-1").encode("latin-1"), []
    while len(data) >= 6:
        size = struct.unpack(">H", data[4:6])[0]
        blobs.append((data[:4].decode("latin-1"), size, data[6:6 + size]))
        data = data[6 + size:]
    return blobs


def meeting_of(blob):
    """status, show-as and [(role, name, e-mail)], or None when the attendees do not fit."""
    if len(blob) < 4:
        return None
    status, show_as, count = struct.unpack(">BBH", blob[:4])
    rest, attendees = blob[4:], []
    for _ in range(count):
        parts = rest[1:].split(b"\0", 2)
        if not rest or len(parts) < 3:
            return None
        attendees.append((rest[0], parts[0].decode("cp1252"), parts[1].decode("cp1252")))
        rest = parts[2]
    return status, show_as, attendees


def split_blobs(record):
    """The meeting (the first Bd01 that holds one) and the other blobs."""
    meeting, others = None, []
    for blob_id, size, data in blobs_of(record.get("other_data")):
        found = meeting_of(data) if blob_id == "Bd01" and meeting is None else None
        if found:
            meeting = found
        else:
            others.append((blob_id, size))
    return meeting, others


# ---------------------------------------------------------------- calendar
def check_calendar_event(component, event, uid):
    name = f"event {palm(event['description'])!r}"
    zone = event.get("timezone")
    timed = event["start_hour"] != 255
    zoned = timed and zone is not None
    day = dt.date(event["year"], event["month"], event["day"])
    start = dt.datetime.combine(day, dt.time(event["start_hour"], event["start_minute"])) if timed else day
    got = component["DTSTART"].dt
    expect(name + " UID", str(component["UID"]), uid)
    expect(name + " TZID", "TZID" in component["DTSTART"].params, zoned)
    expect(name + " DTSTART", got.replace(tzinfo=None) if timed else got, start)
    if zoned:
        # The offset icalendar gives the start through our VTIMEZONE is the one the Palm rule gives.
        expect(name + " DTSTART offset", got.utcoffset(), dt.timedelta(minutes=zone_offset(zone, start)))
        tzid = str(component["DTSTART"].params["TZID"])
        expect(name + " TZID names the zone", tzid.startswith(palm(zone["name"]) or "UTC"), True)
        end = dt.datetime.combine(day, dt.time(event["end_hour"], event["end_minute"]))
        expect(name + " DTEND", component["DTEND"].dt.replace(tzinfo=None), end)
        expect(name + " DTEND TZID", str(component["DTEND"].params.get("TZID")), tzid)
    expect(name + " LOCATION", str(component.get("LOCATION", "")), palm(event.get("location")))
    meeting, _ = split_blobs(event)
    organizers = [a for a in (meeting[2] if meeting else []) if a[0] == 0][:1]
    address = lambda a: "mailto:" + a[2] if a[2] else "invalid:nomail"
    expect(name + " ORGANIZER", [(str(component["ORGANIZER"]), component["ORGANIZER"].params.get("CN"))]
           if "ORGANIZER" in component else [], [(address(a), a[1].replace('"', "'")) for a in organizers])
    attendees = component.get("ATTENDEE", [])
    attendees = attendees if isinstance(attendees, list) else [attendees]
    roles = {0: "CHAIR", 1: "REQ-PARTICIPANT", 2: "OPT-PARTICIPANT"}
    expect(name + " ATTENDEE", [(str(a), a.params.get("CN"), a.params.get("ROLE")) for a in attendees],
           [(address(a), a[1].replace('"', "'"), roles[a[0]]) for a in (meeting[2] if meeting else [])
            if a not in organizers])
    expect(name + " STATUS", str(component.get("STATUS", "")), "CANCELLED" if meeting and meeting[0] == 4 else "")
    expect(name + " TRANSP", str(component.get("TRANSP", "")), "TRANSPARENT" if meeting and meeting[1] == 1 else "")
    repeat = event.get("repeat") or {}
    rule = component.get("RRULE")
    expect(name + " has RRULE", rule is not None, bool(repeat))
    if rule is None:
        return
    if "end_year" in repeat:
        last_day = dt.date(repeat["end_year"], repeat["end_month"], repeat["end_day"])
        until = dt.datetime.combine(last_day, dt.time(23, 59, 59))
        if zoned:  # in UTC, as RFC 5545 asks beside a TZID
            until = until - dt.timedelta(minutes=zone_offset(zone, until))
            expect(name + " UNTIL", [u.astimezone(dt.timezone.utc).replace(tzinfo=None) for u in rule["UNTIL"]],
                   [until])
        else:
            expect(name + " UNTIL", rule["UNTIL"], [until if timed else last_day])
    exdates = component.get("EXDATE", [])
    exdates = [base.as_date(d.dt) for group in (exdates if isinstance(exdates, list) else [exdates])
               for d in group.dts]
    first = got if timed else dt.datetime.combine(got, dt.time())
    last = first + dt.timedelta(days=366)
    from dateutil.rrule import rrulestr
    expanded = list(rrulestr(rule.to_ical().decode(), dtstart=first).between(first, last, inc=True))
    dates = [d.date() for d in expanded if d.date() not in exdates]
    expect(name + " dates over a year", dates, base.palm_occurrences(event, last.date()))
    if zoned and zone["dst_adjustment"]:  # the VTIMEZONE's changes, in UTC, as icalendar reads them
        changes = lambda year: [change_moment(year, zone, "start") - dt.timedelta(minutes=zone["offset"]),
                                change_moment(year, zone, "end") -
                                dt.timedelta(minutes=zone["offset"] + zone["dst_adjustment"])]
        transitions = got.tzinfo._utc_transition_times
        expect(name + " changes 2000-2010", sorted(t for t in transitions if 2000 <= t.year <= 2010),
               sorted(t for year in range(2000, 2011) for t in changes(year)))
    if zoned:  # the VTIMEZONE's offset on every date, across the changes of daylight saving
        for occurrence in expanded:
            wall = occurrence.replace(tzinfo=None)
            expect(f"{name} offset on {wall}", got.tzinfo.localize(wall).utcoffset(),
                   dt.timedelta(minutes=zone_offset(zone, wall)))


def check_calendar_json(fields, record, name):
    zone = record.get("timezone")
    expect(name + " location", fields["location"], palm(record["location"]) if "location" in record else None)
    want_zone = zone and {
        "name": palm(zone["name"]), "offsetMinutes": zone["offset"], "dstAdjustMinutes": zone["dst_adjustment"],
        "country": zone["country"], "custom": bool(zone["custom"]),
        **{key: {part: zone[f"{which}_{theirs}"] for part, theirs in
                 (("month", "month"), ("week", "weeknum"), ("weekday", "daynum"), ("hour", "hour"))}
           for key, which in (("dstStart", "start"), ("dstEnd", "end"))}}
    expect(name + " timeZone", fields["timeZone"], want_zone)
    meeting, others = split_blobs(record)
    expect(name + " meeting", fields["meeting"], meeting and {
        "status": word(STATUS, meeting[0]), "showAs": word(SHOW_AS, meeting[1]),
        "attendees": [{"role": word(ROLES, r), "name": n, "email": e} for r, n, e in meeting[2]]})
    expect(name + " blobs", fields["blobs"], [{"id": i, "size": s} for i, s in others])
    expect(name + " date", fields["date"], f"{record['year']:04}-{record['month']:02}-{record['day']:02}")


def check_calendar():
    import icalendar
    perl = base.perl_reading("calendar.pdb")
    path = os.path.join(WORK, "calendar.pdb")
    text = run("--export", "ics", path).stdout
    expect("calendar longest line", max(len(line) for line in text.split(b"\r\n")) <= 75, True)
    calendar = icalendar.Calendar.from_ical(text)
    records = live(perl["records"])
    events = list(calendar.walk("VEVENT"))
    expect("calendar components", len(events), len(records))
    zones = {(palm(r["timezone"]["name"]), r["timezone"]["offset"], r["timezone"]["dst_adjustment"])
             for r in records if r.get("timezone") and r["start_hour"] != 255}
    expect("one VTIMEZONE per zone", len(list(calendar.walk("VTIMEZONE"))), len(zones))
    expect("VTIMEZONEs come first", text.index(b"BEGIN:VTIMEZONE") < text.index(b"BEGIN:VEVENT"), True)
    for component, record in zip(events, records):
        check_calendar_event(component, record, f"PDat-{record['id']:06X}@corvelle")
    entries = json.loads(run("--export", "json", path).stdout)["entries"]
    expect("calendar entries", len(entries), len(perl["records"]))
    for entry, record in zip(entries, perl["records"]):
        check_calendar_json(entry["fields"], record, f"calendar entry {entry['index']}")


# ---------------------------------------------------------------- tasks
def date_text(date):
    return "%04d-%02d-%02d" % tuple(date) if date else "none"


def repeat_words(r):
    text = f"{REPEAT_WORDS[r['type']][0]}, every {r['frequency']}"
    text += f", until {date_text(r['end'])}" if r["end"] else ", no end"
    if r["type"] == 2:
        text += ", on" + "".join(" " + WEEKDAYS[d] for d in sorted(r["days"]))
    elif r["type"] == 3:
        text += f", week {'last' if r['week'] == 4 else r['week'] + 1} {WEEKDAYS[r['day']]}"
    return text


def task_fields(task):
    """The lines of --record N between the attribute lines and the hex dump."""
    lines = [("Due", date_text(task.get("due"))), ("Priority", str(task["priority"])),
             ("Completed", "yes" if task.get("completed") else "no")]
    if task.get("completedOn"):
        lines.append(("Completed on", date_text(task["completedOn"])))
    if task.get("alarm"):
        hour, minute, days = task["alarm"]
        lines.append(("Alarm", f"{hour:02}:{minute:02}, {days} day{'' if days == 1 else 's'} before"))
    if task.get("repeat"):
        r = task["repeat"]
        text = repeat_words(r) + ", from " + date_text(r["start"])
        lines.append(("Repeat", text + (", after completion" if task.get("afterCompletion") else "")))
    lines.append(("Description", task.get("description", "")))
    if task.get("note"):
        lines.append(("Note", task["note"]))
    return "".join(f"{label}:\t" + value.replace("\n", "\n\t") + "\n" for label, value in lines)


def task_json(task):
    r = task.get("repeat")
    repeat = r and {"type": REPEAT_WORDS[r["type"]][1], "typeCode": r["type"], "end": r["end"] and date_text(r["end"]),
                    "frequency": r["frequency"], "startOfWeek": r["startOfWeek"],
                    "repeatOn": sum(1 << d for d in r["days"]) if r["type"] == 2 else
                    r["week"] * 7 + r["day"] if r["type"] == 3 else 0,
                    "start": date_text(r["start"]), "afterCompletion": bool(task.get("afterCompletion"))}
    if r and r["type"] == 2:
        repeat["days"] = [WEEKDAYS[d] for d in sorted(r["days"])]
    if r and r["type"] == 3:
        repeat.update(week=r["week"] + 1, day=WEEKDAYS[r["day"]])
    alarm = task.get("alarm")
    return {"due": task.get("due") and date_text(task["due"]), "priority": task["priority"],
            "completed": bool(task.get("completed")),
            "completedOn": task.get("completedOn") and date_text(task["completedOn"]),
            "alarm": alarm and {"time": f"{alarm[0]:02}:{alarm[1]:02}", "daysBefore": alarm[2]},
            "repeat": repeat, "description": task.get("description", ""), "note": task.get("note", "")}


def as_palm_event(r):
    """A task's repeat in the shape of Palm::Datebook's appointments, for the Date Book's rules."""
    year, month, day = r["start"]
    repeat = {"type": r["type"], "frequency": r["frequency"], "start_of_week": r["startOfWeek"],
              "repeat_days": [d in r["days"] for d in range(7)], "weeknum": r["week"], "daynum": r["day"]}
    if r["end"]:
        repeat.update(end_year=r["end"][0], end_month=r["end"][1], end_day=r["end"][2])
    return {"year": year, "month": month, "day": day, "repeat": repeat}


def check_task(component, task, uid, categories):
    from dateutil.rrule import rrulestr
    name = f"task {task['description'][:30]!r}"
    day = lambda d: dt.date(*d) if d else None
    expect(name + " UID", str(component["UID"]), uid)
    expect(name + " DUE", component["DUE"].dt if "DUE" in component else None, day(task.get("due")))
    expect(name + " PRIORITY", int(component["PRIORITY"]), task["priority"])
    expect(name + " STATUS", str(component["STATUS"]), "COMPLETED" if task.get("completed") else "NEEDS-ACTION")
    completed = task.get("completedOn")
    expect(name + " COMPLETED", component["COMPLETED"].dt if "COMPLETED" in component else None,
           completed and dt.datetime(*completed, tzinfo=dt.timezone.utc))
    expect(name + " SUMMARY", str(component.get("SUMMARY", "")), task.get("description", ""))
    expect(name + " DESCRIPTION", str(component.get("DESCRIPTION", "")), task.get("note", ""))
    expect(name + " CLASS", str(component.get("CLASS", "")), "PRIVATE" if task["private"] else "")
    expect(name + " CATEGORIES", ",".join(str(c) for c in component["CATEGORIES"].cats),
           categories[task["category"]])
    alarms = [a for a in component.subcomponents if a.name == "VALARM"]
    alarm = task.get("alarm")
    want = []
    if alarm and task.get("due"):  # at its time, N days before the due date
        want = [("END", dt.datetime.combine(day(task["due"]) - dt.timedelta(alarm[2]), dt.time(alarm[0], alarm[1])))]
    expect(name + " alarms", [(a["TRIGGER"].params.get("RELATED"),
                               dt.datetime.combine(component["DUE"].dt, dt.time()) + a["TRIGGER"].dt) for a in alarms],
           want)
    r = task.get("repeat")
    expect(name + " DTSTART", component["DTSTART"].dt if "DTSTART" in component else None, r and day(r["start"]))
    expect(name + " has RRULE", "RRULE" in component, bool(r))
    if not r or "RRULE" not in component:
        return
    first = dt.datetime(*r["start"])
    last = first + dt.timedelta(days=4 * 366)  # a leap day's yearly repeat comes round once
    expanded = rrulestr(component["RRULE"].to_ical().decode(), dtstart=first).between(first, last, inc=True)
    expect(name + " dates over four years", [d.date() for d in expanded],
           base.palm_occurrences(as_palm_event(r), last.date()))


def check_tasks():
    import icalendar
    subprocess.run(["/usr/bin/python3", os.path.join(HERE, "write-tasks-database.py"), WORK], check=True)
    truth = json.load(open(os.path.join(WORK, "tasks.json")))
    path = os.path.join(WORK, "tasks.pdb")
    for index, task in enumerate(truth["records"]):
        text = run("--record", str(index), path).stdout.decode("cp1252")
        fields = text.split("\n\n")[1] + "\n"
        expect(f"task {index} fields", fields, task_fields(task))
    entries = json.loads(run("--export", "json", path).stdout)["entries"]
    for entry, task in zip(entries, truth["records"]):
        expect(f"task {entry['index']} JSON", entry["fields"], task_json(task))
    result = run("--export", "ics", path)
    calendar = icalendar.Calendar.from_ical(result.stdout)
    tasks = [t for t in truth["records"] if not t["deleted"]]
    components = list(calendar.walk("VTODO"))
    expect("tasks components", len(components), len(tasks))
    for component, task in zip(components, tasks):
        check_task(component, task, f"PTod-{task['id']:06X}@corvelle", truth["categories"])
    expect("tasks warnings", result.stderr.decode().count("its alarm counts from a due date it has not"),
           sum(1 for t in tasks if t.get("alarm") and not t.get("due")))


# ---------------------------------------------------------------- memos
def check_memos():
    perl = base.perl_reading("memos.pdb")
    path = os.path.join(WORK, "memos.pdb")
    text = run("--export", "text", path).stdout.decode("utf-8")
    expect("memos", base.split_memos(text), [palm(r["data"].rstrip("\0")) for r in live(perl["records"])])
    entries = json.loads(run("--export", "json", path).stdout)["entries"]
    expect("memos JSON", [e["fields"]["text"] for e in entries], [palm(r["data"].split("\0")[0]) for r in
                                                                  perl["records"]])


if __name__ == "__main__":
    check, DUMP = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as WORK:
        base.DUMP, base.WORK = DUMP, WORK
        subprocess.run(["perl", os.path.join(HERE, "write-export-databases.pl"), WORK], check=True)
        globals()["check_" + check]()
    for failure in base.FAILURES:
        print("FAIL", failure)
    print(f"{check}: {len(base.FAILURES)} failures")
    sys.exit(1 if base.FAILURES else 0)
