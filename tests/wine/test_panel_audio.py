"""trayconsole.exe with its audio side: the real bridge, the Skype simulator, a simulated
handset and the stand-in winmm.dll. The handset's volume group and its mixer, the handset's
volume keys, "Default", Skype's device choices with their retries, and setup.set."""
import os
import re
import time
import unittest

from winetest import WineTestCase, reg_add, reg_delete, reg_query, run

# The panel takes Windows XP's part: the class whose controls reach the mixer.
APP_DEFAULTS = r"HKCU\Software\Wine\AppDefaults\trayconsole.exe"
SOUND_MAPPER = r"HKCU\SoftWare\Microsoft\Multimedia\Sound Mapper"
BRIDGE_SETTINGS = r"HKCU\Software\TALVEK\USB_PHONE_K42"
HANDSET = "device 1 0x0A5E 0x9001"
KEY_UP = 0x11
WM_PANELEXIT = 1135
WM_QUERYENDSESSION, WM_ENDSESSION = 0x11, 0x16
ENDSESSION_LOGOFF = 0x80000000
VK_TAB = 0x09
GENUINE = "47215 0x5C2E71B4"
HANDSET_AND_SKYPE = 0x0101
STATUS = 0xFF
# The stand-in's default machine (tools/winmmsim/README.md).
SPEAKERS = "Speakers (Onboard Audio)"
MICROPHONE = "Microphone (Onboard Audio)"
USB_PHONE = "USB Phone"
WINDOWS_DEFAULT = "Windows default sound device"
# Its handset mixer's control ids.
SPEAKER_VOLUME, SPEAKER_MUTE, SOURCE_VOLUME, MIC_VOLUME, MIC_MUTE = 1, 2, 3, 5, 6
# setup.set after "Default" with this machine.
DEFAULT_FILE = b"USB Phone\r\nUSB Phone\r\n-1\r\n7fff\r\n7fff\r\n0\r\n0\r\n"

SKYPE_START_UP = [
    "attach 0",
    "answer SEARCH ACTIVECALLS => CALLS",
    "answer GET MUTE => MUTE OFF",
    "answer GET USERSTATUS => USERSTATUS ONLINE",
]


def skype_takes(kind, *names):
    """Skype's answers to the panel's choices of these devices for one kind: it takes them."""
    return [f"answer SET {kind} {name} => {kind} {name}" for name in names]


# A Skype that takes every device of this machine.
SKYPE_TAKES_ALL = (skype_takes("AUDIO_OUT", SPEAKERS, USB_PHONE) + skype_takes("AUDIO_IN", MICROPHONE, USB_PHONE)
                   + skype_takes("RINGER", SPEAKERS, USB_PHONE))


def setUpModule():
    reg_add(APP_DEFAULTS, "Version", "winxp")


def tearDownModule():
    reg_delete(APP_DEFAULTS)


class PanelAudio(WineTestCase):
    def start_all(self, settings=None, skype=SKYPE_TAKES_ALL):
        """Everything, the panel last; returns the panel's look once the handset was found."""
        reg_delete(SOUND_MAPPER)
        reg_delete(BRIDGE_SETTINGS)
        self.mixer = self.audio()
        if settings is not None:
            self.write_settings(settings)
        self.hs = self.handsetsim(HANDSET)
        self.sim = self.skypesim(*SKYPE_START_UP, *skype)
        self.bridge(handsets=True)
        self.sim.wait_event("CMD", "^GET USERSTATUS$")
        self.desktop = self.desktopsim()
        return self.start_panel()

    def start_panel(self):
        self.console = self.panel(desktop=self.desktop)
        # The bridge's next status report finds the handset's devices.
        return self.desktop.wait_look(lambda s: s["volume"] == "on", timeout=10)[0]

    def end_panel(self):
        self.desktop.write(f"post {WM_PANELEXIT} {GENUINE}")
        self.assertEqual(self.console.wait_exit(10), 0)

    def settings_path(self):
        return os.path.join(self.panel_folder(), "setup.set")

    def write_settings(self, data):
        with open(self.settings_path(), "wb") as file:
            file.write(data)

    def read_settings(self):
        with open(self.settings_path(), "rb") as file:
            return file.read()

    def wait_settings(self, expected, timeout=5.0, contains=False):
        """Waits for setup.set to be `expected`, or to hold it (`contains`)."""
        deadline = time.monotonic() + timeout
        while True:
            data = self.read_settings() if os.path.exists(self.settings_path()) else b""
            found = expected in data if contains else data == expected
            if found or time.monotonic() > deadline:
                if contains:
                    self.assertIn(expected, data)
                else:
                    self.assertEqual(data, expected)
                return
            time.sleep(0.05)

    def list_of(self, part):
        count = len(self.desktop.events("LIST"))
        self.desktop.write(f"list {part}")
        self.desktop.wait_event("LIST", count=count + 1)
        selected, entries = self.desktop.events("LIST")[-1].split(" ", 1)[1].split(" ", 1)
        return int(selected), entries.split("|")

    def skype_commands(self, prefix, start=0):
        return [c for c in self.sim.commands()[start:] if c.startswith(prefix)]

    def assert_controls(self, state, speaker, mic, speaker_mute, mic_mute):
        self.assertEqual((state["speaker"], state["mic"], state["speakermute"], state["micmute"]),
                         (f"{speaker},on", f"{mic},on", f"{speaker_mute},on", f"{mic_mute},on"))


