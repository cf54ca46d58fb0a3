"""trayconsole.exe on Windows Vista and later: the handset's volume group over the audio
endpoints, with the endpoint simulator as the enumerator's server (ordinary COM activation),
beside the real bridge, the Skype simulator, a simulated handset and the stand-in winmm.dll."""
import os
import time
import unittest

from audio_endpoints import EndpointProbe, PulseDaemon, StandInEndpoints
from test_panel_audio import APP_DEFAULTS, KEY_UP, PanelAudio
from winetest import reg_add, reg_delete

SPEAKER = "Speaker (USB Phone)"
MIC = "Microphone (USB Phone)"
# Stored: speaker 0x5000, microphone 0x3000, speaker not muted, microphone muted.
STORED = b"\r\n\r\n\r\n5000\r\n3000\r\n0\r\n1\r\n"


def scalar(volume):
    return f"{volume / 65535:.6f}"


def stamp(line):
    """When the stand-in wrote the line, in seconds of the performance counter."""
    return float(line.rsplit(" at=", 1)[1]) / 1000


class StandInEndpointsForThePanel:
    """For a WineTestCase: the panels it starts from now on take Wine's Windows as `version`
    and find the endpoint simulator, which serves commands on the pipe `self.pipe`."""
    version = "win7"

    def use_stand_in_endpoints(self):
        reg_add(APP_DEFAULTS, "Version", self.version)
        self.addCleanup(reg_delete, APP_DEFAULTS)
        self.pipe = f"mmdevsim{os.getpid()}"
        self.endpoints = StandInEndpoints().__enter__()
        self.addCleanup(self.endpoints.__exit__)
        original_audio = self.audio

        def audio_with_endpoints(config=None):
            mixer = original_audio(config)
            self._audio_env.update(self.endpoints.env, MMDEVSIM_PIPE=self.pipe)
            return mixer

        self.audio = audio_with_endpoints


