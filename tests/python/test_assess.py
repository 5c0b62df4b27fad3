"""File.assess gives what `sonvera-cli assess --json` gives, with times as
datetime, and writes its result files as -o does."""
import datetime
import json

import pytest

import sonvera
from conftest import cli, sample


def as_json(value):
    """The dict with its times written as the command line writes them."""
    if isinstance(value, dict):
        return {k: as_json(v) for k, v in value.items()}
    if isinstance(value, list):
        return [as_json(v) for v in value]
    if isinstance(value, datetime.datetime):
        return value.isoformat()
    return value


def test_assess_equals_the_command_line(tmp_path):
    options = ["--interval", "15", "--periods", "6,18,22", "--threshold", "65", "--gap", "3", "--exclude", "none",
               "--from", "02:00:00", "--to", "09:59:59", "--by-time"]
    code, out, err = cli("assess", sample("street-noise.bin"), "-s", sample("street-noise.cfg"), *options, "--json")
    assert code == 0, err
    with sonvera.open(sample("street-noise.bin")) as f:
        got = f.assess(tmp_path / "r.xlsx", sample("street-noise.cfg"), interval=15, periods=(6, 18, 22), threshold=65,
                       gap=3, exclude="none", from_="02:00:00", to="09:59:59", by_time=True)
    assert got.pop("files") == [str(tmp_path / "r.xlsx")]
    assert (tmp_path / "r.xlsx").stat().st_size > 0
    assert isinstance(got["intervals"][0]["start"], datetime.datetime)
    assert as_json(got) == json.loads(out)
    assert len(got["intervals"]) == 32 and got["events"]


@pytest.mark.parametrize("options, error", [
    ({"periods": "7,19"}, "periods takes three hours"),
    ({"exclude": "all"}, "exclude takes overload"),
    ({"interval": 7}, "interval takes a length in minutes"),
    ({"entry": 999}, "entry 999: the export list has"),
    ({"colour": 1}, "unexpected keyword argument 'colour'"),
])
def test_assess_refuses_parameters_it_cannot_take(options, error):
    with sonvera.open(sample("street-noise.bin")) as f, pytest.raises((ValueError, TypeError), match=error):
        f.assess(**options)


def test_assess_refusal_of_the_dialog_is_an_error():
    with sonvera.open(sample("street-noise.bin")) as f, pytest.raises(sonvera.Error) as raised:
        f.assess(threshold="loud")
    assert raised.value.message
