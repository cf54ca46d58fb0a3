"""The audio endpoint glue under Wine, through tools/endpointprobe: over the endpoint simulator
(loaded by ordinary COM activation) and over Wine's own endpoints on a PulseAudio daemon.
The handset found and its stored values applied, changes both ways without echo, unplug and
replug, a level that cannot be set beside a mute that works, and every interface released."""
import os
import unittest

from audio_endpoints import EndpointProbe, PulseDaemon, StandInEndpoints, wine_path
from winetest import WineTestCase

SPEAKER = "Speaker (USB Phone)"
MIC = "Microphone (USB Phone)"
ALL_RELEASED = "DETACH live=0 callbacks=0 clients=0"


def scalar(volume):
    return f"{volume / 65535:.6f}"


class OverTheSimulator(WineTestCase):
    def probe(self, config=None):
        self.sim = StandInEndpoints(config).__enter__()
        self.addCleanup(self.sim.__exit__)
        probe = self.start(EndpointProbe(env=self.sim.env))
        self.assertEqual(probe.events("READY"), ["com=ok endpoints=available"])
        return probe

    def quit_and_check_released(self, probe):
        probe.quit()
        self.sim.wait_for("DETACH")
        self.assertEqual(self.sim.lines()[-1].split(" at=")[0], ALL_RELEASED)

    def test_stand_in_is_what_com_activation_loads(self):
        probe = self.probe()
        details = probe.ask("module", "MODULE")
        # The stand-in from the registered path, and Wine's own endpoint DLL not at all.
        self.assertEqual(details, f"mmdevsim={wine_path(self.sim.dll)} mmdevapi=none")
        self.sim.wait_for("CREATE enumerator result=ok")
        probe.ask("list capture", "LISTED", "^3$")
        self.assertEqual([e.split('"')[1] for e in probe.events("ENDPOINT")],
                         ["Microphone (Onboard Audio)", "Microphone (USB Camera)", MIC])
        self.quit_and_check_released(probe)

    def test_found_with_stored_values_and_changes_both_ways_without_echo(self):
        probe = self.probe()
        self.assertEqual(probe.ask("find speaker=40000 speaker-mute=1 mic=1000", "FOUND"), "1")
        self.assertEqual(probe.events("SHOW"), ["side=speaker volume=40000 mute=1 level=on mute-control=on",
                                                "side=mic volume=1000 mute=0 level=on mute-control=on"])
        # The handset's microphone, not the webcam's that comes first.
        self.sim.wait_for(f'SET-LEVEL endpoint="{SPEAKER}" level={scalar(40000)} result=ok')
        self.sim.wait_for(f'SET-MUTE endpoint="{SPEAKER}" mute=1 result=ok')
        self.sim.wait_for(f'SET-LEVEL endpoint="{MIC}" level={scalar(1000)} result=ok')
        self.assertFalse([line for line in self.sim.lines() if "USB Camera" in line and "SET" in line])

        # The user's change reaches the endpoint at once; its own notice comes back marked
        # as the program's and changes nothing.
        start = probe.event_count()
        probe.write("change speaker 30000 1")
        self.sim.wait_for(f'SET-LEVEL endpoint="{SPEAKER}" level={scalar(30000)} result=ok')
        probe.wait_event("NOTICE-VOLUME", f"level={scalar(30000)} mute=1 own=1", start=start)
        self.assertEqual(probe.events("SHOW")[-1], "side=speaker volume=30000 mute=1 level=on mute-control=on")

        # A change made elsewhere reaches the controls, and nothing goes back.
        sets_before = sum("SET-" in line for line in self.sim.lines())
        start = probe.event_count()
        self.assertEqual(probe.ask(f"sim level 0.25 {SPEAKER}", "SIM"), "ok")
        probe.wait_event("SHOW", "side=speaker volume=16384 mute=1 level=on", start=start)
        probe.ask(f"sim mute 0 {SPEAKER}", "SHOW", "side=speaker volume=16384 mute=0 level=on")
        # The same values again from elsewhere: a notice, but nothing to show.
        shows = len(probe.events("SHOW"))
        probe.ask(f"sim mute 0 {MIC}", "NOTICE-VOLUME", "mmdevsim-4.* mute=0 own=0")
        self.assertEqual(len(probe.events("SHOW")), shows)
        self.assertEqual(sum("SET-" in line for line in self.sim.lines()), sets_before)
        self.quit_and_check_released(probe)

    def test_unplug_lets_go_of_the_endpoint_and_replug_finds_it_again(self):
        probe = self.probe()
        self.assertEqual(probe.ask("find", "FOUND"), "1")
        start = probe.event_count()
        probe.write(f"sim unplug {SPEAKER}")
        probe.wait_event("NOTICE-DEVICES", start=start)
        probe.wait_event("SHOW", "side=speaker .* level=off mute-control=off", start=start)
        probe.wait_event("LOOK-AGAIN", start=start)
        self.sim.wait_for(f'UNREGISTER endpoint="{SPEAKER}"')

        # No call reaches the gone endpoint, the microphone still works.
        mark = len(self.sim.lines())
        probe.ask("change speaker 1000 1", "SHOW", "side=speaker")
        probe.ask("change mic 2000 1", "SHOW", "side=mic volume=2000 mute=1 level=on")
        self.assertFalse([line for line in self.sim.lines()[mark:] if SPEAKER in line])

        start = probe.event_count()
        probe.write(f"sim plug {SPEAKER}")
        probe.wait_event("NOTICE-DEVICES", start=start)
        self.assertEqual(probe.ask("find speaker=5000", "FOUND"), "1")
        self.sim.wait_for(f'SET-LEVEL endpoint="{SPEAKER}" level={scalar(5000)} result=ok', start=mark)
        self.quit_and_check_released(probe)

    def test_unplug_during_a_change_fails_the_call_and_lets_go(self):
        probe = self.probe()
        self.assertEqual(probe.ask("find", "FOUND"), "1")
        start = probe.event_count()
        # One write: both lines run before the window thread sees the unplug's notice, so the
        # change meets the gone endpoint.
        probe.write(f"sim unplug {SPEAKER}\nchange speaker 1000 1")
        probe.wait_event("SHOW", "side=speaker volume=32767 mute=0 level=off mute-control=off", start=start)
        look = probe.wait_event("LOOK-AGAIN", start=start)
        notice = probe.wait_event("NOTICE-DEVICES", start=start)
        self.assertLess(probe.lines().index(look), probe.lines().index(notice))
        self.sim.wait_for(f'SET-LEVEL endpoint="{SPEAKER}" level={scalar(1000)} result=invalidated')
        unregister = self.sim.wait_for(f'UNREGISTER endpoint="{SPEAKER}"')
        # The mute was not tried on the gone endpoint, nor anything after the let-go.
        self.assertFalse([line for line in self.sim.lines() if f'SET-MUTE endpoint="{SPEAKER}" mute=1' in line])
        probe.ask("change mic 2000 0", "SHOW", "side=mic volume=2000")
        self.assertFalse([line for line in self.sim.lines()[unregister:] if SPEAKER in line and "SET" in line])
        self.quit_and_check_released(probe)

    def test_commands_from_another_process_through_the_pipe(self):
        pipe = f"mmdevsim{os.getpid()}"
        self.sim = StandInEndpoints().__enter__()
        self.addCleanup(self.sim.__exit__)
        holder = self.start(EndpointProbe(env=dict(self.sim.env, MMDEVSIM_PIPE=pipe)))
        self.assertEqual(holder.ask("find", "FOUND"), "1")
        self.sim.wait_for(f"PIPE \\\\.\\pipe\\{pipe}")
        # Another program, as a test beside the panel would be; its own copy serves no pipe.
        other = self.start(EndpointProbe(env={"MMDEVSIM_LOG": ""}))
        start = holder.event_count()
        self.assertEqual(other.ask(f"remote {pipe} level 0.75 {SPEAKER}", "REMOTE"), "ok")
        holder.wait_event("SHOW", "side=speaker volume=49151 ", start=start)
        self.assertEqual(other.ask(f"remote {pipe} unplug Nothing", "REMOTE"), "error")
        self.assertEqual(other.ask(f"remote {pipe}x level 0.5 {SPEAKER}", "REMOTE"), "absent")

    def test_a_level_that_cannot_be_set_beside_a_mute_that_works(self):
        probe = self.probe(f"render {SPEAKER}\nfail level\ncapture {MIC}\n")
        self.assertEqual(probe.ask("find speaker=20000", "FOUND"), "1")
        self.assertEqual(probe.events("SHOW")[0], "side=speaker volume=20000 mute=0 level=off mute-control=on")
        self.sim.wait_for(f'SET-LEVEL endpoint="{SPEAKER}" level={scalar(20000)} result=notimpl')
        mark = len(self.sim.lines())
        # The refused level is not tried again; what it is asked is kept (to be saved).
        probe.ask("change speaker 100 1", "SHOW", "side=speaker volume=100 mute=1 level=off mute-control=on")
        self.sim.wait_for(f'SET-MUTE endpoint="{SPEAKER}" mute=1 result=ok', start=mark)
        self.assertFalse([line for line in self.sim.lines()[mark:] if "SET-LEVEL" in line])
        self.quit_and_check_released(probe)