class PanelEndpoints(StandInEndpointsForThePanel, PanelAudio):
    def start_all(self, settings=None, **kwargs):
        self.use_stand_in_endpoints()
        return super().start_all(settings=settings, **kwargs)

    def elsewhere(self, command):
        """A change made by another program, through the panel's copy of the simulator."""
        other = self.start(EndpointProbe(env=self.endpoints.env))
        self.assertEqual(other.ask(f"remote {self.pipe} {command}", "REMOTE"), "ok")
        other.quit()

    def test_found_enabled_with_the_stored_values_applied(self):
        state = self.start_all(settings=STORED)
        self.assertEqual((state["speaker"], state["mic"], state["speakermute"], state["micmute"]),
                         ("20480,on", "12288,on", "0,on", "1,on"))
        self.endpoints.wait_for(f'SET-LEVEL endpoint="{SPEAKER}" level={scalar(20480)} result=ok')
        self.endpoints.wait_for(f'SET-LEVEL endpoint="{MIC}" level={scalar(12288)} result=ok')
        self.endpoints.wait_for(f'SET-MUTE endpoint="{MIC}" mute=1 result=ok')
        # The winmm mixer is not written on this Windows.
        self.assertEqual([line for line in self.mixer.lines() if line.startswith("SET ")], [])

    def test_slider_and_mute_reach_the_endpoint_and_are_saved(self):
        self.start_all(settings=STORED)
        start = len(self.endpoints.lines())
        self.desktop.write("slide out 40000")
        self.endpoints.wait_for(f'SET-LEVEL endpoint="{SPEAKER}" level={scalar(40000)} result=ok', start=start)
        self.desktop.wait_look(lambda s: s["speaker"] == "40000,on")
        # Saved at exit, and taken again by the next start.
        self.end_panel()
        self.assertIn(b"\r\n9c40\r\n3000\r\n0\r\n1\r\n", self.read_settings())
        start = len(self.endpoints.lines())
        state = self.start_panel()
        self.assertEqual(state["speaker"], "40000,on")
        self.endpoints.wait_for(f'SET-LEVEL endpoint="{SPEAKER}" level={scalar(40000)} result=ok', start=start)

    def test_a_change_elsewhere_moves_the_controls_without_echo(self):
        self.start_all(settings=STORED)
        start = len(self.endpoints.lines())
        self.elsewhere(f"level 0.25 {SPEAKER}")
        self.desktop.wait_look(lambda s: s["speaker"] == "16384,on")
        self.elsewhere(f"mute 1 {SPEAKER}")
        self.desktop.wait_look(lambda s: s["speakermute"] == "1,on")
        self.assertEqual([line for line in self.endpoints.lines()[start:] if line.startswith("SET-")], [])
        # Kept as the stored values.
        self.end_panel()
        self.assertIn(b"\r\n4000\r\n3000\r\n1\r\n1\r\n", self.read_settings())

    def end_panel_and_check_released(self):
        """Ends the panel; the stand-in, at the end of the process, finds nothing left held."""
        start = len(self.endpoints.lines())
        self.end_panel()
        detach = self.endpoints.lines()[self.endpoints.wait_for("DETACH", start=start)]
        self.assertEqual(detach.split(" at=")[0], "DETACH live=0 callbacks=0 clients=0")

    def start_call(self):
        self.sim.write("answer SEARCH ACTIVECALLS => CALLS 1201")
        self.sim.write("notify CALL 1201 STATUS INPROGRESS")
        self.hs.wait_event("OUTPUT", "00 40 06")

    def test_the_up_key_held_in_a_call_steps_the_speaker_endpoint(self):
        self.start_all()
        self.start_call()
        start = len(self.endpoints.lines())
        reads = self.hs.event_count()
        self.hs.write(f"press {KEY_UP:#04x}")
        self.hs.write("sleep 1050")
        self.hs.write("release")
        self.hs.wait_event("INPUT", " 00 00 00 00$", start=reads, timeout=5)
        self.desktop.wait_look(lambda s: s["speaker"] == "49151,on")
        sets = [line for line in self.endpoints.lines()[start:] if line.startswith("SET-LEVEL")]
        self.assertEqual([line.split(" context=")[0] for line in sets],
                         [f'SET-LEVEL endpoint="{SPEAKER}" level={scalar(32767 + 4096 * n)} result=ok'
                          for n in range(1, 5)])
        # The panel's own repeat, as over the mixer.
        times = [stamp(line) for line in sets]
        for earlier, later in zip(times, times[1:]):
            self.assertGreater(later - earlier, 0.2)
            self.assertLess(later - earlier, 0.45)

    def test_default_sets_both_endpoints_to_half_without_mute_and_saves(self):
        self.start_all(settings=STORED)
        self.desktop.wait_look(lambda s: s["default"] == "on,shown")
        start = len(self.endpoints.lines())
        self.desktop.write("press default")
        state, _ = self.desktop.wait_look(lambda s: s["speaker"] == "32767,on" and s["micmute"] == "0,on")
        self.assertEqual((state["mic"], state["speakermute"]), ("32767,on", "0,on"))
        for name in (SPEAKER, MIC):
            self.endpoints.wait_for(f'SET-LEVEL endpoint="{name}" level={scalar(32767)} result=ok', start=start)
        self.endpoints.wait_for(f'SET-MUTE endpoint="{MIC}" mute=0 result=ok', start=start)
        self.wait_settings(b"\r\n7fff\r\n7fff\r\n0\r\n0\r\n", contains=True)

    def test_unplug_during_a_call_turns_the_group_off_and_replug_brings_it_back(self):
        self.start_all(settings=STORED)
        self.start_call()
        # The handset's keys and its sound devices go together.
        self.hs.write("unplug 1")
        for name in (SPEAKER, MIC):
            self.elsewhere(f"unplug {name}")
        state, _ = self.desktop.wait_look(lambda s: s["volume"] == "off", timeout=10)
        self.assertTrue(state["speaker"].endswith(",off"))
        # Back: the keys first, the sound devices a moment later, as Windows finds them.
        start = len(self.endpoints.lines())
        self.hs.write("plug 1")
        time.sleep(1.5)
        self.assertEqual(self.desktop.look()["volume"], "off")
        for name in (SPEAKER, MIC):
            self.elsewhere(f"plug {name}")
        self.desktop.wait_look(lambda s: s["volume"] == "on" and s["speaker"] == "20480,on" and
                               s["micmute"] == "1,on", timeout=10)
        self.endpoints.wait_for(f'SET-LEVEL endpoint="{SPEAKER}" level={scalar(20480)} result=ok', start=start)
        self.endpoints.wait_for(f'SET-MUTE endpoint="{MIC}" mute=1 result=ok', start=start)

    def test_exit_lets_go_of_everything_with_the_handset_or_without(self):
        self.start_all(settings=STORED)
        self.end_panel_and_check_released()
        # Its sound devices gone while the panel runs.
        self.start_panel()
        self.elsewhere(f"unplug {SPEAKER}")
        self.desktop.wait_look(lambda s: s["volume"] == "off", timeout=10)
        self.end_panel_and_check_released()
        # No handset at all.
        self.hs.write("unplug 1")
        self.console = self.panel(desktop=self.desktop)
        self.desktop.wait_look(lambda s: s["note"] == "No_handset_plugged_in", timeout=10)
        self.end_panel_and_check_released()

    def test_sound_devices_gone_while_the_keys_stay_turn_the_group_off(self):
        self.start_all(settings=STORED)
        self.elsewhere(f"unplug {SPEAKER}")
        self.desktop.wait_look(lambda s: s["volume"] == "off", timeout=10)
        self.elsewhere(f"plug {SPEAKER}")
        self.desktop.wait_look(lambda s: s["volume"] == "on" and s["speaker"] == "20480,on", timeout=10)


