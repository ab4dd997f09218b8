#!/usr/bin/python3
"""Records a PulseAudio source and prints when each burst of sound began, in wall-clock ms.

usage: bursts.py SOURCE SECONDS
Reads 10 ms chunks from parec and stamps each with the time it arrived; a burst is a run of loud
chunks after at least 60 ms of quiet. Prints one line per burst: its start and its length in ms,
and its tone in Hz (counted from the zero crossings of its loud chunks).
"""
import array
import subprocess
import sys
import time

RATE = 22050
CHUNK = RATE // 100  # samples in 10 ms


def main():
    source, seconds = sys.argv[1], float(sys.argv[2])
    rec = subprocess.Popen(['parec', '--device=' + source, '--raw', '--format=s16le', '--channels=1',
                            '--rate=%d' % RATE, '--latency-msec=10'], stdout=subprocess.PIPE)
    end = time.time() + seconds
    bursts = []  # start ms, length ms, zero crossings, samples
    quiet = 999
    while time.time() < end:
        data = rec.stdout.read(CHUNK * 2)
        if not data:
            break
        now = time.time() * 1000
        samples = array.array('h', data)
        loud = max(abs(s) for s in samples) > 3000
        if loud:
            if quiet >= 6:
                bursts.append([now - 10, 0, 0, 0])
            bursts[-1][1] = now - bursts[-1][0]
            bursts[-1][2] += sum(1 for a, b in zip(samples, samples[1:]) if (a < 0) != (b < 0))
            bursts[-1][3] += len(samples)
            quiet = 0
        else:
            quiet += 1
    rec.kill()
    for start, length, crossings, count in bursts:
        print('%d %d %d' % (start, length, crossings * RATE / 2 / count))


main()