class HandsetVolume(PanelAudio):
    def test_the_handset_found_enables_the_group_and_sets_the_stored_volumes(self):
        # No device chosen yet; speaker 0x5000, microphone 0x3000 and muted.
        self.start_all(settings=b"\r\n\r\n\r\n5000\r\n3000\r\n0\r\n1\r\n")
        speaker = self.mixer.wait_set(SPEAKER_VOLUME, [0x5000, 0x5000])
        self.mixer.wait_set(SPEAKER_MUTE, [0], start=speaker)
        mic = self.mixer.wait_set(MIC_VOLUME, [0x3000], start=speaker)
        self.mixer.wait_set(MIC_MUTE, [1], start=mic)
        # The speaker line's change notice brings its first source to the same level.
        self.mixer.wait_set(SOURCE_VOLUME, [0x5000, 0x5000], start=speaker)
        self.assert_controls(self.desktop.look(), 0x5000, 0x3000, 0, 1)

        # Windows' default devices were empty: the last devices that are not the handset's.
        self.assertEqual(reg_query(SOUND_MAPPER, "Playback"), SPEAKERS)
        self.assertEqual(reg_query(SOUND_MAPPER, "Record"), MICROPHONE)
        # The empty choices became the handset's devices and the Windows default for ringing,
        # which Skype is given by the device's name.
        self.desktop.wait_look(lambda s: s["lists"] == "2,2,0")
        self.sim.wait_event("CMD", "^SET AUDIO_OUT USB Phone$")
        self.sim.wait_event("CMD", "^SET AUDIO_IN USB Phone$")
        self.sim.wait_event("CMD", rf"^SET RINGER {re.escape(SPEAKERS)}$")
        self.assertEqual(self.list_of("out"), (2, [WINDOWS_DEFAULT, SPEAKERS, USB_PHONE]))
        self.assertEqual(self.list_of("in"), (2, [WINDOWS_DEFAULT, MICROPHONE, USB_PHONE]))
        self.assertEqual(self.list_of("ring"), (0, [WINDOWS_DEFAULT, SPEAKERS, USB_PHONE]))

    def test_the_speaker_slider_sets_the_line_and_its_first_source(self):
        self.start_all()
        self.mixer.wait_set(SOURCE_VOLUME, [32767, 32767])
        mark = len(self.mixer.lines())
        self.desktop.write("slide out 40000")
        line = self.mixer.wait_set(SPEAKER_VOLUME, [40000, 40000], start=mark)
        self.mixer.wait_set(SOURCE_VOLUME, [40000, 40000], start=line)
        self.desktop.wait_look(lambda s: s["speaker"] == "40000,on")
        # The copy's own notice finds both lines equal: nothing more is written.
        time.sleep(0.5)
        self.assertEqual([v for _, v in self.mixer.sets(SPEAKER_VOLUME, mark)], [[40000, 40000]])
        self.assertEqual([v for _, v in self.mixer.sets(SOURCE_VOLUME, mark)], [[40000, 40000]])
        self.assertEqual(self.mixer.sets(MIC_VOLUME, mark), [])

    def test_the_up_key_held_in_a_call_steps_the_speaker_every_300_ms(self):
        self.start_all()
        self.mixer.wait_set(SOURCE_VOLUME, [32767, 32767])
        self.sim.write("answer SEARCH ACTIVECALLS => CALLS 1201")
        self.sim.write("notify CALL 1201 STATUS INPROGRESS")
        self.hs.wait_event("OUTPUT", "00 40 06")
        mark = len(self.mixer.lines())
        reads = self.hs.event_count()
        # One report on the press and one on the release, as the handset sends them: the
        # panel repeats the key itself while it is held.
        self.hs.write(f"press {KEY_UP:#04x}")
        self.hs.write("sleep 1050")
        self.hs.write("release")
        self.hs.wait_event("INPUT", " 00 00 00 00$", start=reads, timeout=5)
        time.sleep(0.8)
        steps = self.mixer.sets(SPEAKER_VOLUME, mark)
        self.assertEqual([v for _, v in steps], [[32767 + 4096 * n] * 2 for n in range(1, 5)])
        times = [self.mixer.arrival(i) for i, _ in steps]
        for earlier, later in zip(times, times[1:]):
            self.assertGreater(later - earlier, 0.2)
            self.assertLess(later - earlier, 0.45)
        self.desktop.wait_look(lambda s: s["speaker"] == "49151,on")


    def test_screen_readers_tell_the_two_mute_boxes_apart(self):
        self.start_all()
        self.assertEqual(run(self.panel_exe()), 0)  # shows the window
        state, _ = self.desktop.wait_look(lambda s: s["visible"] == "1" and s["focus"] != "none")
        # Each box's name is its window text; what shows is drawn ("Mute").
        walk = [state["focus"]]
        for _ in range(4):
            self.desktop.write(f"key {VK_TAB}")
            time.sleep(0.2)
            walk.append(self.desktop.look()["focus"])
        self.assertEqual(walk[2], "Button:Speaker_mute")
        self.assertEqual(walk[4], "Button:Microphone_mute")


