"""Reading releases the interpreter lock, and no open leaves a descriptor behind."""
import os
import threading
import time

import sonvera
from conftest import sample


def descriptors():
    return len(os.listdir("/proc/self/fd"))


def test_no_descriptor_leaks_over_a_thousand_opens(tmp_path):
    bad = tmp_path / "bad.bin"
    bad.write_bytes(b"\x00" * 100)
    sonvera.open(sample("yard-survey.msr")).close()  # the catalogue is loaded once
    before = descriptors()
    for i in range(1000):
        if i % 2:
            with sonvera.open(sample("yard-survey.msr")) as f:
                f.columns(items=[0], last=10)
        else:
            sonvera.open(sample("yard-survey.msr"))  # dropped without close()
        for path in (bad, tmp_path / "missing.bin"):
            try:
                sonvera.open(path)
            except sonvera.Error:
                pass
    assert descriptors() == before


def test_two_threads_read_two_files_at_once():
    # While one thread reads the street sample, the other reads the small
    # sample again and again: with the lock held it could finish none inside.
    street, yard = sonvera.open(sample("street-noise.bin")), sonvera.open(sample("yard-survey.msr"))
    long_read, short_reads, running = {}, [], threading.Event()

    def read_street():
        running.set()
        long_read["from"] = time.perf_counter()
        street.columns()
        long_read["to"] = time.perf_counter()

    def read_yard():
        running.wait()
        while "to" not in long_read:
            start = time.perf_counter()
            yard.columns()
            short_reads.append((start, time.perf_counter()))

    threads = [threading.Thread(target=read_street), threading.Thread(target=read_yard)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    inside = [r for r in short_reads if long_read["from"] < r[0] and r[1] < long_read["to"]]
    assert len(inside) >= 3, (long_read, short_reads[:5])
