/* peak_rss OUT PROGRAM [ARGS...]: runs the program and writes its peak
   resident memory in KiB to OUT. The kernel counts a child's memory from
   before its exec too, so a program started by a large process (the
   benchmark) would report that process's size; started from this small one,
   the count is the program's own. */
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    int status = 0;
    struct rusage usage;
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return 2;
    FILE* out = fopen(argv[1], "w");
    if (!out) return 2;
    fprintf(out, "%ld\n", usage.ru_maxrss);
    fclose(out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}