class DefaultButton(PanelAudio):
    def test_default_sets_the_volumes_the_devices_and_writes_the_file(self):
        self.start_all(settings=f"{SPEAKERS}\r\n{MICROPHONE}\r\n{USB_PHONE}\r\n1000\r\n2000\r\n1\r\n1\r\n".encode())
        state, _ = self.desktop.wait_look(lambda s: s["default"] == "on,shown" and s["lists"] == "1,1,2")
        self.assert_controls(state, 0x1000, 0x2000, 1, 1)
        mark = len(self.mixer.lines())
        commands = len(self.sim.commands())

        self.desktop.write("press default")
        state, _ = self.desktop.wait_look(lambda s: s["lists"] == "2,2,0")
        self.assert_controls(state, 32767, 32767, 0, 0)
        self.assertEqual(state["default"], "on,shown")
        self.wait_settings(DEFAULT_FILE)
        speaker = self.mixer.wait_set(SPEAKER_VOLUME, [32767, 32767], start=mark)
        self.mixer.wait_set(SPEAKER_MUTE, [0], start=speaker)
        mic = self.mixer.wait_set(MIC_VOLUME, [32767], start=mark)
        self.mixer.wait_set(MIC_MUTE, [0], start=mic)
        # Sent at the next status report: the handset's devices, and for ringing the
        # device behind the Windows default entry.
        self.sim.wait_event("CMD", "^SET AUDIO_OUT USB Phone$", start=commands)
        self.sim.wait_event("CMD", "^SET AUDIO_IN USB Phone$", start=commands)
        self.sim.wait_event("CMD", rf"^SET RINGER {re.escape(SPEAKERS)}$", start=commands)


class SkypeDevices(PanelAudio):
    def test_a_skype_that_keeps_answering_another_device_gets_suffixes_then_the_default(self):
        # Skype takes every choice of the handset's output as the onboard speakers; it
        # answers the choices only, so each try gives one failed answer.
        keeps_speakers = [f"answer SET AUDIO_OUT* => AUDIO_OUT {SPEAKERS}"]
        self.start_all(skype=keeps_speakers + skype_takes("AUDIO_IN", USB_PHONE) + skype_takes("RINGER", SPEAKERS))
        # Each failed answer waits for a status report to be tried again: reports come
        # faster than the bridge's one a second, so the 200-odd tries take seconds.
        deadline = time.monotonic() + 60
        while self.desktop.look()["lists"].split(",")[0] != "0" or not self.skype_commands("SET AUDIO_OUT"):
            self.assertLess(time.monotonic(), deadline, "the output list never fell back")
            for _ in range(5):
                self.desktop.write(f"report {HANDSET_AND_SKYPE} {STATUS}")
                time.sleep(0.02)
        # Given up: the Windows default entry is shown and nothing more is sent.
        given_up = len(self.sim.commands())
        for _ in range(10):
            self.desktop.write(f"report {HANDSET_AND_SKYPE} {STATUS}")
            time.sleep(0.03)
        time.sleep(0.3)
        self.assertEqual(self.skype_commands("SET AUDIO_OUT", given_up), [])
        self.assertEqual(self.desktop.look()["lists"], "0,2,0")

        suffixes = []
        for command in self.skype_commands("SET AUDIO_OUT"):
            match = re.fullmatch(r"SET AUDIO_OUT USB Phone(?: \((\d+)\))?", command)
            self.assertIsNotNone(match, command)
            suffixes.append(int(match.group(1) or 0))
        # Without a suffix first, then " (1)" to " (16)", each number in one run.
        runs = [n for i, n in enumerate(suffixes) if i == 0 or suffixes[i - 1] != n]
        self.assertEqual(runs, list(range(17)))
        # Twelve tries at each number; without a suffix once more as the count moves on to
        # number 1, and so once less with " (1)".
        self.assertEqual([suffixes.count(n) for n in range(17)], [13, 11] + [12] * 15)


