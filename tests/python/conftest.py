"""The module and the command line of one build: $SONVERA_TEST_DATA (set by
ctest), else build/ beside the sources."""
import os
import subprocess
import sys

import pytest

BUILD = os.environ.get("SONVERA_TEST_DATA") or os.path.join(os.path.dirname(__file__), "..", "..", "build")
CLI = os.path.join(BUILD, "bin", "sonvera-cli")
sys.path.insert(0, os.path.join(BUILD, "bin"))  # the module lies beside the programs


def sample(name):
    return os.path.join(BUILD, "samples", name)


def cli(*arguments):
    """sonvera-cli's run: exit code, standard output, standard error."""
    run = subprocess.run([CLI, *arguments], capture_output=True, text=True)
    return run.returncode, run.stdout, run.stderr


@pytest.fixture
def exported(tmp_path):
    """The text export of `sonvera-cli export FILE OPTIONS...`: header and rows, split at tabs."""

    def export(path, *options):
        result = tmp_path / "result.txt"
        code, _, err = cli("export", path, "--separator", "tab", "--encoding", "utf-8", *options, "-o", str(result))
        assert code == 0, err
        with open(result, encoding="utf-8-sig", newline="") as f:
            lines = [line.rstrip("\r\n").split("\t") for line in f]
        return lines[0], lines[1:]

    return export
