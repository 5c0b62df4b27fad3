"""What the program refuses raises sonvera.Error with the message and the
"path: reason" the command line prints; nothing it writes replaces a file it reads."""
import hashlib
import random
import shutil

import pytest

import sonvera
from conftest import cli, sample


def street_with_type(path, type_code):
    with open(sample("street-noise.bin"), "rb") as f:
        head = f.read(8192)
    path.write_bytes(type_code.to_bytes(2, "little") + head[2:])


@pytest.mark.parametrize("kind", ["missing", "random bytes", "unknown type", "folder"])
def test_files_the_program_refuses(tmp_path, kind):
    path = tmp_path / "file.bin"
    if kind == "random bytes":
        path.write_bytes(random.Random(7).randbytes(4096))
    elif kind == "unknown type":
        street_with_type(path, 99)
    elif kind == "folder":
        path.mkdir()
    with pytest.raises(sonvera.Error) as caught:
        sonvera.open(path)
    error = caught.value
    assert isinstance(error, OSError)
    assert error.filename == str(path) and error.detail.startswith(str(path) + ": ")
    # Word for word what `sonvera-cli info` prints.
    code, _, err = cli("info", str(path))
    assert code == 1 and str(error) == err.rstrip("\n")


def test_catalogue_that_cannot_be_used(tmp_path):
    with pytest.raises(sonvera.Error) as caught:
        sonvera.Catalogue(tmp_path / "none.bin")
    assert caught.value.detail == f"{tmp_path / 'none.bin'}: нет такого файла"
    catalogue = sonvera.Catalogue()
    assert catalogue.path.endswith("TeleDescFile.bin")
    with sonvera.open(sample("yard-survey.msr"), catalogue) as f:
        assert len(f) == 1440


def test_export_never_replaces_what_it_reads(tmp_path):
    source = tmp_path / "yard.msr"
    shutil.copy(sample("yard-survey.msr"), source)
    (tmp_path / "link.msr").symlink_to(source)
    settings = tmp_path / "s.cfg"
    with sonvera.open(source) as f:
        f.export(None, all=True, save_settings=settings)
        written = {p: p.read_bytes() for p in (source, settings)}
        # The files read, however spelled: the measurement file, the settings file loaded.
        for result, read in ((source, source), (f"{tmp_path}/./yard.msr", source), (tmp_path / "link.msr", source),
                             (settings, settings)):
            with pytest.raises(sonvera.Error) as caught:
                f.export(result, settings=settings)
            assert caught.value.message == (f"Ошибка: файл результата '{result}' — это файл '{read}', "
                                            "который программа читает; он не перезаписан")
    assert {p: p.read_bytes() for p in written} == written


def test_export_writes_what_the_command_line_writes(tmp_path):
    options = dict(all=True, datetime=True, decimal_comma=True, split="100rec", stats="min,max,L50", from_=5, to=450)
    with sonvera.open(sample("yard-survey.msr")) as f:
        done = f.export(tmp_path / "py.csv", **options)
    code, _, err = cli("export", sample("yard-survey.msr"), "--all", "--datetime", "--decimal-comma", "--split", "100rec",
                       "--stats", "min,max,L50", "--from", "5", "--to", "450", "-o", str(tmp_path / "cli.csv"))
    assert code == 0, err
    assert done["records"] == 446 and done["lines"] == 446 and len(done["files"]) == 10  # 5 parts, each with .info
    for written in done["files"]:
        twin = written.replace("py_", "cli_").replace("py.", "cli.")
        with open(written, "rb") as a, open(twin, "rb") as b:
            assert a.read().replace(b"py", b"cli") == b.read(), written


def test_options_the_export_does_not_take(tmp_path):
    with sonvera.open(sample("yard-survey.msr")) as f:
        with pytest.raises(ValueError, match="split takes Nmin or Nrec"):
            f.export(tmp_path / "r.csv", all=True, split="hourly")
        with pytest.raises(TypeError, match="'colour'"):
            f.export(tmp_path / "r.csv", colour="red")
        with pytest.raises(sonvera.Error) as caught:  # the dialog's own check of the range
            f.export(tmp_path / "r.csv", all=True, from_=0)
        assert caught.value.message
        with pytest.raises(sonvera.Error):
            f.columns(first=100, last=99)
        with pytest.raises(IndexError):
            f.columns(items=[99])
    with pytest.raises(ValueError, match="closed"):
        f.columns()
    assert f.closed and "closed" in repr(f)
