#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's exported M3U, PLS and XSPF files, loaded by the real players: each player must resolve every entry
# of files whose names hold blanks, quotes, '#', '%', '&', '?', commas and non-ASCII letters. Needs a session bus
# (run under dbus-run-session). A player that is not installed is reported and skipped; mpv reads no XSPF.
# Usage: players_load_exports_test.py PATH-TO-karvo-media-cli
import os
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse
import wave

NAMES = [
    "a b.wav", "quote'single.wav", 'quote"double.wav', "hash#tag.wav", "#lead.wav", "pct%20x.wav", "pct%.wav",
    "amp&and.wav", "amp&amp;.wav", "comma,x.wav", "Caf\u00e9 \u00e9t\u00e9.wav", "\u4e2d\u6587.wav",
    "\U0001f3b5 note.wav", "semi;colon.wav", "eq=1.wav", "br[1].wav", "q?x.wav", "-dash.wav", "sp end .wav",
    " lead space.wav", "back\\slash.wav", "\u20ac uro.wav",
]
LIMIT = 90  # seconds for one player run


def local_path(text):
    """The file a player reports, as a path (players report plain paths or file:// URIs)."""
    if text.startswith("file://"):
        return os.fsdecode(urllib.parse.unquote_to_bytes(text[len("file://"):]))
    return text


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, timeout=LIMIT, **kwargs)


def mpv_resolved(playlist, expected):
    out = run(["mpv", "--no-config", "--ao=null", "--vo=null", "--end=0.01", "--playlist=" + playlist])
    resolved, current = set(), None
    for line in out.stdout.decode("utf-8", "replace").splitlines():
        if line.startswith("Playing: "):
            current = local_path(line[len("Playing: "):])
        elif line.startswith(" (+) Audio") and current in expected:
            resolved.add(current)
    return resolved


def start_vlc(playlist, home, log):
    # VLC refuses to run as root; it then runs as nobody. Folders are not expanded, so a cut path cannot count.
    as_user = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] if os.geteuid() == 0 else []
    # The log goes to a file: a pipe nobody reads yet would stall the player.
    return subprocess.Popen(as_user + ["cvlc", "-vv", "--no-video", "--aout=dummy", "--no-dbus", "--recursive=none",
                                       "--play-and-exit", playlist], env=dict(os.environ, HOME=home),
                            stdout=subprocess.DEVNULL, stderr=log)


def vlc_resolved(process, log, expected):
    try:
        process.wait(timeout=LIMIT)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    log.seek(0)
    resolved = set()
    marker = "' successfully opened"
    for line in log.read().decode("utf-8", "replace").splitlines():
        if marker in line and "`" in line:
            path = local_path(line[line.index("`") + 1:line.index(marker)])
            if path in expected:
                resolved.add(path)
    return resolved


class audacious:
    def __init__(self, config):
        env = dict(os.environ, XDG_CONFIG_HOME=config, XDG_DATA_HOME=config, XDG_CACHE_HOME=config)
        self.process = subprocess.Popen(["audacious", "-H"], env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        deadline = time.time() + 30
        while time.time() < deadline and subprocess.run(["audtool", "--version"], capture_output=True).returncode:
            time.sleep(0.2)

    def tool(self, *args):
        return run(["audtool"] + list(args)).stdout.decode("utf-8", "replace").strip()

    def resolved(self, playlist, expected):
        self.tool("--playlist-clear")
        self.tool("--playlist-addurl", playlist)
        # Entries are scanned in the background: a found file gets its length.
        deadline = time.time() + 30
        while True:
            count = int(self.tool("--playlist-length") or 0)
            entries = [(self.tool("--playlist-song-filename", str(i)),
                        int(self.tool("--playlist-song-length-frames", str(i)) or 0)) for i in range(1, count + 1)]
            done = {local_path(name) for name, length in entries if length > 0} & expected
            if len(done) == len(expected) or time.time() > deadline:
                return done
            time.sleep(0.5)

    def close(self):
        self.tool("--shutdown")
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()


def write_silence(path):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(8000)
        # Over a second: VLC waits longer and longer between entries that end sooner.
        w.writeframes(b"\0\0" * 8800)


def main():
    cli = sys.argv[1]
    root = tempfile.mkdtemp(prefix="karvo-players-")
    try:
        os.chmod(root, 0o755)
        music = os.path.join(root, "music")
        home = os.path.join(root, "home")
        os.makedirs(music)
        os.makedirs(home)
        os.chmod(home, 0o777)
        expected = set()
        for name in NAMES:
            path = os.path.join(music, name)
            write_silence(path)
            os.chmod(path, 0o644)
            expected.add(path)
        data = os.path.join(root, "data")
        source = os.path.join(root, "source.m3u")
        with open(source, "w", encoding="utf-8") as f:
            f.write("".join(os.path.join(music, name) + "\r\n" for name in NAMES))
        subprocess.run([cli, "--data-folder", data, "import", source, "probe"], check=True, capture_output=True,
                       timeout=LIMIT)
        exports = {}
        for kind in ("m3u", "pls", "xspf"):
            exports[kind] = os.path.join(root, "out." + kind)
            subprocess.run([cli, "--data-folder", data, "export", "probe", exports[kind]], check=True,
                           capture_output=True, timeout=LIMIT)
            os.chmod(exports[kind], 0o644)

        failures, checks = [], []

        started = [time.time()]

        def check(player, kind, resolved):
            checks.append(player + kind)
            print(f"{player} {kind}: {len(resolved)} of {len(expected)} entries resolved "
                  f"({time.time() - started[0]:.1f} s)", flush=True)
            started[0] = time.time()
            if resolved != expected:
                failures.append(f"{player} {kind}: not resolved: {sorted(expected - resolved)}")

        players = [p for p in ("mpv", "cvlc", "audacious") if shutil.which(p)]
        for missing in {"mpv", "cvlc", "audacious"} - set(players):
            print(f"{missing}: not installed, skipped")
        # VLC plays every entry to its end: its three runs go on beside the others.
        vlc_runs = {}
        for kind in ("m3u", "pls", "xspf") if "cvlc" in players else ():
            vlc_home = os.path.join(home, kind)
            os.makedirs(vlc_home)
            os.chmod(vlc_home, 0o777)
            log = tempfile.TemporaryFile()
            vlc_runs[kind] = (start_vlc(exports[kind], vlc_home, log), log)
        if "mpv" in players:
            for kind in ("m3u", "pls"):
                check("mpv", kind, mpv_resolved(exports[kind], expected))
        if "audacious" in players:
            player = audacious(os.path.join(root, "config"))
            try:
                for kind in ("m3u", "pls", "xspf"):
                    check("audacious", kind, player.resolved(exports[kind], expected))
            finally:
                player.close()
        for kind, (process, log) in vlc_runs.items():
            check("vlc", kind, vlc_resolved(process, log, expected))
            log.close()
        for failure in failures:
            print("FAILED: " + failure)
        print(f"{len(checks) - len(failures)} passed, {len(failures)} failed")
        return 1 if failures else 0
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
