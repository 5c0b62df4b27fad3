"""The columns of the bundled samples equal what `sonvera-cli export` writes
of the same entries, to its printed digits; times and flags as the export
and the summary give them."""
import json

import numpy
import pytest

import sonvera
from conftest import cli, sample

# The street sample is a day of records: a range holding its first overload.
RANGES = {"street-noise.bin": (9000, 12000), "machine-vibration.dcr": (1, 3600), "yard-survey.msr": (1, 1440)}
FLAGS = ("overload", "underload")


def half_digit(text):
    """Half a unit of the last digit printed: "12.3" 0.05, "320.4E-6" 0.05E-6."""
    mantissa, _, exponent = text.partition("E")
    return 0.5 * 10.0 ** (int(exponent or 0) - len(mantissa.partition(".")[2]))


def check_values(name, texts, values):
    for row, (text, value) in enumerate(zip(texts, values)):
        if text in ("", "---"):
            assert numpy.isnan(value), (name, row, text, value)
        else:
            assert abs(value - float(text)) <= half_digit(text) * (1 + 1e-9) + 1e-12 * abs(value), (name, row, text, value)


@pytest.mark.parametrize("linear", [False, True])
@pytest.mark.parametrize("name", sorted(RANGES))
def test_columns_equal_the_export(exported, name, linear):
    first, last = RANGES[name]
    options = ["--all", "--record-number", "--datetime", "--from", str(first), "--to", str(last)]
    header, rows = exported(sample(name), *options, *(["--linear"] if linear else []))
    with sonvera.open(sample(name)) as f:
        columns = f.columns(first=first, last=last, linear=linear)
    names = [n for n in columns if n not in ("record", "time") + FLAGS]
    # Lines end in the separator: the last field is empty.
    header, rows = header[:3 + len(names)], [r[:3 + len(names)] for r in rows]
    # A name the file repeats is told apart by " (2)", " (3)"...
    assert [n.rsplit(" (", 1)[0] if n not in header else n for n in names] == header[3:]
    assert len(rows) == last - first + 1
    assert [int(r[0]) for r in rows] == list(columns["record"])
    shown = numpy.datetime_as_string(columns["time"])  # 2026-05-14T01:02:03
    assert [r[1] + " " + r[2] for r in rows] == [
        "Invalid DateTime Invalid DateTime" if t == "NaT" else f"{t[8:10]}/{t[5:7]}/{t[2:4]} {t[11:19]}" for t in shown]
    for k, column in enumerate(names):
        assert columns[column].dtype == numpy.float64
        check_values(column, [r[3 + k] for r in rows], columns[column])


@pytest.mark.parametrize("name", sorted(RANGES))
def test_flags_agree_with_the_summary(name):
    _, out, _ = cli("info", sample(name), "--json")
    info = json.loads(out)
    with sonvera.open(sample(name)) as f:
        flags = f.columns(items=[])  # records, times and flags alone
        assert f.channels == info["channels"]
        count = len(f)
    assert list(flags) == ["record", "time", "overload", "underload"]
    for kind in FLAGS:
        flagged = numpy.flatnonzero(flags[kind]) + 1
        firsts = [c[kind + "FirstRecord"] for c in info["channels"] if c[kind + "FirstRecord"]]
        percents = [c[kind + "Percent"] or 0 for c in info["channels"]]
        # Flagged on any channel: the earliest of the channels' first records, at least the largest share.
        assert (flagged[0] if len(flagged) else None) == (min(firsts) if firsts else None)
        assert 100 * len(flagged) / count >= max(percents) - 1e-9
        if len(info["channels"]) == 1:
            assert 100 * len(flagged) / count == pytest.approx(percents[0])


def test_summary_has_the_keys_and_typed_values_of_info():
    _, out, _ = cli("info", sample("street-noise.bin"), "--json")
    info = json.loads(out)
    with sonvera.open(sample("street-noise.bin")) as f:
        summary = f.summary
        assert len(f) == info["recordCount"] == 86400
    assert list(summary) == list(info)
    for key in ("firstTime", "lastTime"):
        assert summary[key].isoformat() == info[key]
    assert {k: v for k, v in summary.items() if k not in ("path", "firstTime", "lastTime")} == {
        k: v for k, v in info.items() if k not in ("path", "firstTime", "lastTime")}


def test_items_choose_columns_by_position_or_text():
    with sonvera.open(sample("yard-survey.msr")) as f:
        items = f.items
        whole = f.columns()
        some = f.columns(items=[items[1]["text"], 0], first=10, last=19)
        frame = f.to_pandas(items=0)
    assert items and all(set(i) == {"text", "group", "parameter", "band", "channel"} for i in items)
    assert list(some["record"]) == list(range(10, 20))
    for column in list(some)[2:-2]:
        assert numpy.array_equal(some[column], whole[column][9:19], equal_nan=True)
    assert frame.index.name == "time" and list(frame.columns)[0] == "record" and len(frame) == 1440
    assert numpy.array_equal(frame.index.values, whole["time"])


@pytest.mark.parametrize("in_a_row", [1, 2])
def test_records_of_another_type_where_a_long_read_is_split(tmp_path, exported, in_a_row):
    # A long range is read in parts at once. Records of another type at every
    # place a range of 86400 records could be cut (the first of a part, or it
    # and the one before) show the values of the record before them, as the
    # export shows them.
    data = bytearray(open(sample("street-noise.bin"), "rb").read())
    count = 86400
    header = next(h for h in range(4096) if (len(data) - h) % count == 0
                  and data[h:h + 2] == data[h + (len(data) - h) // count:][:2] == b"\x15\x00")
    size = (len(data) - header) // count
    cuts = sorted({count * k // parts for parts in range(2, 9) for k in range(1, parts)})
    foreign = [c - k for c in cuts for k in range(in_a_row)]
    for r in foreign:
        data[header + r * size:header + r * size + 2] = b"\x16\x00"  # the type echo comes first
    path = tmp_path / "mixed.bin"
    path.write_bytes(bytes(data))
    header_row, rows = exported(str(path), "--all", "--record-number", "--datetime")
    with sonvera.open(path) as f:
        columns = f.columns()
    names = [n for n in columns if n not in ("record", "time") + FLAGS]
    shown = numpy.datetime_as_string(columns["time"])
    for r in foreign:
        for i in (r - 1, r, r + 1):
            row = rows[i]
            assert int(row[0]) == columns["record"][i] == i + 1
            t = shown[i]
            assert row[1] + " " + row[2] == f"{t[8:10]}/{t[5:7]}/{t[2:4]} {t[11:19]}", (i, row[:3], t)
            for k, column in enumerate(names):
                check_values(column, [row[3 + k]], columns[column][i:i + 1])
