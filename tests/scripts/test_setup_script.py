"""scripts/setup.sh against stand-ins for apt-get, dpkg and dpkg-query.

The stand-ins keep the package state in a file of their own, so nothing is
installed; they record every call, so a run that should touch no network can
be seen to have made no apt-get call at all.
"""

import os
import subprocess
import tempfile
import textwrap
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
SETUP = ROOT / "scripts" / "setup.sh"

STAND_INS = {
    # Installed packages are the lines of $STATE/installed.
    "dpkg-query": """
        pkg="${@: -1}"
        grep -qxF "$pkg" "$STATE/installed" && { echo -n 'install ok installed'; exit 0; }
        exit 1
    """,
    "dpkg": """
        echo "dpkg $*" >>"$STATE/calls"
        case "$1" in
            --print-foreign-architectures) cat "$STATE/arches" 2>/dev/null ;;
            --add-architecture) echo "$2" >>"$STATE/arches" ;;
        esac
    """,
    # $STATE/update_exit: the exit code of every update (100 = in part);
    # $STATE/broken: packages that cannot be installed.
    "apt-get": """
        echo "apt-get $*" >>"$STATE/calls"
        case " $* " in
            *" update "*)
                code=$(cat "$STATE/update_exit")
                if [ "$code" != 0 ]; then
                    echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size. Mirror sync in progress?"
                    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
                fi
                exit "$code" ;;
            *" install "*)
                for a in "$@"; do
                    case "$a" in -*|install) continue ;; esac
                    if grep -qxF "$a" "$STATE/broken"; then
                        echo "E: Unable to correct problems, you have held broken packages. ($a)"
                        exit 100
                    fi
                done
                for a in "$@"; do
                    case "$a" in -*|install) continue ;; esac
                    echo "$a" >>"$STATE/installed"
                done ;;
        esac
    """,
    "id": 'echo 0',
}


class SetupScript(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        base = Path(self.tmp.name)
        self.state = base / "state"
        self.state.mkdir()
        bin_dir = base / "bin"
        bin_dir.mkdir()
        for name, body in STAND_INS.items():
            path = bin_dir / name
            path.write_text("#!/bin/bash\n" + textwrap.dedent(body))
            path.chmod(0o755)
        self.env = dict(os.environ,
                        PATH=f"{bin_dir}:{os.environ['PATH']}",
                        STATE=str(self.state),
                        SETUP_UPDATE_PAUSE="0",
                        SETUP_WINE32_MARK=str(base / "mark" / "wine32-unavailable"),
                        SETUP_WINE32_LOADER="/bin/true")
        for name in ("installed", "broken", "calls"):
            (self.state / name).write_text("")
        (self.state / "update_exit").write_text("0")

    def tearDown(self):
        self.tmp.cleanup()

    def run_setup(self):
        return subprocess.run(["bash", str(SETUP)], env=self.env, capture_output=True,
                              text=True, stdin=subprocess.DEVNULL, timeout=60)

    def calls(self):
        return (self.state / "calls").read_text().splitlines()

    def installed(self):
        return set((self.state / "installed").read_text().split())

    def test_mirror_mid_sync_without_32_bit_wine_still_sets_up(self):
        (self.state / "update_exit").write_text("100")
        (self.state / "broken").write_text("wine32:i386\n")
        result = self.run_setup()
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("32-bit Wine is not available here; the 64-bit build will be used",
                      result.stdout)
        self.assertEqual(sum(c == "apt-get update -qq" for c in self.calls()), 3)
        self.assertIn("wine64", self.installed())
        self.assertIn("dpkg --add-architecture i386", self.calls())

        # A second run does not go back to the mirror for what it could not get.
        (self.state / "calls").write_text("")
        again = self.run_setup()
        self.assertEqual(again.returncode, 0, again.stderr)
        self.assertIn("the 64-bit build will be used", again.stdout)
        self.assertEqual([c for c in self.calls() if c.startswith("apt-get")], [])

    def test_any_other_package_that_cannot_be_installed_stops_the_set_up(self):
        (self.state / "update_exit").write_text("100")
        (self.state / "broken").write_text("nsis\n")
        result = self.run_setup()
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("cannot install nsis", result.stderr)
        self.assertNotIn("all packages present", result.stdout)

    def test_a_machine_with_everything_touches_no_network(self):
        (self.state / "broken").write_text("")
        first = self.run_setup()
        self.assertEqual(first.returncode, 0, first.stderr)
        self.assertIn("wine32:i386", self.installed())
        self.assertNotIn("not available", first.stdout)
        (self.state / "calls").write_text("")
        second = self.run_setup()
        self.assertEqual(second.returncode, 0, second.stderr)
        self.assertEqual([c for c in self.calls() if c.startswith("apt-get")], [])


if __name__ == "__main__":
    unittest.main()
