#!/usr/bin/env python3
"""Checks a program folder after scripts/soak.sh or scripts/killtest.sh ran tasks against soak_server.

  check-store.py DIR soak   records may lack what a failed request would have given, never hold garbage;
                            every failed request the server injected is in the log
  check-store.py DIR kill   every record is whole: each column as the fixture marketplace serves it

Both: integrity_check ok, comname and lxr in every record, no (pid, rid) twice, getcount = stored rows.
Prints the figures; exits 1 when a check fails.
"""
import collections
import datetime
import os
import re
import sqlite3
import sys


def expected(rid):
    """The record the fixture marketplace's pages give for a company (FixtureMarketplace::Company)."""
    index = (int(rid) - 100000) % 100
    contact_layout = index % 2 == 0
    return {
        "comname": "杭州测试 %s贸易有限公司" % rid,
        "lxr": ("王" if contact_layout else "李") + rid,
        "job": "销售经理" if contact_layout else "采购主管",
        "tel": "0571-8" + rid,
        "tel2": "139" + rid,
        "tel3": "0571-6" + rid,
        "addr": "浙江省杭州市测试路%s号" % rid,
        "yp": "310000",
        "email": "" if contact_layout else "sales%s@example.com" % rid,
        "qytype": "有限责任公司",
        "zycp": "五金工具" + rid,
        "zyhy": "五金批发",
        "zczb": "500万人民币",
        "ygnum": "51 - 100 人",
        "createtime": "2008-05-12",
        "frdb": "赵" + rid,
    }


def log_text(folder):
    """The surviving log (rotated part first) and the time of its first entry."""
    text = ""
    for name in ("logs.1.txt", "logs.txt"):
        path = os.path.join(folder, name)
        if os.path.exists(path):
            with open(path, "rb") as f:
                text += f.read().decode("gb18030", "replace")
    first = re.search(r"^(\d{4})/(\d{1,2})/(\d{1,2})(?: (\d{1,2}):(\d{2}):(\d{2}))? : ", text, re.M)
    start = None
    if first:
        parts = [int(p) if p else 0 for p in first.groups()]
        start = datetime.datetime(*parts).timestamp()
    return text, start


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in ("soak", "kill"):
        print(__doc__)
        return 2
    folder, mode = sys.argv[1], sys.argv[2]
    failures = []
    con = sqlite3.connect(os.path.join(folder, "data", "user.db"))
    con.text_factory = lambda b: b.decode("gb18030", "replace")

    integrity = con.execute("PRAGMA integrity_check").fetchone()[0]
    if integrity != "ok":
        failures.append("integrity_check: " + integrity)

    columns = [c[1] for c in con.execute("PRAGMA table_info(tbl_list)")]
    rows = [dict(zip(columns, r)) for r in con.execute("SELECT * FROM tbl_list")]
    incomplete = [r for r in rows if not r["comname"] or not r["lxr"]]
    if incomplete:
        failures.append("%d records without comname or lxr (first ID %s)" % (len(incomplete), incomplete[0]["ID"]))

    pairs = collections.Counter((r["PID"], r["rid"]) for r in rows)
    twice = {p: n for p, n in pairs.items() if n > 1}
    if twice:
        failures.append("%d (pid, rid) pairs stored more than once, e.g. %s" % (len(twice), next(iter(twice))))

    partial = 0
    wrong = []
    for r in rows:
        want = expected(r["rid"])
        if r["comname"] != want["comname"] or r["lxr"] not in (want["lxr"], want["frdb"]):
            wrong.append(r)
            continue
        if mode == "soak":
            # With the contact page failed, the legal representative stands in as the contact.
            want["lxr"] = r["lxr"]
        for column, value in want.items():
            got = r[column]
            if mode == "kill" and got != value:
                wrong.append(r)
                break
            # Under faults a step may fail and leave its fields empty; what is there must be right.
            if mode == "soak" and got not in ("", None, value):
                wrong.append(r)
                break
            if got in ("", None) and value:
                partial += 1
                break
    if wrong:
        r = wrong[0]
        failures.append("%d records hold values the marketplace never served (first ID %s, rid %s)"
                        % (len(wrong), r["ID"], r["rid"]))

    stored = collections.Counter(r["PID"] for r in rows)
    tasks = con.execute("SELECT ID, getcount, lastpage FROM tbl_task ORDER BY ID").fetchall()
    print("tasks:")
    for tid, getcount, lastpage in tasks:
        same = getcount == stored.get(tid, 0)
        print("  task %d: getcount %d, stored rows %d, next page %s%s"
              % (tid, getcount, stored.get(tid, 0), lastpage, "" if same else "  <-- MISMATCH"))
        if not same:
            failures.append("task %d: getcount %d but %d stored rows" % (tid, getcount, stored.get(tid, 0)))
    print("records: %d stored, %d with a profile step's fields missing (a failed request)" % (len(rows), partial))

    if mode == "soak":
        faults_path = os.path.join(folder, "soak-faults.tsv")
        faults = []
        if os.path.exists(faults_path):
            with open(faults_path, encoding="utf-8", errors="replace") as f:
                faults = [line.rstrip("\n").split("\t") for line in f if line.count("\t") >= 3]
        kinds = collections.Counter(f[1] for f in faults)
        print("faults injected: %d (%s)" % (len(faults), ", ".join("%s %d" % kv for kv in sorted(kinds.items()))))
        text, log_start = log_text(folder)
        with open(os.path.join(folder, "soak.port")) as f:
            base = "http://127.0.0.1:%s" % f.read().strip()
        # A failed request must have left a line "... (URL)". Only what the rotated log still covers counts.
        wanted = collections.Counter(f[3] for f in faults if f[2] == "1" and (log_start is None or float(f[0]) / 1000 >= log_start + 1))
        checked = sum(wanted.values())
        missing = []
        for target, count in wanted.items():
            found = text.count("(" + base + target + ")")
            if found < count:
                missing.append((target, count - found))
        print("failed requests checked against the log: %d, missing from it: %d"
              % (checked, sum(n for _, n in missing)))
        if missing:
            failures.append("%d failed requests not in the log, e.g. %s" % (sum(n for _, n in missing), missing[0][0]))

    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
