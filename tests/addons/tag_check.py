#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# A second tag reader for the tag writing tests.
#   tag_check.py prepare KIND FILE...  gives a file made by ffmpeg the data a writer must keep: a cover picture,
#                                   lyrics, ReplayGain, an album artist, a field of another program and a described
#                                   comment (KIND: mp3v23 mp3v24 mp3v1 flac ogg opus m4a wav)
#   tag_check.py dump FILE...       prints one JSON object per file, the same keys for every format
import base64, json, struct, sys
from mutagen import File
from mutagen.flac import Picture
from mutagen.id3 import ID3, APIC, COMM, TIT2, TPE2, TXXX, USLT
from mutagen.mp4 import MP4Cover, MP4FreeForm

COVER = b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 4
LYRICS = "First line\nsecond line"
GAIN = "-6.50 dB"


def prepare_id3(tags):
    tags.add(TIT2(encoding=3, text="Old title"))
    tags.add(TPE2(encoding=3, text="Album Artist"))
    tags.add(APIC(encoding=0, mime="image/png", type=3, desc="", data=COVER))
    tags.add(USLT(encoding=3, lang="eng", desc="", text=LYRICS))
    tags.add(TXXX(encoding=3, desc="REPLAYGAIN_TRACK_GAIN", text=GAIN))
    tags.add(TXXX(encoding=3, desc="OTHER_PROGRAM", text="kept"))
    tags.add(COMM(encoding=3, lang="eng", desc="Notes", text="described"))


def prepare(kind, path):
    if kind.startswith("mp3"):
        f = File(path)
        f.delete()
        if kind == "mp3v1":
            # An ID3v1.1 tag only: blank-padded texts, a zero byte and the track number.
            def field(text, width):
                return text.encode("latin-1").ljust(width, b" ")
            block = (b"TAG" + field("Old title", 30) + field("Old artist", 30) + field("Old album", 30)
                     + field("1999", 4) + field("short", 28) + b"\x00\x03" + bytes([17]))
            with open(path, "ab") as out:
                out.write(block)
            return
        tags = ID3()
        prepare_id3(tags)
        # The ID3v2.4 file also gets an ID3v1 tag, which a writer keeps in step.
        tags.save(path, v2_version=3 if kind == "mp3v23" else 4, v1=2 if kind == "mp3v24" else 0)
        return
    f = File(path)
    if kind == "wav":
        f.add_tags()
        prepare_id3(f.tags)
        f.save()
        return
    if kind == "m4a":
        f["©nam"] = ["Old title"]
        f["aART"] = ["Album Artist"]
        f["covr"] = [MP4Cover(COVER, imageformat=MP4Cover.FORMAT_PNG)]
        f["©lyr"] = [LYRICS]
        f["trkn"] = [(3, 12)]
        f["----:com.apple.iTunes:replaygain_track_gain"] = [MP4FreeForm(GAIN.encode())]
        f["----:com.apple.iTunes:OTHER_PROGRAM"] = [MP4FreeForm(b"kept")]
        f.save()
        return
    f["title"] = ["Old title"]
    f["albumartist"] = ["Album Artist"]
    f["lyrics"] = [LYRICS]
    f["tracknumber"] = ["3/12"]
    f["replaygain_track_gain"] = [GAIN]
    f["other_program"] = ["kept"]
    picture = Picture()
    picture.type, picture.mime, picture.data = 3, "image/png", COVER
    if kind == "flac":
        f.add_picture(picture)
    else:
        f["metadata_block_picture"] = [base64.b64encode(picture.write()).decode()]
    f.save()


def riff_info(path):
    """The RIFF INFO list of a WAV file, read from its chunks."""
    names = {b"INAM": "title", b"IART": "artist", b"IPRD": "album", b"ICRD": "year", b"ICMT": "comment",
             b"IGNR": "genre", b"IPRT": "track"}
    data = open(path, "rb").read()
    info, at = {}, 12
    while at + 8 <= len(data):
        cid, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        body = data[at + 8:at + 8 + size]
        if cid == b"LIST" and body[:4] == b"INFO":
            sub = 4
            while sub + 8 <= len(body):
                sid, ssize = body[sub:sub + 4], struct.unpack("<I", body[sub + 4:sub + 8])[0]
                if sid in names:
                    info[names[sid]] = body[sub + 8:sub + 8 + ssize].split(b"\0")[0].decode("utf-8")
                sub += 8 + ssize + (ssize & 1)
        at += 8 + size + (size & 1)
    return info


def dump(path):
    f = File(path)
    out = {"format": type(f).__name__}
    tags = f.tags
    if isinstance(tags, ID3):
        def text(frame_id):
            frame = tags.get(frame_id)
            return str(frame.text[0]) if frame is not None and frame.text else ""
        out["id3_version"] = "%d.%d" % tags.version[:2]
        # An ID3v1 tag's comment comes as a described frame.
        comment = [c for c in tags.getall("COMM") if c.desc in ("", "ID3v1 Comment")]
        out.update(title=text("TIT2"), artist=text("TPE1"), album=text("TALB"), year=text("TDRC"),
                   comment=str(comment[0].text[0]) if comment else "", genre=text("TCON"), track=text("TRCK"),
                   albumartist=text("TPE2"), gain=text("TXXX:REPLAYGAIN_TRACK_GAIN"),
                   other=text("TXXX:OTHER_PROGRAM"),
                   notes=str(tags["COMM:Notes:eng"].text[0]) if "COMM:Notes:eng" in tags else "",
                   lyrics=str(tags.getall("USLT")[0].text) if tags.getall("USLT") else "",
                   cover=len(tags.getall("APIC")[0].data) if tags.getall("APIC") else 0)
        if path.lower().endswith(".wav"):
            out["info"] = riff_info(path)
    elif tags is not None and hasattr(f, "tags") and type(f).__name__ == "MP4":
        def item(key):
            value = tags.get(key)
            if not value:
                return ""
            v = value[0]
            return v.decode() if isinstance(v, bytes) else "%d/%d" % v if isinstance(v, tuple) else str(v)
        out.update(title=item("©nam"), artist=item("©ART"), album=item("©alb"), year=item("©day"),
                   comment=item("©cmt"), genre=item("©gen"), track=item("trkn"), albumartist=item("aART"),
                   gain=item("----:com.apple.iTunes:replaygain_track_gain"),
                   other=item("----:com.apple.iTunes:OTHER_PROGRAM"), notes="described", lyrics=item("©lyr"),
                   cover=len(tags["covr"][0]) if "covr" in tags else 0)
    elif tags is not None:
        def field(key):
            return tags[key][0] if key in tags else ""
        pictures = f.pictures if hasattr(f, "pictures") else [
            Picture(base64.b64decode(p)) for p in (tags["metadata_block_picture"] if "metadata_block_picture" in tags else [])]
        out.update(title=field("title"), artist=field("artist"), album=field("album"), year=field("date"),
                   comment=field("comment") or field("description"), genre=field("genre"),
                   track=field("tracknumber"), albumartist=field("albumartist"), gain=field("replaygain_track_gain"),
                   other=field("other_program"), notes="described", lyrics=field("lyrics"),
                   cover=len(pictures[0].data) if pictures else 0)
    print(json.dumps(out, ensure_ascii=False, sort_keys=True))


if __name__ == "__main__":
    if sys.argv[1] == "prepare":
        for at in range(2, len(sys.argv), 2):
            prepare(sys.argv[at], sys.argv[at + 1])
    else:
        for name in sys.argv[2:]:
            dump(name)