class OverWinesOwnEndpoints(WineTestCase):
    def test_named_endpoints_found_mute_works_level_refused_without_a_crash(self):
        with PulseDaemon(SPEAKER, MIC) as pulse:
            probe = self.start(EndpointProbe(env=pulse.env))
            self.assertEqual(probe.ask("module", "MODULE").split(" ")[0], "mmdevsim=none")
            probe.ask("list render", "LISTED")
            probe.ask("list capture", "LISTED")
            names = [e.split('"')[1] for e in probe.events("ENDPOINT")]
            self.assertIn(SPEAKER, names)
            self.assertIn(MIC, names)

            self.assertEqual(probe.ask("find speaker=40000 speaker-mute=1", "FOUND"), "1")
            # Wine 8 refuses the level (E_NOTIMPL): that track bar is off; the mute box works.
            self.assertEqual(probe.events("SHOW")[0], "side=speaker volume=40000 mute=1 level=off mute-control=on")
            self.assertIn("result=failed hr=0x80004001", probe.ask(f"raw level 0.5 {SPEAKER}", "RAW"))
            self.assertIn("result=ok", probe.ask(f"raw mute 0 {SPEAKER}", "RAW"))
            start = probe.event_count()
            probe.write(f"raw get {SPEAKER}")
            self.assertIn("op=get-mute value=0 result=ok", probe.wait_event("RAW", "get-mute", start=start))
            probe.ask("change speaker 40000 1", "SHOW", "mute=1 level=off mute-control=on")
            probe.quit()
            self.assertEqual(probe.proc.returncode, 0)
            self.assertEqual(probe.events("QUIT"), [""])


if __name__ == "__main__":
    unittest.main()
