#!/usr/bin/env python3
"""Prints, file by file, each field where tessary-cli and exiftool disagree, for a folder of real-world
files: the way this set's expectations were checked. Needs exiftool (libimage-exiftool-perl).
    compare-with-peers.py TESSARY-CLI FILE..."""
import json
import subprocess
import sys

# field: (exiftool tag, how exiftool's numeric value becomes our text)
TEXT = str
PEERS = {
    "image.make": ("Make", TEXT), "image.model": ("Model", TEXT), "image.lens": ("LensID", TEXT),
    "image.exposure": ("ExposureTime", lambda v: "%.4f" % v), "image.fnumber": ("FNumber", lambda v: "%.1f" % v),
    "image.iso": ("ISO", lambda v: str(int(v))), "image.focal_length": ("FocalLength", lambda v: "%.0f" % v),
    "image.focal_length_35mm": ("FocalLengthIn35mmFormat", lambda v: str(int(v))),
    "image.date": ("DateTimeOriginal", lambda v: v[:10].replace(":", "-")),
    "image.time": ("DateTimeOriginal", lambda v: v[11:19].replace(":", "-")),
    "image.width": ("ImageWidth", TEXT), "image.height": ("ImageHeight", TEXT),
    "image.latitude": ("GPSLatitude", lambda v: "%.6f" % v), "image.longitude": ("GPSLongitude", lambda v: "%.6f" % v),
    "image.orientation": ("Orientation", TEXT), "image.serial": ("SerialNumber", TEXT),
    "image.software": ("Software", TEXT),
    "audio.title": ("Title", TEXT), "audio.artist": ("Artist", TEXT), "audio.album": ("Album", TEXT),
    "doc.title": ("Title", TEXT), "doc.last_author": ("LastModifiedBy", TEXT), "doc.company": ("Company", TEXT),
    "doc.pages": ("Pages", TEXT), "doc.words": ("Words", TEXT), "doc.slides": ("Slides", TEXT),
    "doc.revision": ("RevisionNumber", TEXT),
    "pdf.title": ("Title", TEXT), "pdf.author": ("Author", TEXT), "pdf.producer": ("Producer", TEXT),
    "pdf.version": ("PDFVersion", TEXT), "pdf.page_count": ("PageCount", TEXT),
}


def main():
    cli, files = sys.argv[1], sys.argv[2:]
    ours = {}
    plan = subprocess.run([cli, "plan", "--json", "--pattern", "{filename}", *files], capture_output=True, text=True)
    for line in plan.stdout.splitlines():
        entry = json.loads(line)
        ours[entry["path"]] = entry["fields"]
    peer = json.loads(subprocess.run(["exiftool", "-j", "-n", "-api", "largefilesupport=1", *files],
                                     capture_output=True, text=True).stdout)
    disagreements = 0
    for theirs in peer:
        path = theirs["SourceFile"]
        mine = next((fields for key, fields in ours.items() if key.endswith(path.lstrip("./"))), {})
        for field, (tag, convert) in PEERS.items():
            group = field.split(".")[0]
            if not any(key.startswith(group + ".") for key in mine) and tag not in theirs:
                continue
            expected = convert(theirs[tag]) if tag in theirs else None
            expected = expected.strip() if isinstance(expected, str) else expected
            if mine.get(field) != expected and (field in mine or expected not in (None, "")):
                disagreements += 1
                print(f"{path}: {field}: tessary {mine.get(field)!r}, exiftool {expected!r}")
    print(f"{len(peer)} files, {disagreements} disagreements")


main()
