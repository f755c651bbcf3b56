/* Does only the file work of a run: reads JWC_TEMP.TXT beside itself, writes
   as many bytes as the example's drawing to a temporary file and syncs it,
   puts it in the exchange file's place by swapping the two names, deletes the
   old file and syncs the folder, as tesra does on Linux. What that costs is the file system's, not
   the drawing's; the benchmark shows it beside the typical run. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

enum { kOutputBytes = 28736 };

int main(int argc, char** argv) {
    (void)argc;
    char exchange[4096], temp[4096 + 4];
    const char* slash = strrchr(argv[0], '/');
    const int folder = slash ? (int)(slash - argv[0]) : 0;
    snprintf(exchange, sizeof exchange, "%.*s/JWC_TEMP.TXT", folder, argv[0]);
    snprintf(temp, sizeof temp, "%s.tmp", exchange);
    static char bytes[kOutputBytes];
    const int in = open(exchange, O_RDONLY);
    if (in < 0 || read(in, bytes, sizeof bytes) < 0) return 1;
    close(in);
    memset(bytes, 'x', sizeof bytes);
    const int out = open(temp, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (out < 0 || write(out, bytes, sizeof bytes) != (ssize_t)sizeof bytes) return 1;
    if (fsync(out) != 0 || close(out) != 0) return 1;
    if (renameat2(AT_FDCWD, temp, AT_FDCWD, exchange, RENAME_EXCHANGE) != 0) return 1;
    if (unlink(temp) != 0) return 1;
    char folderPath[4096];
    snprintf(folderPath, sizeof folderPath, "%.*s", folder > 0 ? folder : 1,
             folder > 0 ? argv[0] : ".");
    const int dir = open(folderPath, O_RDONLY | O_DIRECTORY);
    if (dir < 0) return 1;
    const int synced = fsync(dir);
    close(dir);
    return synced == 0 ? 0 : 1;
}