class SettingsFile(PanelAudio):
    def test_settings_survive_a_restart(self):
        self.start_all()
        self.desktop.wait_look(lambda s: s["lists"] == "2,2,0")
        self.desktop.write("slide out 40000")
        self.desktop.write("toggle in")
        self.desktop.wait_look(lambda s: s["speaker"] == "40000,on" and s["micmute"] == "1,on")
        # A choice in a Skype list writes the file at once.
        self.desktop.write("choose ring 2")
        saved = b"USB Phone\r\nUSB Phone\r\nUSB Phone\r\n9c40\r\n7fff\r\n0\r\n1\r\n"
        self.wait_settings(saved)
        self.sim.wait_event("CMD", "^SET RINGER USB Phone$")
        self.end_panel()
        self.assertEqual(self.read_settings(), saved)

        mark = len(self.mixer.lines())
        commands = len(self.sim.commands())
        self.start_panel()
        speaker = self.mixer.wait_set(SPEAKER_VOLUME, [40000, 40000], start=mark)
        self.mixer.wait_set(MIC_MUTE, [1], start=speaker)
        state, _ = self.desktop.wait_look(lambda s: s["lists"] == "2,2,2")
        self.assert_controls(state, 40000, 32767, 0, 1)
        self.sim.wait_event("CMD", "^SET RINGER USB Phone$", start=commands)

    def test_the_end_of_the_session_saves_what_was_set_since_the_last_save(self):
        self.start_all()
        self.desktop.wait_look(lambda s: s["lists"] == "2,2,0")
        self.desktop.write("slide out 1000")
        self.desktop.wait_look(lambda s: s["speaker"] == "1000,on")
        self.desktop.write(f"send {WM_QUERYENDSESSION} 0 {ENDSESSION_LOGOFF}")
        self.assertRegex(self.desktop.wait_event("SEND", f"^{WM_QUERYENDSESSION} "), r"RESULT 1$")
        # Windows ends the process after this message, without destroying the window.
        self.desktop.write(f"send {WM_ENDSESSION} 1 {ENDSESSION_LOGOFF}")
        self.desktop.wait_event("SEND", f"^{WM_ENDSESSION} ")
        self.wait_settings(DEFAULT_FILE.replace(b"7fff", b"03e8", 1), timeout=0)
        # A session end that was called off saves nothing.
        self.desktop.write("slide out 2000")
        self.desktop.wait_look(lambda s: s["speaker"] == "2000,on")
        self.desktop.write(f"send {WM_ENDSESSION} 0 {ENDSESSION_LOGOFF}")
        self.desktop.wait_event("SEND", f"^{WM_ENDSESSION} 0 ")
        self.assertEqual(self.read_settings(), DEFAULT_FILE.replace(b"7fff", b"03e8", 1))

    def test_a_read_only_file_is_left_as_it_is(self):
        kept = b"\r\n\r\n\r\n5000\r\n3000\r\n0\r\n1\r\n"
        self.write_settings(kept)
        os.chmod(self.settings_path(), 0o444)
        self.start_all()
        self.mixer.wait_set(SPEAKER_VOLUME, [0x5000, 0x5000])
        self.desktop.write("choose ring 2")  # a save at once
        self.sim.wait_event("CMD", "^SET RINGER USB Phone$")
        self.end_panel()  # and one more
        self.assertEqual(self.read_settings(), kept)
        self.assertEqual(os.stat(self.settings_path()).st_mode & 0o777, 0o444)

    def test_a_truncated_or_corrupt_file_gives_the_defaults(self):
        self.start_all(settings=b"USB Phone\r\nUSB Phone\r\n-1\r\n12")
        self.assert_controls(self.desktop.look(), 32767, 32767, 0, 0)
        self.mixer.wait_set(SPEAKER_VOLUME, [32767, 32767])
        self.end_panel()
        # Rewritten whole at the end, with the handset's devices that the search filled in.
        self.assertEqual(self.read_settings(), DEFAULT_FILE)

        # Binary junk without line ends: fewer than seven lines as read.
        self.write_settings(bytes((i * 151 + 7) % 256 or 1 for i in range(1200)).replace(b"\n", b"\0"))
        self.assert_controls(self.start_panel(), 32767, 32767, 0, 0)
        self.end_panel()
        self.assertEqual(self.read_settings(), DEFAULT_FILE)


if __name__ == "__main__":
    unittest.main()
