/* Runs a command and writes "<peak RSS in KiB> <wall seconds>" of that
 * command to the file named by the first argument; exits with the
 * command's status.
 *
 *     peak_rss OUT COMMAND [ARG...]
 *
 * Linux carries a process's peak RSS across exec(): a command started
 * straight from the benchmark's Python interpreter would report at least the
 * size that interpreter had. This launcher forks the command from itself, a
 * process of a few hundred KiB, so the peak reported (and the one the
 * command reads with getrusage) is the command's own.
 */
#define _GNU_SOURCE
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

int main(int argc, char **argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s OUT COMMAND [ARG...]\n", argv[0]);
        return 2;
    }
    const double start = now();
    const pid_t pid = fork();
    if (pid < 0) {
        perror("fork");
        return 2;
    }
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        perror(argv[2]);
        _exit(127);
    }
    int status = 0;
    struct rusage usage;
    if (wait4(pid, &status, 0, &usage) < 0) {
        perror("wait4");
        return 2;
    }
    const double seconds = now() - start;
    FILE *out = fopen(argv[1], "w");
    if (out == NULL) {
        perror(argv[1]);
        return 2;
    }
    fprintf(out, "%ld %.9f\n", usage.ru_maxrss, seconds);
    fclose(out);
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}
