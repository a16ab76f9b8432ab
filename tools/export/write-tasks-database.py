#!/usr/bin/python3
# Writes a Tasks database (DATA/PTod) byte by byte from the layout the issue
# gives, with no Palm library and none of our code: every field, every flag,
# every repeat type, alarms, cut-free records of every shape. Beside it,
# tasks.json says what each record holds, for the checks to compare with.
#   write-tasks-database.py DIR        DIR gets tasks.pdb and tasks.json
import json, os, struct, sys

CREATED, MODIFIED = 3195072000, 3197664000  # 2005-03-31 and 2005-04-30 00:00:00, Palm seconds
DUE, COMPLETION, ALARM, REPEAT, DESCRIPTION, NOTE = 0x8000, 0x4000, 0x2000, 0x1000, 0x0800, 0x0400
COMPLETED, AFTER_COMPLETION = 0x0001, 0x0002
LONG = "A long description that runs on past the seventy-five octets of a content line, caf\xe9 cr\xe8me " * 2


def repeat(type, start, frequency=1, end=None, days=(), start_of_week=0, week=0, day=0):
    return {"type": type, "start": start, "frequency": frequency, "end": end, "days": list(days),
            "startOfWeek": start_of_week, "week": week, "day": day}


TASKS = [
    dict(due=(2005, 3, 14), priority=1, description="Pay the rent, now; quickly", note="Account 12\nRef \\ 34",
         alarm=(9, 30, 1), category=1),
    dict(priority=5, completed=True, completedOn=(2005, 2, 1), description="Mow the lawn", category=2),
    dict(due=(2005, 4, 30), priority=2, description="Water the plants", alarm=(8, 0, 0),
         repeat=repeat(1, (2005, 4, 30), frequency=2, end=(2005, 6, 1))),
    dict(due=(2005, 1, 3), priority=3, description="Gym", afterCompletion=True,
         repeat=repeat(2, (2005, 1, 3), days=(1, 3, 5))),
    dict(due=(2005, 1, 4), priority=3, description="Fortnightly report", note="To the board",
         repeat=repeat(2, (2005, 1, 4), frequency=2, end=(2005, 12, 31), days=(2, 4), start_of_week=1)),
    dict(due=(2005, 1, 11), priority=2, description="Book club", repeat=repeat(3, (2005, 1, 11), week=1, day=2)),
    dict(due=(2005, 1, 28), priority=4, description="Quarterly taxes", alarm=(17, 45, 3),
         repeat=repeat(3, (2005, 1, 28), frequency=3, end=(2006, 12, 31), week=4, day=5)),
    dict(due=(2005, 1, 31), priority=1, description="Invoices", repeat=repeat(4, (2005, 1, 31))),
    dict(due=(2004, 2, 29), priority=5, description="Leap day", repeat=repeat(5, (2004, 2, 29))),
    dict(due=(2005, 3, 1), priority=2, completed=True, completedOn=(2005, 3, 2), afterCompletion=True,
         description="Change the filter", note="Model F-22", alarm=(7, 5, 2),
         repeat=repeat(4, (2005, 3, 1), frequency=2, end=(2005, 12, 1))),
    dict(priority=2, description="Deleted task", deleted=True),
    dict(priority=3, description="", private=True),
    dict(due=(2005, 12, 24), priority=1, description=LONG, note=LONG),
    dict(priority=4, description="An alarm without a due date", alarm=(12, 0, 1)),
]


def packed(date):
    year, month, day = date
    return (year - 1904) << 9 | month << 5 | day


def record_bytes(task):
    fields = (DUE if task.get("due") else 0) | (COMPLETION if task.get("completedOn") else 0) | \
             (ALARM if task.get("alarm") else 0) | (REPEAT if task.get("repeat") else 0) | \
             (DESCRIPTION if task.get("description") else 0) | (NOTE if task.get("note") else 0)
    flags = (COMPLETED if task.get("completed") else 0) | (AFTER_COMPLETION if task.get("afterCompletion") else 0)
    data = struct.pack(">HHH", fields, flags, task["priority"])
    if task.get("due"):
        data += struct.pack(">H", packed(task["due"]))
    if task.get("completedOn"):
        data += struct.pack(">H", packed(task["completedOn"]))
    if task.get("alarm"):
        hour, minute, days = task["alarm"]
        data += struct.pack(">BBH", hour, minute, days)
    if task.get("repeat"):
        r = task["repeat"]
        on = sum(1 << d for d in r["days"]) if r["type"] == 2 else r["week"] * 7 + r["day"] if r["type"] == 3 else 0
        data += struct.pack(">HBBHBBBB", packed(r["start"]), r["type"], 0, packed(r["end"]) if r["end"] else 0xFFFF,
                            r["frequency"], on, r["startOfWeek"], 0)
    for text in (task.get("description", ""), task.get("note", "")):
        data += text.encode("cp1252") + b"\0"
    return data


def category_block(names):
    block = struct.pack(">H", 0)
    block += b"".join(n.encode("cp1252").ljust(16, b"\0") for n in names + [""] * (16 - len(names)))
    return block + bytes(range(16)) + bytes([15, 0])


def database(records, appinfo):
    count = len(records)
    offset = 78 + 8 * count + 2
    header = b"TasksDB-PTod".ljust(32, b"\0") + struct.pack(">HHIIIIII", 0x0008, 0, CREATED, MODIFIED, 0, 7,
                                                            offset, 0)
    header += b"DATA" + b"PTod" + struct.pack(">IIH", 0, 0, count)
    entries, at = b"", offset + len(appinfo)
    for record in records:
        entries += struct.pack(">I", at) + bytes([record["attributes"]]) + struct.pack(">I", record["id"])[1:]
        at += len(record["data"])
    return header + entries + b"\0\0" + appinfo + b"".join(r["data"] for r in records)


def main():
    out = sys.argv[1]
    categories = ["Unfiled", "Home, garden", "Work; office"]
    records = []
    for i, task in enumerate(TASKS):
        attributes = (0x20 if task.get("deleted") else 0) | (0x10 if task.get("private") else 0) | 0x40
        attributes |= 0 if task.get("deleted") else task.get("category", 0)
        records.append({"id": 0x3C0001 + i, "attributes": attributes, "data": record_bytes(task)})
    open(os.path.join(out, "tasks.pdb"), "wb").write(database(records, category_block(categories)))
    truth = {"modified": MODIFIED, "categories": categories, "records": []}
    for task, record in zip(TASKS, records):
        truth["records"].append(dict(task, id=record["id"], deleted=bool(task.get("deleted")),
                                     private=bool(task.get("private")), category=task.get("category", 0)))
    json.dump(truth, open(os.path.join(out, "tasks.json"), "w"), indent=1)


if __name__ == "__main__":
    main()
