#!/usr/bin/python3
"""A phone's side of the task list, for the sync tests: dav.py URL USER PASSWORD COMMAND ...
  list                        one line a task: SUMMARY<TAB>STATUS<TAB>DTSTART<TAB>DUE
  put UID SUMMARY [DTSTART [DUE]]   a new or changed task (dates as YYYYMMDD; "-" for none)
  complete SUMMARY YYYYMMDD   marks the task with that summary completed on that day
  count                       how many tasks the list holds
  etags                       one line a task: HREF<TAB>ETAG, to see that nothing was written
  putfile NAME FILE           stores FILE as NAME.ics, as a phone writes it
  show SUMMARY                the task with that summary, its lines unfolded
  replace SUMMARY FILE        stores FILE in the place of the task with that summary
  mkcalendar                  makes a calendar at URL for events and tasks alike
"""
import base64
import re
import sys
import urllib.error
import urllib.request
from urllib.parse import urljoin

url, user, password, command, *args = sys.argv[1:]
auth = "Basic " + base64.b64encode(f"{user}:{password}".encode()).decode()


def request(method, target, body=None, headers=None):
    req = urllib.request.Request(target, data=body, method=method,
                                 headers={"Authorization": auth, **(headers or {})})
    try:
        with urllib.request.urlopen(req, timeout=10) as reply:
            return reply.status, reply.read().decode()
    except urllib.error.HTTPError as e:
        return e.code, e.read().decode()


def listing():
    status, body = request("PROPFIND", url, b'<?xml version="1.0"?><propfind xmlns="DAV:"><prop><getetag/></prop></propfind>',
                           {"Depth": "1", "Content-Type": "application/xml"})
    assert status == 207, (status, body)
    return body


def tasks():
    body = listing()
    found = {}
    for href in re.findall(r"<(?:\w+:)?href>([^<]*\.ics)</(?:\w+:)?href>", body):
        status, text = request("GET", urljoin(url, href))
        text = re.sub(r"\r?\n[ \t]", "", text)  # unfolded
        field = lambda name: (re.search(rf"^{name}[^:\r\n]*:(.*?)\r?$", text, re.M) or [None, ""])[1]
        found[urljoin(url, href)] = (field("SUMMARY"), field("STATUS"), field("DTSTART"), field("DUE"), text)
    return found


def calendar(uid, summary, start, due, status="NEEDS-ACTION", completed=None):
    lines = ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//phone//test", "BEGIN:VTODO", f"UID:{uid}",
             "DTSTAMP:20261201T000000Z", f"SUMMARY:{summary}", f"STATUS:{status}"]
    if start != "-":
        lines.append(f"DTSTART;VALUE=DATE:{start}")
    if due != "-":
        lines.append(f"DUE;VALUE=DATE:{due}")
    if completed:
        lines.append(f"COMPLETED:{completed}T120000Z")
    lines += ["END:VTODO", "END:VCALENDAR", ""]
    return "\r\n".join(lines).encode()


if command == "list":
    for summary, status, start, due, _ in tasks().values():
        print(f"{summary}\t{status}\t{start}\t{due}")
elif command == "count":
    print(len(tasks()))
elif command == "etags":
    body = re.sub(r"\s+", " ", listing())
    for href, etag in sorted(re.findall(r"<(?:\w+:)?href>([^<]*\.ics)</(?:\w+:)?href>.*?<(?:\w+:)?getetag>([^<]*)<", body)):
        print(f"{href}\t{etag}")
elif command == "putfile":
    name, path = args
    status, body = request("PUT", urljoin(url, name + ".ics"), open(path, "rb").read(),
                           {"Content-Type": "text/calendar"})
    assert status in (201, 204), (status, body)
elif command == "show":
    for s, _, _, _, text in tasks().values():
        if s == args[0]:
            print(text)
            break
    else:
        sys.exit(f"no task {args[0]}")
elif command == "replace":
    summary, path = args
    for href, (s, *_) in tasks().items():
        if s == summary:
            status, body = request("PUT", href, open(path, "rb").read(), {"Content-Type": "text/calendar"})
            assert status in (201, 204), (status, body)
            break
    else:
        sys.exit(f"no task {summary}")
elif command == "put":
    uid, summary, start, due = (args + ["-", "-"])[:4]
    status, body = request("PUT", urljoin(url, uid + ".ics"), calendar(uid, summary, start, due),
                           {"Content-Type": "text/calendar"})
    assert status in (201, 204), (status, body)
elif command == "complete":
    summary, day = args
    for href, (s, _, start, due, text) in tasks().items():
        if s == summary:
            uid = re.search(r"^UID:(.*?)\r?$", text, re.M)[1]
            status, body = request("PUT", href, calendar(uid, summary, start or "-", due or "-", "COMPLETED", day),
                                   {"Content-Type": "text/calendar"})
            assert status in (201, 204), (status, body)
            break
    else:
        sys.exit(f"no task {summary}")
elif command == "mkcalendar":
    status, body = request("MKCALENDAR", url)
    assert status == 201, (status, body)
else:
    sys.exit(__doc__)