class PanelOverWinesOwnEndpoints(PanelAudio):
    """No simulator: Wine's endpoints over a PulseAudio daemon with the handset's speaker and
    microphone. Wine 8 refuses the level (E_NOTIMPL) and takes the mute."""

    def test_found_mute_reaches_the_endpoint_and_the_refused_level_is_off(self):
        reg_add(APP_DEFAULTS, "Version", "win7")
        self.addCleanup(reg_delete, APP_DEFAULTS)
        pulse = PulseDaemon(SPEAKER, MIC).__enter__()
        self.addCleanup(pulse.__exit__)
        original_audio = self.audio

        def audio_with_pulse(config=None):
            mixer = original_audio(config)
            self._audio_env.update(pulse.env)
            return mixer

        self.audio = audio_with_pulse
        state = self.start_all(settings=STORED)
        self.assertEqual((state["speaker"], state["speakermute"], state["micmute"]), ("20480,off", "0,on", "1,on"))
        # The mute boxes are on only because Wine took the stored mutes (a refused write turns
        # its control off, as it did the level's track bar). The user's click is taken too.
        self.desktop.write("toggle in")
        self.desktop.wait_look(lambda s: s["micmute"] == "0,on")
        self.end_panel()
        self.assertIn(b"\r\n5000\r\n3000\r\n0\r\n0\r\n", self.read_settings())


class PanelEndpointsOnVista(PanelEndpoints):
    version = "vista"

    # The rest is as on 7 and later.
    test_slider_and_mute_reach_the_endpoint_and_are_saved = None
    test_the_up_key_held_in_a_call_steps_the_speaker_endpoint = None
    test_a_change_elsewhere_moves_the_controls_without_echo = None
    test_default_sets_both_endpoints_to_half_without_mute_and_saves = None
    test_unplug_during_a_call_turns_the_group_off_and_replug_brings_it_back = None
    test_sound_devices_gone_while_the_keys_stay_turn_the_group_off = None
    test_exit_lets_go_of_everything_with_the_handset_or_without = None


del PanelAudio

if __name__ == "__main__":
    unittest.main()
