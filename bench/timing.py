"""The timing loop that every in-process measurement shares."""

import time


def best_time_per_call(call, rounds, min_round_seconds):
    """Seconds per call of the fastest of `rounds` rounds."""
    calls = 1
    while True:  # enough calls for one round to last min_round_seconds
        start = time.perf_counter()
        for _ in range(calls):
            call()
        if time.perf_counter() - start >= min_round_seconds:
            break
        calls *= 2
    best = float("inf")
    for _ in range(rounds):
        start = time.perf_counter()
        for _ in range(calls):
            call()
        best = min(best, (time.perf_counter() - start) / calls)
    return best
